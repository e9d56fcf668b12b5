#include "core/playbackwatch.h"

void CPlaybackWatch::Start(int64_t now)
{
    m_watching = true;
    m_reopened = false;
    m_going = false;
    m_startAt = now;
    m_firstTime = -1;
}

void CPlaybackWatch::Reopened(int64_t now)
{
    Start(now);
    m_reopened = true;
}

CPlaybackWatch::EAction CPlaybackWatch::Check(int state, int64_t time, int64_t length, int64_t now)
{
    if (!m_watching)
        return EAction::Keep;
    // An empty or unreadable file "ends" at once without a length.
    const bool failed = state == kStateError || (state == kStateEnded && length <= 0);
    if (!failed) {
        if (state == kStatePaused) {
            m_startAt = now;   // held on purpose: its time to start begins again
            return EAction::Keep;
        }
        if (state == kStateEnded)
            m_going = true;    // played to its end
        if (state == kStatePlaying && time >= 0) {
            // A start from a stored time first reads that time: only a
            // change shows the media going.
            if (m_firstTime < 0)
                m_firstTime = time;
            else if (time != m_firstTime)
                m_going = true;
        }
        if (m_going || now - m_startAt < m_startLimitMs)
            return EAction::Keep;
    }
    if (!m_reopened)
        return EAction::Reopen;
    m_watching = false;
    return EAction::GiveUp;
}
