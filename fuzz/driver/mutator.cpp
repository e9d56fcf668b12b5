#include "fuzz/driver/mutator.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

// Pieces of the formats the readers take: subtitle syntax, lesson database
// markers, keywords, code-page bytes, and numbers at and past the limits.
constexpr std::string_view kTokens[] = {
    " --> ", "00:00:01,000", "99999999999999999999", "-1", ":99:", ",999", "\r\n", "\n\n",
    "{\\i1}", "{", "}", "\\N", "Dialogue: 0,", "0:00:01.00", "[Events]", "Format: ", "[Script Info]",
    "[00:", ".90]", "[ti:", "]", "\xEF\xBB\xBF", "\xFF\xFE", "\xC4\xE3\xBA\xC3", "\xE4\xBD\xA0\xE5\xA5\xBD",
    "SQLite format 3", "tablename", "HalvikSoft", ": ", "    ", "255", "4294967296", "0x", "%s", std::string_view("\0", 1),
};
constexpr unsigned char kOddBytes[] = {0, 0x7F, 0x80, 0xFF, '\n', '\r', ':', ',', '-', '>', '{', '}', '\\',
                                       '[', ']', '.', '0', '9', ' ', '*', '\''};

} // namespace

void CMutator::Mutate(std::string& input, const std::string& other)
{
    const size_t changes = 1 + Pick(4);
    for (size_t i = 0; i < changes; ++i)
        MutateOnce(input, other);
    if (input.size() > m_maxSize)
        input.resize(m_maxSize);
}

void CMutator::MutateOnce(std::string& input, const std::string& other)
{
    const size_t at = Pick(input.size() + 1);
    switch (Pick(8)) {
    case 0:   // flip a bit
        if (!input.empty())
            input[Pick(input.size())] ^= static_cast<char>(1u << Pick(8));
        break;
    case 1:   // an odd byte in place of one
        if (!input.empty())
            input[Pick(input.size())] = static_cast<char>(kOddBytes[Pick(std::size(kOddBytes))]);
        break;
    case 2: {   // random bytes inserted
        std::string bytes(1 + Pick(8), '\0');
        for (char& c : bytes)
            c = static_cast<char>(Pick(256));
        input.insert(at, bytes);
        break;
    }
    case 3:   // a run removed
        if (at < input.size())
            input.erase(at, 1 + Pick(std::min<size_t>(input.size() - at, 64)));
        break;
    case 4: {   // a run of the input copied elsewhere, sometimes many times
        if (input.empty())
            break;
        const size_t from = Pick(input.size());
        const std::string run = input.substr(from, 1 + Pick(std::min<size_t>(input.size() - from, 128)));
        const size_t times = Pick(4) == 0 ? 1 + Pick(256) : 1;
        for (size_t i = 0; i < times && input.size() < m_maxSize; ++i)
            input.insert(at, run);
        break;
    }
    case 5:   // a piece of syntax inserted
        input.insert(at, kTokens[Pick(std::size(kTokens))]);
        break;
    case 6: {   // a piece of syntax written over the input
        const std::string_view token = kTokens[Pick(std::size(kTokens))];
        input.replace(at, std::min(token.size(), input.size() - at), token);
        break;
    }
    default:   // spliced: this input's start, the other's end
        if (!other.empty())
            input = input.substr(0, at) + other.substr(Pick(other.size()));
        break;
    }
}
