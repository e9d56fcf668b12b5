// Example sentences of a word in the word book: which lines an occurrence
// takes in, the numbered line and the word's place in it, what is listed
// once, the references read from a lesson file or found in subtitle texts,
// and the clip played for an example.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sqlitedb.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordexamples.h"

namespace {

CStringArray Texts(const std::vector<const char*>& lines)
{
    CStringArray texts;
    for (const char* line : lines)
        texts.Add(line);
    return texts;
}

const CStringArray kEnglish = Texts({
    "Hello there, my friend.",
    "I learn English every day",
    "because English opens doors.",
    "I saw a cat.",
    "I saw a dog.",
    "He said \"stop,\"",
    "and English \"left\"",
});
const CStringArray kChinese = Texts({"你好。", "我每天学英语", "因为英语打开大门。", "我看见一只猫。", "我看见一只狗。",
                                     "他说", "然后离开"});

std::string Marked(const SWordExample& example)
{
    return std::string(example.line.Mid(example.markStart, example.markEnd - example.markStart));
}

} // namespace

TEST(WordExamplesTest, SentenceEndsTable)
{
    const struct {
        const char* text;
        bool ends;
    } cases[] = {
        {"Done.", true},     {"Why?", true},         {"Go!", true},   {"a; b;", true}, {"(aside)", true},
        {"He said \"no.\"", true}, {"\"stop,\"", false}, {"and so", false}, {"", false},   {"\"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EndsSentence(c.text), c.ends) << c.text;
}

TEST(WordExamplesTest, AnOccurrenceTakesInTheLinesItsSentenceRunsOver)
{
    CWordExampleList list;
    // The sentence runs on into the next line: both are shown, the Chinese too.
    ASSERT_TRUE(list.Add({"English", 1, 8}, kEnglish, kChinese, "a.script"));
    const SWordExample& first = list.Examples()[0];
    EXPECT_EQ(std::string(first.line), "1.I learn English every day because English opens doors. ");
    EXPECT_EQ(std::string(first.chinese), "我每天学英语 因为英语打开大门。 ");
    EXPECT_EQ(first.firstSentence, 1);
    EXPECT_EQ(first.lastSentence, 2);
    EXPECT_EQ(Marked(first), "English");
    EXPECT_EQ(std::string(first.source), "a.script");

    // The same stretch reached from its second line is not listed again.
    EXPECT_FALSE(list.Add({"English", 2, 8}, kEnglish, kChinese, "a.script"));

    // From a fresh list the second line's occurrence is marked after the
    // line before it and its blank.
    CWordExampleList fresh;
    ASSERT_TRUE(fresh.Add({"English", 2, 8}, kEnglish, kChinese, "a.script"));
    EXPECT_EQ(fresh.Examples()[0].firstSentence, 1);
    EXPECT_EQ(fresh.Examples()[0].markStart, 2 + 26 + 8);
    EXPECT_EQ(Marked(fresh.Examples()[0]), "English");

    // A quote after a comma does not end the line: the next one is taken in.
    CWordExampleList quoted;
    ASSERT_TRUE(quoted.Add({"English", 6, 4}, kEnglish, kChinese, "a.script"));
    EXPECT_EQ(quoted.Examples()[0].firstSentence, 5);
    EXPECT_EQ(Marked(quoted.Examples()[0]), "English");
}

TEST(WordExamplesTest, ListedOnceOnlyForTheSameTextAndAtMostAHundred)
{
    CWordExampleList list;
    EXPECT_TRUE(list.Add({"saw", 3, 2}, kEnglish, kChinese, "a"));
    // A word twice in one sentence gives the same example twice.
    EXPECT_FALSE(list.Add({"saw", 3, 2}, kEnglish, kChinese, "a"));
    // Another sentence of the same length is another example.
    EXPECT_TRUE(list.Add({"saw", 4, 2}, kEnglish, kChinese, "a"));
    // Sentences outside the lesson add nothing.
    EXPECT_FALSE(list.Add({"saw", 7, 0}, kEnglish, kChinese, "a"));
    EXPECT_FALSE(list.Add({"saw", -1, 0}, kEnglish, kChinese, "a"));
    EXPECT_EQ(list.Examples().size(), 2u);
    EXPECT_EQ(std::string(list.Text()), "1.I saw a cat. \n2.I saw a dog. \n");
    EXPECT_EQ(list.LineStart(1), 16);

    // A hundred sentences that each end: the hundredth has a four-character
    // number, the hundred-and-first is refused.
    CStringArray many;
    for (int i = 0; i < 101; ++i) {
        CString line;
        line.Format("Line %d has the word.", i);
        many.Add(line);
    }
    CWordExampleList full;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(full.Add({"word", i, 0}, many, CStringArray(), "a")) << i;
    EXPECT_TRUE(full.IsFull());
    EXPECT_FALSE(full.Add({"word", 100, 0}, many, CStringArray(), "a"));
    const SWordExample& hundredth = full.Examples().back();
    EXPECT_EQ(hundredth.markStart, 4);
    EXPECT_EQ(std::string(hundredth.line.Left(4)), "100.");

    // An offset past the sentence keeps the mark inside the line.
    CWordExampleList stale;
    ASSERT_TRUE(stale.Add({"friend", 0, 500}, kEnglish, kChinese, "a"));
    EXPECT_LE(stale.Examples()[0].markEnd, stale.Examples()[0].line.GetLength());
}

TEST(WordExamplesTest, SubtitleTextsAreSearchedAtLineStartsAndAfterBlanks)
{
    const CStringArray texts = Texts({"an apple", "I ate an banana and another", "Canada", "An owl", "and so on"});
    std::vector<std::string> found;
    for (const SWordReference& reference : FindWordInLessonText("an", texts))
        found.push_back(std::string(reference.text) + ":" + std::to_string(reference.sentence) + ":" +
                        std::to_string(reference.offset));
    // Case counts, a longer word that begins with it counts, only the first
    // place of a line counts, and a word inside another does not.
    EXPECT_EQ(found, (std::vector<std::string>{"an:0:0", "an:1:6", "an:4:0"}));
    EXPECT_TRUE(FindWordInLessonText("", texts).empty());
}

TEST(WordExamplesTest, StoredReferencesOfAWordOrAPhrase)
{
    testsupport::TempFolder folder;
    const CString lesson = folder.ansi() + "lesson.script";
    {
        CSqliteDb db;
        ASSERT_TRUE(db.Open(lesson, CSqliteDb::ReadWriteCreate));
        ASSERT_TRUE(db.Exec("create table wordlist(stroriginalword varchar(1000), strreference varchar(10000))"));
        ASSERT_TRUE(db.Exec("create table phaselist(stroriginalphase varchar(1000), strreference varchar(10000))"));
        ASSERT_TRUE(db.Exec("insert into wordlist values(?, ?)", {"learn", " (learn:1:2) (learns:9:0) ("}));
        ASSERT_TRUE(db.Exec("insert into wordlist values(?, ?)", {"don*t", "(don't:3:0)"}));
        ASSERT_TRUE(db.Exec("insert into phaselist values(?, ?)", {"every day", "(every day:1:16)"}));
    }
    std::vector<SWordReference> references;
    ASSERT_TRUE(ReadExampleReferences(lesson, "learn", false, references));
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(std::string(references[1].text), "learns");
    EXPECT_EQ(references[1].sentence, 9);

    references.clear();
    ASSERT_TRUE(ReadExampleReferences(lesson, "don*t", false, references));
    ASSERT_EQ(references.size(), 1u);
    EXPECT_EQ(std::string(references[0].text), "don't");

    references.clear();
    ASSERT_TRUE(ReadExampleReferences(lesson, "every day", true, references));
    ASSERT_EQ(references.size(), 1u);
    EXPECT_EQ(references[0].offset, 16);

    references.clear();
    EXPECT_TRUE(ReadExampleReferences(lesson, "missing", false, references));
    EXPECT_TRUE(references.empty());
    EXPECT_FALSE(ReadExampleReferences(folder.ansi() + "none.script", "learn", false, references));
}

TEST(WordExamplesTest, ClipOfAnExample)
{
    std::vector<SSentenceTiming> timings(3);
    timings[0].starttime = 100;
    timings[0].endtime = 2000;
    timings[1].starttime = 2000;
    timings[1].endtime = 4000;
    timings[2].starttime = 4000;
    timings[2].endtime = 6000;
    SClip clip;
    // Five margins of 100 ms on either side, moved by the offset, never
    // before the media's start.
    ASSERT_TRUE(SentenceClip(timings, 0, 1, 100, 50, clip));
    EXPECT_EQ(clip.start, 0);
    EXPECT_EQ(clip.end, 4000 + 500 + 50);
    ASSERT_TRUE(SentenceClip(timings, 2, 2, 100, -200, clip));
    EXPECT_EQ(clip.start, 4000 - 500 - 200);
    EXPECT_FALSE(SentenceClip(timings, 2, 3, 100, 0, clip));
    EXPECT_FALSE(SentenceClip(timings, -1, 0, 100, 0, clip));

    EXPECT_FALSE(ClipIsOver(3999, 4000, false));
    EXPECT_TRUE(ClipIsOver(4001, 4000, false));
    // The media ended before the clip's end: the clip is over all the same.
    EXPECT_TRUE(ClipIsOver(1000, 4000, true));
}
