#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace {

TEST(CodePageTest, RoundTripsThroughUtf8)
{
    const CString ansi("中文 English 𠀀");
    const std::string utf8 = AnsiToUtf8Bytes(ansi.view());
    EXPECT_EQ(utf8, std::string(reinterpret_cast<const char*>(u8"中文 English 𠀀")));
    EXPECT_EQ(Utf8BytesToAnsi(utf8), ansi);
}

TEST(CodePageTest, InvalidBytesAreReplacedNotDropped)
{
    // A lone lead byte in the middle, and a cut-off character at the end.
    const std::string brokenAnsi = std::string("ab\x81") + "\x20" + "cd\x81";
    const std::string utf8 = AnsiToUtf8Bytes(brokenAnsi);
    EXPECT_FALSE(utf8.empty());
    EXPECT_NE(utf8.find("ab"), std::string::npos);
    EXPECT_NE(utf8.find("cd"), std::string::npos);

    const CString back = Utf8BytesToAnsi("ok \xC3 ok");
    EXPECT_FALSE(back.IsEmpty());
    EXPECT_EQ(back.Left(3), "ok ");
    EXPECT_EQ(back.Right(3), " ok");

    EXPECT_TRUE(AnsiToUtf8Bytes("").empty());
}

} // namespace
