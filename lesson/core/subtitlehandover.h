// Subtitle files handed to the media engine. The engine reads a subtitle text
// file as UTF-8, while many Chinese subtitle files are GB18030: such a file
// is handed over as a UTF-8 copy in the temporary folder. The learner's file
// is only read.
#pragma once

#include "platform/cstring.h"

class CQuenlowApp;

// The folder of the UTF-8 copies, beside the video's subtitle files.
inline constexpr const char* kUtf8CopyFolder = "Utf8/";

// The file to give the engine for `path`. An ".lrc" file, which the engine
// does not read, is given as the UTF-8 ".srt" copy kUtf8CopyFolder/<name>.srt
// of the sentences the program reads from it (`path` and a notice when it
// holds none). Any other: `path` itself when it is UTF-8
// already (or plain ASCII, a UTF-16 file with its byte-order mark, a file of
// no subtitle text format, or a file that cannot be read), otherwise its
// UTF-8 copy kUtf8CopyFolder/<name> beside the video's subtitle files. When the copy
// cannot be written, `path` is given and the learner is told.
CString SubtitleFileForEngine(CQuenlowApp& app, const CString& path);
