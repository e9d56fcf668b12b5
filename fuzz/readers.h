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
// A downloaded subtitle package (a zip archive) unpacked into a lesson.
void FuzzLessonPackage(const uint8_t* data, size_t size);
// A WAV file read through: headers, samples and moves within them.
void FuzzWaveFile(const uint8_t* data, size_t size);
// The downloader's side: a command text from the program, and a download
// address with the file name it gives.
void FuzzDownloaderCommandText(const uint8_t* data, size_t size);
void FuzzDownloadAddress(const uint8_t* data, size_t size);
// A server's response headers, one line at a time, as every transfer reads
// them (the header checks and downloads, and the downloader's range answers).
void FuzzHttpHeaders(const uint8_t* data, size_t size);
// A word list: an import text file, and a lesson database's word tables.
void FuzzWordList(const uint8_t* data, size_t size);
// A lesson database's exercise and exercise-history tables.
void FuzzExercises(const uint8_t* data, size_t size);
// An address recognised (or not) as a cloud-disk download.
void FuzzPanLink(const uint8_t* data, size_t size);
void FuzzTalkReport(const uint8_t* data, size_t size);
