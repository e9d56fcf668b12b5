#include "catalogue/core/exporttext.h"

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

} // namespace

CString OnOneLine(const CString& text)
{
    CString trimmed = text;
    trimmed.TrimRight("\r\n");
    // Neither byte can be part of a GB18030 character, so bytes are safe here.
    std::string line;
    bool inBreak = false;
    for (char c : trimmed.view()) {
        if (IsLineBreak(c)) {
            if (!inBreak)
                line += ' ';
            inBreak = true;
        } else {
            line += c;
            inBreak = false;
        }
    }
    return CString(std::move(line));
}

std::string TextModeBytes(const CString& text)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.GetLength()) + 64);
    for (char c : text.view()) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}

int64_t LeadingWholeNumber(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    int pos = 0;
    if (pos < trimmed.GetLength() && trimmed[pos] == '+')
        ++pos;
    constexpr int64_t kLargest = INT64_MAX / 10 - 10;
    int64_t value = 0;
    for (; pos < trimmed.GetLength() && trimmed[pos] >= '0' && trimmed[pos] <= '9'; ++pos)
        if (value < kLargest)
            value = value * 10 + (trimmed[pos] - '0');
    return value;
}
