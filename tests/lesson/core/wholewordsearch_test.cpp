// Whole-word search of many words in one pass: each case gives the words and
// the text, with the occurrences marked by brackets.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lesson/core/wholewordsearch.h"

namespace {

// The text with "[" before and "]" after each range (ranges in text order,
// not nested).
std::string Bracketed(const std::string& text, const std::vector<STextRange>& ranges)
{
    std::string out;
    size_t at = 0;
    for (const STextRange& range : ranges) {
        out += text.substr(at, static_cast<size_t>(range.start) - at) + "[" +
               text.substr(static_cast<size_t>(range.start), static_cast<size_t>(range.end - range.start)) + "]";
        at = static_cast<size_t>(range.end);
    }
    return out + text.substr(at);
}

// Chinese in UTF-8, as the text control holds it (literals are GB18030).
#define XUE "\xE5\xAD\xA6"
#define XI "\xE4\xB9\xA0"

} // namespace

TEST(WholeWordSearchTest, FindsEachWordWhereItStandsAlone)
{
    struct Case {
        const char* why;
        std::vector<std::string> words;
        const char* text;
        const char* marked;
    };
    const Case cases[] = {
        {"any case", {"ability"}, "Ability, ABILITY and ability.", "[Ability], [ABILITY] and [ability]."},
        {"never inside a longer word", {"able"}, "unable tables able", "unable tables [able]"},
        {"digits and _ belong to a word", {"car"}, "car2 car_ car", "car2 car_ [car]"},
        {"an apostrophe ends a word", {"don"}, "don't don", "[don]'t [don]"},
        {"a word with an apostrophe", {"don't"}, "Don't stop; don'tx", "[Don't] stop; don'tx"},
        {"a word beside Chinese is inside a longer word", {"study"}, XUE "study study" XUE " study", XUE "study study" XUE " [study]"},
        {"a phrase across a blank", {"a lot"}, "a lot of lots, a lottery", "[a lot] of lots, a lottery"},
        {"at both ends of the text", {"end"}, "end", "[end]"},
        {"several words in text order", {"two", "one"}, "one two one", "[one] [two] [one]"},
        {"a word listed twice is found once", {"one", "ONE"}, "one", "[one]"},
        {"no words", {}, "one", "one"},
        {"empty and blank-edged words find nothing", {"", " one", "one "}, "one", "one"},
        {"Chinese words match exactly", {XUE XI}, XUE XI " " XUE XI, "[" XUE XI "] [" XUE XI "]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Bracketed(c.text, FindWholeWords(c.text, c.words)), c.marked) << c.why;
}

// Words that share their first part are each found; ranges of different
// words overlap where one holds the other.
TEST(WholeWordSearchTest, WordsWithTheSameStartAreAllFound)
{
    const std::vector<STextRange> ranges = FindWholeWords("don't", {"don", "don't"});
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].start, 0);
    EXPECT_EQ(ranges[1].start, 0);
    EXPECT_EQ(ranges[0].end + ranges[1].end, 3 + 5);
}

// The cost is one pass over the text: 50,000 words over a long text finish
// at once (a search per word took seconds).
TEST(WholeWordSearchTest, ManyWordsOverALongText)
{
    std::vector<std::string> words;
    for (int n = 0; n < 50000; ++n)
        words.push_back("w" + std::to_string(n));
    std::string text;
    for (int n = 0; n < 100000; ++n)
        text += "w" + std::to_string(n * 7) + (n % 10 == 9 ? ".\n" : " ");
    const std::vector<STextRange> ranges = FindWholeWords(text, words);
    EXPECT_EQ(ranges.size(), 50000u / 7 + 1);
}
