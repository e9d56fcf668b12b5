// A stretch of the lesson's media played on its own: an exercise question's
// sentence or a word's example sentences.
#pragma once

#include <algorithm>
#include <cstdint>

struct SClip {
    int64_t start = 0;   // ms, never before the media's start
    int64_t end = 0;
};

// Sentences from startMs to endMs with five repeat margins on either side,
// moved by the subtitle offset.
inline SClip ClipAround(int64_t startMs, int64_t endMs, int repeatMargin, int timeOffset)
{
    const int64_t margin = 5 * static_cast<int64_t>(repeatMargin);
    return {std::max<int64_t>(0, startMs - margin + timeOffset), endMs + margin + timeOffset};
}

// A clip is over once the player passed its end, or when the media ended or
// was stopped before reaching it (a clip to the media's very end).
inline bool ClipIsOver(int64_t playerTime, int64_t clipEnd, bool endedOrStopped)
{
    return endedOrStopped || playerTime >= clipEnd;
}
