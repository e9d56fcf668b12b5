// The subtitle files written for the video: three UTF-8 files under new
// numbered names, the sentences with the offset applied (never a negative
// time), the learner's colour, size and line order; and the time formatters.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lesson/core/assfilewriter.h"
#include "lesson/core/lessonloader.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "tests/testsupport.h"

using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// The zero-width break the writer puts between Chinese characters.
const std::string P = kAssWrapPoint;

struct SSentence {
    int start;
    int end;
    const char* english;   // as the loaders store it, with its "\n"
    const char* chinese;
};

void SetUpApp(CQuenlowApp& app, const TempFolder& folder, const std::vector<SSentence>& sentences)
{
    // The folder does not exist yet: the writer makes it.
    const CString dir = folder.ansi() + "AppData/Temp/Script/";
    app.m_strAssBothBasePath = dir + "Both.ass";
    app.m_strAssEngBasePath = dir + "Eng.ass";
    app.m_strAssChnBasePath = dir + "Chn.ass";
    app.m_strSubtitleColor = "White";
    app.m_strSubtitleFontSize = "16";
    app.m_strAssLineOrder = "engchn";
    app.ClearSentenceModel();
    app.EnsureSentenceCapacity(static_cast<int>(sentences.size()));
    for (size_t i = 0; i < sentences.size(); ++i) {
        app.m_arrSentenceTiming[i].linecnt = static_cast<int>(i);
        app.m_arrSentenceTiming[i].starttime = sentences[i].start;
        app.m_arrSentenceTiming[i].endtime = sentences[i].end;
        app.m_arrForeignText.Add(sentences[i].english);
        app.m_arrChineseText.Add(sentences[i].chinese);
    }
    app.m_nSentenceCount = static_cast<int>(sentences.size());
}

// A written file as program text, after checking that it is UTF-8 (the
// style's font name is always there, so the file is never pure ASCII).
std::string ReadUtf8File(const CString& path)
{
    const std::string bytes = ReadBytes(ToFsPath(path));
    const CQuenlowApp checker;
    EXPECT_TRUE(checker.IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()),
                                   static_cast<int>(bytes.size())))
        << path.str();
    return Utf8BytesToAnsi(bytes).str();
}

// The "Dialogue:" lines of a file, without their line ends.
std::vector<std::string> DialogueLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        const size_t end = text.find("\r\n", begin);
        const std::string line = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (line.rfind("Dialogue:", 0) == 0)
            lines.push_back(line);
        if (end == std::string::npos)
            break;
        begin = end + 2;
    }
    return lines;
}

} // namespace

TEST(AssFileWriterTest, WritesThreeNumberedUtf8Files)
{
    TempFolder folder;
    CQuenlowApp app;
    SetUpApp(app, folder, {{61234, 62345, "It*s <i>fine</i>\n", "没问题\n"}, {70000, 71000, "Bye 0000,,now\n", "\n"}});

    app.WriteAssFiles();
    EXPECT_EQ(app.m_nAssFileCounter, 1);
    const CString dir = folder.ansi() + "AppData/Temp/Script/";
    EXPECT_EQ(app.m_strAssBothPath, dir + "Both1.ass");
    EXPECT_EQ(app.m_strAssEngPath, dir + "Eng1.ass");
    EXPECT_EQ(app.m_strAssChnPath, dir + "Chn1.ass");

    const std::string header =
        "[Script Info]\r\nTitle:HalvikSoft\r\nOriginal Script:HalvikSoft\r\nSynch Point:1\r\nScriptType:v4.00+\r\n"
        "Collisions:Normal\r\nTimer:100.0000\r\n\r\n[V4+ Styles]\r\n"
        "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
        "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, "
        "MarginR, MarginV, Encoding\r\n"
        "Style: Default,微软雅黑,20,&H00FFFFFF,&HF0000000,&H00000000,&H00FFFF,0,0,0,0,100,100,0,0.00,1,1,0,2,5,5,5,134"
        "\r\n\r\n[Events]\r\nFormat: Layer, Start, End, Style, Actor, MarginL, MarginR, MarginV, Effect, Text\r\n";
    const std::string prefix1 = "Dialogue: 0,0:01:01.23,0:01:02.34,*Default,NTP,0000,0000,0000,,";
    const std::string prefix2 = "Dialogue: 0,0:01:10.00,0:01:11.00,*Default,NTP,0000,0000,0000,,";
    EXPECT_EQ(ReadUtf8File(app.m_strAssEngPath), header + prefix1 + "It's fine\r\n" + prefix2 + "Bye now\r\n");
    EXPECT_EQ(ReadUtf8File(app.m_strAssChnPath), header + prefix1 + "没" + P + "问" + P + "题\r\n" + prefix2 + "\r\n");
    EXPECT_EQ(ReadUtf8File(app.m_strAssBothPath),
              header + prefix1 + "It's fine\\N 没" + P + "问" + P + "题\r\n" + prefix2 + "Bye now\\N \r\n");

    // Every call writes new files; the old ones stay for the player.
    app.WriteAssFiles();
    EXPECT_EQ(app.m_strAssBothPath, dir + "Both2.ass");
    EXPECT_TRUE(FileExists(dir + "Both1.ass"));
    EXPECT_TRUE(FileExists(dir + "Chn2.ass"));
    // Opening a media file resets the counter: numbering starts again.
    app.m_nAssFileCounter = 0;
    app.m_arrForeignText[0] = "Changed\n";
    app.WriteAssFiles();
    EXPECT_EQ(app.m_strAssEngPath, dir + "Eng1.ass");
    EXPECT_EQ(DialogueLines(ReadUtf8File(app.m_strAssEngPath)).at(0), prefix1 + "Changed");
}

// Files that cannot be written leave the video without subtitles; the
// learner is told once, with the first such file named.
TEST(AssFileWriterTest, AFolderThatCannotHoldTheFilesIsReportedOnce)
{
    TempFolder folder;
    folder.write("AppData/Temp/Script", "a file in the way");
    CQuenlowApp app;
    SetUpApp(app, folder, {{1000, 2000, "Hello\n", "你好\n"}});

    app.WriteAssFiles();
    int kind = 0;
    int seconds = 0;
    CString text;
    ASSERT_TRUE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "无法写入视频字幕文件：" + folder.ansi() + "AppData/Temp/Script/Both1.ass");
    EXPECT_FALSE(app.TakeMessage(kind, text, seconds));
}

// The files written for earlier media go; what is not one of them stays.
TEST(AssFileWriterTest, RemovingWrittenFilesKeepsEverythingElse)
{
    TempFolder folder;
    CQuenlowApp app;
    SetUpApp(app, folder, {});
    const std::string dir = "AppData/Temp/Script/";
    for (const char* name : {"Both1.ass", "Both12.ass", "Eng3.ass", "Chn2.ass", "Utf8/gb.srt", "Utf8/other.ass"})
        folder.write(dir + name, "x");
    const char* kept[] = {"Both.ass", "Both1.ass.bak", "Bothx.ass", "Chn2.srt", "notes.txt"};   // in name order
    for (const char* name : kept)
        folder.write(dir + name, "x");

    RemoveWrittenSubtitleFiles(app);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path() + dir))
        if (entry.is_regular_file())
            left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, std::vector<std::string>(std::begin(kept), std::end(kept)));
}

TEST(AssFileWriterTest, OffsetIsAppliedAndNegativeTimesAreZero)
{
    struct Case {
        int offset;
        int start;
        int end;
        const char* times;
    };
    const Case cases[] = {
        {0, 100, 500, "0:00:00.10,0:00:00.50"},
        {400, 100, 500, "0:00:00.50,0:00:00.90"},
        {-200, 1000, 2000, "0:00:00.80,0:00:01.80"},
        {-200, 100, 500, "0:00:00.00,0:00:00.30"},   // the start would be -100 ms
        {-600, 100, 500, "0:00:00.00,0:00:00.00"},
        {20, 3599990, 3600000, "1:00:00.01,1:00:00.02"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        CQuenlowApp app;
        SetUpApp(app, folder, {{c.start, c.end, "Text\n", "文字\n"}});
        app.m_nTimeOffset = c.offset;
        app.WriteAssFiles();
        const std::string expected = std::string("Dialogue: 0,") + c.times + ",*Default,NTP,0000,0000,0000,,";
        for (const CString& path : {app.m_strAssBothPath, app.m_strAssEngPath, app.m_strAssChnPath}) {
            const std::vector<std::string> lines = DialogueLines(ReadUtf8File(path));
            ASSERT_EQ(lines.size(), 1u) << path.str();
            EXPECT_EQ(lines[0].substr(0, expected.size()), expected) << c.offset << " " << c.start;
        }
    }
}

TEST(AssFileWriterTest, ColourSizeAndLineOrder)
{
    struct Case {
        const char* colour;
        const char* size;
        const char* order;
        const char* style;   // from the font size to the secondary colour
        std::string both;    // text of the bilingual line
    };
    const std::string hello = "你" + P + "好";
    const Case cases[] = {
        {"White", "16", "engchn", "20,&H00FFFFFF,&HF0000000", "Hi there\\N " + hello},
        {"Green", "12", "engchn", "16,&H007FFF00,&H007FFF00", "Hi there\\N " + hello},
        {"Pink", "20", "chneng", "24,&H00CD69C9,&H00CD69C9", hello + "\\N Hi there"},
        {"GoldYellow", "18", "", "22,&H0000BFFF,&H0000BFFF", hello + "\\N Hi there"},
        {"NoSuchColour", "14", "engchn", "18,&H0000BFFF,&H0000BFFF", "Hi there\\N " + hello},
        {"white", "16", "engchn", "20,&H0000BFFF,&H0000BFFF", "Hi there\\N " + hello},   // names match exactly
    };
    for (const Case& c : cases) {
        TempFolder folder;
        CQuenlowApp app;
        SetUpApp(app, folder, {{1000, 2000, "Hi there\n", "你好\n"}});
        app.m_strSubtitleColor = c.colour;
        app.m_strSubtitleFontSize = c.size;
        app.m_strAssLineOrder = c.order;
        app.WriteAssFiles();
        const std::string both = ReadUtf8File(app.m_strAssBothPath);
        EXPECT_NE(both.find(std::string("Style: Default,微软雅黑,") + c.style + ",&H00000000,&H00FFFF,"),
                  std::string::npos)
            << c.colour;
        EXPECT_EQ(DialogueLines(both).at(0),
                  "Dialogue: 0,0:00:01.00,0:00:02.00,*Default,NTP,0000,0000,0000,," + c.both)
            << c.colour << " " << c.order;
        // The single-language files do not depend on the order.
        EXPECT_EQ(DialogueLines(ReadUtf8File(app.m_strAssEngPath)).at(0).substr(63), "Hi there");
        EXPECT_EQ(DialogueLines(ReadUtf8File(app.m_strAssChnPath)).at(0).substr(63), hello);
    }
}

TEST(AssFileWriterTest, BilingualFileLoadsBackAsTheSameLesson)
{
    TempFolder folder;
    CQuenlowApp app;
    const std::vector<SSentence> sentences = {
        {1230, 4560, "We study English today.\n", "我们今天学习英语，（很）“有用”。\n"},
        {5000, 7990, "It*s <i>easy</i>.\n", "很容易。\n"},
    };
    SetUpApp(app, folder, sentences);
    app.WriteAssFiles();

    CQuenlowApp loaded;
    CString viewText;
    ASSERT_EQ(LoadLessonFile(loaded, app.m_strAssBothPath, viewText), ELessonLoadResult::Loaded);
    ASSERT_EQ(loaded.m_nSentenceCount, 2);
    EXPECT_EQ(loaded.m_arrForeignText[0].str(), "We study English today.\n");
    // The zero-width breaks are no text.
    EXPECT_EQ(loaded.m_arrChineseText[0].str(), "我们今天学习英语，（很）“有用”。\n");
    EXPECT_EQ(loaded.m_arrForeignText[1].str(), "It's easy.\n");
    EXPECT_EQ(loaded.m_arrSentenceTiming[0].starttime, 1230);
    EXPECT_EQ(loaded.m_arrSentenceTiming[1].endtime, 7990);
}

// The renderer wraps only at spaces: a Chinese line gets a zero-width break
// between its characters, never before closing punctuation (no line starts
// with "，" or "”") nor after opening punctuation; English words are left
// whole for the renderer's own wrapping at spaces.
TEST(AssWrapPointTest, BreaksBetweenChineseCharactersOnly)
{
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"没问题", "没" + P + "问" + P + "题"},
        {"你好，世界。", "你" + P + "好，" + P + "世" + P + "界。"},
        {"他说：“好的！”", "他" + P + "说：" + P + "“好" + P + "的！”"},
        {"（注意）请看", "（注" + P + "意）" + P + "请" + P + "看"},
        {"等等……对吧？", "等" + P + "等……" + P + "对" + P + "吧？"},
        {"我用iPhone拍照", "我" + P + "用" + P + "iPhone" + P + "拍" + P + "照"},
        {"在2024年,好", "在" + P + "2024" + P + "年," + P + "好"},
        {"说\"好\"了", "说\"好\"了"},   // an ASCII quote may open or close
        {"看(这)个", "看" + P + "(这)" + P + "个"},
        {"好 的", "好 的"},
        {"Hello, world (again)!", "Hello, world (again)!"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddWrapPoints(c.text).str(), c.expected) << c.text;
}

TEST(AssTimeFormatTest, MinSecAndAssTimes)
{
    const CQuenlowApp app;
    struct MinSecCase {
        int64_t ms;
        const char* text;
    };
    const MinSecCase minSec[] = {
        {0, "00:00"},        {999, "00:00"},           {9000, "00:09"},
        {61234, "01:01"},    {599999, "09:59"},        {600000, "10:00"},
        {5999999, "99:59"},  {6000000, "100:00"},      {int64_t{1000} * 60000 + 5000, "1000:05"},
    };
    for (const MinSecCase& c : minSec)
        EXPECT_EQ(app.FormatMinSec(c.ms).str(), c.text) << c.ms;

    struct AssCase {
        const char* ms;
        const char* text;
    };
    const AssCase ass[] = {
        {"0", "0:00:00.00"},           {"61234", "0:01:01.23"},    {"62345", "0:01:02.34"},
        {"3599999", "0:59:59.99"},     {"3600000", "1:00:00.00"},  {"36000000", "10:00:00.00"},
        {"-2", "0:00:00.00"},          {"", "0:00:00.00"},         {"9", "0:00:00.00"},
    };
    for (const AssCase& c : ass)
        EXPECT_EQ(app.FormatAssTime(c.ms).str(), c.text) << c.ms;

    EXPECT_EQ(NumberedAssPath("/p/a.ass/Both.ass", 12).str(), "/p/a.ass/Both12.ass");
}
