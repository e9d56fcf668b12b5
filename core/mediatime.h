// Media times as the player shows them.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

// "MM:SS" of a time in milliseconds (divided as unsigned); minutes above 99
// keep all their digits.
CString FormatMinSec(int64_t ms);
