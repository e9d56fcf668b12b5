// Time texts of the subtitle formats (LRC minutes past the hour, the two-digit
// LRC cap, SRT hours past 99, text that is no number) and a lesson script
// written as ".srt" entries that players can split.
#include <string>

#include <gtest/gtest.h>

#include "catalogue/core/timetext.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "tests/testsupport.h"

namespace {

TEST(TimeTextTest, LrcAndSrtTimeTexts)
{
    struct Case {
        const char* milliseconds;
        const char* srt;
        const char* lrc;
    };
    const Case cases[] = {
        {"0", "00:00:00,000", "[00:00.000]"},
        {"5", "00:00:00,005", "[00:00.005]"},
        {"45", "00:00:00,045", "[00:00.045]"},
        {" 83456 ", "00:01:23,456", "[01:23.456]"},
        {"3723456", "01:02:03,456", "[62:03.456]"},            // minutes past the hour stay counted
        {"5999999", "01:39:59,999", "[99:59.999]"},            // the last time two minute digits hold
        {"6000000", "01:40:00,000", "[99:59.999]"},            // 100 minutes: capped
        {"360000000", "100:00:00,000", "[99:59.999]"},         // 100 hours: three hour digits
        {"-1500", "00:00:00,000", "[00:00.000]"},
        {"abc", "00:00:00,000", "[00:00.000]"},
        {"", "00:00:00,000", "[00:00.000]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSrtTime(c.milliseconds), CString(c.srt)) << c.milliseconds;
        EXPECT_EQ(FormatLrcTime(c.milliseconds), CString(c.lrc)) << c.milliseconds;
    }
}

void MakeSrtScript(const CString& path)
{
    CSqliteDb db;
    ASSERT_TRUE(db.Open(path, CSqliteDb::ReadWriteCreate));
    ASSERT_TRUE(db.Exec("create table tablename( linecnt int, starttime int, endtime int, fgnstartpos int, "
                        "fgntxtlen int, chnstartpos int, chntxtlen int, fgntxt varchar(3000), chntxt varchar(3000) );"));
    ASSERT_TRUE(db.Exec("insert into tablename values(1, 500, 2250, 0, 0, 0, 0, ?, ?)", {"It*s late.\n", "晚了。"}));
    ASSERT_TRUE(db.Exec("insert into tablename values(2, 3723456, 3725000, 0, 0, 0, 0, ?, ?)", {"Go.", "tmpchntxt"}));
}

// Each entry ends with a blank line; a text's stored line feed does not add
// another, and "tmpchntxt" (no translation) is never shown.
TEST(TimeTextScriptToSrtTest, WritesEachTextChoiceBesideTheScript)
{
    testsupport::TempFolder folder;
    const CString script = folder.ansi() + "talk.b.script";
    MakeSrtScript(script);
    const std::string srt = folder.path() + "talk.b.srt";
    const std::string head1 = "1\r\n00:00:00,500 --> 00:00:02,250\r\n";
    const std::string head2 = "2\r\n01:02:03,456 --> 01:02:05,000\r\n";
    struct Case {
        ESrtText text;
        std::string expected;
    };
    const Case cases[] = {
        {ESrtText::Both, head1 + "It's late.晚了。\r\n\r\n" + head2 + "Go.\r\n\r\n"},
        {ESrtText::Foreign, head1 + "It's late.\r\n\r\n" + head2 + "Go.\r\n\r\n"},
        {ESrtText::Chinese, head1 + "晚了。\r\n\r\n" + head2 + "\r\n\r\n"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(ScriptToSrt(script, c.text));
        EXPECT_EQ(testsupport::ReadBytes(srt), c.expected) << static_cast<int>(c.text);
    }
}

// A script that cannot be read leaves no file behind, and an ".srt" already
// there keeps its content.
TEST(TimeTextScriptToSrtTest, UnreadableScriptWritesNothing)
{
    testsupport::TempFolder folder;
    EXPECT_FALSE(ScriptToSrt(folder.ansi() + "missing.script", ESrtText::Both));
    EXPECT_FALSE(FileExists(folder.ansi() + "missing.srt"));

    folder.write("text.script", "not a database, just text");
    folder.write("text.srt", "kept");
    EXPECT_FALSE(ScriptToSrt(folder.ansi() + "text.script", ESrtText::Foreign));
    EXPECT_EQ(testsupport::ReadBytes(folder.path() + "text.srt"), "kept");
}

} // namespace
