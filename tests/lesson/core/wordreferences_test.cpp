// Where a lesson's words and phrases occur: the reference lists of the lesson
// file, their items, and the look-up of the new-word book's words with bound
// values on a file opened read-only.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lesson/core/wordreferences.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

TEST(WordReferencesTest, ListsGiveTheTextBetweenEachParenthesisPair)
{
    struct Case {
        const char* list;
        std::vector<CString> items;
    };
    const Case cases[] = {
        {"(study:1:4)(making:2:7)", {"study:1:4", "making:2:7"}},
        {"  ( don*t:0:3 ) junk (a:1:2)", {"don*t:0:3", "a:1:2"}},
        {"((nested:1:2))", {"(nested:1:2"}},      // up to the first ")"
        {"(x)(ok:3:4)", {"ok:3:4"}},              // one character is no item
        {"(ok:1:1)(unclosed:2:", {"ok:1:1"}},     // an unclosed item ends the list
        {"(((((", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseReferenceList(c.list), c.items) << c.list;
}

TEST(WordReferencesTest, ItemsSplitAtTheirFirstAndLastColon)
{
    struct Case {
        const char* item;
        const char* text;
        int sentence;
        int offset;
    };
    const Case cases[] = {
        {"study:12:40", "study", 12, 40},
        {"at 8:30 o*clock:3:9", "at 8", 30, 9},   // the text ends at the first colon
        {"word:x:y", "word", 0, 0},
        {"word:5", "word", 5, 0},
        {"word", "word", 0, 0},
    };
    for (const Case& c : cases) {
        const SWordReference r = SplitReference(c.item);
        EXPECT_EQ(r.text, CString(c.text)) << c.item;
        EXPECT_EQ(r.sentence, c.sentence) << c.item;
        EXPECT_EQ(r.offset, c.offset) << c.item;
    }
}

// The references both word tests store: "study" with its form "studies" in
// sentence 2, then "don*t" at offset 2.
namespace {

void ExpectStudyAndDont(const std::vector<SWordReference>& words)
{
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text, "study");
    EXPECT_EQ(words[1].text, "studies");
    EXPECT_EQ(words[1].sentence, 2);
    EXPECT_EQ(words[2].text, "don*t");
    EXPECT_EQ(words[2].offset, 2);
}

} // namespace

TEST(WordReferencesTest, BookWordsAreLookedUpAsValuesInAFileLeftAsItWas)
{
    testsupport::TempFolder folder;
    const CString path = folder.ansi() + "lesson.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(100), refs text)"));
        ASSERT_TRUE(db.Exec("create table phaselist(strphase varchar(100), refs text)"));
        ASSERT_TRUE(db.Exec("insert into wordlist values('don*t', '(don*t:1:2)'), ('study', '(study:0:4)(studies:2:0)')"));
        ASSERT_TRUE(db.Exec("insert into phaselist values('a lot', '(a lot:3:5)'), ('as well', '(as well:0:1)')"));
    }
    const std::string before = testsupport::ReadBytes(folder.path() + "lesson.script");

    std::vector<SWordReference> words;
    ASSERT_EQ(ReadWordReferences(path, {"study", "x' or '1'='1", "don*t"}, words), ELessonTableRead::Read);
    ExpectStudyAndDont(words);

    std::vector<SWordReference> phrases;
    ASSERT_EQ(ReadPhraseReferences(path, phrases), ELessonTableRead::Read);
    ASSERT_EQ(phrases.size(), 2u);
    EXPECT_EQ(phrases[0].text, "a lot");
    EXPECT_EQ(phrases[1].sentence, 0);
    EXPECT_EQ(testsupport::ReadBytes(folder.path() + "lesson.script"), before);

    EXPECT_EQ(ReadWordReferences(folder.ansi() + "gone.script", {"study"}, words), ELessonTableRead::Unreadable);
    EXPECT_EQ(ReadPhraseReferences(folder.ansi() + "gone.script", phrases), ELessonTableRead::Unreadable);
}

// Lesson files written by other tools store the words and their lists as
// BLOBs; the look-ups find them exactly as they find TEXT columns.
TEST(WordReferencesTest, TextAndBlobColumnsAreFoundAlike)
{
    struct Case {
        const char* what;
        const char* word;   // SQL for the stored word and list: text as it is, or cast to a BLOB
        const char* list;
    };
    const Case cases[] = {
        {"text word, text list", "?1", "?2"},
        {"blob word, text list", "cast(?1 as blob)", "?2"},
        {"text word, blob list", "?1", "cast(?2 as blob)"},
        {"blob word, blob list", "cast(?1 as blob)", "cast(?2 as blob)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempFolder folder;
        const CString path = folder.ansi() + "lesson.script";
        {
            CSqliteDb db;
            ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
            ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(1000), strreference varchar(10000))"));
            ASSERT_TRUE(db.Exec("create table phaselist(stroriginalphase varchar(1000), strreference varchar(10000))"));
            const std::string values = std::string("values(") + c.word + ", " + c.list + ")";
            ASSERT_TRUE(db.Exec(("insert into wordlist " + values).c_str(), {"don*t", "(don*t:1:2)"}));
            ASSERT_TRUE(db.Exec(("insert into wordlist " + values).c_str(), {"study", "(study:0:4)(studies:2:0)"}));
            ASSERT_TRUE(db.Exec(("insert into phaselist " + values).c_str(), {"a lot", "(a lot:3:5)"}));
        }
        std::vector<SWordReference> words;
        ASSERT_EQ(ReadWordReferences(path, {"study", "don*t", "missing"}, words), ELessonTableRead::Read);
        ExpectStudyAndDont(words);

        std::vector<SWordReference> phrases;
        ASSERT_TRUE(ReadPhraseReferences(path, "a lot", phrases));
        ASSERT_EQ(phrases.size(), 1u);
        EXPECT_EQ(phrases[0].sentence, 3);
        EXPECT_EQ(phrases[0].offset, 5);
    }
}

// A lesson that carries no word or phrase table (a subtitle file is no
// database; a database may lack the table) says so, apart from a file that
// cannot be read; a word in two rows takes the first.
TEST(WordReferencesTest, LessonsWithoutTheirTablesSaySo)
{
    testsupport::TempFolder folder;
    const CString srt = CString(folder.write("lesson.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello there.\n\n").c_str());
    const CString bare = folder.ansi() + "bare.script";
    const CString twice = folder.ansi() + "twice.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(bare, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table tablename(fgntxt text)"));
        ASSERT_TRUE(db.Open(twice, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword text, refs text)"));
        ASSERT_TRUE(db.Exec("insert into wordlist values('study', '(study:0:1)'), ('study', '(study:5:5)')"));
    }
    struct Case {
        CString path;
        ELessonTableRead words;
        ELessonTableRead phrases;
    };
    const Case cases[] = {
        {srt, ELessonTableRead::NoTable, ELessonTableRead::NoTable},
        {bare, ELessonTableRead::NoTable, ELessonTableRead::NoTable},
        {twice, ELessonTableRead::Read, ELessonTableRead::NoTable},
        {folder.ansi() + "gone.srt", ELessonTableRead::Unreadable, ELessonTableRead::Unreadable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.GetString());
        std::vector<SWordReference> references;
        EXPECT_EQ(ReadWordReferences(c.path, {"study"}, references), c.words);
        EXPECT_EQ(ReadPhraseReferences(c.path, references), c.phrases);
    }
    std::vector<SWordReference> references;
    ASSERT_EQ(ReadWordReferences(twice, {"study", "study"}, references), ELessonTableRead::Read);
    ASSERT_EQ(references.size(), 2u);   // the book's word twice, the first row each time
    EXPECT_EQ(references[0].sentence, 0);
    EXPECT_EQ(references[1].sentence, 0);
}
