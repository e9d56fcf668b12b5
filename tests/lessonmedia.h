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

// A lesson database of two sentences: "First line." 0-1000 ms and
// "Second line." 1000-5000 ms; a test failure when it cannot be written.
void MakeLesson(const CString& path);

} // namespace testsupport
