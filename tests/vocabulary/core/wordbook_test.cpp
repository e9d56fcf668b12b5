// The new-word book: made with its table on the first save, each word once in
// its stored form ("don't" as "don*t"), words that would be SQL kept as
// words, deletes that succeed whether or not the word was there.
#include <sqlite3.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlists.h"

namespace {

std::vector<std::string> WordsIn(const CString& book)
{
    CSqliteDb db;
    SQueryResult result;
    std::vector<std::string> words;
    if (db.Open(book, CSqliteDb::ReadOnly) && db.Query("select stroriginalword from tablename order by 1", {}, result))
        for (int i = 0; i < result.nRow; ++i)
            words.push_back(result.GetCell(i, 0));
    return words;
}

TEST(WordBookTest, SavesEachWordOnceInItsStoredForm)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UserData/UnKownWord.script";   // neither folder nor file exists
    struct Case {
        const char* word;
        EWordBookSave result;
    };
    const Case cases[] = {
        {"study", EWordBookSave::Saved},
        {" study ", EWordBookSave::AlreadyThere},
        {"don't", EWordBookSave::Saved},
        {"don*t", EWordBookSave::AlreadyThere},   // the same word in the stored form
        {"x'); drop table tablename; --", EWordBookSave::Saved},
        {"  ", EWordBookSave::Failed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SaveToWordBook(book, c.word), c.result) << c.word;
    EXPECT_EQ(WordsIn(book), (std::vector<std::string>{"don*t", "study", "x*); drop table tablename; --"}));

    EXPECT_EQ(DeleteFromWordBook(book, "don't"), EWordBookDelete::Deleted);
    EXPECT_EQ(DeleteFromWordBook(book, "never saved"), EWordBookDelete::Deleted);
    EXPECT_EQ(WordsIn(book), (std::vector<std::string>{"study", "x*); drop table tablename; --"}));
}

// A book without its table gets it; no book is made by a delete.
TEST(WordBookTest, BooksWithoutTableOrFile)
{
    testsupport::TempFolder folder;
    const CString bare = folder.ansi() + "bare.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(bare, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table other(x)"));
    }
    EXPECT_EQ(SaveToWordBook(bare, "hello"), EWordBookSave::Saved);
    EXPECT_EQ(WordsIn(bare), std::vector<std::string>{"hello"});

    const CString missing = folder.ansi() + "missing.script";
    EXPECT_EQ(DeleteFromWordBook(missing, "hello"), EWordBookDelete::NoBook);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_EQ(SaveToWordBook(folder.ansi() + "bare.script/below", "hello"), EWordBookSave::Failed);
}

// A program killed in the middle of a save leaves the book's journal behind
// ("hot"), with part of the change already in the book. The readers roll it
// back and read the book as it was before the save.
TEST(WordBookTest, ReadersRollBackASaveCutShortByACrash)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UnKownWord.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(OpenWordBookForWriting(book, db));
        ASSERT_TRUE(db.Exec("begin"));
        for (int i = 0; i < 3000; ++i)
            ASSERT_TRUE(db.Exec("insert into tablename values(?)", {CString("word") + std::to_string(i).c_str()}));
        ASSERT_TRUE(db.Exec("commit"));
    }
    // The child changes every page, more than its cache holds, so pages reach
    // the book before the commit, and dies without committing.
    const std::string fsBook = ToFsPath(book);
    const auto died = testsupport::RunBoundedInChild(
        [&] {
            sqlite3* db = nullptr;
            sqlite3_open(fsBook.c_str(), &db);
            sqlite3_exec(db, "pragma cache_size=2; begin; update tablename set stroriginalword = 'x' || stroriginalword;",
                         nullptr, nullptr, nullptr);
            ::_exit(0);
            return 0;
        },
        10.0, 1L << 30);
    ASSERT_EQ(died, std::optional<int>(0));
    ASSERT_TRUE(FileExists(book + "-journal")) << "the test needs a journal left behind";

    std::vector<CString> words;
    ASSERT_TRUE(ReadWordBook(book, words));
    EXPECT_EQ(words.size(), 3000u);
    EXPECT_EQ(std::count(words.begin(), words.end(), CString("word7")), 1);
    std::vector<CString> list;
    ASSERT_TRUE(ReadBookList(book, list));
    EXPECT_EQ(list.size(), 3000u);
    EXPECT_FALSE(FileExists(book + "-journal"));
}

} // namespace
