#include <gtest/gtest.h>

#include "core/quenlow.h"

namespace {

void SetSentences(CQuenlowApp& app, const std::vector<std::pair<int, int>>& times)
{
    app.ClearSentenceModel();
    app.EnsureSentenceCapacity(static_cast<int>(times.size()));
    for (size_t i = 0; i < times.size(); ++i) {
        app.m_arrSentenceTiming[i].starttime = times[i].first;
        app.m_arrSentenceTiming[i].endtime = times[i].second;
        app.m_arrForeignText.Add("s\n");
        app.m_arrChineseText.Add("\n");
    }
    app.m_nSentenceCount = static_cast<int>(times.size());
}

TEST(SentenceModelTest, FindsTheCurrentSentence)
{
    CQuenlowApp app;
    SetSentences(app, {{1000, 2000}, {1500, 3000}, {5000, 6000}});
    struct Case {
        const char* what;
        int offset;
        int64_t time;
        int expected;
    };
    const Case cases[] = {
        {"before the first sentence", 0, 999, -1},
        {"start is inclusive", 0, 1000, 0},
        {"overlap: lower index wins", 0, 1700, 0},
        {"end is inclusive", 0, 2000, 0},
        {"only the second", 0, 2001, 1},
        {"gap between sentences", 0, 4000, -1},
        {"after the last", 0, 6001, -1},
        {"offset moves the start", 400, 1399, -1},
        {"offset moves the start (inside)", 400, 1400, 0},
        {"offset moves the end", 400, 2400, 0},
        {"negative offset", -500, 500, 0},
    };
    for (const Case& c : cases) {
        app.m_nTimeOffset = c.offset;
        EXPECT_EQ(app.FindSentenceAt(c.time), c.expected) << c.what;
    }
}

// The next moment the current sentence changes, for following playback on
// time: a start, or the moment after an end.
TEST(SentenceModelTest, NextChangeIsTheNextStartOrEnd)
{
    CQuenlowApp app;
    SetSentences(app, {{1000, 2000}, {1500, 3000}, {5000, 6000}});
    struct Case {
        int offset;
        int64_t time;
        int64_t expected;
    };
    const Case cases[] = {
        {0, 0, 1000}, {0, 1000, 1500}, {0, 1700, 2001}, {0, 2001, 3001},
        {0, 3500, 5000}, {0, 6000, 6001}, {0, 6001, -1}, {300, 0, 1300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.time << " with offset " << c.offset);
        app.m_nTimeOffset = c.offset;
        EXPECT_EQ(app.NextSentenceChange(c.time), c.expected);
    }
}

TEST(SentenceModelTest, ClearingLeavesNothingOfTheOldLesson)
{
    CQuenlowApp app;
    SetSentences(app, std::vector<std::pair<int, int>>(4500, {10, 20}));
    app.m_arrTextCorrection[4400] = 7;
    app.m_nCurrentSentence = 12;
    ASSERT_GE(app.m_arrSentenceTiming.size(), 4500u);

    app.ClearSentenceModel();
    EXPECT_EQ(app.m_nSentenceCount, 0);
    EXPECT_EQ(app.m_nCurrentSentence, -1);
    EXPECT_TRUE(app.m_arrForeignText.IsEmpty());
    EXPECT_TRUE(app.m_arrChineseText.IsEmpty());
    for (const SSentenceTiming& s : app.m_arrSentenceTiming)
        ASSERT_EQ(s.endtime, 0);
    for (int correction : app.m_arrTextCorrection)
        ASSERT_EQ(correction, 0);
    EXPECT_EQ(app.FindSentenceAt(15), -1);
}

TEST(SentenceModelTest, TableGrowsBeyondItsStartSize)
{
    CQuenlowApp app;
    app.ClearSentenceModel();
    EXPECT_EQ(app.m_arrSentenceTiming.size(), static_cast<size_t>(kSentenceTableSize));
    app.EnsureSentenceCapacity(kSentenceTableSize + 1);
    EXPECT_GT(app.m_arrSentenceTiming.size(), static_cast<size_t>(kSentenceTableSize));
    EXPECT_GE(app.m_arrTextCorrection.size(), app.m_arrSentenceTiming.size());
}

} // namespace
