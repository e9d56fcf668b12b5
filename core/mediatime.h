// Media times as the player shows them.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

// "MM:SS" of a time in milliseconds (divided as unsigned); minutes above 99
// keep all their digits.
CString FormatMinSec(int64_t ms);

// The largest subtitle offset the learner can type, in ms either way: an
// hour covers any lesson timed against a cut or a longer recording.
constexpr int kMaxTypedOffsetMs = 3600000;

// The subtitle offset box's text as a whole number of milliseconds (blanks
// around it and a sign allowed). False for anything else, or beyond
// kMaxTypedOffsetMs either way.
bool ParseOffsetText(const CString& text, int& ms);
