#include "platform/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

const char* IconvName(UINT codePage)
{
    return codePage == CP_UTF8 ? "UTF-8" : "GB18030";
}

const char* ReplacementFor(UINT codePage)
{
    return codePage == CP_UTF8 ? "\xEF\xBF\xBD" : "?";
}

} // namespace

std::string ConvertBytes(std::string_view text, UINT fromCodePage, UINT toCodePage)
{
    if (text.empty())
        return std::string();
    // Both code pages write ASCII as it is: most names and words need no
    // converter at all (opening one costs more than converting a line).
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    iconv_t cd = iconv_open(IconvName(toCodePage), IconvName(fromCodePage));
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(text);

    std::string out;
    out.reserve(text.size() * 2);
    char buffer[4096];
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ (invalid byte) or EINVAL (sequence cut off at the end):
        // replace one byte and go on with the next.
        out += ReplacementFor(toCodePage);
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush any shift state.
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    iconv_close(cd);
    return out;
}
