// The new-word book: the learner's own list of words to learn, one word per
// row of tablename(stroriginalword) in "AppData/UserData/UnKownWord.script".
// Words are kept in the stored form ("'" as "*"), as the word lists and the
// import write them, and each word is there once.
#pragma once

#include <vector>

#include "platform/cstring.h"

class CSqliteDb;

enum class EWordBookSave {
    Saved,
    AlreadyThere,   // the book holds the word already
    Failed,         // the book cannot be opened or written
};

// Opens the book for writing: a missing book is created with its table, and
// a book without the table gets it. False when that is not possible.
bool OpenWordBookForWriting(const CString& bookPath, CSqliteDb& db);
// Opens an existing book for reading. It is opened read-write, never created:
// a save cut short by a crash leaves a journal that only a connection that
// may write can roll back, and a read-only one fails on it instead.
bool OpenWordBookForReading(const CString& bookPath, CSqliteDb& db);

// Saves a word (trimmed, in the stored form). A missing book is created with
// its table; a book without the table gets it.
EWordBookSave SaveToWordBook(const CString& bookPath, const CString& word);

enum class EWordBookDelete {
    Deleted,    // also when the word was not there
    NoBook,     // there is no book to delete from: nothing to say
    Failed,
};

// Deletes a word (trimmed, in the stored form) from the book.
EWordBookDelete DeleteFromWordBook(const CString& bookPath, const CString& word);

// The book's words in the stored form, each longer than one character; an
// empty list when nothing was saved yet. False when the book cannot be read.
bool ReadWordBook(const CString& bookPath, std::vector<CString>& words);
