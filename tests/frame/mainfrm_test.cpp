// The main window under Xvfb: its parts after creation, the caption-bar
// messages driven tick by tick, the central view that follows the ribbon,
// command routing and the settings written at close.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/aui/aui.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/stc/stc.h>

#include "catalogue/playlistpane.h"
#include "lesson/quenlowview.h"
#include "lesson/speechformview.h"
#include "online/playfrompanpane.h"
#include "online/panhtmlview.h"
#include "online/updateformview.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "core/commandids.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/mycaptionbar.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/ribbonstatusbar.h"
#include "ui/showchndlg.h"
#include "ui/showmsgdlg.h"
#include "tests/appstateguard.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/minihtmldlg.h"
#include "vocabulary/wordonlineview.h"

namespace {

using namespace std::chrono_literals;
using testsupport::DrainEvents;

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override { frame = MakeFrame(); }
    void TearDown() override { CloseFrame(); }

    CMainFrame* MakeFrame()
    {
        document.OnNewDocument();
        auto* f = new CMainFrame(program.ansi());
        EXPECT_TRUE(f->Create(&document));
        f->Show();
        return f;
    }

    void CloseFrame()
    {
        if (!frame)
            return;
        frame->Close(true);
        DrainEvents();
        frame = nullptr;
        testsupport::DestroyApplicationWindows();
    }

    bool CaptionShown() { return frame->IsCaptionBarShown(); }

    void SelectCategory(int index)
    {
        frame->m_pRibbonBar->SetActiveCategory(index);
        frame->OnChangeRibbonCategory();
    }

    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;
};

TEST_F(MainFrameTest, StartsWithRibbonPanesCaptionAndStatusBar)
{
    CMainRibbon* ribbon = frame->m_pRibbonBar;
    std::vector<CString> visible;
    for (int i = 0; i < ribbon->GetCategoryCount(); ++i) {
        if (ribbon->IsCategoryVisible(i))
            visible.push_back(ribbon->GetCategoryName(i));
    }
    EXPECT_EQ(visible, (std::vector<CString>{"主页", "播放列表", "口语练习", "配置"}));
    EXPECT_EQ(ribbon->GetCategoryName(2), "词汇管理");

    struct Text {
        int id;
        const char* text;
    };
    for (const Text& t : {Text{kStatusPlayStateElement, "未载入文件"}, Text{kStatusTimeElement, "000:00/000:00"},
                          Text{kStatusSentenceElement, "第0000句/共0000句"},
                          Text{kStatusDownloadElement, "速度:0000 KB/s  进度:0000%"}}) {
        ASSERT_NE(frame->m_wndStatusBar->FindElement(t.id), nullptr) << t.id;
        EXPECT_EQ(frame->m_wndStatusBar->FindElement(t.id)->GetText(), t.text) << t.id;
    }
    EXPECT_EQ(frame->m_pVolumeSlider->GetPos(), 75);
    EXPECT_EQ(frame->m_pProgressSlider->GetPos(), 0);

    // Every pane and the caption bar start hidden; the lesson view is central.
    for (CDockablePane* pane : {static_cast<CDockablePane*>(frame->m_wndPlayListPane),
                                static_cast<CDockablePane*>(frame->m_wndDetailWordPane),
                                static_cast<CDockablePane*>(frame->m_wndPlayFromPanPane),
                                static_cast<CDockablePane*>(frame->m_wndPlayerPane)})
        EXPECT_FALSE(frame->IsPaneVisible(pane)) << pane->GetCaption().GetString();
    EXPECT_FALSE(CaptionShown());
    EXPECT_NE(dynamic_cast<CQuenlowView*>(frame->GetActiveView()), nullptr);
    EXPECT_EQ(theApp.m_strActiveView, "CQuenlowView");

    // Start-up paths and the hidden auxiliary windows.
    EXPECT_EQ(theApp.m_strAppDir, program.ansi());
    EXPECT_TRUE(IsFolder(program.ansi() + "AppData/Temp/Script"));
    ASSERT_NE(theApp.m_pStreamDlg, nullptr);
    EXPECT_FALSE(theApp.m_pStreamDlg->IsShown());
    EXPECT_EQ(theApp.m_strMsgDlgCreated, "true");

    // One second later the playlist pane comes up with the stored volume.
    theApp.m_nVolume = 40;
    frame->OnTimer(CMainFrame::kTimerDelayedStartup);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayListPane));
    EXPECT_EQ(frame->m_pVolumeSlider->GetPos(), 40);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerDelayedStartup));
}

TEST_F(MainFrameTest, CaptionBarShowsEachKindAndHidesWhenItsTimeIsUp)
{
    struct Case {
        const char* kind;
        COLORREF back;
    };
    for (const Case& c : {Case{"error", 0x0000FF}, Case{"warning", 0x1299FF}, Case{"msg", 0x007700},
                          Case{"Error", 0x007700}}) {
        SCOPED_TRACE(c.kind);
        theApp.ShowMessage("保存成功！", c.kind, 2000);
        frame->OnTimer(CMainFrame::kTimerMessageSlot);
        EXPECT_TRUE(CaptionShown());
        EXPECT_EQ(frame->m_wndCaptionBar->GetBackColor(), c.back);
        EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "保存成功！");
        EXPECT_TRUE(theApp.m_strMessageText.IsEmpty());

        // A two-second message stays two whole ticks.
        frame->OnTimer(CMainFrame::kTimerCaptionCountdown);   // 2 -> 1
        EXPECT_TRUE(CaptionShown());
        frame->OnTimer(CMainFrame::kTimerCaptionCountdown);   // 1 -> 0
        EXPECT_TRUE(CaptionShown());
        frame->OnTimer(CMainFrame::kTimerCaptionCountdown);   // at 0: hidden
        EXPECT_FALSE(CaptionShown());
    }
}

// The subtitle files of a new lesson are written without an offset, and the
// ribbon's offset box says so instead of showing the previous lesson's.
TEST_F(MainFrameTest, NewLessonSubtitlesStartWithTheOffsetBoxAtZero)
{
    theApp.m_strTimeOffsetMedia = "earlier.mp4";
    theApp.m_nTimeOffset = 400;
    frame->m_pRibbonBar->SetEditText(kCmdOffsetEdit, "-400");
    frame->OnTimer(CMainFrame::kTimerAssFiles);
    EXPECT_EQ(theApp.m_nTimeOffset, 0);
    EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), "0");
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerSubtitleToPlayer));
}

// The Chinese caption strip belongs to the lesson pane: after the window is
// moved and resized it still lies inside the pane along its bottom, above
// the status bar; it goes when the pane gives way to another view and comes
// back with it.
TEST_F(MainFrameTest, ChineseCaptionStaysInsideTheLessonPane)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strShowChinese, &CQuenlowApp::m_arrChineseText,
                                     &CQuenlowApp::m_arrForeignText, &CQuenlowApp::m_nCurrentSentence);
    auto* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
    ASSERT_NE(lesson, nullptr);
    theApp.m_arrForeignText.RemoveAll();
    theApp.m_arrChineseText.RemoveAll();
    theApp.m_arrForeignText.Add("The first sentence.\n");
    theApp.m_arrChineseText.Add("第一句中文字幕\n");
    theApp.m_strShowChinese = "true";
    frame->Maximize(false);
    frame->SetSize(0, 0, 1000, 650);
    DrainEvents();
    lesson->ShowCaptionFor(0);
    ASSERT_NE(lesson->m_pShowChnDlg, nullptr);
    ASSERT_TRUE(lesson->m_pShowChnDlg->IsShownOnScreen());

    const auto expectInsideTheLessonPane = [&](const char* after) {
        SCOPED_TRACE(after);
        const wxRect pane = lesson->GetScreenRect();
        const wxRect strip = lesson->m_pShowChnDlg->GetScreenRect();
        EXPECT_TRUE(pane.Contains(strip)) << "strip " << strip.x << "," << strip.y << " " << strip.width << "x"
                                          << strip.height << " pane " << pane.x << "," << pane.y << " "
                                          << pane.width << "x" << pane.height;
        EXPECT_EQ(strip.GetBottom(), pane.GetBottom());
        EXPECT_EQ(strip.width, pane.width);
        EXPECT_LE(lesson->m_richText->GetScreenRect().GetBottom(), strip.y - 1);
        EXPECT_LE(strip.GetBottom(), frame->m_wndStatusBar->GetScreenRect().y - 1);
        EXPECT_GE(strip.height, lesson->m_pShowChnDlg->HeightFor(strip.width));
    };
    expectInsideTheLessonPane("shown");
    frame->Move(120, 90);
    DrainEvents();
    expectInsideTheLessonPane("moved");
    frame->SetSize(60, 40, 760, 520);
    DrainEvents();
    expectInsideTheLessonPane("resized smaller");
    frame->SetSize(0, 0, 1200, 760);
    DrainEvents();
    expectInsideTheLessonPane("resized larger");

    // The help page in place of the lesson takes the strip along; back to
    // the lesson, it is there again.
    SelectCategory(4);
    DrainEvents();
    EXPECT_FALSE(lesson->m_pShowChnDlg->IsShownOnScreen());
    SelectCategory(0);
    DrainEvents();
    lesson->ShowCaptionFor(0);
    EXPECT_TRUE(lesson->m_pShowChnDlg->IsShownOnScreen());
    expectInsideTheLessonPane("back to the lesson");
}

// In a narrow window the ribbon's panels never overlap (those without room
// collapse to their names), and beside a lesson the player pane takes at most
// half of the window, so the lesson text stays in sight.
TEST_F(MainFrameTest, NarrowWindowsKeepRibbonAndLessonTextUsable)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strScriptPath, &CQuenlowApp::m_bScriptLoaded);
    theApp.m_strScriptPath = program.ansi() + "talk.script";
    theApp.m_bScriptLoaded = 1;
    frame->Maximize(false);
    for (const int width : {1280, 900, 640}) {
        SCOPED_TRACE(width);
        frame->SetSize(0, 0, width, 600);
        DrainEvents();
        frame->OnStatusbarProgressPane();
        frame->SetSize(0, 0, width, 601);   // a resize after the pane is up
        DrainEvents();

        const int client = frame->GetClientSize().x;
        EXPECT_LE(frame->m_wndPlayerPane->GetSize().x, client / 2 + 8);
        CQuenlowView* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
        ASSERT_NE(lesson, nullptr);
        EXPECT_GE(lesson->GetSize().x, client / 2 - 16) << "the lesson text is hidden";

        // The dictionary beside them leaves the lesson text half of the rest.
        frame->OnOpendict();
        DrainEvents();
        EXPECT_GT(frame->m_wndDetailWordPane->GetSize().x, client / 4 - 16);
        EXPECT_GE(lesson->GetSize().x, client / 4 - 16) << "the dictionary hides the lesson text";
        frame->ShowPane(frame->m_wndDetailWordPane, false);

        wxRibbonPage* page = frame->m_pRibbonBar->GetRibbonBar()->GetPage(0);
        ASSERT_NE(page, nullptr);
        int previousRight = -1;
        for (wxWindowList::compatibility_iterator node = page->GetChildren().GetFirst(); node;
             node = node->GetNext()) {
            auto* panel = dynamic_cast<wxRibbonPanel*>(node->GetData());
            if (panel == nullptr || !panel->IsShown())
                continue;
            const wxRect rect = panel->GetRect();
            EXPECT_GE(rect.x, previousRight) << "panels overlap";
            EXPECT_LE(rect.GetRight(), page->GetClientSize().x) << "a panel runs past the ribbon";
            previousRight = rect.GetRight();
        }
    }
}

// 词典窗口 shows the dictionary from every arrangement of the panes: the
// panes already up give it room (the play list before a lesson and the
// player of a media without a lesson, as after download-and-play, span the
// whole window), and every pane stays inside the window, with the close
// button at the right end of its caption in sight.
TEST_F(MainFrameTest, DictionaryOpensFromEveryPaneArrangement)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strScriptPath, &CQuenlowApp::m_bScriptLoaded);
    frame->Maximize(false);
    frame->SetSize(0, 0, 1000, 600);
    DrainEvents();
    const auto lesson = [&](bool loaded) {
        theApp.m_strScriptPath = loaded ? program.ansi() + "talk.script" : theApp.m_strBlankScriptPath;
        theApp.m_bScriptLoaded = loaded ? 1 : 0;
    };
    const auto floatPane = [&](CDockablePane* pane) {
        frame->GetPaneManager().GetPane(pane).Float().FloatingPosition(50, 50).FloatingSize(300, 300).Show();
        frame->GetPaneManager().Update();
    };
    struct Arrangement {
        const char* what;
        std::function<void()> make;
    };
    const Arrangement arrangements[] = {
        {"no pane", [&] {}},
        {"play list across the window", [&] { frame->ShowPlayListPane(); }},
        {"player of a media without a lesson across the window",
         [&] {
             lesson(false);
             frame->OnStatusbarProgressPane();
         }},
        {"player beside a lesson",
         [&] {
             lesson(true);
             frame->OnStatusbarProgressPane();
         }},
        {"player, then the play list over it",
         [&] {
             lesson(false);
             frame->OnStatusbarProgressPane();
             frame->ShowPane(frame->m_wndPlayListPane, true);
         }},
        {"cloud-disk browser across the window",
         [&] {
             frame->ShowPane(frame->m_wndPlayFromPanPane, true);
             frame->SetPlayFromPanPaneSize(theApp.m_nScreenWidth);
         }},
        {"dictionary left floating", [&] { floatPane(frame->m_wndDetailWordPane); }},
    };
    for (const Arrangement& a : arrangements) {
        SCOPED_TRACE(a.what);
        for (CDockablePane* pane : {static_cast<CDockablePane*>(frame->m_wndDetailWordPane),
                                    static_cast<CDockablePane*>(frame->m_wndPlayerPane),
                                    static_cast<CDockablePane*>(frame->m_wndPlayListPane),
                                    static_cast<CDockablePane*>(frame->m_wndPlayFromPanPane)})
            frame->ShowPane(pane, false);
        lesson(false);
        a.make();
        DrainEvents();
        const wxRect client(wxPoint(0, 0), frame->m_wndPlayerPane->GetParent()->GetClientSize());
        const auto panesInside = [&](const char* when) {
            for (CDockablePane* pane : {static_cast<CDockablePane*>(frame->m_wndDetailWordPane),
                                        static_cast<CDockablePane*>(frame->m_wndPlayerPane),
                                        static_cast<CDockablePane*>(frame->m_wndPlayListPane),
                                        static_cast<CDockablePane*>(frame->m_wndPlayFromPanPane)}) {
                if (!frame->IsPaneVisible(pane) || frame->GetPaneManager().GetPane(pane).IsFloating())
                    continue;
                const wxRect rect = pane->GetRect();
                EXPECT_TRUE(client.Contains(rect))
                    << when << ": " << pane->GetCaption().GetString() << " lies at " << rect.x << "," << rect.y << " "
                    << rect.width << "x" << rect.height << " in " << client.width << "x" << client.height;
            }
        };
        panesInside("before");
        frame->OnOpendict();
        DrainEvents();
        ASSERT_TRUE(frame->IsPaneVisible(frame->m_wndDetailWordPane));
        EXPECT_FALSE(frame->GetPaneManager().GetPane(frame->m_wndDetailWordPane).IsFloating());
        panesInside("with the dictionary");
        EXPECT_GE(frame->m_wndDetailWordPane->GetSize().x, client.width / 4 - 16);
    }
}

// A data folder that cannot be made does not stop the start; the caption
// bar names it.
TEST_F(MainFrameTest, DataFolderThatCannotBeMadeIsShownAtStart)
{
    CloseFrame();
    std::filesystem::remove_all(program.path() + "Playlist");
    program.write("Playlist", "a file in the way");
    theApp.m_strMessageText.Empty();
    frame = MakeFrame();
    frame->OnTimer(CMainFrame::kTimerMessageSlot);
    EXPECT_TRUE(CaptionShown());
    EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "无法创建数据文件夹：Playlist");
    EXPECT_EQ(frame->m_wndCaptionBar->GetBackColor(), 0x0000FFu);
}

TEST_F(MainFrameTest, CaptionBarKeepsOnlyTheLatestMessageAndSkipsShortOnes)
{
    theApp.ShowMessage("第一条", "error", 5000);
    theApp.ShowMessage("第二条", "msg", 5000);
    frame->OnTimer(CMainFrame::kTimerSecondWork);
    EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "第二条");

    // A one-character text is never shown and stays in the slot.
    frame->m_wndCaptionBar->SetText("");
    theApp.SetMessage(kMessageError, "x", 5);
    frame->OnTimer(CMainFrame::kTimerMessageSlot);
    EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "");
    EXPECT_EQ(theApp.m_strMessageText, "x");

}

// Messages given while the video is full screen are not lost: the latest
// one shows once the video is back, for its whole time, and only once.
TEST_F(MainFrameTest, MessageDuringFullScreenShowsWhenTheVideoReturns)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_bVideoFullScreen);
    theApp.m_bVideoFullScreen = 1;
    theApp.ShowMessage("较早的消息", "msg", 3000);
    frame->OnTimer(CMainFrame::kTimerMessageSlot);
    frame->ShowCaptionMessage(1, "播放文件不存在！", 4);
    frame->OnTimer(CMainFrame::kTimerMessageSlot);
    EXPECT_FALSE(CaptionShown());
    EXPECT_TRUE(theApp.m_strMessageText.IsEmpty());

    theApp.m_bVideoFullScreen = 0;
    frame->OnTimer(CMainFrame::kTimerMessageSlot);
    EXPECT_TRUE(CaptionShown());
    EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "播放文件不存在！");
    EXPECT_EQ(frame->m_wndCaptionBar->GetBackColor(), theApp.m_clrMsgErrorBack);
    EXPECT_EQ(theApp.m_nCaptionCountdown, 4);

    // Shown once: after its time the bar stays hidden.
    for (int i = 0; i < 5; ++i) {
        frame->OnTimer(CMainFrame::kTimerCaptionCountdown);
        frame->OnTimer(CMainFrame::kTimerMessageSlot);
    }
    EXPECT_FALSE(CaptionShown());
}

// A message in the caption bar leaves every pane and the view where they
// were, while it shows and after it has gone.
TEST_F(MainFrameTest, CaptionMessageNeverMovesThePanes)
{
    frame->OnTimer(CMainFrame::kTimerDelayedStartup);
    frame->ShowPane(frame->m_wndPlayerPane, true);
    DrainEvents();
    const auto places = [&] {
        return std::vector<wxRect>{frame->m_wndPlayListPane->GetScreenRect(), frame->m_wndPlayerPane->GetScreenRect(),
                                   frame->GetActiveView()->GetScreenRect(), frame->m_wndStatusBar->GetScreenRect()};
    };
    const std::vector<wxRect> before = places();
    ASSERT_GT(before[1].height, 0);

    frame->ShowCaptionMessage(3, "保存成功！", 1);
    DrainEvents();
    EXPECT_TRUE(CaptionShown());
    EXPECT_EQ(places(), before);
    // The bar lies between the panes and the status bar, on none of them.
    const wxRect bar = frame->m_wndCaptionBar->GetScreenRect();
    EXPECT_GT(bar.height, 0);
    for (const wxRect& place : before)
        EXPECT_FALSE(place.Intersects(bar));

    for (int i = 0; i < 2; ++i)
        frame->OnTimer(CMainFrame::kTimerCaptionCountdown);
    DrainEvents();
    EXPECT_FALSE(CaptionShown());
    EXPECT_EQ(places(), before);
}

// Out of maximised the window takes a usable size: four fifths of the work
// area, centred, until it has had a size of its own, then that one; never
// the few pixels a window manager gives a window that started maximised.
TEST_F(MainFrameTest, RestoringFromMaximisedGivesAUsableSize)
{
    const struct {
        wxRect area;
        wxRect restored;
    } rows[] = {
        {{0, 0, 1280, 800}, {128, 80, 1024, 640}},
        {{0, 24, 1920, 1056}, {192, 130, 1536, 844}},
        {{1280, 0, 1024, 768}, {1382, 77, 819, 614}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CMainFrame::RestoredRect(row.area), row.restored) << row.area.width;
    EXPECT_EQ(frame->GetMinSize(), wxSize(theApp.m_nScreenWidth / 4, theApp.m_nScreenHeight / 4));

    const auto sizeSettles = [&](const wxRect& rect) {
        return testsupport::RunLoopUntil([&] { return frame->GetRect() == rect; }, 2s);
    };
    // Stands in for a window manager: maximises to the work area, and
    // restores a window that started maximised to a few pixels.
    bool maximized = false;
    frame->m_fnIsMaximized = [&] { return maximized; };
    const wxRect area = wxDisplay(0u).GetClientArea();
    const auto maximise = [&] {
        maximized = true;
        frame->SetSize(area);
        testsupport::RunLoopFor(100ms);
    };
    const auto restoreToAFewPixels = [&] {
        maximized = false;
        frame->SetSize(641, 428, 2, 1);
    };
    maximise();
    restoreToAFewPixels();
    EXPECT_TRUE(sizeSettles(CMainFrame::RestoredRect(area))) << frame->GetRect().width << "x" << frame->GetRect().height;

    // The learner's own size is the one to come back to.
    const wxRect own(100, 60, 900, 600);
    frame->SetSize(own);
    ASSERT_TRUE(sizeSettles(own));
    testsupport::RunLoopFor(100ms);
    maximise();
    restoreToAFewPixels();
    EXPECT_TRUE(sizeSettles(own)) << frame->GetRect().width << "x" << frame->GetRect().height;
}

TEST_F(MainFrameTest, CentralViewFollowsTheCategoryAndIsCreatedOnce)
{
    CView* lesson = frame->GetActiveView();

    // Speech practice needs a real lesson with its text loaded.
    SelectCategory(3);
    EXPECT_EQ(frame->GetActiveView(), lesson);
    EXPECT_EQ(theApp.m_nRibbonCategory, 3);

    theApp.m_bScriptLoaded = 1;
    theApp.m_strScriptPath = program.ansi() + "lesson.script";
    theApp.m_strSubtitleLoaded = "true";
    SelectCategory(3);
    CView* speech = frame->GetActiveView();
    EXPECT_NE(dynamic_cast<CSpeechFormView*>(speech), nullptr);
    EXPECT_EQ(theApp.m_strActiveView, "CSpeechFormView");
    // Prepared only when a microphone was found (none on a test machine
    // without a sound card).
    EXPECT_EQ(theApp.m_strSpeechPrepared == "true", theApp.m_strMicrophoneReady == "true");

    SelectCategory(4);
    CView* help = frame->GetActiveView();
    EXPECT_NE(dynamic_cast<CUpdateFormView*>(help), nullptr);
    EXPECT_EQ(theApp.m_strHelpPagePrepared, "true");

    SelectCategory(1);
    EXPECT_EQ(frame->GetActiveView(), lesson);
    EXPECT_TRUE(lesson->IsShown());
    EXPECT_FALSE(help->IsShown());
    EXPECT_EQ(theApp.m_nRibbonCategory, 1);

    SelectCategory(4);
    EXPECT_EQ(frame->GetActiveView(), help);
    SelectCategory(3);
    EXPECT_EQ(frame->GetActiveView(), speech);
    SelectCategory(0);
    EXPECT_EQ(frame->GetActiveView(), lesson);

    theApp.m_bScriptLoaded = 0;
    theApp.m_strScriptPath.Empty();
    theApp.m_strSubtitleLoaded.Empty();
}

// Without a microphone speech practice says on its page what it needs, with
// every mode disabled; plugged in, the next entry shows the practice text.
TEST_F(MainFrameTest, SpeechPracticeWithoutMicrophoneSaysItNeedsOne)
{
    testsupport::AppStateGuard state(&CQuenlowApp::m_bScriptLoaded, &CQuenlowApp::m_strScriptPath,
                                     &CQuenlowApp::m_strSubtitleLoaded, &CQuenlowApp::m_strSpeechPrepared,
                                     &CQuenlowApp::m_strMicrophoneReady, &CQuenlowApp::m_strActiveView);
    theApp.ClearSentenceModel();
    theApp.EnsureSentenceCapacity(1);
    theApp.m_arrSentenceTiming[0].endtime = 1000;
    theApp.m_arrForeignText.Add("Good morning.");
    theApp.m_arrChineseText.Add("早上好。");
    theApp.m_nSentenceCount = 1;
    theApp.m_bScriptLoaded = 1;
    theApp.m_strScriptPath = program.ansi() + "lesson.script";
    theApp.m_strSubtitleLoaded = "true";
    // A practice prepared earlier with a microphone.
    theApp.m_strSpeechPrepared = "true";
    {
        testsupport::CAlsaTestConfig none(testsupport::CAlsaTestConfig::NoDevice());
        SelectCategory(3);
    }
    auto* speech = dynamic_cast<CSpeechFormView*>(frame->GetActiveView());
    ASSERT_NE(speech, nullptr);
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), CString(CSpeechFormView::kNoMicrophoneText));
    for (int id : {kCmdFollowRead, kCmdRolePlay, kCmdDubbing, kCmdRecord}) {
        wxUpdateUIEvent update(id);
        speech->ProcessWindowEvent(update);
        EXPECT_FALSE(update.GetEnabled()) << id;
    }

    SelectCategory(0);
    {
        testsupport::TempFolder sound;
        const std::string input = sound.write("in.raw", std::string(64000, '\0'));
        testsupport::CAlsaTestConfig microphone(
            testsupport::CAlsaTestConfig::FileDevice(input, sound.path() + "out.raw"));
        SelectCategory(3);
    }
    EXPECT_EQ(FromWx(speech->m_editText->GetText()), "1. Good morning.\n");
    speech->ResetPractice();
    theApp.ClearSentenceModel();
}

TEST_F(MainFrameTest, CategoryChangeIsRefusedWhileTheDictionaryPageHasFocus)
{
    frame->ShowPane(frame->m_wndDetailWordPane, true);
    frame->m_wndDetailWordPane->m_pWordView->SetFocus();
    DrainEvents();
    if (!frame->m_wndDetailWordPane->m_pWordView->HasFocusWithin())
        GTEST_SKIP() << "the X server gives no keyboard focus here";

    SelectCategory(4);
    EXPECT_NE(dynamic_cast<CQuenlowView*>(frame->GetActiveView()), nullptr);
    int kind = 0, seconds = 0;
    CString text;
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "  工具栏没有被激活。请点击中间的主窗口激活。");
    EXPECT_EQ(kind, 1);

    // Focus in the cloud-disk page is no reason to refuse, and does no harm.
    frame->ShowPane(frame->m_wndPlayFromPanPane, true);
    frame->m_wndPlayFromPanPane->SetFocus();
    SelectCategory(4);
    EXPECT_NE(dynamic_cast<CUpdateFormView*>(frame->GetActiveView()), nullptr);
}

TEST_F(MainFrameTest, CommandsReachTheCentralViewFirstAndUnhandledOnesAreDisabled)
{
    const auto updateOf = [this](int id) {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(event);
        return event;
    };

    // Frame-owned: the look in force is checked; the player command is usable.
    theApp.m_nAppLook = 216;
    EXPECT_TRUE(updateOf(216).GetChecked());
    EXPECT_FALSE(updateOf(205).GetChecked());
    EXPECT_FALSE(updateOf(kCmdPlayerPane).GetSetEnabled() && !updateOf(kCmdPlayerPane).GetEnabled());

    // A view-owned command is usable only while its view is central.
    const int recordCommand = kCmdRecord;
    EXPECT_TRUE(updateOf(recordCommand).GetSetEnabled());
    EXPECT_FALSE(updateOf(recordCommand).GetEnabled());

    CView* lesson = frame->GetActiveView();
    int commands = 0;
    lesson->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, recordCommand);
    lesson->Bind(wxEVT_MENU, [&](wxCommandEvent&) { ++commands; }, recordCommand);
    EXPECT_TRUE(updateOf(recordCommand).GetEnabled());
    wxCommandEvent command(wxEVT_MENU, recordCommand);
    frame->GetEventHandler()->ProcessEvent(command);
    EXPECT_EQ(commands, 1);

    SelectCategory(4);
    EXPECT_FALSE(updateOf(recordCommand).GetEnabled());
    frame->GetEventHandler()->ProcessEvent(command);
    EXPECT_EQ(commands, 1);
}

TEST_F(MainFrameTest, LookCommandKeepsTheLessonColoursAndIsStored)
{
    theApp.m_clrText = 0x123456;
    theApp.m_clrBackground = 0x654321;
    wxCommandEvent look(wxEVT_MENU, 215);
    frame->GetEventHandler()->ProcessEvent(look);
    EXPECT_EQ(theApp.m_nAppLook, 215u);
    EXPECT_EQ(theApp.m_clrText, 0xF0FBFFu);
    EXPECT_EQ(theApp.m_clrBackground, 0x535353u);

    // 211 to 214 change neither the colours nor the style.
    theApp.m_clrText = 0x123456;
    wxCommandEvent keep(wxEVT_MENU, 212);
    frame->GetEventHandler()->ProcessEvent(keep);
    EXPECT_EQ(theApp.m_clrText, 0x123456u);

    // The next frame starts in the stored look.
    CloseFrame();
    theApp.m_nAppLook = 0;
    frame = MakeFrame();
    EXPECT_EQ(theApp.m_nAppLook, 212u);
}

// What the learner set comes back at the next start, in the application
// object, in the lesson text and on the ribbon: the face and size combos and
// the colour buttons show the stored values before the text is touched, and
// the effects are as they were left.
TEST_F(MainFrameTest, SettingsWrittenAtCloseAreReadAtTheNextStart)
{
    testsupport::AppStateGuard kept;
    kept.Keep(&CQuenlowApp::m_strTextBold).Keep(&CQuenlowApp::m_strTextItalic).Keep(&CQuenlowApp::m_strTextUnderline);
    kept.Keep(&CQuenlowApp::m_nTextMargin);
    theApp.m_strFontName = "微软雅黑";
    theApp.m_nFontSize = 22;
    theApp.m_clrText = 0x00FF00;
    theApp.m_clrBackground = 0x202020;
    theApp.m_nVolume = 35;
    theApp.m_strTextBold = "";
    theApp.m_strTextItalic = "true";
    theApp.m_strTextUnderline = "true";
    // 增加 twice on the lesson text (which starts with a margin of its own).
    int margin = 0;
    {
        auto* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
        ASSERT_NE(lesson, nullptr);
        margin = lesson->m_richText->GetMarginLeft() + 2 * CQuenlowView::kMarginStep;
        wxCommandEvent increase(wxEVT_MENU, kCmdIncreaseMargin);
        lesson->GetEventHandler()->ProcessEvent(increase);
        lesson->GetEventHandler()->ProcessEvent(increase);
        EXPECT_EQ(theApp.m_nTextMargin, margin);
    }
    CloseFrame();
    EXPECT_TRUE(IsRegularFile(program.ansi() + "AppData/UserData/UI.data"));

    theApp.m_strFontName.Empty();
    theApp.m_nFontSize = 0;
    theApp.m_nVolume = 0;
    theApp.m_strTextBold = "true";
    theApp.m_strTextItalic = "";
    theApp.m_strTextUnderline = "";
    theApp.m_nTextMargin = 0;
    frame = MakeFrame();
    DrainEvents();
    EXPECT_EQ(theApp.m_strFontName, "微软雅黑");
    EXPECT_EQ(theApp.m_nFontSize, 22);
    EXPECT_EQ(theApp.m_clrText, 0x00FF00u);
    EXPECT_EQ(theApp.m_clrBackground, 0x202020u);
    EXPECT_EQ(theApp.m_nVolume, 35);

    CMainRibbon& ribbon = *frame->m_pRibbonBar;
    EXPECT_EQ(ribbon.GetComboText(kCmdFontName), "微软雅黑");
    EXPECT_EQ(ribbon.GetComboText(kCmdFontSize), "22");
    EXPECT_EQ(ribbon.GetColorButtonColor(kCmdFontColor), 0x00FF00u);
    EXPECT_EQ(ribbon.GetColorButtonColor(kCmdBackColor), 0x202020u);

    auto* lesson = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
    ASSERT_NE(lesson, nullptr);
    ASSERT_NE(lesson->m_richText, nullptr);
    EXPECT_FALSE(lesson->m_richText->StyleGetBold(0));
    EXPECT_TRUE(lesson->m_richText->StyleGetItalic(0));
    EXPECT_TRUE(lesson->m_richText->StyleGetUnderline(0));
    EXPECT_EQ(lesson->m_richText->GetMarginLeft(), margin);
    EXPECT_EQ(lesson->m_richText->GetMarginRight(), margin);
    // A reload of the lesson (a player reset, a loop) formats the text anew
    // with the same effects.
    lesson->ApplyTextFormat();
    EXPECT_FALSE(lesson->m_richText->StyleGetBold(0));
    EXPECT_TRUE(lesson->m_richText->StyleGetItalic(0));

    // Pressing a colour button gives the colour it shows.
    wxCommandEvent press(wxEVT_MENU, kCmdFontColor);
    lesson->GetEventHandler()->ProcessEvent(press);
    EXPECT_EQ(theApp.m_clrText, 0x00FF00u);
}

TEST_F(MainFrameTest, PlayerPaneTakesHalfTheScreenBesideARealLesson)
{
    theApp.m_bScriptLoaded = 1;
    theApp.m_strScriptPath = program.ansi() + "lesson.script";
    frame->OnStatusbarProgressPane();
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayerPane));
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndPlayListPane));
    const int width = frame->GetPaneManager().GetPaneDockSize(frame->m_wndPlayerPane);
    EXPECT_NEAR(width, theApp.m_nScreenWidth / 2, 8);
    theApp.m_bScriptLoaded = 0;
    theApp.m_strScriptPath.Empty();
}

} // namespace
