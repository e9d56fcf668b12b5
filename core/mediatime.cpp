#include "core/mediatime.h"

#include <cinttypes>
#include <string_view>

CString FormatMinSec(int64_t ms)
{
    const uint64_t value = static_cast<uint64_t>(ms);
    const uint64_t minutes = value / 60000;
    const uint64_t seconds = value / 1000 - minutes * 60;
    CString text;
    text.Format("%02" PRIu64 ":%02" PRIu64, minutes, seconds);
    return text;
}

bool ParseOffsetText(const CString& text, int& ms)
{
    std::string_view s = text.view();
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    int64_t value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > kMaxTypedOffsetMs)
            return false;
    }
    ms = static_cast<int>(negative ? -value : value);
    return true;
}
