#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <chrono>
#include <vector>

#include "platform/codepage.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/uisettings.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

// A complete file whose every value differs from the start-up defaults.
std::vector<std::string> ValidLines()
{
    return {"Georgia", "20", "255", "65280", "OnWordWeb", "", "true", "para", "40", "true",
            "chneng", "Yellow", "18", "Continue", "999", "999", "999", "999", "999"};
}

std::string Join(const std::vector<std::string>& lines, const std::string& eol = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + eol;
    return text;
}

class UiSettingsTest : public testing::Test {
protected:
    void SetUp() override { ApplyStartupDefaults(app, tmp.ansi()); }

    // Writes the file and reads it into the application object.
    void Load(const std::string& bytes)
    {
        tmp.write("UI.data", bytes);
        LoadUiSettings(app, path());
    }
    CString path() const { return tmp.ansi() + "UI.data"; }
    std::string fsPath() const { return tmp.path() + "UI.data"; }

    // The start-up values that an ignored file must leave in place.
    void ExpectStartupValues() const
    {
        EXPECT_EQ(app.m_strFontName, "");
        EXPECT_EQ(app.m_nFontSize, 0);
        EXPECT_EQ(app.m_clrText, 0xF0FBFFu);
        EXPECT_EQ(app.m_clrBackground, 0x535353u);
        EXPECT_EQ(app.m_strWordLookupMode, "OnWordHome");
        EXPECT_EQ(app.m_strSkipBlank, "true");
        EXPECT_EQ(app.m_strTextLayout, "script");
        EXPECT_EQ(app.m_nVolume, 75);
        EXPECT_EQ(app.m_strSubtitleFontSize, "16");
        EXPECT_EQ(app.m_strClickReadMode, "Pause");
    }

    testsupport::TempFolder tmp;
    CQuenlowApp app;
};

TEST_F(UiSettingsTest, MissingShortOrUnreadableFileChangesNothing)
{
    std::vector<std::string> fifteen = ValidLines();
    fifteen.resize(15);

    struct Case {
        const char* name;
        std::function<void()> prepare;
    } cases[] = {
        {"missing", [] {}},
        {"empty", [&] { tmp.write("UI.data", ""); }},
        {"15 lines", [&] { tmp.write("UI.data", Join(fifteen)); }},
        {"15 lines, no final line end", [&] { tmp.write("UI.data", Join(fifteen, "\n").substr(0, Join(fifteen, "\n").size() - 1)); }},
        {"a folder", [&] { fs::create_directory(fsPath()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(fsPath());
        ApplyStartupDefaults(app, tmp.ansi());
        c.prepare();
        LoadUiSettings(app, path());
        ExpectStartupValues();
    }
}

TEST_F(UiSettingsTest, ReadsEveryLineWithEitherLineEnd)
{
    for (const char* eol : {"\r\n", "\n"}) {
        SCOPED_TRACE(eol[0] == '\r' ? "CR LF" : "LF");
        ApplyStartupDefaults(app, tmp.ansi());
        Load(Join(ValidLines(), eol));

        EXPECT_EQ(app.m_strFontName, "Georgia");
        EXPECT_EQ(app.m_nFontSize, 20);
        EXPECT_EQ(app.m_clrText, 255u);
        EXPECT_EQ(app.m_clrBackground, 65280u);
        EXPECT_EQ(app.m_strWordLookupMode, "OnWordWeb");
        EXPECT_EQ(app.m_strSkipBlank, "");
        EXPECT_EQ(app.m_strShowChinese, "true");
        EXPECT_EQ(app.m_strTextLayout, "para");
        EXPECT_EQ(app.m_nVolume, 40);
        EXPECT_EQ(app.m_strAutoPlayExample, "true");
        EXPECT_EQ(app.m_strAssLineOrder, "chneng");
        EXPECT_EQ(app.m_strSubtitleColor, "Yellow");
        EXPECT_EQ(app.m_strSubtitleFontSize, "18");
        EXPECT_EQ(app.m_strClickReadMode, "Continue");
    }
}

// The text effects follow the trailer: a file of an earlier run, which ends
// at line 19, keeps bold on and italic and underline off.
TEST_F(UiSettingsTest, TextEffectsAfterTheTrailer)
{
    struct Case {
        const char* name;
        std::vector<std::string> effects;   // lines 20 onwards
        const char *bold, *italic, *underline;
        int margin;
    } cases[] = {
        {"file ends at the trailer", {}, "true", "", "", 0},
        {"only two of the three lines", {"", "true"}, "true", "", "", 0},
        {"bold off, italic and underline on", {"", "true", "true"}, "", "true", "true", 0},
        {"all on, a margin", {"true", "true", "true", "40"}, "true", "true", "true", 40},
        {"negative margin", {"true", "", "", "-20"}, "true", "", "", 0},
        {"margin past the limit", {"true", "", "", "5000"}, "true", "", "", 0},
        {"margin not a number", {"true", "", "", "wide"}, "true", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = ValidLines();
        lines.insert(lines.end(), c.effects.begin(), c.effects.end());
        ApplyStartupDefaults(app, tmp.ansi());
        Load(Join(lines));
        EXPECT_EQ(app.m_strTextBold, c.bold);
        EXPECT_EQ(app.m_strTextItalic, c.italic);
        EXPECT_EQ(app.m_strTextUnderline, c.underline);
        EXPECT_EQ(app.m_nTextMargin, c.margin);
        EXPECT_EQ(app.m_strClickReadMode, "Continue");
    }
}

TEST_F(UiSettingsTest, SixteenLinesAreEnoughAndTheTrailerIsNotRead)
{
    std::vector<std::string> lines = ValidLines();
    lines.resize(16);
    lines[14] = "garbage";
    lines[15] = "junk";

    // With and without a line end after the last line.
    for (const std::string& bytes : {Join(lines), Join(lines).substr(0, Join(lines).size() - 2)}) {
        ApplyStartupDefaults(app, tmp.ansi());
        Load(bytes);
        EXPECT_EQ(app.m_strFontName, "Georgia");
        EXPECT_EQ(app.m_strClickReadMode, "Continue");
    }
}

TEST_F(UiSettingsTest, InvalidValuesFallBack)
{
    struct Case {
        int line;   // 1-based
        const char* text;
        std::function<void(const CQuenlowApp&)> check;
    } cases[] = {
        // Line 1: too short a face name.
        {1, "", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strFontName, "Arial"); }},
        {1, "X", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strFontName, "Arial"); }},
        // Line 2: a size below 12 skips the colour lines but line 5 still
        // counts as line 5; a size above 50 drops the colours read.
        {2, "8",
         [](const CQuenlowApp& a) {
             EXPECT_EQ(a.m_nFontSize, 16);
             EXPECT_EQ(a.m_clrText, 0xF0FBFFu);
             EXPECT_EQ(a.m_clrBackground, 0x535353u);
             EXPECT_EQ(a.m_strWordLookupMode, "OnWordWeb");
         }},
        {2, "abc", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nFontSize, 16); }},
        {2, "51",
         [](const CQuenlowApp& a) {
             EXPECT_EQ(a.m_nFontSize, 16);
             EXPECT_EQ(a.m_clrText, 0xF0FBFFu);
             EXPECT_EQ(a.m_clrBackground, 0x535353u);
         }},
        {2, "12", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nFontSize, 12); EXPECT_EQ(a.m_clrText, 255u); }},
        {2, "50", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nFontSize, 50); EXPECT_EQ(a.m_clrBackground, 65280u); }},
        {2, "99999999999", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nFontSize, 16); }},
        // Line 3: colours are signed decimal numbers.
        {3, "-1", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_clrText, 0xFFFFFFFFu); }},
        // Keywords are compared case-sensitively.
        {5, "onwordweb", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strWordLookupMode, "OnWordHome"); }},
        {5, "OnWordHome", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strWordLookupMode, "OnWordHome"); }},
        {8, "Para", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strTextLayout, "script"); }},
        {8, "engchn", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strTextLayout, "engchn"); }},
        {8, "", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strTextLayout, "script"); }},
        // Line 9: volume.
        {9, "150", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nVolume, 75); }},
        {9, "-1", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nVolume, 75); }},
        {9, "abc", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nVolume, 0); }},
        {9, "100", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_nVolume, 100); }},
        {11, "ChnEng", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strAssLineOrder, "engchn"); }},
        {11, "engchn", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strAssLineOrder, "engchn"); }},
        // Line 12 is free text.
        {12, "NoSuchColour", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strSubtitleColor, "NoSuchColour"); }},
        // Line 13: subtitle size 12 to 20, kept as written.
        {13, "24", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strSubtitleFontSize, "16"); }},
        {13, "11", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strSubtitleFontSize, "16"); }},
        {13, "20", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strSubtitleFontSize, "20"); }},
        {13, "12", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strSubtitleFontSize, "12"); }},
        {14, "continue", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strClickReadMode, "Pause"); }},
        {14, "", [](const CQuenlowApp& a) { EXPECT_EQ(a.m_strClickReadMode, "Pause"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << " \"" << c.text << "\"");
        std::vector<std::string> lines = ValidLines();
        lines[static_cast<size_t>(c.line - 1)] = c.text;
        ApplyStartupDefaults(app, tmp.ansi());
        Load(Join(lines));
        c.check(app);
    }
}

TEST_F(UiSettingsTest, LongFontNameIsCutAtACharacterBoundary)
{
    const std::string ascii40(40, 'F');
    std::string chinese40;   // 20 two-byte characters: byte 31 is a lead byte's trail
    for (int i = 0; i < 20; ++i)
        chinese40 += "宋";
    ASSERT_EQ(chinese40.size(), 40u);
    std::string chinese31 = "A";   // 1 + 15 * 2 bytes: fits exactly
    for (int i = 0; i < 15; ++i)
        chinese31 += "宋";
    // A four-byte character (U+0080) over bytes 28 to 31.
    const std::string fourByte = std::string(28, 'B') + "\x81\x30\x81\x30" + "tail";

    struct Case {
        const char* name;
        std::string line;
        std::string expected;
    } cases[] = {
        {"ASCII", ascii40, ascii40.substr(0, 31)},
        {"two-byte split at 31", chinese40, chinese40.substr(0, 30)},
        {"exactly 31 bytes", chinese31, chinese31},
        {"four-byte split", fourByte, fourByte.substr(0, 28)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = ValidLines();
        lines[0] = c.line;
        Load(Join(lines));
        EXPECT_EQ(app.m_strFontName.str(), c.expected);
        EXPECT_LE(app.m_strFontName.GetLength(), kMaxFontNameBytes);
    }
}

TEST_F(UiSettingsTest, WritesTwentyThreeLinesInFileOrder)
{
    app.m_strFontName = "微软雅黑";
    app.m_nFontSize = 14;
    app.m_clrText = 0x00FF00;
    app.m_clrBackground = 0xFFFFFFFF;   // written signed
    app.m_strWordLookupMode = "OnWordWeb";
    app.m_strSkipBlank = "";
    app.m_strShowChinese = "true";
    app.m_strTextLayout = "engchn";
    app.m_nVolume = 0;
    app.m_strAutoPlayExample = "true";
    app.m_strAssLineOrder = "chneng";
    app.m_strSubtitleColor = "GoldYellow";
    app.m_strSubtitleFontSize = "20";
    app.m_strClickReadMode = "Continue";
    app.m_strTextBold = "";
    app.m_strTextItalic = "true";
    app.m_strTextUnderline = "true";
    app.m_nTextMargin = 60;

    ASSERT_TRUE(SaveUiSettings(app, path()));

    // 微软雅黑 in GB18030, spelled out so that the check does not depend on
    // how the compiler encodes literals.
    const std::string expected = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\r\n"
                                 "14\r\n65280\r\n-1\r\nOnWordWeb\r\n\r\ntrue\r\nengchn\r\n0\r\ntrue\r\n"
                                 "chneng\r\nGoldYellow\r\n20\r\nContinue\r\n"
                                 "999\r\n999\r\n999\r\n999\r\n999\r\n"
                                 "\r\ntrue\r\ntrue\r\n60\r\n";
    EXPECT_EQ(testsupport::ReadBytes(fsPath()), expected);

    // What was written reads back unchanged.
    CQuenlowApp again;
    ApplyStartupDefaults(again, tmp.ansi());
    LoadUiSettings(again, path());
    EXPECT_EQ(again.m_strFontName, app.m_strFontName);
    EXPECT_EQ(again.m_clrBackground, 0xFFFFFFFFu);
    EXPECT_EQ(again.m_nVolume, 0);
    EXPECT_EQ(again.m_strAssLineOrder, "chneng");
    EXPECT_EQ(again.m_strTextBold, "");
    EXPECT_EQ(again.m_strTextItalic, "true");
    EXPECT_EQ(again.m_strTextUnderline, "true");
    EXPECT_EQ(again.m_nTextMargin, 60);
}

TEST_F(UiSettingsTest, FirstStartWritesDefaultFontAndColours)
{
    LoadUiSettings(app, path());   // no file yet
    ASSERT_TRUE(SaveUiSettings(app, path()));
    const std::string head = "Arial\r\n16\r\n15793151\r\n5460819\r\nOnWordHome\r\n";
    EXPECT_EQ(testsupport::ReadBytes(fsPath()).substr(0, head.size()), head);

    // No font chosen: the default colours replace the ones in memory as well.
    app.m_clrText = 0x123456;
    app.m_clrBackground = 0x654321;
    ASSERT_TRUE(SaveUiSettings(app, path()));
    EXPECT_EQ(app.m_clrText, 0xF0FBFFu);
    EXPECT_EQ(app.m_clrBackground, 0x535353u);
    EXPECT_EQ(app.m_nFontSize, 0);
    EXPECT_EQ(testsupport::ReadBytes(fsPath()).substr(0, 30), "Arial\r\n16\r\n15793151\r\n5460819\r\n");
}

TEST_F(UiSettingsTest, FailedWriteReportsFalseAndKeepsState)
{
    app.m_clrText = 0x123456;   // would be replaced by a successful write (size 0)

    struct Case {
        const char* name;
        std::string target;   // relative to the temporary folder
        std::function<void()> prepare;
    } cases[] = {
        {"target is a folder", "UI.data", [&] { fs::create_directory(fsPath()); }},
        {"parent is a file", "notafolder/UI.data", [&] { tmp.write("notafolder", "x"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        EXPECT_FALSE(SaveUiSettings(app, tmp.ansi() + c.target.c_str()));
        EXPECT_EQ(app.m_clrText, 0x123456u);
    }
    EXPECT_TRUE(fs::is_directory(fsPath()));
}

// A UI.data the learner made read-only is kept: the save reports failure as
// any failed write does, and the file keeps its bytes, its mode and its inode
// (the atomic rename would otherwise replace it, whatever its mode).
TEST_F(UiSettingsTest, ReadOnlyFileIsKeptAndTheWriteFails)
{
    const std::string old = Join(ValidLines());
    tmp.write("UI.data", old);
    ASSERT_EQ(chmod(fsPath().c_str(), 0444), 0);
    struct stat before {};
    ASSERT_EQ(stat(fsPath().c_str(), &before), 0);
    app.m_strFontName = "Changed";
    app.m_clrText = 0x123456;

    EXPECT_FALSE(SaveUiSettings(app, path()));
    EXPECT_EQ(app.m_clrText, 0x123456u);
    struct stat after {};
    ASSERT_EQ(stat(fsPath().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0444u);
    EXPECT_EQ(testsupport::ReadBytes(fsPath()), old);
}

TEST_F(UiSettingsTest, FailedWriteLeavesTheOldFileWhole)
{
    const std::string old = Join(ValidLines());
    tmp.write("UI.data", old);
    app.m_strFontName = "Changed";

    // Running as root ignores permissions, so make the write itself fail: a
    // file-size limit below the new file's size.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = SaveUiSettings(app, path());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(testsupport::ReadBytes(fsPath()), old);
}

} // namespace

// A kill during a save leaves the temporary file of the atomic write behind;
// without clean-up they pile up, one per kill. The start's read removes the
// old ones, and keeps a fresh one that another copy of the program may be
// writing now, and every other file.
TEST_F(UiSettingsTest, ReadingAtStartRemovesTemporaryFilesLeftByAKill)
{
    tmp.write("UI.data", Join(ValidLines()));
    const std::vector<std::string> old = {"UI.data.tmp-a1B2c3", "UI.data.tmp-ZZZZZZ"};
    const std::vector<std::string> kept = {"UI.data.tmp-fresh1", "UI.data.tmp-toolong", "UI.data.tmp-", "X.data.tmp-a1B2c3"};
    const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& name : old)
        fs::last_write_time(tmp.write(name, "half a save"), anHourAgo);
    for (const std::string& name : kept)
        tmp.write(name, "other");
    fs::last_write_time(tmp.write("UI.data.tmp-toolong", "other"), anHourAgo);

    LoadUiSettings(app, path());
    for (const std::string& name : old)
        EXPECT_FALSE(fs::exists(tmp.path() + name)) << name;
    for (const std::string& name : kept)
        EXPECT_TRUE(fs::exists(tmp.path() + name)) << name;
    EXPECT_EQ(app.m_strFontName, CString(ValidLines()[0].c_str()));
}
