// Sentence times of lesson scripts (whole milliseconds stored as text) as the
// time texts of subtitle files, and a lesson script written out as an ".srt"
// subtitle file.
#pragma once

#include "platform/cstring.h"

// "[MM:SS.mmm]": the minutes field holds all minutes, so 01:02:03.456 is
// "[62:03.456]". LRC has two minute digits: 100 minutes and more give
// "[99:59.999]". A negative or non-numeric text counts as 0.
CString FormatLrcTime(const CString& milliseconds);

// "HH:MM:SS,mmm"; 100 hours and more give as many hour digits as needed. A
// negative or non-numeric text counts as 0.
CString FormatSrtTime(const CString& milliseconds);

// Which texts of a sentence an ".srt" entry shows.
enum class ESrtText {
    Both,      // the English text directly followed by the Chinese, one line
    Foreign,   // the English text
    Chinese,   // the Chinese text
};

// Writes the sentences of a lesson script to the ".srt" beside it (the final
// ".script" of the file name made ".srt"): per sentence its number, its
// start and end time, its text and a blank line, in text mode (CR LF). A
// sentence without a translation has an empty Chinese text. False, and no
// file written or changed, when the script cannot be read or the file cannot
// be written.
bool ScriptToSrt(const CString& scriptPath, ESrtText text);
