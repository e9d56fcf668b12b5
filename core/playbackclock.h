// The playback time between the engine's reports. The engine updates the time
// it reports only every 250-500 ms, so a sentence change read from it comes up
// to half a second late. This clock takes each reading and adds the monotonic
// time since the reading last changed, at the playing rate; a pause, a seek
// or a new rate starts it again from the engine's own value.
#pragma once

#include <cstdint>
#include <functional>

class CPlaybackClock {
public:
    using Now = std::function<int64_t()>;   // a monotonic clock in ms

    // Extrapolation stops this far past the last report: an engine that
    // stalls (buffering, a stuck output) is not run away from.
    static constexpr int64_t kMaxAheadMs = 1000;
    // A report further behind the estimate than this is a jump (a seek the
    // clock was not told of), not a late report.
    static constexpr int64_t kJumpBackMs = 300;

    explicit CPlaybackClock(Now now = SteadyMilliseconds);

    // The estimated time for the engine's latest reading `reported` (ms, -1
    // when unknown), whether it plays and at which rate. `reportedAt` is the
    // monotonic moment the engine gave that reading, when known (its time
    // event); otherwise the reading counts as given now. While playing the
    // estimate never goes back by less than a jump, so a late report does not
    // move the text back a sentence.
    int64_t Estimate(int64_t reported, bool playing, double rate = 1.0, int64_t reportedAt = -1);
    // Forgets the anchor: the next reading is taken as it is (after a seek).
    void Reset();

    static int64_t SteadyMilliseconds();

private:
    Now m_now;
    bool m_anchored = false;
    int64_t m_reported = 0;   // the reading the anchor was taken at
    int64_t m_anchorAt = 0;   // monotonic time of that reading
    double m_rate = 1.0;
    int64_t m_last = 0;       // the last estimate given
};
