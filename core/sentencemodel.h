// One timed sentence of the current lesson.
#pragma once

#include <cstdint>

struct SSentenceTiming {
    int32_t linecnt = 0;      // stored line number (lesson file) or sentence index
    int32_t starttime = 0;    // ms on the media's time line
    int32_t endtime = 0;      // ms
    int32_t fgnstartpos = 0;  // English text: first character in the lesson view
    int32_t fgntxtlen = 0;    // English text: length with its line break
    int32_t chnstartpos = 0;  // Chinese text position, carried from a lesson file
    int32_t chntxtlen = 0;    // Chinese text length, carried likewise
};

// The table's start-up size; a lesson with more sentences grows it.
constexpr int kSentenceTableSize = 3000;
