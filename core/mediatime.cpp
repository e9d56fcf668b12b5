#include "core/mediatime.h"

#include <cinttypes>

CString FormatMinSec(int64_t ms)
{
    const uint64_t value = static_cast<uint64_t>(ms);
    const uint64_t minutes = value / 60000;
    const uint64_t seconds = value / 1000 - minutes * 60;
    CString text;
    text.Format("%02" PRIu64 ":%02" PRIu64, minutes, seconds);
    return text;
}
