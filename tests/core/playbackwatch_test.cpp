#include <gtest/gtest.h>

#include <vector>

#include "core/playbackwatch.h"

namespace {

using EAction = CPlaybackWatch::EAction;
constexpr int kOpening = 1;
constexpr int kPlaying = CPlaybackWatch::kStatePlaying;
constexpr int kPaused = CPlaybackWatch::kStatePaused;
constexpr int kStopped = 5;
constexpr int kEnded = CPlaybackWatch::kStateEnded;
constexpr int kError = CPlaybackWatch::kStateError;

// One look at the engine, a second after the one before, and what the
// window is to do then.
struct SLook {
    int state;
    int64_t time;
    int64_t length;
    EAction expected;
};

struct SCase {
    const char* hazard;
    std::vector<SLook> looks;
};

// The watch starts at 0 with a 3 s limit; a Reopen is answered by opening
// again at once, as the window does.
const SCase kCases[] = {
    {"a clip that plays is left alone",
     {{kOpening, 0, 0, EAction::Keep}, {kPlaying, 0, 9000, EAction::Keep}, {kPlaying, 900, 9000, EAction::Keep},
      {kPlaying, 1900, 9000, EAction::Keep}, {kPlaying, 2900, 9000, EAction::Keep}, {kPlaying, 3900, 9000, EAction::Keep}}},
    {"a start from a stored time goes on from there",
     {{kPlaying, 60000, 90000, EAction::Keep}, {kPlaying, 60900, 90000, EAction::Keep},
      {kPlaying, 61900, 90000, EAction::Keep}, {kPlaying, 62900, 90000, EAction::Keep}}},
    {"a file of zeros: playing, no time, no length, for ever",
     {{kOpening, 0, 0, EAction::Keep}, {kPlaying, 0, 0, EAction::Keep}, {kPlaying, 0, 0, EAction::Reopen},
      {kPlaying, 0, 0, EAction::Keep}, {kPlaying, 0, 0, EAction::Keep}, {kPlaying, 0, 0, EAction::GiveUp},
      {kPlaying, 0, 0, EAction::Keep}}},
    {"an output that never comes: the time stays at the resume point",
     {{kPlaying, 5000, 9000, EAction::Keep}, {kPlaying, 5000, 9000, EAction::Keep}, {kPlaying, 5000, 9000, EAction::Reopen},
      {kPlaying, 5000, 9000, EAction::Keep}, {kPlaying, 5400, 9000, EAction::Keep}, {kPlaying, 6400, 9000, EAction::Keep},
      {kPlaying, 7400, 9000, EAction::Keep}}},
    {"an engine error: one more opening, then the learner is told",
     {{kError, -1, 0, EAction::Reopen}, {kError, -1, 0, EAction::GiveUp}}},
    {"an error in the middle, after it played",
     {{kPlaying, 0, 9000, EAction::Keep}, {kPlaying, 900, 9000, EAction::Keep}, {kError, 900, 9000, EAction::Reopen},
      {kPlaying, 900, 9000, EAction::Keep}, {kPlaying, 1900, 9000, EAction::Keep}, {kError, 1900, 9000, EAction::GiveUp}}},
    {"an empty file ends at once without a length",
     {{kEnded, 0, 0, EAction::Reopen}, {kEnded, 0, 0, EAction::GiveUp}}},
    {"a short clip that ended is no failure",
     {{kPlaying, 0, 700, EAction::Keep}, {kEnded, 650, 700, EAction::Keep}, {kEnded, 650, 700, EAction::Keep},
      {kEnded, 650, 700, EAction::Keep}, {kEnded, 650, 700, EAction::Keep}}},
    {"a pause holds the start's clock",
     {{kOpening, 0, 0, EAction::Keep}, {kPaused, 0, 9000, EAction::Keep}, {kPaused, 0, 9000, EAction::Keep},
      {kPaused, 0, 9000, EAction::Keep}, {kPaused, 0, 9000, EAction::Keep}, {kPlaying, 0, 9000, EAction::Keep},
      {kPlaying, 900, 9000, EAction::Keep}}},
    {"a player left stopped is not shown as playing",
     {{kStopped, -1, 0, EAction::Keep}, {kStopped, -1, 0, EAction::Keep}, {kStopped, -1, 0, EAction::Reopen}}},
};

} // namespace

TEST(PlaybackWatch, StartsThatNeverGetGoingAndErrorsEndStopped)
{
    for (const SCase& c : kCases) {
        SCOPED_TRACE(c.hazard);
        CPlaybackWatch watch;
        watch.m_startLimitMs = 3000;
        watch.Start(0);
        int64_t now = 0;
        for (size_t i = 0; i < c.looks.size(); ++i) {
            now += 1000;
            const SLook& look = c.looks[i];
            const EAction action = watch.Check(look.state, look.time, look.length, now);
            EXPECT_EQ(static_cast<int>(action), static_cast<int>(look.expected)) << "look " << i;
            if (action == EAction::Reopen)
                watch.Reopened(now);
        }
    }
}

// Each start the learner asks for gets its own reopening; stopping ends the watch.
TEST(PlaybackWatch, EveryStartGetsItsOwnReopeningAndStopEndsTheWatch)
{
    CPlaybackWatch watch;
    watch.Start(0);
    EXPECT_EQ(watch.Check(kError, -1, 0, 1000), EAction::Reopen);
    watch.Reopened(1000);
    watch.Start(2000);   // the learner pressed play
    EXPECT_EQ(watch.Check(kError, -1, 0, 3000), EAction::Reopen);
    watch.Stop();
    EXPECT_FALSE(watch.IsWatching());
    EXPECT_EQ(watch.Check(kError, -1, 0, 4000), EAction::Keep);
}
