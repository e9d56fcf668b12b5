#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "core/quenlow.h"

namespace {

bool IsUtf8(const std::string& bytes)
{
    return theApp.IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

TEST(IsUtf8TextTest, FollowsTheByteRules)
{
    struct Case {
        const char* what;
        std::string bytes;
        bool expected;
    };
    const Case cases[] = {
        {"pure ASCII is not UTF-8 for this test", "abc", false},
        {"empty", "", false},
        {"two-byte form", "\xC3\xA9", true},
        {"cut off at the end", "\xC3", false},
        {"missing continuation byte", "\xE4\xB8\x41", false},
        {"lone continuation byte", "\x80", false},
        {"five-byte form opened by 0xFE", "\xFE\x80\x80\x80\x80", true},
        {"six-byte form", "\xFC\x80\x80\x80\x80\x80", true},
        {"overlong form is accepted", "\xC0\x80", true},
        {"Chinese in UTF-8", std::string(reinterpret_cast<const char*>(u8"你好 world")), true},
        // "你好，世界" in GB18030: trail bytes outside 0x80-0xBF fail at once.
        {"Chinese sentence in GB18030", std::string(CString("你好，世界。").GetString()), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUtf8(c.bytes), c.expected) << c.what;
}

TEST(CodePageServicesTest, ConvertsBetweenAnsiAndUtf8)
{
    const CString ansi("中文 English 𠀀");
    const CString utf8 = theApp.AnsiToUtf8(ansi);
    EXPECT_EQ(utf8.str(), std::string(reinterpret_cast<const char*>(u8"中文 English 𠀀")));
    EXPECT_EQ(theApp.Utf8ToAnsi(utf8), ansi);
    EXPECT_EQ(theApp.FilePathToUtf8(CString("/视频/a.mp4")).str(),
              std::string(reinterpret_cast<const char*>(u8"/视频/a.mp4")));
    EXPECT_EQ(theApp.AnsiToUtf8(""), "");
    // One invalid byte does not empty the text.
    EXPECT_FALSE(theApp.Utf8ToAnsi(CString("line \xFF end")).IsEmpty());
}

TEST(CodePageServicesTest, ApplyReplacementsGoesPairByPair)
{
    CQuenlowApp app;
    EXPECT_EQ(app.ApplyReplacements("http://host/SHA1.zip"), "http://host/SHA1.zip");
    app.m_arrReplacePairs.Add("SHA1");
    app.m_arrReplacePairs.Add("abc");
    app.m_arrReplacePairs.Add("abc");
    app.m_arrReplacePairs.Add("def");
    app.m_arrReplacePairs.Add("dangling");   // no partner: ignored
    EXPECT_EQ(app.ApplyReplacements("http://host/SHA1.zip"), "http://host/def.zip");
}

} // namespace
