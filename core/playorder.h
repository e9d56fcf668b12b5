// Previous and next in the play list (theApp.m_arrPlayList) by the play order
// (theApp.m_nPlayOrder): 1 sequential, 2 random, 3 and any other value repeat
// the current file. Sequential next wraps from the last entry to the first;
// sequential previous stops at the first entry.
#pragma once

#include <cstdint>

// No entry can be played (the play list is empty, or the index is past its
// end): the frame shows kNoPlayableFileMessage and plays nothing.
constexpr int kNoPlayableEntry = -1;
// The error the frame puts into the show-message slot then (kind 1, 5 seconds).
extern const char* const kNoPlayableFileMessage;   // "播放文件不存在！"

enum class EPlayStep { Previous, Next };

// The play index after one step from `index` in a list of `count` entries.
// The random order draws with theApp.RandomIndex(count); the repeat order
// keeps the index as it is.
int StepPlayIndex(int index, int count, int order, EPlayStep step);

// The entry that "play the entry at the play index" plays: the first entry
// when the index is negative (a list filled without an index), the entry at
// the index when it is in the list, otherwise kNoPlayableEntry.
int ChoosePlayEntry(int index, int count);

// Steps theApp.m_nPlayIndex by theApp.m_nPlayOrder over theApp.m_arrPlayList
// and returns ChoosePlayEntry of the new index. The frame then performs
// "HalvikSoftPlayerPlayLocalFile:".
int StepPlayList(EPlayStep step);

// ---- The end of a medium and the time display ----

// Playback has reached the end of the medium when the engine says it ended,
// or the time is within this margin of a known length (the engine reports
// its time in steps, and the last step may fall short of the length).
constexpr int64_t kMediaEndMarginMs = 300;
bool ReachedMediaEnd(int64_t t, int64_t length, bool engineEnded);

// The delay to the next time-display tick while playing at time t: just past
// the next whole second, so the clock shows every second as it begins,
// or just inside the end margin when the end comes first.
int NextTimeDisplayDelay(int64_t t, int64_t length);
