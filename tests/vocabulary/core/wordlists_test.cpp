// The word lists of the word book view: the shipped lists, a fixture book
// and lesson (short entries, digits, apostrophes stored as "*"), the words of
// a subtitle lesson, the book's words of the unit, the random group and the
// counter and interval texts.
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlists.h"

namespace {

std::vector<CString> Words(std::initializer_list<const char*> words)
{
    return std::vector<CString>(words.begin(), words.end());
}

// A lesson file whose lists hold the entries the readers must drop.
CString WriteFixtureLesson(const testsupport::TempFolder& folder)
{
    const CString path = folder.ansi() + "unit.script";
    CSqliteDb db;
    EXPECT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    EXPECT_TRUE(db.Exec("create table wordlist(stroriginalword text, strref text)"));
    EXPECT_TRUE(db.Exec("create table phaselist(stroriginalphase text, strref text)"));
    for (const char* word : {"study", " an ", "x", "mp3s", "year2000", "don*t", "Bus", "river"})
        EXPECT_TRUE(db.Exec("insert into wordlist values(?, '')", {CString(word)}));
    for (const char* phrase : {"take off", "a", "  look after  ", "by the way"})
        EXPECT_TRUE(db.Exec("insert into phaselist values(?, '')", {CString(phrase)}));
    return path;
}

TEST(WordListsTest, ShippedListsAreSortedWordsOfTwoCharactersOrMore)
{
    testsupport::TempProgramFolder program;
    const CString master = program.ansi() + "AppData/BasicDict/MASTER.script";
    for (EShippedList list : {EShippedList::Outline, EShippedList::RealExamWords, EShippedList::RealExamPhrases}) {
        std::vector<CString> entries;
        ASSERT_TRUE(ReadShippedList(master, list, entries));
        ASSERT_GE(entries.size(), 20u);
        EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                                   [](const CString& a, const CString& b) { return a.Compare(b) < 0; }));
        for (const CString& entry : entries)
            EXPECT_GT(entry.GetLength(), 1);
        if (list == EShippedList::RealExamPhrases) {
            EXPECT_GE(entries.front().Find(' '), 0) << "phrases hold blanks";
        }
    }
    // A missing database keeps the list on screen: the entries stay as they were.
    std::vector<CString> kept = Words({"keep"});
    EXPECT_FALSE(ReadShippedList(program.ansi() + "AppData/BasicDict/none.script", EShippedList::Outline, kept));
    EXPECT_EQ(kept, Words({"keep"}));
}

TEST(WordListsTest, BookAndLessonListsDropWhatIsNoWord)
{
    testsupport::TempFolder folder;
    const CString book = folder.ansi() + "UserData/UnKownWord.script";
    std::vector<CString> entries = Words({"stale"});
    ASSERT_TRUE(ReadBookList(book, entries)) << "a book not saved yet is an empty list";
    EXPECT_TRUE(entries.empty());
    for (const char* word : {"zebra", "don't", "apple", "x"})
        SaveToWordBook(book, word);
    ASSERT_TRUE(ReadBookList(book, entries));
    EXPECT_EQ(entries, Words({"apple", "don*t", "zebra"}));

    const CString lesson = WriteFixtureLesson(folder);
    ASSERT_TRUE(ReadLessonWords(lesson, entries));
    // Three characters or more, no digit; "Bus" sorts before the lower-case words.
    EXPECT_EQ(entries, Words({"Bus", "don*t", "river", "study"}));
    ASSERT_TRUE(ReadLessonPhrases(lesson, entries));
    EXPECT_EQ(entries, Words({"take off", "look after", "by the way"})) << "table order, trimmed";

    EXPECT_FALSE(ReadLessonWords(folder.ansi() + "missing.script", entries));
    EXPECT_FALSE(ReadLessonPhrases(book, entries)) << "a file without phaselist";
}

TEST(WordListsTest, SplitWordsCutsAtMarksAndDropsApostrophes)
{
    struct Case {
        const char* text;
        std::vector<CString> tokens;
    } const cases[] = {
        {"Hello, everyone.", Words({"Hello", "everyone"})},
        {"  \"Too late?\" (he said)  ", Words({"Too", "late", "he", "said"})},
        {"It's a road; I walk [daily]!", Words({"road", "walk", "daily"})},
        {"one:two\nthree“four", Words({"one", "two", "three", "four"})},
        {"don’t stop", Words({"stop"})},
        {"", Words({})},
        {" \t ", Words({})},
        {"\tsea  \t sky\t end\t", Words({"sea", "sky\t", "end"})},   // only spaces cut; tabs before a word go
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitWords(c.text), c.tokens) << c.text;
}

// A subtitle file may hold its whole text on one line; its words must come
// in time proportional to its length (a quarter of a megabyte took seconds
// when every cut copied the rest of the line).
TEST(WordListsTest, WordsOfOneVeryLongLineComeInLinearTime)
{
    std::string line;
    for (int i = 0; line.size() < (1u << 20); ++i)
        line += "word" + std::to_string(i % 20000) + ", ";
    CStringArray sentences;
    sentences.Add(CString(line));
    const std::optional<int> done = testsupport::RunBoundedInChild(
        [&] {
            const std::vector<CString> words = WordsOfSentences(sentences);
            return words.size() == 20000 && words.back() == "word19999" ? 0 : 1;
        },
        5.0, 1L << 30);
    EXPECT_EQ(done, std::optional<int>(0));
}

TEST(WordListsTest, SubtitleLessonWordsKeepTextOrderAndCase)
{
    CStringArray sentences;
    sentences.Add("Study every day.");
    sentences.Add("We study at 7pm, every day of 2024.");
    sentences.Add("It's fine.");
    EXPECT_EQ(WordsOfSentences(sentences), Words({"Study", "every", "day", "study", "7pm", "2024", "fine"}));
}

TEST(WordListsTest, BookWordsOfUnitRepeatPerUnitOccurrence)
{
    const auto book = Words({"apple", "river", "study"});
    EXPECT_EQ(BookWordsOfUnit(book, Words({"study", "river", "Study", "study"})), Words({"river", "study", "study"}));
    EXPECT_TRUE(BookWordsOfUnit(book, Words({})).empty());
}

TEST(WordListsTest, RandomGroupNeedsOneHundredWords)
{
    std::vector<CString> words;
    for (int i = 0; i < 99; ++i) {
        CString word;
        word.Format("w%03d", i);
        words.push_back(word);
    }
    unsigned next = 0;
    const RandomSource counting = [&next] { return next++; };
    EXPECT_TRUE(DrawRandomGroup(words, counting).empty()) << "99 words";

    words.push_back("x");   // the 100th entry is too short: drawn again
    next = 95;
    const std::vector<CString> group = DrawRandomGroup(words, counting);
    ASSERT_EQ(group.size(), 50u);
    EXPECT_EQ(group[3], "w098");
    EXPECT_EQ(group[4], "w000") << "index 99 (\"x\") skipped, then the draw wraps round the list";

    // The default source gives the same group every run.
    EXPECT_EQ(DrawRandomGroup(words, DefaultRandomSource()), DrawRandomGroup(words, DefaultRandomSource()));
}

TEST(WordListsTest, ListAndCounterTexts)
{
    EXPECT_EQ(ShownListText(Words({"don*t", "study"})), "don't\nstudy\n");
    EXPECT_EQ(ShownListText({}), "");
    EXPECT_EQ(ListCounterText(0), "  共0个");
    EXPECT_EQ(ClickCounterText(0, 3), "第1个/共3个");
    EXPECT_EQ(ClickCounterText(3, 3), "没有单词") << "below the last line";
    EXPECT_EQ(ClickCounterText(0, 0), "没有单词");

    struct Case {
        const char* text;
        int ms;
    } const intervals[] = {{"1秒", 1000}, {"5秒", 5000}, {"10秒", 10000}, {"9秒钟", 9000}, {"", 6000}, {"慢", 6000}};
    for (const Case& c : intervals)
        EXPECT_EQ(WordIntervalFromText(c.text), c.ms) << c.text;
}

} // namespace
