// Previous and next in the play list by the play order.
#include <gtest/gtest.h>

#include <set>

#include "shell/core/playorder.h"
#include "shell/core/quenlow.h"
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

} // namespace
