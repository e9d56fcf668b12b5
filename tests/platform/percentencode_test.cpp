// Address text: unreserved characters stay, every other byte becomes %XX in
// capitals, and a caller may keep more characters (a path keeps its "/").
#include <gtest/gtest.h>

#include "platform/percentencode.h"

namespace {

TEST(PercentEncodeTest, KeepsUnreservedAndTheCallersCharacters)
{
    struct Case {
        const char* bytes;
        const char* alsoPlain;
        const char* encoded;
    };
    const Case cases[] = {
        {"Az09-._~", "", "Az09-._~"},
        {"a b&c", "", "a%20b%26c"},
        {"\xE8\xAF\x8D", "", "%E8%AF%8D"},   // UTF-8 bytes of a Chinese character
        {"/media/a b.mp4", "/", "/media/a%20b.mp4"},
        {"/media/a b.mp4", "", "%2Fmedia%2Fa%20b.mp4"},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentEncode(c.bytes, c.alsoPlain), c.encoded) << c.bytes;
    EXPECT_EQ(PercentEncode(std::string_view("a\0b", 3)), "a%00b");
}

} // namespace
