// Small lessons and clips for the tests and figures that open a lesson with
// its media: a test-pattern video made by ffmpeg and a two-sentence lesson
// database.
#pragma once

#include <string>

#include "platform/cstring.h"

namespace testsupport {

// A text as one single-quoted word of the shell.
std::string ShellQuote(const std::string& text);

// A test-pattern video with a 440 Hz tone (160x120, MPEG-4 and AAC); a test
// failure when ffmpeg fails.
void MakeClip(const std::string& target, int seconds = 5);

// Where an MP4 keeps its index (the "moov" box): at the end, as ffmpeg and
// most recorders write it, or at the start ("faststart"), so a player can
// begin before the whole file is there.
enum class EMp4Index { AtEnd, AtStart };

// The same test pattern as H.264 and AAC in an MP4 with its index where
// asked; a test failure when ffmpeg fails.
void MakeH264Clip(const std::string& target, int seconds, EMp4Index index);

// A lesson database of two sentences: "First line." 0-1000 ms and
// "Second line." 1000-5000 ms; a test failure when it cannot be written.
void MakeLesson(const CString& path);

} // namespace testsupport
