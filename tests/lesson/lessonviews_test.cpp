// The lesson, bilingual and speech-practice views as the main frame drives
// them: the bilingual list text, the font refresh rule, the temporary
// recordings and the microphone check.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/stc/stc.h>

#include "lesson/doublelangformview.h"
#include "lesson/quenlowview.h"
#include "lesson/speechformview.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "ui/showchndlg.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

// Puts back the application fields a test changes.
class AppStateGuard : public testsupport::AppStateGuard {
public:
    AppStateGuard()
        : testsupport::AppStateGuard(&CQuenlowApp::m_strFontName,
                                     &CQuenlowApp::m_nFontSize,
                                     &CQuenlowApp::m_clrText,
                                     &CQuenlowApp::m_clrBackground,
                                     &CQuenlowApp::m_nFontChangeCount,
                                     &CQuenlowApp::m_nFontCountQuenlowView,
                                     &CQuenlowApp::m_nFontCountSpeechView,
                                     &CQuenlowApp::m_strAppDir,
                                     &CQuenlowApp::m_arrForeignText,
                                     &CQuenlowApp::m_arrChineseText)
    {
    }
};

// A top-level frame that hosts the view under test and goes with the test.
class ViewTest : public testing::Test {
protected:
    void SetUp() override { m_frame = new wxFrame(nullptr, wxID_ANY, "views", wxDefaultPosition, wxSize(600, 400)); }
    void TearDown() override { m_frame->Destroy(); }

    template <class View>
    View* MakeView(int id)
    {
        auto* view = new View;
        EXPECT_TRUE(view->Create(m_frame, id));
        view->OnInitialUpdate();
        return view;
    }

    AppStateGuard m_guard;
    wxFrame* m_frame = nullptr;
};

std::vector<CString> Lines(const wxStyledTextCtrl& control)
{
    std::vector<CString> lines;
    for (int i = 0; i < control.GetLineCount(); ++i) {
        CString line = FromWx(control.GetLine(i));
        line.Remove('\n');
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST_F(ViewTest, BilingualListNumbersEntriesAndIndentsTheChineseLine)
{
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    for (int i = 1; i <= 11; ++i) {
        CString english, chinese;
        english.Format("Line %d\n", i);
        chinese.Format("第%d句\n", i);
        theApp.m_arrForeignText.Add(english);
        theApp.m_arrChineseText.Add(chinese);
    }
    // An English line without its Chinese line makes no entry.
    theApp.m_arrForeignText.Add("Unpaired\n");

    auto* view = MakeView<CDoubleLangFormView>(374);
    view->BuildText();

    const std::vector<CString> lines = Lines(*view->m_richText);
    ASSERT_EQ(lines.size(), 23u) << "11 entries of two lines, then the empty last line";
    struct Case {
        int line;
        const char* expected;
    };
    const Case cases[] = {
        {0, "1.Line 1"},   {1, "  第1句"},     // up to 10: two blanks
        {18, "10.Line 10"}, {19, "  第10句"},  // 10 still has two
        {20, "11.Line 11"}, {21, "    第11句"}, // after 10: four
        {22, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lines[c.line], CString(c.expected)) << "line " << c.line;
    EXPECT_TRUE(view->m_timers.IsRunning(CDoubleLangFormView::kFollowTimer));

    // Lesson databases store the texts without line ends: each entry still
    // takes its own two lines.
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    for (const char* english : {"Good morning.", "Bye\n"})
        theApp.m_arrForeignText.Add(english);
    for (const char* chinese : {"早上好。", "再见"})
        theApp.m_arrChineseText.Add(chinese);
    view->BuildText();
    const std::vector<CString> stored = Lines(*view->m_richText);
    const std::vector<CString> expected = {"1.Good morning.", "  早上好。", "2.Bye", "  再见", ""};
    EXPECT_EQ(stored, expected);
}

// Each view re-applies the lesson font only when the application's change
// counter differs from the copy the view applied last.
TEST_F(ViewTest, FontIsReappliedOncePerCounterChange)
{
    struct Case {
        const char* view;
        std::function<void()> update;
        std::function<int()> appliedSize;
        std::function<int()> copy;
    };
    auto* lesson = MakeView<CQuenlowView>(501);
    auto* bilingual = MakeView<CDoubleLangFormView>(374);
    auto* speech = MakeView<CSpeechFormView>(417);
    const Case cases[] = {
        {"lesson", [&] { lesson->UpdateFontIfChanged(); },
         [&] { return lesson->m_richText->StyleGetSize(0); }, [] { return theApp.m_nFontCountQuenlowView; }},
        {"bilingual", [&] { bilingual->UpdateFontIfChanged(); },
         [&] { return bilingual->m_richText->StyleGetSize(0); }, [&] { return bilingual->m_nFontCountDoubleLangView; }},
        {"speech", [&] { speech->UpdateFontIfChanged(); },
         [&] { return speech->m_editText->StyleGetSize(0); }, [] { return theApp.m_nFontCountSpeechView; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        theApp.m_nFontSize = 21;
        ++theApp.m_nFontChangeCount;
        c.update();
        EXPECT_EQ(c.appliedSize(), 21);
        EXPECT_EQ(c.copy(), theApp.m_nFontChangeCount);

        // Same counter: a changed setting is not picked up.
        theApp.m_nFontSize = 30;
        c.update();
        EXPECT_EQ(c.appliedSize(), 21);

        ++theApp.m_nFontChangeCount;
        c.update();
        EXPECT_EQ(c.appliedSize(), 30);
    }
}

TEST_F(ViewTest, LessonViewRefreshesItsCaptionWindowToo)
{
    auto* lesson = MakeView<CQuenlowView>(501);
    lesson->CreateCaptionDialog();
    ASSERT_NE(lesson->m_pShowChnDlg, nullptr);
    EXPECT_FALSE(lesson->m_pShowChnDlg->IsShown());
    EXPECT_EQ(lesson->m_pShowChnDlg->GetParent(), lesson);

    theApp.m_nFontSize = 22;
    ++theApp.m_nFontChangeCount;
    lesson->UpdateFontIfChanged();
    EXPECT_EQ(lesson->m_pShowChnDlg->m_cfCaption.heightTwips, 22 * 20);
}

TEST_F(ViewTest, UnsetFontFallsBackToArialSixteen)
{
    theApp.m_strFontName.Empty();
    theApp.m_nFontSize = 0;
    theApp.m_clrText = RGB(10, 20, 30);
    theApp.m_clrBackground = RGB(200, 210, 220);
    auto* lesson = MakeView<CQuenlowView>(501);
    lesson->ApplyTextFormat();
    EXPECT_EQ(lesson->m_richText->StyleGetFaceName(0), "Arial");
    EXPECT_EQ(lesson->m_richText->StyleGetSize(0), 16);
    EXPECT_EQ(lesson->m_richText->StyleGetForeground(0), wxColour(10, 20, 30));
    EXPECT_EQ(lesson->m_richText->StyleGetBackground(0), wxColour(200, 210, 220));
}

TEST_F(ViewTest, DeleteTempRecordingsRemovesOnlyWavNamedFiles)
{
    testsupport::TempProgramFolder program;
    theApp.m_strAppDir = program.ansi();
    const std::string temp = "AppData/Temp/";
    struct Case {
        const char* name;
        bool kept;
    };
    const Case cases[] = {
        {"record.wav", false},
        {"replay.wav", false},
        {"录音.wav", false},
        {"take.wav.part", false},   // ".wav" anywhere in the name
        {"notes.txt", true},
        {"LOUD.WAV", true},         // the match is case-sensitive
        {"wav", true},
        {"old.wav/inside.wav", true},   // a folder is neither deleted nor entered
    };
    // Names on disk are UTF-8; the literals here are program text.
    for (const Case& c : cases)
        program.write(temp + ToFsPath(c.name), "RIFF");

    auto* speech = MakeView<CSpeechFormView>(417);
    speech->DeleteTempRecordings();

    for (const Case& c : cases) {
        const std::filesystem::path file = std::filesystem::u8path(program.path() + temp + ToFsPath(c.name));
        EXPECT_EQ(std::filesystem::exists(file), c.kept) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(program.path() + temp + "old.wav")));
}

TEST_F(ViewTest, MissingMicrophoneIsReportedInTheMessageSlot)
{
    // An empty ALSA configuration defines no device at all, whatever the
    // machine has.
    testsupport::TempFolder folder;
    const std::string config = folder.write("asound.conf", "");
    const char* previous = getenv("ALSA_CONFIG_PATH");
    const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    snd_config_update_free_global();

    int kind = 0;
    CString text;
    int seconds = 0;
    theApp.TakeMessage(kind, text, seconds);   // nothing left from elsewhere

    auto* speech = MakeView<CSpeechFormView>(417);
    const BOOL ready = speech->CheckMicrophone();

    if (saved)
        setenv("ALSA_CONFIG_PATH", saved->c_str(), 1);
    else
        unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();

    EXPECT_EQ(ready, FALSE);
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, CString("请接入话筒！"));
    EXPECT_EQ(kind, 1);   // error
    EXPECT_EQ(seconds, 5);
}
