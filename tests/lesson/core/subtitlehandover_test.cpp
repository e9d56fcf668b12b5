// Subtitle files reach the engine as UTF-8: a GB18030 file as a UTF-8 copy in
// the temporary folder, anything the engine already reads as itself, and the
// learner's file never changes.
#include <string>

#include <gtest/gtest.h>

#include "lesson/core/subtitlehandover.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/testsupport.h"

using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

TEST(SubtitleHandoverTest, OnlyNonUnicodeSubtitleTextIsCopiedAsUtf8)
{
    // Program text is GB18030, so the literal is a GB18030 subtitle file.
    const std::string gbText = "1\r\n00:00:01,000 --> 00:00:02,000\r\n长时间\r\n\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        bool copied;
    };
    const Case cases[] = {
        {"gb.srt", gbText, true},
        {"gb upper.ASS", gbText, true},
        {"utf8.srt", AnsiToUtf8Bytes(gbText), false},
        {"ascii.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n", false},
        {"utf16.srt", std::string("\xFF\xFE" "1\0\n\0", 6), false},
        {"pictures.idx", gbText, false},   // not a text format: never rewritten
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        CQuenlowApp app;
        ApplyStartupDefaults(app, folder.ansi() + "program/");
        const CString path = CString(folder.write(std::string("learner/") + c.name, c.bytes));

        const CString given = SubtitleFileForEngine(app, path);
        EXPECT_EQ(ReadBytes(ToFsPath(path)), c.bytes) << "the learner's file changed";
        if (!c.copied) {
            EXPECT_EQ(given, path);
            continue;
        }
        EXPECT_EQ(given, folder.ansi() + "program/AppData/Temp/Script/Utf8/" + c.name);
        EXPECT_EQ(ReadBytes(ToFsPath(given)), AnsiToUtf8Bytes(gbText));
    }
}

// Without a place for the copy the learner's file is given as it is, and the
// learner is told why the subtitles may look wrong.
TEST(SubtitleHandoverTest, ACopyThatCannotBeWrittenIsReported)
{
    TempFolder folder;
    CQuenlowApp app;
    ApplyStartupDefaults(app, folder.ansi() + "program/");
    folder.write("program/AppData/Temp/Script/Utf8", "a file in the way");
    const CString path = CString(folder.write("gb.srt", "长时间"));

    EXPECT_EQ(SubtitleFileForEngine(app, path), path);
    int kind = 0;
    int seconds = 0;
    CString text;
    ASSERT_TRUE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "无法写入视频字幕文件：" + folder.ansi() + "program/AppData/Temp/Script/Utf8/gb.srt");
}

// The engine reads no ".lrc": the sentences the program reads from one, GB18030
// or UTF-8, reach it as a UTF-8 ".srt" copy, English above Chinese.
TEST(SubtitleHandoverTest, LrcIsGivenAsAnSrtCopyOfItsSentences)
{
    const std::string expected = "1\r\n00:00:01,500 --> 00:00:03,000\r\nHello my friend\r\n你好我的朋友\r\n\r\n"
                                 "2\r\n00:00:03,000 --> 00:01:02,345\r\nHow are you today\r\n你今天好吗\r\n\r\n"
                                 "3\r\n00:01:02,345 --> 02:46:40,000\r\nThe last line here\r\n\r\n";
    const std::string gbLrc = "[ti:A title tag here]\n[00:01.50]Hello my friend 你好我的朋友\n"
                              "[00:03.00]How are you today 你今天好吗\n[01:02.345]The last line here\n";
    for (const bool utf8 : {false, true}) {
        SCOPED_TRACE(utf8 ? "UTF-8" : "GB18030");
        TempFolder folder;
        CQuenlowApp app;
        ApplyStartupDefaults(app, folder.ansi() + "program/");
        const std::string bytes = utf8 ? AnsiToUtf8Bytes(gbLrc) : gbLrc;
        const CString path = CString(folder.write("learner/song.LRC", bytes));

        const CString given = SubtitleFileForEngine(app, path);
        EXPECT_EQ(given, folder.ansi() + "program/AppData/Temp/Script/Utf8/song.LRC.srt");
        EXPECT_EQ(ReadBytes(ToFsPath(given)), AnsiToUtf8Bytes(expected));
        EXPECT_EQ(ReadBytes(ToFsPath(path)), bytes) << "the learner's file changed";
        EXPECT_EQ(app.m_nSentenceCount, 0) << "the open lesson changed";
    }
}

// An ".lrc" with no timed line gives the engine nothing to show: the learner
// is told.
TEST(SubtitleHandoverTest, LrcWithoutTimedLinesIsReported)
{
    TempFolder folder;
    CQuenlowApp app;
    ApplyStartupDefaults(app, folder.ansi() + "program/");
    const CString path = CString(folder.write("tags.lrc", "[ti:Only a title]\n[ar:Someone]\n"));
    EXPECT_EQ(SubtitleFileForEngine(app, path), path);
    int kind = 0;
    int seconds = 0;
    CString text;
    ASSERT_TRUE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "字幕文件中没有带时间的句子：tags.lrc");
}

} // namespace
