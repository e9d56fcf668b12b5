// The sentences of speech practice: the lesson's subtitle lines joined into
// sentences a learner can repeat, each with its clip on the media's time
// line, the numbered text the view shows, and the files the sentences of a
// role play are recorded into.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/cstring.h"
#include "core/sentencemodel.h"

struct SPracticeSentence {
    CString english;   // the joined lines, each after a blank (" First. Second.")
    CString chinese;   // joined the same way
    int start = 0;     // clip start, ms on the media's time line (never below 0)
    int end = 0;       // clip end, ms
};

// A time on the media's time line for the player: offsets and margins can
// reach before the media's start, which the players cannot seek to.
constexpr int MediaTime(int64_t ms)
{
    return ms < 0 ? 0 : (ms > INT32_MAX ? INT32_MAX : static_cast<int>(ms));
}

// A timer period: a clip that lasts nothing still ends (a timer of 0 ms or
// less would never be started).
constexpr int TimerPeriod(int64_t ms)
{
    return ms < 1 ? 1 : (ms > INT32_MAX ? INT32_MAX : static_cast<int>(ms));
}

// Joins the lines english[i] / chinese[i] (timed by timing[i]) into practice
// sentences. A line closes its sentence when it ends with ".", "!", "?" or a
// double quote, when the sentence so far is longer than 60 characters and the
// next line longer than 20, or when the sentence so far is longer than 80.
// The lines after the last closing line form the last sentence. A clip begins
// 5 x margin before its first line and ends 5 x margin after its last one,
// both moved by the offset. Line ends ("\n", "\r\n" or "\r") are dropped
// from the texts and count as one character in a line's length.
std::vector<SPracticeSentence> BuildPracticeSentences(const CStringArray& english, const CStringArray& chinese,
                                                      const std::vector<SSentenceTiming>& timing, int timeOffset,
                                                      int repeatMargin);

// The view's text: "1." + the English sentence + "\n" for every sentence.
CString FormatPracticeText(const std::vector<SPracticeSentence>& sentences);

// The file a role play records sentence k into: the record file's name with
// "record" replaced by the number k, in the same folder ("/x/record.wav"
// -> "/x/3.wav"). Only the name changes, whatever the folders are called.
CString RolePlayRecordingPath(const CString& recordPath, int sentence);
