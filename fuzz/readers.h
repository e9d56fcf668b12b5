// The fuzz targets, one per reader of outside files (see targets.h).
#pragma once

#include <cstddef>
#include <cstdint>

// Lesson files: subtitle texts and the lesson database, loaded as a lesson.
void FuzzSrtLesson(const uint8_t* data, size_t size);
void FuzzAssLesson(const uint8_t* data, size_t size);
void FuzzLrcLesson(const uint8_t* data, size_t size);
void FuzzScriptLesson(const uint8_t* data, size_t size);
// The window settings file, which the learner may edit or damage.
void FuzzUiSettings(const uint8_t* data, size_t size);
// The downloader's files: its command to the player and a progress report.
void FuzzDownloaderCommand(const uint8_t* data, size_t size);
void FuzzDownloadProgress(const uint8_t* data, size_t size);
// A keyword command text, as another program sends it.
void FuzzKeywordCommand(const uint8_t* data, size_t size);
