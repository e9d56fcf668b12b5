// Scoring a submitted exercise and its row in the exercise history.
#include <ctime>
#include <vector>

#include <gtest/gtest.h>

#include "vocabulary/core/exercisehistory.h"
#include "tests/testsupport.h"

namespace {

TEST(ExerciseScoreTest, AnswersCountOnlyWhenEqualToTheKeyword)
{
    struct Case {
        const char* what;
        std::vector<CString> keywords;
        std::vector<CString> answers;
        int questions, correct, percent;
    };
    const Case cases[] = {
        {"all right", {"took", "taken"}, {"took", "taken"}, 2, 2, 100},
        {"letter case counts", {"took", "taken"}, {"Took", "taken"}, 2, 1, 50},
        {"missing answers are wrong", {"a1", "b2", "c3"}, {"a1"}, 3, 1, 33},
        {"no questions: no division", {}, {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const SExerciseScore score = ScoreExercise(c.keywords, c.answers);
        EXPECT_EQ(score.questions, c.questions) << c.what;
        EXPECT_EQ(score.correct, c.correct) << c.what;
        EXPECT_EQ(score.percent, c.percent) << c.what;
    }
    // Seventy questions: sixty are scored.
    std::vector<CString> keywords(70, "word");
    const SExerciseScore score = ScoreExercise(keywords, keywords);
    EXPECT_EQ(score.questions, 60);
    EXPECT_EQ(score.percent, 100);
}

TEST(ExerciseHistoryTest, TimeTextHasNoLeadingZeros)
{
    std::tm when {};
    when.tm_year = 2013 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 7;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 3;
    EXPECT_EQ(ExerciseTimeText(when), "2013-5-7  9:5:3");
}

TEST(ExerciseHistoryTest, RowsAreNumberedListedByNameAndDeletedOneByOne)
{
    testsupport::TempFolder temp;
    const CString db = temp.ansi() + "ClissifiedWord.script";   // missing: made with its table
    const auto record = [](const char* name, int questions, const char* score) {
        SExerciseRecord r;
        r.time = "2026-12-11  3:4:5";
        r.mediaName = name;
        r.mediaPath = CString("/media/") + name;
        r.english = "It's (      ) late.";
        r.chinese = "太晚了。";
        r.answer = "too";
        r.myAnswer = "to'o";
        r.score = score;
        r.questions = questions;
        return r;
    };
    EXPECT_TRUE(AppendExerciseHistory(db, record("b.mp4", 6, "50")));
    EXPECT_TRUE(AppendExerciseHistory(db, record("a's talk.mp4", 3, "100")));   // an apostrophe keeps its row
    EXPECT_TRUE(AppendExerciseHistory(db, record("b.mp4", 6, "83")));
    EXPECT_FALSE(AppendExerciseHistory(db, record("c.mp4", 0, "0")));   // no questions: no row

    std::vector<SExerciseHistoryRow> rows = ReadExerciseHistory(db);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].mediaName, "a's talk.mp4");
    EXPECT_EQ(rows[0].linecnt, "2");
    EXPECT_EQ(rows[0].questions, "3");
    EXPECT_EQ(rows[0].score, "100");
    EXPECT_EQ(rows[1].mediaName, "b.mp4");
    EXPECT_EQ(rows[2].mediaName, "b.mp4");

    // Equal names and times are told apart by their numbers.
    ASSERT_TRUE(DeleteExerciseHistoryRow(db, " 3 "));
    rows = ReadExerciseHistory(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].score, "50");
    // Numbering goes on after the largest number left.
    EXPECT_TRUE(AppendExerciseHistory(db, record("d.mp4", 1, "0")));
    rows = ReadExerciseHistory(db);
    EXPECT_EQ(rows.back().linecnt, "3");

    EXPECT_TRUE(ReadExerciseHistory(temp.ansi() + "missing.script").empty());
}

} // namespace
