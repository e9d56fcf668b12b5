#include <gtest/gtest.h>

#include "ui/wxtext.h"

namespace {

TEST(CodePageTest, ToolkitTextRoundTrips)
{
    const CString ansi("字幕 subtitle");
    const wxString wide = ToWx(ansi);
    EXPECT_EQ(wide, wxString::FromUTF8(reinterpret_cast<const char*>(u8"字幕 subtitle")));
    EXPECT_EQ(FromWx(wide), ansi);
}

} // namespace
