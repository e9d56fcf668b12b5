#include "core/playbackclock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

CPlaybackClock::CPlaybackClock(Now now) : m_now(std::move(now)) {}

int64_t CPlaybackClock::SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void CPlaybackClock::Reset() { m_anchored = false; }

int64_t CPlaybackClock::Estimate(int64_t reported, bool playing, double rate, int64_t reportedAt)
{
    if (reported < 0 || !playing) {
        m_anchored = false;
        return reported;
    }
    const int64_t now = m_now();
    if (!m_anchored || reported != m_reported || rate != m_rate) {
        // A new reading (or a new rate) becomes the anchor.
        const bool jumped = !m_anchored || rate != m_rate || reported < m_last - kJumpBackMs;
        m_anchored = true;
        m_reported = reported;
        m_anchorAt = reportedAt >= 0 ? std::min(reportedAt, now) : now;
        m_rate = rate;
        if (jumped)
            m_last = reported;
    }
    const int64_t ahead = std::min<int64_t>(std::llround(static_cast<double>(now - m_anchorAt) * m_rate), kMaxAheadMs);
    m_last = std::max(m_last, m_reported + ahead);
    return m_last;
}
