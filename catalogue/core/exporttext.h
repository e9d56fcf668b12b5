// Texts and numbers read from lesson scripts and the talks database, made
// ready for the files the catalogue writes: line breaks, text-mode line ends and whole numbers stored as text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/cstring.h"

// The text as one line: trailing line breaks dropped, each run of line breaks
// inside it made one blank (words on both sides must stay apart).
CString OnOneLine(const CString& text);

// The bytes a text-mode write puts on disk: every "\n" becomes "\r\n", as
// the program's text files hold them.
std::string TextModeBytes(const CString& text);

// The whole number at the start of a trimmed text ("1500", " 42 ", "12.5"
// -> 12); 0 for a negative number or a text that starts with none. Very long
// digit runs stop growing instead of overflowing.
int64_t LeadingWholeNumber(const CString& text);
