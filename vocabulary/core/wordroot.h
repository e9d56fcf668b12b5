// The word-root page: a short explanation of a word's root from the shipped
// word-root database ("AppData/BasicDict/WordRoot.script", table
// tablename(strkeyword, strdetailtxt), apostrophes stored as "*"), written as
// a small HTML page that the word book view shows beside the dictionary page.
#pragma once

#include <string>

#include "platform/cstring.h"

enum class EWordRoot {
    Found,
    NotFound,       // the database has no entry for the word
    NoDatabase,     // the database is missing or cannot be read
    NoPage,         // found, but the page could not be written
};

// Looks the word up as given (the stored form, "'" as "*"); the word is a
// bound value. On Found, `explanation` holds the entry, trimmed.
EWordRoot FindWordRoot(const CString& dbPath, const CString& word, CString& explanation);

// The page of an explanation: UTF-8 HTML, 16-pixel type, the explanation as
// text ("*" back to "'", markup characters escaped) followed by a line break.
std::string RenderWordRootPage(const CString& explanation);

// Looks the word up and, when it has an entry, writes its page to
// `pagePath`. A word without an entry leaves the page as it was.
EWordRoot WriteWordRootPage(const CString& dbPath, const CString& word, const CString& pagePath);
