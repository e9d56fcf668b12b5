// The new-word book: made with its table on the first save, each word once in
// its stored form ("don't" as "don*t"), words that would be SQL kept as
// words, deletes that succeed whether or not the word was there.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordbook.h"

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

} // namespace
