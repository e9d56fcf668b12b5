// Subtitle lines joined into sentences for the exercises (each end rule, the
// comma before a closing quote, the two length rules counted in bytes with
// the joining blanks, the dropped tail, Chinese texts and times), and the
// whole-word search that finds the sentences a word stands in.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "vocabulary/core/mergedsentences.h"

namespace {

// Exactly `bytes` bytes of words without a sentence mark.
std::string Filler(int bytes)
{
    std::string text;
    while (static_cast<int>(text.size()) < bytes)
        text += "word ";
    text.resize(static_cast<size_t>(bytes));
    text.back() = 'x';
    return text;
}

std::vector<CString> Texts(const std::vector<std::string>& lines)
{
    return std::vector<CString>(lines.begin(), lines.end());
}

std::vector<std::string> EnglishOf(const std::vector<SMergedSentence>& merged)
{
    std::vector<std::string> english;
    for (const SMergedSentence& sentence : merged)
        english.push_back(sentence.english.str());
    return english;
}

TEST(MergeSentencesTest, EachRuleThatEndsASentence)
{
    const std::string f30 = Filler(30), f31 = Filler(31), f49 = Filler(49), f50 = Filler(50);
    const std::string f80 = Filler(80), f81 = Filler(81), f100 = Filler(100), f101 = Filler(101);
    struct Case {
        const char* reason;
        std::vector<std::string> lines;
        std::vector<std::string> merged;
    };
    const Case cases[] = {
        {"stop marks end; the unfinished tail is dropped",
         {"Hello there.", "Is it you?", "Run!", "and then"},
         {" Hello there.", " Is it you?", " Run!"}},
        {"a line without a mark joins the next with one blank", {"I went home", "and slept."}, {" I went home and slept."}},
        {"a mark inside the line does not end", {"Mr. Smith came", "in."}, {" Mr. Smith came in."}},
        {"a quote closed after a comma goes on", {"\"Yes,\"", "she said."}, {" \"Yes,\" she said."}},
        {"any other closing quote ends", {"They call it \"home\"", "Next."}, {" They call it \"home\"", " Next."}},
        {"a line of only a quote ends", {"\"", "Next."}, {" \"", " Next."}},
        {"an empty line ends only by length", {"", "Go."}, {"  Go."}},
        {"line breaks inside the lines are removed", {"Hello\n", "there.\n"}, {" Hello there."}},
        {"a carriage return before the mark's line end is removed too",
         {"Hello\r\n", "there.\r\n", "Go!\r", "now?\r\r\n"},
         {" Hello there.", " Go!", " now?"}},
        {"the next line's carriage return is not counted", {f101, f30 + "\r\n", "End."}, {" " + f101 + " " + f30 + " End."}},
        {"over 100 bytes before a long next line that goes on",
         {f101, f31, "End."},
         {" " + f101, " " + f31 + " End."}},
        {"over 100 bytes, but the next line ends a sentence itself", {f101, f31 + "."}, {" " + f101 + " " + f31 + "."}},
        {"100 bytes are not over 100", {f100, f31, "End."}, {" " + f100 + " " + f31 + " End."}},
        {"the next line's line break is not counted", {f101, f30 + "\n", "End."}, {" " + f101 + " " + f30 + " End."}},
        {"the length counts the blank before each piece, none before the line: 51 + 49",
         {f50, f49, f31, "End."},
         {" " + f50 + " " + f49 + " " + f31 + " End."}},
        {"51 + 50 is over 100", {f50, f50, f31, "End."}, {" " + f50 + " " + f50, " " + f31 + " End."}},
        {"over 80 bytes before a next line over 50, whatever its end", {f81, f50 + "."}, {" " + f81, " " + f50 + "."}},
        {"80 bytes are not over 80", {f80, f50 + "."}, {" " + f80 + " " + f50 + "."}},
        {"no lines", {}, {}},
    };
    for (const Case& c : cases) {
        const std::vector<CString> english = Texts(c.lines);
        const std::vector<CString> chinese(english.size());
        const std::vector<std::pair<int, int>> times(english.size());
        EXPECT_EQ(EnglishOf(MergeSentences(english, chinese, times)), c.merged) << c.reason;
    }
}

TEST(MergeSentencesTest, ChineseTextsAndTimesFollowTheLines)
{
    const std::vector<SMergedSentence> merged =
        MergeSentences({"Good morning,", "teacher.", "Sit down.", "And"}, {"早上好，", "老师。", "坐下。", "和"},
                       {{1000, 1800}, {1900, 2500}, {3000, 3600}, {4000, 4500}});
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[0].english, " Good morning, teacher.");
    EXPECT_EQ(merged[0].chinese, " 早上好， 老师。");
    EXPECT_EQ(merged[0].startMs, 1000);   // the first line's start
    EXPECT_EQ(merged[0].endMs, 2500);     // the last line's end
    EXPECT_EQ(merged[1].chinese, " 坐下。");
    EXPECT_EQ(merged[1].startMs, 3000);
    EXPECT_EQ(merged[1].endMs, 3600);

    // Fewer Chinese texts or times than lines read as empty and 0.
    const std::vector<SMergedSentence> short_ = MergeSentences({"One", "two."}, {"甲"}, {});
    ASSERT_EQ(short_.size(), 1u);
    EXPECT_EQ(short_[0].chinese, " 甲 ");
    EXPECT_EQ(short_[0].startMs, 0);
    EXPECT_EQ(short_[0].endMs, 0);
}

TEST(FindWordLinesTest, WholeWordsIgnoringCaseFromTheSixthCharacter)
{
    struct Case {
        const char* reason;
        std::vector<std::string> sentences;
        const char* word;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"case-blind, in text order", {" I like tea.", " Tea time.", " No tea."}, "TEA", {0, 1, 2}},
        {"not inside longer words", {" Hi.", " Steam, teacher, tea-cup and tea."}, "tea", {1, 1}},
        {"twice in a row", {" Hi.", " tea tea."}, "tea", {1, 1}},
        {"the first five characters are not searched", {" Go now, go.", " Go."}, "go", {0, 1}},
        {"a word starting at the fifth character is not found", {" Go now."}, "now", {}},
        {"the unsearched head still decides what is a whole word", {" Bigtea."}, "ea", {}},
        {"no match from a Chinese character's trail byte (81 61)", {" Hi.", " Go \x81\x61te now."}, "ate", {}},
        {"a Chinese character's trail byte is not case-folded", {" Hi.", " ok \x81\x61 ok."}, "\x81\x41", {}},
        {"a Chinese character next to a word is a word boundary", {" Hi.", " 我喝tea。"}, "tea", {1}},
        {"an empty word", {" Hi.", " tea."}, "", {}},
    };
    for (const Case& c : cases) {
        std::vector<SMergedSentence> merged;
        for (const std::string& english : c.sentences)
            merged.push_back(SMergedSentence{english, "", 0, 0});
        EXPECT_EQ(FindWordLines(merged, c.word), c.lines) << c.reason;
    }
}

} // namespace
