// The new-word book as a whole: written to and read from a plain text file
// (GB18030, one word a line, CR LF line ends) and emptied. Words keep the
// stored form ("'" as "*") in the file as in the book, so a file written here
// reads back unchanged.
#pragma once

#include <functional>
#include <vector>

#include "platform/cstring.h"
#include "platform/file.h"

enum class EWordBookExport {
    Written,     // also an empty file for a book with no words yet
    NoFile,      // the text file cannot be written whole: a file there before is kept
    NoBook,      // the book cannot be read: nothing is written
};

// Writes the book's words, in the table's order, each longer than one
// character, one a line. The file is written beside the target and put in
// its place only when complete.
[[nodiscard]] EWordBookExport ExportWordBook(const CString& bookPath, const CString& filePath);

// A word list of every word a learner could meet stays far below this.
inline constexpr int64_t kMaxImportFileBytes = int64_t{64} * 1024 * 1024;

// The lines of an import file worth importing: trimmed, three characters or
// more. None when the file cannot be read, is no regular file or is larger
// than kMaxImportFileBytes; read, when given, says which.
std::vector<CString> ReadImportLines(const CString& filePath, EFileReadResult* read = nullptr);

// Told before each word is stored: its index and the number of words.
using ImportProgress = std::function<void(int index, int total)>;

// Stores the words (an apostrophe as "*") in the book, which is created when
// missing; every word is a bound value. A word the book holds already, also
// one met earlier in the list, is skipped. Returns the number of words added,
// or -1 when the book cannot be opened.
int ImportWords(const CString& bookPath, const std::vector<CString>& words, const ImportProgress& progress = {});

// The progress text shown while word `index` of `total` is stored; a long
// import warns that the program may not answer for a while.
CString ImportProgressText(int index, int total);
// Up to this many words the import shows the plain progress text.
constexpr int kQuietImportLimit = 200;

enum class EWordBookClear { Cleared, NoBook, Failed };
// Deletes every word of the book (a missing book is created empty).
EWordBookClear ClearWordBook(const CString& bookPath);
