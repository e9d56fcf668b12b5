// The playback clock between the engine's reports, on a simulated monotonic
// clock: it runs on from each report, starts again on a pause, a seek or a
// new rate, and never steps back over a late report.
#include <cstdint>

#include <gtest/gtest.h>

#include "core/playbackclock.h"

namespace {

struct Step {
    const char* what;
    int64_t advanceMs;   // monotonic time passing before the reading
    int64_t reported;    // the engine's time
    bool playing;
    double rate;
    int64_t expected;
};

void RunSteps(const Step* steps, size_t count)
{
    int64_t now = 5000;
    CPlaybackClock clock([&] { return now; });
    for (size_t i = 0; i < count; ++i) {
        const Step& s = steps[i];
        now += s.advanceMs;
        EXPECT_EQ(clock.Estimate(s.reported, s.playing, s.rate), s.expected) << s.what;
    }
}

TEST(PlaybackClockTest, RunsOnBetweenReportsAndStartsAgainFromTheEngine)
{
    const Step steps[] = {
        {"first reading is taken as it is", 0, 1000, true, 1.0, 1000},
        {"100 ms later, no new report", 100, 1000, true, 1.0, 1100},
        {"300 ms later", 200, 1000, true, 1.0, 1300},
        {"a new report anchors again", 50, 1340, true, 1.0, 1340},
        {"and runs on from it", 60, 1340, true, 1.0, 1400},
        {"a report behind the estimate holds it", 40, 1380, true, 1.0, 1400},
        {"the estimate catches up with it", 100, 1380, true, 1.0, 1480},
        {"paused: the engine's own value", 500, 1600, false, 1.0, 1600},
        {"stays while paused", 2000, 1600, false, 1.0, 1600},
        {"playing again from there", 0, 1600, true, 1.0, 1600},
        {"runs on", 200, 1600, true, 1.0, 1800},
        {"a seek back is followed at once", 10, 300, true, 1.0, 300},
        {"a seek forward too", 10, 9000, true, 1.0, 9000},
        {"no media", 10, -1, true, 1.0, -1},
    };
    RunSteps(steps, std::size(steps));
}

TEST(PlaybackClockTest, RateAndStallBounds)
{
    const Step steps[] = {
        {"half speed", 0, 2000, true, 0.5, 2000},
        {"400 ms pass, 200 ms of media", 400, 2000, true, 0.5, 2200},
        {"double speed starts again from the report", 0, 2000, true, 2.0, 2000},
        {"100 ms pass, 200 ms of media", 100, 2000, true, 2.0, 2200},
        {"an engine that stops reporting is followed 1 s at most", 5000, 2000, true, 2.0,
         2000 + CPlaybackClock::kMaxAheadMs},
    };
    RunSteps(steps, std::size(steps));
}

// A reading that carries the moment the engine gave it is anchored there, not
// at the moment it is read.
TEST(PlaybackClockTest, AReadingAnchorsAtItsOwnMoment)
{
    int64_t now = 10000;
    CPlaybackClock clock([&] { return now; });
    EXPECT_EQ(clock.Estimate(2000, true, 1.0, 9930), 2070);   // given 70 ms ago
    now += 50;
    EXPECT_EQ(clock.Estimate(2000, true, 1.0, 9930), 2120);
    EXPECT_EQ(clock.Estimate(2300, true, 1.0, 10040), 2310);
    EXPECT_EQ(clock.Estimate(2400, true, 1.0, 20000), 2400) << "a moment in the future counts as now";
}

} // namespace
