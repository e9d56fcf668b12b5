// The speech practice view under Xvfb: the practice text and its layout,
// lines picked by the pointer and chosen by clicks, the ribbon's commands
// reaching the practice, the export's file choice; then, in a real main
// frame, entering and leaving the category and the look command; and in real
// time, with the media engine and a capture device fed from a file (ALSA's
// file plug-in), follow-reading and dubbing that leave complete WAV files.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/stc/stc.h>

#include "lesson/speechformview.h"
#include "tests/lesson/core/standinpracticeplayer.h"
#include "platform/file.h"
#include "playback/purewmpdialog.h"
#include "playback/vlcplayer.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "frame/ribbonstatusbar.h"
#include "tests/appstateguard.h"
#include "tests/lessonmedia.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

using namespace std::chrono_literals;
using testsupport::CAlsaTestConfig;
using testsupport::ReadBytes;
using testsupport::TakeMessage;
using testsupport::TestSignal;

namespace {

// Every application field these tests change.
class SpeechStateGuard : public testsupport::AppStateGuard {
public:
    SpeechStateGuard()
        : testsupport::AppStateGuard(
              &CQuenlowApp::m_arrForeignText, &CQuenlowApp::m_arrChineseText, &CQuenlowApp::m_arrSentenceTiming,
              &CQuenlowApp::m_nSentenceCount, &CQuenlowApp::m_nTimeOffset, &CQuenlowApp::m_nRepeatMargin,
              &CQuenlowApp::m_strSpeechMode, &CQuenlowApp::m_strRecordState, &CQuenlowApp::m_strMicrophoneReady,
              &CQuenlowApp::m_strActiveView, &CQuenlowApp::m_strMediaPath, &CQuenlowApp::m_nVolume,
              &CQuenlowApp::m_strRecordWavPath, &CQuenlowApp::m_strReplayWavPath,
              &CQuenlowApp::m_strTmpRecordWavPath, &CQuenlowApp::m_strCompleteWavPath,
              &CQuenlowApp::m_strSpeechPrepared, &CQuenlowApp::m_bScriptLoaded, &CQuenlowApp::m_strScriptPath,
              &CQuenlowApp::m_strSubtitleLoaded, &CQuenlowApp::m_nFontChangeCount,
              &CQuenlowApp::m_nFontCountSpeechView, &CQuenlowApp::m_clrText, &CQuenlowApp::m_clrBackground)
    {
    }
};

struct SLine {
    const char* english;
    const char* chinese;
    int start;
    int end;
};

// The sentence model as a load leaves it, each text ending in lineEnd.
void PutLesson(const std::vector<SLine>& lines, const char* lineEnd = "\n")
{
    theApp.ClearSentenceModel();
    theApp.EnsureSentenceCapacity(static_cast<int>(lines.size()));
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    for (size_t i = 0; i < lines.size(); ++i) {
        theApp.m_arrSentenceTiming[i].starttime = lines[i].start;
        theApp.m_arrSentenceTiming[i].endtime = lines[i].end;
        theApp.m_arrForeignText.Add(CString(lines[i].english) + lineEnd);
        theApp.m_arrChineseText.Add(CString(lines[i].chinese) + lineEnd);
    }
    theApp.m_nSentenceCount = static_cast<int>(lines.size());
}

uint32_t Le32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<size_t>(i)));
    return v;
}

// A complete recording: the header's sizes match the file, in the practice
// format, with `ms` (less or more by the margins given) of the fed signal
// from its start.
void ExpectCompleteRecording(const std::string& file, const std::string& signal, double ms, double lessMs,
                             double moreMs)
{
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(file.substr(0, 4), "RIFF");
    EXPECT_EQ(Le32(file, 4), file.size() - 8);
    EXPECT_EQ(Le32(file, 40), file.size() - 44) << "the header counts every sample written";
    EXPECT_EQ(Le32(file, 24), 44100u);
    const double bytesPerMs = 176.4;
    const double got = static_cast<double>(file.size() - 44) / bytesPerMs;
    EXPECT_GE(got, ms - lessMs) << "ms recorded";
    EXPECT_LE(got, ms + moreMs) << "ms recorded";
    const size_t compared = std::min(file.size() - 44, signal.size());
    EXPECT_EQ(file.compare(44, compared, signal, 0, compared), 0) << "the recording is the fed signal";
}

// Four lines, three sentences.
const std::vector<SLine> kLesson = {
    {"First", "第一", 0, 400}, {"part.", "部分", 400, 800}, {"Second!", "第二", 1000, 1300}, {"Third?", "第三", 1500, 1800}};

// The view alone in a shown top-level window, with stand-in players and a
// capture device fed from a file.
class SpeechViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        theApp.m_strRecordWavPath = folder.ansi() + "record.wav";
        theApp.m_strReplayWavPath = folder.ansi() + "replay.wav";
        theApp.m_strTmpRecordWavPath = folder.ansi() + "tmprecord.wav";
        theApp.m_strCompleteWavPath = folder.ansi() + "complete.wav";
        theApp.m_strMediaPath = folder.ansi() + "lesson.mp4";
        theApp.m_strActiveView = "CSpeechFormView";
        theApp.m_strMicrophoneReady = "true";
        theApp.m_strSpeechMode.Empty();
        theApp.m_strRecordState.Empty();
        theApp.m_nRepeatMargin = 0;
        theApp.m_nTimeOffset = 0;
        theApp.m_nVolume = 70;
        TakeMessage();
        PutLesson(kLesson);
        m_frame = new wxFrame(nullptr, wxID_ANY, "speech", wxDefaultPosition, wxSize(640, 400));
        view = new CSpeechFormView;
        ASSERT_TRUE(view->Create(m_frame, 417));
        view->m_getLessonPlayer = [this] { return &lesson; };
        view->m_getVoicePlayer = [this] { return &voice; };
        view->SetSize(m_frame->GetClientSize());
        view->Show();
        m_frame->Show();
        view->ApplyTextFormat();
        view->BuildPracticeText();
        testsupport::RunLoopFor(100ms);
    }
    void TearDown() override
    {
        if (m_frame)
            m_frame->Destroy();
        testsupport::DrainEvents();
    }

    bool Menu(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        return view->GetEventHandler()->ProcessEvent(command);
    }
    // A text position in the middle of practice line k.
    int Inside(int k) const { return view->m_editText->PositionFromLine(k) + 3; }
    void Mouse(wxEventType type, int position)
    {
        wxMouseEvent event(type);
        const wxPoint point = view->m_editText->PointFromPosition(position);
        event.SetPosition(point + wxPoint(2, 4));
        event.SetEventObject(view->m_editText);
        view->m_editText->GetEventHandler()->ProcessEvent(event);
    }
    // Button down and up: the text lets go of the mouse again.
    void Click(int position)
    {
        Mouse(wxEVT_LEFT_DOWN, position);
        Mouse(wxEVT_LEFT_UP, position);
    }
    bool Marked(int k) const { return view->m_editText->IndicatorAllOnFor(view->m_editText->PositionFromLine(k)) != 0; }

    SpeechStateGuard guard;
    testsupport::TempFolder folder;
    CAlsaTestConfig alsa{CAlsaTestConfig::FileDevice(folder.write("voice.raw", TestSignal(44'100 * 4)), "/dev/null")};
    CStandInPlayer lesson;
    CStandInPlayer voice;
    wxFrame* m_frame = nullptr;
    CSpeechFormView* view = nullptr;
};

} // namespace

TEST_F(SpeechViewTest, PracticeTextIsNumberedWithTheCaptionAndProgressBelow)
{
    EXPECT_EQ(FromWx(view->m_editText->GetText()), "1. First part.\n2. Second!\n3. Third?\n");
    EXPECT_EQ(view->m_practice.m_nPracticeCount, 3);
    const wxSize client = view->GetClientSize();
    EXPECT_EQ(view->m_editText->GetRect(), wxRect(0, 0, client.x, client.y - 40));
    EXPECT_EQ(view->m_editCaption->GetRect(), wxRect(0, client.y - 40, client.x, 30));
    EXPECT_EQ(view->m_progress->GetRect(), wxRect(0, client.y - 10, client.x, 10));
    EXPECT_TRUE(view->m_editCaption->IsShown());
    EXPECT_TRUE(view->m_progress->IsShown());
    EXPECT_EQ(view->m_editText->GetMarginLeft(), 5);
    EXPECT_EQ(view->m_editCaption->GetMarginLeft(), 20);

    view->ClearView();
    EXPECT_EQ(view->m_editText->GetText(), "");
    EXPECT_EQ(view->m_editText->GetRect(), wxRect(0, 0, client.x, client.y));
    EXPECT_FALSE(view->m_editCaption->IsShown());
    EXPECT_FALSE(view->m_progress->IsShown());
}

TEST_F(SpeechViewTest, PointerPicksLinesAndClicksChooseThemForTheRolePlay)
{
    wxStyledTextCtrl& text = *view->m_editText;
    struct SCase {
        const char* where;
        int position;
        int line;
    };
    const SCase cases[] = {
        {"the first character of a line", text.PositionFromLine(1), -1},
        {"inside the first line", 2, 0},
        {"the first line's line end", text.GetLineEndPosition(0), 0},
        {"inside the third line", Inside(2), 2},
        {"the empty line after the text", text.GetLength(), -1},
        {"no position", -1, -1},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(view->PracticeLineAt(c.position), c.line) << c.where;

    Menu(kCmdRolePlay);
    ASSERT_EQ(theApp.m_strSpeechMode, "sentenceselect");
    Mouse(wxEVT_MOTION, Inside(1));
    EXPECT_EQ(view->m_practice.m_nPracticeIndex, 1);
    EXPECT_EQ(FromWx(view->m_editCaption->GetText()), " 第二");
    EXPECT_EQ(text.GetSelectionStart(), text.PositionFromLine(1));
    EXPECT_EQ(text.GetSelectionEnd(), text.PositionFromLine(2));

    Click(Inside(1));
    Click(Inside(2));
    Click(Inside(2));
    EXPECT_EQ(view->m_practice.m_nSelected, (std::vector<char>{0, 1, 0}));
    EXPECT_FALSE(Marked(0));
    EXPECT_TRUE(Marked(1));
    EXPECT_FALSE(Marked(2));

    // A font change keeps the marks: they are not the text's style.
    view->ApplyTextFormat();
    EXPECT_TRUE(Marked(1));

    Menu(kCmdSpeechReset);
    EXPECT_EQ(theApp.m_strSpeechMode, "");
    EXPECT_EQ(view->m_practice.m_nSelected, (std::vector<char>{0, 0, 0}));
    EXPECT_FALSE(Marked(1));
    EXPECT_EQ(view->m_editCaption->GetText(), "");
    // Outside a mode that picks lines the pointer changes nothing.
    Mouse(wxEVT_MOTION, Inside(0));
    EXPECT_EQ(view->m_practice.m_nPracticeIndex, 2);
}

TEST_F(SpeechViewTest, ManualClickPlaysTheLineAndHighlightsItAlone)
{
    Menu(kCmdFollowReadManual);
    ASSERT_EQ(theApp.m_strSpeechMode, "sentencemanu");
    Mouse(wxEVT_MOTION, Inside(1));
    Click(Inside(1));
    EXPECT_EQ(lesson.opened, theApp.m_strMediaPath);
    EXPECT_EQ(lesson.playedFrom, 1000);
    EXPECT_EQ(lesson.volume, 70);
    EXPECT_TRUE(view->m_timers.IsRunning(CSpeechPractice::kTimerManualWait));
    EXPECT_EQ(view->m_nHighlighted, 1);
    EXPECT_TRUE(Marked(1));

    Click(Inside(0));
    EXPECT_EQ(lesson.playedFrom, 0);
    EXPECT_TRUE(Marked(0));
    EXPECT_FALSE(Marked(1)) << "one highlighted line at a time";
    view->ResetPractice();
    EXPECT_FALSE(Marked(0));
    EXPECT_EQ(view->m_nHighlighted, -1);
}

// A lesson made on another system ends its lines in "\r\n" or a lone "\r":
// each sentence is still one line of the text, and every mode shows, plays
// and chooses the sentence of the line it marks or the learner clicks.
TEST_F(SpeechViewTest, EveryLineEndKeepsEachSentenceOnItsOwnLineInEveryMode)
{
    wxStyledTextCtrl& text = *view->m_editText;
    const auto selected = [&] { return FromWx(text.GetSelectedText()); };
    const char* const lines[] = {"1. First part.\n", "2. Second!\n", "3. Third?\n"};
    const char* const chinese[] = {" 第一 部分", " 第二", " 第三"};
    const int starts[] = {0, 1000, 1500};
    for (const char* end : {"\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        view->ResetPractice();
        PutLesson(kLesson, end);
        view->BuildPracticeText();
        ASSERT_EQ(view->m_practice.m_nPracticeCount, 3);
        EXPECT_EQ(FromWx(text.GetText()), "1. First part.\n2. Second!\n3. Third?\n");
        ASSERT_EQ(text.GetLineCount(), 4);

        // Shown by the automatic mode, the role play's performance and the
        // dubbing: sentence k is line k, its Chinese in the caption.
        for (int k = 0; k < 3; ++k) {
            view->ShowSentence(k);
            EXPECT_EQ(selected(), lines[k]) << k;
            EXPECT_EQ(FromWx(view->m_editCaption->GetText()), chinese[k]) << k;
            EXPECT_EQ(view->PracticeLineAt(Inside(k)), k) << k;
        }

        // Manual: a click plays the clicked sentence and highlights its line.
        Menu(kCmdFollowReadManual);
        for (const int k : {2, 0, 1}) {
            Mouse(wxEVT_MOTION, Inside(k));
            Click(Inside(k));
            EXPECT_EQ(lesson.playedFrom, starts[k]) << k;
            EXPECT_EQ(view->m_nHighlighted, k);
            for (int other = 0; other < 3; ++other)
                EXPECT_EQ(Marked(other), other == k) << k << " " << other;
        }

        // Role play: the clicked line is the chosen sentence.
        Menu(kCmdRolePlay);
        Mouse(wxEVT_MOTION, Inside(2));
        Click(Inside(2));
        EXPECT_EQ(view->m_practice.m_nSelected, (std::vector<char>{0, 0, 1}));
        EXPECT_TRUE(Marked(2));
        EXPECT_FALSE(Marked(1));

        // Automatic: the first clip plays with its line marked.
        Menu(kCmdFollowRead);
        view->OnTimer(CSpeechPractice::kTimerAutoClip);
        EXPECT_EQ(lesson.playedFrom, 0);
        EXPECT_EQ(selected(), lines[0]);

        // Dubbing follows the video from line to line.
        Menu(kCmdDubbing);
        EXPECT_EQ(selected(), lines[0]);
        view->OnTimer(CSpeechPractice::kTimerDubPrepare);
        lesson.time = 900;
        view->OnTimer(CSpeechPractice::kTimerDubFollow);
        EXPECT_EQ(view->m_practice.m_nPracticeIndex, 1);
        EXPECT_EQ(selected(), lines[1]);
        EXPECT_EQ(FromWx(view->m_editCaption->GetText()), chinese[1]);
        view->ResetPractice();
    }
}

// The no-microphone notice wraps within a narrow pane; the practice text
// that follows a microphone plugged in never wraps (line k is sentence k).
TEST_F(SpeechViewTest, TheNoMicrophoneNoticeWrapsWithinThePane)
{
    m_frame->SetClientSize(260, 300);
    view->SetSize(m_frame->GetClientSize());
    view->ShowMicrophoneNeeded();
    testsupport::RunLoopFor(100ms);
    wxStyledTextCtrl& text = *view->m_editText;
    EXPECT_EQ(text.GetText(), ToWx(CSpeechFormView::kNoMicrophoneText));
    EXPECT_GE(text.WrapCount(0), 3) << "more lines than one in a narrow pane";
    const int width = text.GetClientSize().x;
    for (int position = 0; position < text.GetLength(); position = text.PositionAfter(position))
        EXPECT_LT(text.PointFromPosition(position).x, width) << position;
    EXPECT_GT(text.PointFromPosition(text.GetLength()).y, text.PointFromPosition(0).y) << "the end is below the start";

    view->BuildPracticeText();
    ASSERT_EQ(text.GetLineCount(), 4);
    EXPECT_EQ(text.GetWrapMode(), wxSTC_WRAP_NONE);
    EXPECT_EQ(text.WrapCount(0), 1);
}

TEST_F(SpeechViewTest, RibbonCommandsReachThePracticeAndShowItsState)
{
    struct SCase {
        int command;
        const char* mode;
        int timer;   // running afterwards (0: none)
    };
    const SCase cases[] = {
        {kCmdFollowRead, "sentenceauto", CSpeechPractice::kTimerAutoClip},
        {kCmdFollowReadManual, "sentencemanu", 0},
        {kCmdRolePlay, "sentenceselect", 0},
        {kCmdDubbing, "sentenceall", CSpeechPractice::kTimerDubPrepare},
        {kCmdDubbingEnd, "sentenceallfinish", CSpeechPractice::kTimerDubPlayback},
        {kCmdSpeechReset, "", 0},
        {kCmdRecord, "DIY", 0},
        {kCmdRecordStop, "", 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_TRUE(Menu(c.command));
        EXPECT_EQ(theApp.m_strSpeechMode, c.mode);
        if (c.timer != 0) {
            EXPECT_TRUE(view->m_timers.IsRunning(c.timer));
        }
        EXPECT_EQ(TakeMessage(), "");
    }
    // The free recording made record.wav: replay is offered and checked off.
    wxUpdateUIEvent update(kCmdReplayRecording);
    EXPECT_TRUE(view->GetEventHandler()->ProcessEvent(update));
    EXPECT_TRUE(update.GetEnabled());
    theApp.m_strRecordState = "record";
    wxUpdateUIEvent record(kCmdRecord);
    view->GetEventHandler()->ProcessEvent(record);
    EXPECT_TRUE(record.GetChecked());
    theApp.m_strRecordState.Empty();
}

TEST_F(SpeechViewTest, ExportCopiesTheRecordingToTheChosenFile)
{
    ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "RIFF voice"));
    CString chosen;
    view->m_chooseExportFile = [&] { return chosen; };
    Menu(kCmdExportRecording);
    EXPECT_EQ(TakeMessage(), "") << "cancelled";
    chosen = folder.ansi() + "我的录音.wav";
    Menu(kCmdExportRecording);
    EXPECT_EQ(TakeMessage(), "保存完了！");
    EXPECT_EQ(ReadBytes(ToFsPath(chosen)), "RIFF voice");
}

// Real time: the view's own timers and the file-fed microphone; the players
// stand in, the second one keeps a copy of every recording it is given.
TEST_F(SpeechViewTest, RealTimeFollowReadingRecordsEachSentenceOfTheFedVoice)
{
    PutLesson({{"One.", "一", 0, 300}, {"Two.", "二", 500, 800}});
    view->BuildPracticeText();
    std::vector<std::string> replayed;
    voice.onOpen = [&](const CString& path) {
        if (path == theApp.m_strTmpRecordWavPath)
            replayed.push_back(ReadBytes(ToFsPath(path)));
    };
    const std::string signal = TestSignal(44'100 * 4);
    Menu(kCmdFollowRead);
    const bool ended = testsupport::RunLoopUntil(
        [&] { return replayed.size() == 2 && !view->m_timers.IsRunning(CSpeechPractice::kTimerAutoNext); }, 20s);
    ASSERT_TRUE(ended) << replayed.size() << " recordings replayed";
    for (const std::string& file : replayed)
        ExpectCompleteRecording(file, signal, 300, 110, 400);
    EXPECT_EQ(TakeMessage(), "");
    EXPECT_FALSE(FileExists(theApp.m_strTmpRecordWavPath)) << "the replayed copy is cleaned up";
}

// ---- In the main frame ----

namespace {

class SpeechFrameTest : public testsupport::PlayingFrameTest {
protected:
    void SetUp() override
    {
        PlayingFrameTest::SetUp();
        if (HasFatalFailure())
            return;
        if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "ffmpeg is needed to make the media";
        const std::string media = program.path() + "talk.mp4";
        testsupport::MakeClip(media, 3);
        theApp.m_strMediaPath = FromFsPath(media);
        theApp.m_bScriptLoaded = 1;
        theApp.m_strScriptPath = program.ansi() + "talk.script";
        theApp.m_strSubtitleLoaded = "true";
        theApp.m_strSpeechPrepared.Empty();
        theApp.m_nRepeatMargin = 0;
        theApp.m_nTimeOffset = 0;
        PutLesson({{"One.", "一", 0, 600}, {"Two.", "二", 800, 1400}});
        TakeMessage();
    }
    void TearDown() override
    {
        if (CSpeechFormView* speech = View())
            speech->ResetPractice();
        PlayingFrameTest::TearDown();
    }

    void EnterCategory(const char* name)
    {
        CMainRibbon* ribbon = frame->m_pRibbonBar;
        for (int i = 0; i < ribbon->GetCategoryCount(); ++i) {
            if (ribbon->GetCategoryName(i) == name)
                ribbon->SetActiveCategory(i);
        }
        ASSERT_EQ(ribbon->GetActiveCategoryName(), name);
        frame->OnChangeRibbonCategory();
    }
    CSpeechFormView* View() { return frame ? dynamic_cast<CSpeechFormView*>(frame->FindView(kViewSpeech)) : nullptr; }
    CString StatusText(int element) { return frame->m_wndStatusBar->FindElement(element)->GetText(); }
    bool Menu(int id)
    {
        wxCommandEvent command(wxEVT_MENU, id);
        return frame->GetEventHandler()->ProcessEvent(command);
    }

    SpeechStateGuard guard;
    testsupport::TempFolder feed;
    const std::string signal = TestSignal(44'100 * 6);
    CAlsaTestConfig alsa{CAlsaTestConfig::FileDevice(feed.write("voice.raw", signal), "/dev/null")};
};

} // namespace

// The practice text is built once per media file: coming back keeps it and
// the recordings; another media file rebuilds it and clears the old ones.
TEST_F(SpeechFrameTest, EnteringTheCategoryPreparesThePracticeOncePerMedia)
{
    EnterCategory("口语练习");
    CSpeechFormView* speech = View();
    ASSERT_NE(speech, nullptr);
    EXPECT_EQ(theApp.m_strActiveView, "CSpeechFormView");
    EXPECT_EQ(theApp.m_strMicrophoneReady, "true");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. One.\n2. Two.\n");
    ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "RIFF kept"));

    EnterCategory("主页");
    EXPECT_EQ(theApp.m_strSpeechMode, "");
    PutLesson({{"Other.", "别的", 0, 500}});
    EnterCategory("口语练习");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. One.\n2. Two.\n");
    EXPECT_TRUE(FileExists(theApp.m_strRecordWavPath));

    EnterCategory("主页");
    theApp.m_strSpeechPrepared.Empty();   // another media file was opened
    EnterCategory("口语练习");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. Other.\n");
    EXPECT_FALSE(FileExists(theApp.m_strRecordWavPath));

    // The look command recolours the practice text and counts it as done.
    const int before = theApp.m_nFontChangeCount;
    frame->ApplyLookColors(0);
    EXPECT_EQ(theApp.m_nFontCountSpeechView, before + 1);
    EXPECT_EQ(speech->m_editText->StyleGetBackground(0), wxColour(0x53, 0x53, 0x53));
}

// The learner's recordings belong to the media they were made with: the
// lesson played to its end opens again and keeps them, also when the
// category is entered while it opens (the practice view stays, with its
// commands, and gets the lesson); another media deletes them.
TEST_F(SpeechFrameTest, RecordingsStayWhileTheSameMediaOpensAgainAndGoWithAnother)
{
    // Lessons made on another system: lines end in "\r\n".
    program.write("talk.srt", "1\r\n00:00:00,000 --> 00:00:00,600\r\nOne.\r\n一。\r\n\r\n"
                              "2\r\n00:00:00,800 --> 00:00:01,400\r\nTwo.\r\n二。\r\n");
    testsupport::MakeClip(program.path() + "other.mp4", 3);
    program.write("other.srt", "1\r\n00:00:00,000 --> 00:00:00,600\r\nOther.\r\n别的。\r\n");
    const auto open = [&](const char* name) {
        theApp.m_arrPlayList.RemoveAll();
        theApp.m_arrPlayList.Add(program.ansi() + name);
        theApp.m_nPlayIndex = 0;
        frame->DispatchCommand("HalvikSoftPlayerPlayLocalFile:");
    };
    const auto loaded = [&] {
        return testsupport::RunLoopUntil(
            [&] { return !frame->IsTimerRunning(CMainFrame::kTimerLessonOpen) && theApp.m_strDocumentLoaded == "true"; },
            10s);
    };
    const auto commandEnabled = [&](int id) {
        wxUpdateUIEvent update(id);
        frame->GetEventHandler()->ProcessEvent(update);
        return update.GetEnabled();
    };
    const CString role = RolePlayRecordingPath(theApp.m_strRecordWavPath, 1);

    open("talk.mp4");
    ASSERT_TRUE(loaded());
    EnterCategory("口语练习");
    CSpeechFormView* speech = View();
    ASSERT_NE(speech, nullptr);
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. One.\n2. Two.\n");
    ASSERT_TRUE(WriteFileAtomically(theApp.m_strRecordWavPath, "RIFF free"));
    ASSERT_TRUE(WriteFileAtomically(role, "RIFF role"));

    // Played to its end, the lesson opens again.
    EnterCategory("主页");
    frame->PlayNext();
    ASSERT_TRUE(loaded());
    EnterCategory("口语练习");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. One.\n2. Two.\n");
    EXPECT_TRUE(FileExists(theApp.m_strRecordWavPath));
    EXPECT_TRUE(FileExists(role));

    // The category entered while the lesson opens again.
    EnterCategory("主页");
    frame->PlayNext();
    EnterCategory("口语练习");
    ASSERT_TRUE(loaded());
    testsupport::RunLoopFor(300ms);
    EXPECT_EQ(frame->GetActiveView(), speech);
    EXPECT_EQ(theApp.m_strActiveView, "CSpeechFormView");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. One.\n2. Two.\n");
    EXPECT_TRUE(commandEnabled(kCmdRecord));
    EXPECT_TRUE(commandEnabled(kCmdFollowRead));
    EXPECT_TRUE(commandEnabled(kCmdReplayRecording));
    EXPECT_TRUE(FileExists(theApp.m_strRecordWavPath));
    EXPECT_NE(Player().GetState(), CVlcPlayer::kStatePlaying) << "the practice has the player";
    ASSERT_TRUE(Menu(kCmdFollowReadManual));
    EXPECT_EQ(theApp.m_strSpeechMode, "sentencemanu");

    // Another media.
    EnterCategory("主页");
    open("other.mp4");
    ASSERT_TRUE(loaded());
    EnterCategory("口语练习");
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. Other.\n");
    EXPECT_FALSE(FileExists(theApp.m_strRecordWavPath));
    EXPECT_FALSE(FileExists(role));
}

// Without a microphone the view says only that practice needs one and
// nothing records; once one is plugged in, the next entry prepares the
// practice of the same media.
TEST_F(SpeechFrameTest, AMicrophonePluggedInLaterGetsThePracticeOfTheSameMedia)
{
    {
        CAlsaTestConfig none{CAlsaTestConfig::NoDevice()};
        EnterCategory("口语练习");
        EXPECT_EQ(TakeMessage(), "请接入话筒！");
        EXPECT_EQ(theApp.m_strMicrophoneReady, "");
        ASSERT_NE(View(), nullptr);
        EXPECT_EQ(View()->m_editText->GetText(), ToWx(CSpeechFormView::kNoMicrophoneText));
        EnterCategory("主页");
    }
    EnterCategory("口语练习");
    EXPECT_EQ(theApp.m_strMicrophoneReady, "true");
    EXPECT_EQ(FromWx(View()->m_editText->GetText()), "1. One.\n2. Two.\n");
}

// The dubbing run with the real engine: the video is followed sentence by
// sentence to its end, and finishing completes the recording, which then
// plays with the video.
TEST_F(SpeechFrameTest, RealTimeDubbingWithTheEngineLeavesACompleteRecording)
{
    EnterCategory("口语练习");
    CSpeechFormView* speech = View();
    ASSERT_NE(speech, nullptr);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(Menu(kCmdDubbing));
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceall");
    EXPECT_EQ(TakeMessage(), "");
    // The status bar shows the muted video playing, not the paused lesson.
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return StatusText(kStatusPlayStateElement) == "播放中"; }, 5s))
        << StatusText(kStatusPlayStateElement);
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return speech->m_practice.m_nPracticeIndex == speech->m_practice.m_nPracticeCount; }, 15s))
        << "sentence " << speech->m_practice.m_nPracticeIndex << " at " << Player().GetTime() << " ms";
    EXPECT_NE(StatusText(kStatusTimeElement), theApp.m_strTimeText) << "the video's time, not the lesson's";
    // The recording runs on; the learner is told how to end it.
    const CString told = TakeMessage();
    EXPECT_TRUE(told == CSpeechPractice::kDubLastSentenceMessage || told == CSpeechPractice::kDubVideoEndedMessage)
        << told;
    ASSERT_TRUE(Menu(kCmdDubbingEnd));
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    // Measured around both commands: a little more than was recorded.
    ExpectCompleteRecording(ReadBytes(ToFsPath(theApp.m_strRecordWavPath)), signal, ms, 400, 110);
    EXPECT_EQ(ReadBytes(ToFsPath(theApp.m_strTmpRecordWavPath)), ReadBytes(ToFsPath(theApp.m_strRecordWavPath)));

    // Playback: the video with the recording, paused after the last sentence.
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return !speech->m_timers.IsRunning(CSpeechPractice::kTimerDubPlayback); }, 15s));
    EXPECT_EQ(theApp.m_strSpeechMode, "sentenceallfinish");
    EXPECT_EQ(speech->m_practice.m_nPracticeIndex, speech->m_practice.m_nPracticeCount) << "every sentence was followed";
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return Player().GetState() == CVlcPlayer::kStatePaused; }, 5s))
        << Player().GetState();
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return StatusText(kStatusPlayStateElement) == "暂停"; }, 2s));

    // Leaving the category puts both players on the blank file, releasing
    // the recording.
    EnterCategory("主页");
    EXPECT_EQ(theApp.m_pStreamDlg->m_player->GetState(), CVlcPlayer::kStateStopped);
}

// The engine drops a volume given while its audio output is stopped or
// starting; the practice's player gives it again until it holds, so a clip
// after a muted run is heard.
TEST(VlcPracticePlayerTest, RealTimeVolumeGivenBeforeTheSoundStartsIsKept)
{
    if (std::system("command -v ffmpeg > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffmpeg is needed to make the media";
    testsupport::TempFolder folder;
    testsupport::MakeClip(folder.path() + "clip.mp4", 3);
    // An audio output that reports the volume it applied (ALSA's null device).
    CVlcPlayer engine({"--vout=dummy", "--aout=alsa", "--alsa-audio-device=null"});
    CVlcPracticePlayer player([&] { return &engine; });
    const CString clip = folder.ansi() + "clip.mp4";
    const auto playingAt = [&](int volume) {
        return testsupport::RunLoopUntil(
            [&] { return engine.GetState() == CVlcPlayer::kStatePlaying && engine.GetVolume() == volume; }, 10s);
    };

    ASSERT_TRUE(player.Open(clip));
    player.PlayFrom(0);
    player.SetVolume(0);
    ASSERT_TRUE(playingAt(0)) << engine.GetVolume();

    player.Stop();
    player.SetVolume(80);   // stopped: the engine cannot take it now
    ASSERT_TRUE(player.Open(clip));
    player.PlayFrom(500);
    EXPECT_TRUE(playingAt(80)) << engine.GetVolume();
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return !player.IsSettingVolume(); }, 2s));
    engine.Stop();
}
