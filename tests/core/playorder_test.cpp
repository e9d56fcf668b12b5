// Previous and next in the play list by the play order.
#include <gtest/gtest.h>

#include <set>

#include "core/playorder.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"

namespace {

TEST(PlayOrderTest, SequentialAndRepeatSteps)
{
    struct Case {
        int order;
        int index;
        int count;
        EPlayStep step;
        int expected;
    };
    using S = EPlayStep;
    const Case cases[] = {
        {1, 0, 3, S::Next, 1},
        {1, 2, 3, S::Next, 0},       // the last entry wraps around to the first
        {1, -1, 3, S::Next, 0},
        {1, 2, 3, S::Previous, 1},
        {1, 1, 3, S::Previous, 0},
        {1, 0, 3, S::Previous, 0},   // no wrap-around backwards
        {1, -1, 3, S::Previous, 0},
        {1, 0, 1, S::Next, 0},
        {3, 1, 3, S::Next, 1},       // repeat plays the same entry again
        {3, 1, 3, S::Previous, 1},
        {0, 2, 3, S::Next, 2},       // any other order repeats too
        {7, 2, 3, S::Previous, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepPlayIndex(c.index, c.count, c.order, c.step), c.expected)
            << "order " << c.order << " index " << c.index << " count " << c.count << " next "
            << (c.step == S::Next);
    }
}

TEST(PlayOrderTest, RandomStaysInsideTheList)
{
    std::set<int> seen;
    for (int i = 0; i < 300; ++i) {
        const int index = StepPlayIndex(0, 5, 2, i % 2 ? EPlayStep::Next : EPlayStep::Previous);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 5);
        seen.insert(index);
    }
    EXPECT_GT(seen.size(), 1u);
}

TEST(PlayOrderTest, ChoosesTheEntryToPlayOrNone)
{
    EXPECT_EQ(ChoosePlayEntry(-1, 3), 0);   // filled without an index: the first entry
    EXPECT_EQ(ChoosePlayEntry(2, 3), 2);
    EXPECT_EQ(ChoosePlayEntry(3, 3), kNoPlayableEntry);
    EXPECT_EQ(ChoosePlayEntry(0, 0), kNoPlayableEntry);
    EXPECT_EQ(ChoosePlayEntry(-1, 0), kNoPlayableEntry);
    EXPECT_STREQ(kNoPlayableFileMessage, "播放文件不存在！");
}

TEST(PlayOrderTest, StepsTheApplicationsPlayIndex)
{
    const testsupport::AppStateGuard guard(&CQuenlowApp::m_arrPlayList, &CQuenlowApp::m_nPlayIndex,
                                           &CQuenlowApp::m_nPlayOrder);

    theApp.m_arrPlayList.RemoveAll();
    for (const int order : {1, 2, 3}) {
        theApp.m_nPlayOrder = order;
        theApp.m_nPlayIndex = 0;
        EXPECT_EQ(StepPlayList(EPlayStep::Next), kNoPlayableEntry) << "empty list, order " << order;
        EXPECT_EQ(StepPlayList(EPlayStep::Previous), kNoPlayableEntry) << "empty list, order " << order;
    }

    theApp.m_arrPlayList.Add("/m/a.mp4");
    theApp.m_arrPlayList.Add("/m/b.mp4");
    theApp.m_arrPlayList.Add("/m/c.mp3");
    theApp.m_nPlayOrder = 1;
    theApp.m_nPlayIndex = 2;
    EXPECT_EQ(StepPlayList(EPlayStep::Next), 0);
    EXPECT_EQ(theApp.m_nPlayIndex, 0);
    EXPECT_EQ(StepPlayList(EPlayStep::Next), 1);
    EXPECT_EQ(StepPlayList(EPlayStep::Previous), 0);
    theApp.m_nPlayOrder = 3;
    theApp.m_nPlayIndex = 7;   // stale index after the list shrank
    EXPECT_EQ(StepPlayList(EPlayStep::Next), kNoPlayableEntry);
    EXPECT_EQ(theApp.m_nPlayIndex, 7);
}


// The end comes when the engine says so or in the last 300 ms, never two
// seconds early; an unknown length waits for the engine.
TEST(MediaEndTest, EndIsTheEnginesEndOrTheLastMoment)
{
    struct Case {
        int64_t t;
        int64_t length;
        bool engineEnded;
        bool ended;
    };
    const Case cases[] = {
        {29000, 31'000, false, false},   // two seconds before the end: the last sentence still plays
        {30'699, 31'000, false, false},
        {30'700, 31'000, false, true},
        {12000, 31'000, true, true},     // the engine ended (a length longer than the media)
        {5000, -1, false, false},       // unknown length
        {0, 0, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReachedMediaEnd(c.t, c.length, c.engineEnded), c.ended) << c.t << " of " << c.length;
}

// One tick just past each whole second, so the clock never skips one; near
// the end a tick lands inside the end margin.
TEST(MediaEndTest, TimeDisplayTicksFollowTheSeconds)
{
    struct Case {
        int64_t t;
        int64_t length;
        int delay;
    };
    const Case cases[] = {
        {0, 31'000, 1020}, {1020, 31'000, 1000}, {1999, 31'000, 21}, {2500, 31'000, 520},
        {30'000, 31'000, 850},   // to 30 850, inside the last 300 ms
        {30'900, 31'000, 1},
        {4000, -1, 1020},      // unknown length
        {-1, 31'000, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextTimeDisplayDelay(c.t, c.length), c.delay) << c.t << " of " << c.length;
}

} // namespace
