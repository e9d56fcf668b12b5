// The new-word book as a text file: export then import gives the same book
// (apostrophes stay "*", quotes are no SQL), the import skips short lines and
// words the book holds, a missing book table is made, and clearing empties it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordbookfile.h"

namespace {

std::vector<CString> BookWords(const CString& book)
{
    std::vector<CString> words;
    EXPECT_TRUE(ReadWordBook(book, words));
    std::sort(words.begin(), words.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    return words;
}

TEST(WordBookFileTest, ExportThenImportRoundTrips)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UserData/UnKownWord.script";
    for (const char* word : {"study", "don't", "x'); drop table tablename; --", "学习"})
        ASSERT_EQ(SaveToWordBook(book, word), EWordBookSave::Saved);
    const CString file = folder.ansi() + "生词库.txt";
    ASSERT_EQ(ExportWordBook(book, file), EWordBookExport::Written);
    const std::string bytes = testsupport::ReadBytes(ToFsPath(file));
    EXPECT_NE(bytes.find("don*t\r\n"), std::string::npos) << "stored form, CR LF";
    EXPECT_EQ(bytes.find('\''), std::string::npos);

    // Into a new book: every word back, unchanged.
    const CString copy = folder.ansi() + "copy.script";
    const std::vector<CString> lines = ReadImportLines(file);
    EXPECT_EQ(ImportWords(copy, lines), 4);
    EXPECT_EQ(BookWords(copy), BookWords(book));
    // Into the same book again: nothing new.
    EXPECT_EQ(ImportWords(book, lines), 0);
    EXPECT_EQ(BookWords(book).size(), 4u);
}

TEST(WordBookFileTest, ImportKeepsLinesOfThreeCharactersAndSkipsDuplicates)
{
    testsupport::TempFolder folder;
    const std::string file =
        folder.write("words.txt", "  river \r\n\r\nab\r\nx\r\nRiver\r\nriver\r\nit's\r\nit*s\r\nlast line");
    const std::vector<CString> lines = ReadImportLines(FromFsPath(file));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "river");
    EXPECT_EQ(lines[5], "last line");

    // A book file without the table gets it; the progress is told each word.
    const CString book = folder.ansi() + "UnKownWord.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(book, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table other(x)"));
    }
    std::vector<int> told;
    EXPECT_EQ(ImportWords(book, lines, [&told](int i, int total) { told.push_back(i * 100 + total); }), 4);
    EXPECT_EQ(told, (std::vector<int> {6, 106, 206, 306, 406, 506}));
    const std::vector<CString> expected {"River", "it*s", "last line", "river"};
    EXPECT_EQ(BookWords(book), expected) << "\"it's\" and \"it*s\" are one word";

    EXPECT_EQ(ReadImportLines(folder.ansi() + "missing.txt").size(), 0u);
}

// The file the learner picks is read only when it is a regular file of a
// sane size, and the caller learns why not: a FIFO blocked the import in
// open() for good, and a file of gigabytes was read line by line into memory.
TEST(WordBookFileTest, ImportReadsOnlyARegularFileOfLimitedSize)
{
    testsupport::TempFolder folder;
    const std::string dir = folder.path();
    ASSERT_EQ(::mkfifo((dir + "fifo.txt").c_str(), 0644), 0);
    folder.write("huge.txt", "");
    ASSERT_EQ(::truncate((dir + "huge.txt").c_str(), kMaxImportFileBytes + 1), 0);   // sparse
    folder.write("words.txt", "river\n");
    struct Case {
        const char* name;
        EFileReadResult expected;
        size_t lines;
    };
    const Case cases[] = {
        {"words.txt", EFileReadResult::Read, 1},
        {"fifo.txt", EFileReadResult::Unreadable, 0},
        {"huge.txt", EFileReadResult::TooLarge, 0},
        {"", EFileReadResult::Unreadable, 0},   // the folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CString path = folder.ansi() + c.name;
        const std::optional<int> code = testsupport::RunBoundedInChild(
            [&] {
                EFileReadResult read = EFileReadResult::Read;
                const size_t count = ReadImportLines(path, &read).size();
                return count == c.lines ? static_cast<int>(read) : 100;
            },
            10.0, 512L * 1024 * 1024);
        ASSERT_TRUE(code.has_value()) << "blocked, ran out of memory or crashed";
        EXPECT_EQ(*code, static_cast<int>(c.expected));
    }
}

TEST(WordBookFileTest, ProgressTextNeverReachesOneHundred)
{
    EXPECT_EQ(ImportProgressText(0, 3), "正在保存数据......0%");
    EXPECT_EQ(ImportProgressText(2, 3), "正在保存数据......66%");
    EXPECT_EQ(ImportProgressText(199, 200), "正在保存数据......99%");
    EXPECT_EQ(ImportProgressText(200, 201), "数据量较大，软件可能暂时没有反应，请不要关闭软件......99%");
}

// An export that fails keeps the file the learner exported before: it is
// replaced only by a complete new one.
TEST(WordBookFileTest, FailedExportKeepsTheEarlierFile)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UserData/UnKownWord.script";
    ASSERT_EQ(SaveToWordBook(book, "river"), EWordBookSave::Saved);
    const std::string earlier = "study\r\nriver\r\n";
    const CString file = FromFsPath(folder.write("out.txt", earlier));
    const std::string notDb = folder.write("UnKownWord.script", "not a database");

    EXPECT_EQ(ExportWordBook(FromFsPath(notDb), file), EWordBookExport::NoBook);
    EXPECT_EQ(testsupport::ReadBytes(ToFsPath(file)), earlier);

    std::filesystem::permissions(ToFsPath(file), std::filesystem::perms::owner_read);
    EXPECT_EQ(ExportWordBook(book, file), EWordBookExport::NoFile) << "a file made read-only stays";
    EXPECT_EQ(testsupport::ReadBytes(ToFsPath(file)), earlier);
    EXPECT_EQ(ExportWordBook(book, folder.ansi() + "no/such/folder/out.txt"), EWordBookExport::NoFile);

    EXPECT_EQ(ExportWordBook(folder.ansi() + "none.script", folder.ansi() + "new.txt"), EWordBookExport::Written)
        << "no book yet";
    EXPECT_EQ(GetFileSize(folder.ansi() + "new.txt"), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 4) << "no temporary file left";
}

TEST(WordBookFileTest, ClearEmptiesTheBook)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UserData/UnKownWord.script";
    SaveToWordBook(book, "study");
    SaveToWordBook(book, "river");
    EXPECT_EQ(ClearWordBook(book), EWordBookClear::Cleared);
    EXPECT_TRUE(BookWords(book).empty());
    EXPECT_EQ(ClearWordBook(folder.ansi() + "new/UnKownWord.script"), EWordBookClear::Cleared) << "made empty";
    const std::string notDb = folder.write("bad.script", "not a database");
    EXPECT_EQ(ClearWordBook(FromFsPath(notDb)), EWordBookClear::NoBook);
}

} // namespace
