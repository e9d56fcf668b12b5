// The word table page "AppData/word/word.html": the page head of
// "header.html" (which opens the table) followed by the words of
// "wordlist.data" (one a line, grouped by first letter) in rows of ten.
// Each change of first letter starts a new row and switches the row between
// two classes and colours, so that neighbouring letter groups stand apart.
#pragma once

#include <string>
#include <vector>

#include "platform/cstring.h"

// The row class and cell colour of the first letter group, and of every
// other group after it.
constexpr const char* kWordTableMainClass = "maincss";
constexpr const char* kWordTableMainColor = "#8B2252";
constexpr const char* kWordTableAltClass = "altcss";
constexpr const char* kWordTableAltColor = "#0000EE";
constexpr int kWordTableColumns = 10;

// The table rows of the words, in their order; words are escaped for HTML
// (the list is the learner's own file). Lines end with "\r\n".
std::string MakeWordTableRows(const std::vector<CString>& words);

// Writes wordFolder + "word.html" from wordFolder + "header.html" and
// wordFolder + "wordlist.data" in one step. False, with the page left as it
// was, when either source is missing or unreadable or the page cannot be
// written.
bool WriteWordTablePage(const CString& wordFolder);
