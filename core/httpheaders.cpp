#include "core/httpheaders.h"

#include <atomic>

namespace {

std::string_view TrimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return std::string_view();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A decimal number of 1 to 18 digits (no sign, nothing after it), else -1.
int64_t SmallNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 18)
        return -1;
    int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The digits at the start of the text.
std::string_view LeadingDigits(std::string_view text)
{
    size_t length = 0;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9')
        ++length;
    return text.substr(0, length);
}

} // namespace

// Each status line starts a new record, so after followed redirects the
// headers describe the last response only.
void ReadHeaderLine(std::string_view line, SHttpHeaders& headers)
{
    if (line.substr(0, 5) == "HTTP/") {
        headers = SHttpHeaders();
        const size_t space = line.find(' ');
        // A status is three digits; anything else is no answer.
        const std::string_view digits =
            space == std::string_view::npos ? std::string_view() : LeadingDigits(TrimBlanks(line.substr(space + 1)));
        if (digits.size() == 3)
            headers.status = static_cast<long>(SmallNumber(digits));
        return;
    }
    if (TrimBlanks(line).empty()) {
        headers.complete = true;
        return;
    }
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    std::string name(TrimBlanks(line.substr(0, colon)));
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (name == "content-length")
        headers.contentLength = std::string(TrimBlanks(line.substr(colon + 1)));
    else if (name == "content-range")
        headers.contentRange = std::string(TrimBlanks(line.substr(colon + 1)));
    else if (name == "location")
        headers.hasLocation = true;
}

int64_t ContentLengthOf(const SHttpHeaders& headers) { return SmallNumber(headers.contentLength); }

void ParseContentRange(std::string_view value, int64_t& first, int64_t& length)
{
    first = -1;
    length = -1;
    if (value.substr(0, 6) != "bytes ")
        return;
    const std::string_view range = value.substr(6);
    const std::string_view start = LeadingDigits(range);
    if (!start.empty())
        first = SmallNumber(start);
    const size_t slash = range.find('/');
    if (slash != std::string_view::npos)
        length = SmallNumber(LeadingDigits(range.substr(slash + 1)));
}

size_t OnHttpHeaderLine(char* data, size_t size, size_t count, void* headers)
{
    const size_t length = size * count;
    ReadHeaderLine(std::string_view(data, length), *static_cast<SHttpHeaders*>(headers));
    return length;
}

int OnCancelTick(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return cancel != nullptr && static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}
