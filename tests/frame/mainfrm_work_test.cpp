// The main frame's own work in a real frame over a temporary program folder:
// the update rules and actions of its commands, the mailboxes, the local
// media tree, the playback keys, dropped files, the delayed start-up and the
// manual update check against a loopback server.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include <wx/stc/stc.h>
#include <wx/app.h>
#include <wx/ribbon/bar.h>
#include <wx/combobox.h>
#include <wx/textctrl.h>

#include "catalogue/core/talkdownload.h"
#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "core/commandids.h"
#include "core/droppedfiles.h"
#include "lesson/quenlowview.h"
#include "online/playfrompanpane.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "ui/messagebox.h"
#include "ui/panetoolbar.h"
#include "ui/mycaptionbar.h"
#include "ui/searchdlg.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/purewmpdialog.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "frame/ribbonlayout.h"
#include "ui/playercommand.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "core/quenlowdoc.h"
#include "frame/ribbonstatusbar.h"
#include "ui/showmsgdlg.h"
#include "core/updateresult.h"
#include "ui/mycaptionbar.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/minihtmldlg.h"

namespace {

using namespace std::chrono_literals;

using testsupport::DrainEvents;
using testsupport::PumpUntil;

class MainFrameWorkTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = testsupport::ShowTestFrame(program.ansi(), document);
        ASSERT_NE(frame, nullptr);
        // No downloader program is started by the tests: it counts as running.
        frame->m_downloaderExchange.isDownloaderRunning = [] { return true; };
        // Keyword commands posted to the frame are recorded, not performed.
        frame->Bind(EVT_PLAYERCOMMAND, [this](CPlayerCommandEvent& event) { posted.push_back(event.GetKeyword()); });
        int kind = 0, seconds = 0;
        CString text;
        theApp.TakeMessage(kind, text, seconds);
    }

    void TearDown() override
    {
        frame->Close(true);
        testsupport::DestroyApplicationWindows();
        theApp.m_strPlayState.Empty();
        theApp.m_strPlayingNetFile.Empty();
        theApp.m_bScriptLoaded = 0;
        theApp.m_bWindowFullScreen = 0;
        theApp.m_arrSubtitleFetchList.RemoveAll();
        theApp.m_arrLookupHistory.RemoveAll();
        DrainEvents();
    }

    // The message in the show-message slot (taken out), or "".
    static CString TakeMessage()
    {
        int kind = 0, seconds = 0;
        CString text;
        theApp.TakeMessage(kind, text, seconds);
        return text;
    }

    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
    }

    struct SUiState {
        bool enabled;
        bool checked;
    };
    SUiState Ui(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        return {!event.GetSetEnabled() || event.GetEnabled(), event.GetSetChecked() && event.GetChecked()};
    }

    // Sends a key to the frame's key hook; true when it goes on to the
    // focused window.
    bool Key(int code)
    {
        wxKeyEvent event(wxEVT_CHAR_HOOK);
        event.m_keyCode = code;
        event.SetEventObject(frame);
        frame->ProcessWindowEvent(event);
        return event.GetSkipped();
    }

    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;
    std::vector<CString> posted;
};

// ---------------------------------------------------------------------------
// Commands

TEST_F(MainFrameWorkTest, UpdateRulesFollowTheApplicationState)
{
    struct Case {
        const char* what;
        std::function<void()> setup;
        int id;
        bool enabled;
        bool checked;
    };
    const Case cases[] = {
        {"local dictionary", [] { theApp.m_strWordLookupMode = "OnWordHome"; }, kCmdLocalWord, true, true},
        {"online dictionary off", [] { theApp.m_strWordLookupMode = "OnWordHome"; }, kCmdOnlineWord, true, false},
        {"online dictionary", [] { theApp.m_strWordLookupMode = "OnWordWeb"; }, kCmdOnlineWord, true, true},
        {"skip blank without lesson", [] { theApp.m_strSkipBlank = "true"; theApp.m_bScriptLoaded = 0; }, kCmdSkipBlank, false, false},
        {"skip blank of a network file",
         [] { theApp.m_bScriptLoaded = 1; theApp.m_strPlayingNetFile = "true"; theApp.m_strSkipBlank = "true"; },
         kCmdSkipBlank, false, false},
        {"skip blank on", [] { theApp.m_bScriptLoaded = 1; theApp.m_strSkipBlank = "true"; }, kCmdSkipBlank, true, true},
        {"pause after point-read, point-read off",
         [] { theApp.m_strPointRead.Empty(); theApp.m_strClickReadMode = "Pause"; }, kCmdClickPause, false, false},
        {"pause after point-read",
         [] { theApp.m_strPointRead = "true"; theApp.m_strClickReadMode = "Pause"; }, kCmdClickPause, true, true},
        {"continue after point-read",
         [] { theApp.m_strPointRead = "true"; theApp.m_strClickReadMode = "Pause"; }, kCmdClickContinue, true, false},
        {"offset while paused",
         [] { theApp.m_bScriptLoaded = 1; theApp.m_strPlayState = "OnPause"; }, kCmdFast, false, false},
        {"offset while playing", [] { theApp.m_bScriptLoaded = 1; theApp.m_strPlayState = "OnPlay"; }, kCmdSlow, true, false},
        {"category all", [] { theApp.m_strTalkCategory.Empty(); }, kCmdCategoryAll, true, true},
        {"category other", [] { theApp.m_strTalkCategory = "99"; }, kCmdCategoryOthers, true, true},
        {"sort by duration", [] { theApp.m_strTalkSortField = "duration"; }, kCmdSortByDuration, true, true},
        {"filter not downloaded", [] { theApp.m_strPlaylistFilter = "Script"; }, kCmdFilterScript, true, true},
        {"filter downloaded off", [] { theApp.m_strPlaylistFilter = "Script"; }, kCmdFilterBoth, true, false},
        {"english list", [] { theApp.m_strPlaylistLanguage = "eng"; }, kCmdPlaylistEng, true, true},
        {"progress slider while paused",
         [] { theApp.m_strPlayState = "OnPause"; theApp.m_strActiveView = "CQuenlowView"; theApp.m_nMediaLength = 60000; },
         kCmdProgressSlider, false, false},
        {"progress slider in speech practice",
         [] { theApp.m_strPlayState = "OnPlay"; theApp.m_strActiveView = "CSpeechFormView"; theApp.m_nMediaLength = 60000; },
         kCmdProgressSlider, false, false},
        {"progress slider for 10 s",
         [] { theApp.m_strPlayState = "OnPlay"; theApp.m_strActiveView = "CQuenlowView"; theApp.m_nMediaLength = 10000; },
         kCmdProgressSlider, false, false},
        {"progress slider",
         [] { theApp.m_strPlayState = "OnPlay"; theApp.m_strActiveView = "CQuenlowView"; theApp.m_nMediaLength = 10001; },
         kCmdProgressSlider, true, false},
        {"update", [] {}, kCmdUpdateSoft, true, false},
        {"playlist before any lesson", [] { theApp.m_bScriptLoaded = 0; }, kCmdPlaylist, true, false},
    };
    // Each row starts from the same state and sets what it needs, so a row
    // never passes on what an earlier one left behind.
    testsupport::AppStateGuard guard(
        &CQuenlowApp::m_strWordLookupMode, &CQuenlowApp::m_strSkipBlank, &CQuenlowApp::m_bScriptLoaded,
        &CQuenlowApp::m_strPlayingNetFile, &CQuenlowApp::m_strPointRead, &CQuenlowApp::m_strClickReadMode,
        &CQuenlowApp::m_strPlayState, &CQuenlowApp::m_strTalkCategory, &CQuenlowApp::m_strTalkSortField,
        &CQuenlowApp::m_strPlaylistFilter, &CQuenlowApp::m_strPlaylistLanguage, &CQuenlowApp::m_strActiveView,
        &CQuenlowApp::m_nMediaLength);
    const auto reset = [] {
        for (CString* text : {&theApp.m_strWordLookupMode, &theApp.m_strSkipBlank, &theApp.m_strPlayingNetFile,
                              &theApp.m_strPointRead, &theApp.m_strClickReadMode, &theApp.m_strPlayState,
                              &theApp.m_strTalkCategory, &theApp.m_strTalkSortField, &theApp.m_strPlaylistFilter,
                              &theApp.m_strPlaylistLanguage, &theApp.m_strActiveView})
            text->Empty();
        theApp.m_bScriptLoaded = 0;
        theApp.m_nMediaLength = 0;
    };
    for (const Case& c : cases) {
        reset();
        c.setup();
        const SUiState state = Ui(c.id);
        EXPECT_EQ(state.enabled, c.enabled) << c.what;
        EXPECT_EQ(state.checked, c.checked) << c.what;
    }
}

// The offset fitted to a media file stays while that file plays again (a
// loop, a player reset, a reload of its lesson) and starts at 0 for another.
TEST_F(MainFrameWorkTest, SubtitleOffsetBelongsToTheMediaItWasSetFor)
{
    const CString first = program.ansi() + "first.mp4";
    const CString second = program.ansi() + "second.mp4";
    const CString keptMedia = theApp.m_strMediaPath;
    theApp.m_strMediaPath = first;
    frame->OnTimer(CMainFrame::kTimerAssFiles);   // the first file opens
    Command(kCmdFast);
    Command(kCmdFast);
    ASSERT_EQ(theApp.m_nTimeOffset, -400);

    for (int again = 0; again < 2; ++again) {   // it plays again, twice
        frame->OnTimer(CMainFrame::kTimerAssFiles);
        EXPECT_EQ(theApp.m_nTimeOffset, -400);
        EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), "400");
    }

    theApp.m_strMediaPath = second;
    frame->OnTimer(CMainFrame::kTimerAssFiles);
    EXPECT_EQ(theApp.m_nTimeOffset, 0);
    EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), "0");
    theApp.m_strMediaPath = first;   // back to the first: a new start there
    frame->OnTimer(CMainFrame::kTimerAssFiles);
    EXPECT_EQ(theApp.m_nTimeOffset, 0);
    theApp.m_strMediaPath = keptMedia;
}

// A number typed into the offset box is put in force on Enter and when the
// learner leaves the box; anything else brings back the offset in force with
// a message, so the box never shows a number that does nothing.
TEST_F(MainFrameWorkTest, TypedSubtitleOffsetAppliesOnEnterAndOnLeavingTheBox)
{
    auto* box = dynamic_cast<wxTextCtrl*>(frame->m_pRibbonBar->FindStandIn(kCmdOffsetEdit));
    ASSERT_NE(box, nullptr);
    const auto enter = [&] {
        wxCommandEvent event(wxEVT_TEXT_ENTER, box->GetId());
        event.SetEventObject(box);
        box->GetEventHandler()->ProcessEvent(event);
    };
    const auto leave = [&] {
        wxFocusEvent event(wxEVT_KILL_FOCUS, box->GetId());
        event.SetEventObject(box);
        box->GetEventHandler()->ProcessEvent(event);
    };
    struct Case {
        const char* typed;
        bool byEnter;       // else by leaving the box
        int offset;         // in force afterwards (ms added to sentence times)
        const char* shown;  // the box afterwards
        bool message;
    } cases[] = {
        {"300", true, -300, "300", false},
        {"-1200", false, 1200, "-1200", false},
        {" +500 ", true, -500, "500", false},
        {"0", false, 0, "0", false},
        {"abc", true, 0, "0", true},
        {"12.5", false, 0, "0", true},
        {"", true, 0, "0", true},
        {"3600001", true, 0, "0", true},
        {"99999999999999999999", false, 0, "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        theApp.m_nTimeOffset = 0;
        frame->m_pRibbonBar->SetEditText(kCmdOffsetEdit, "0");
        TakeMessage();
        frame->KillTimer(CMainFrame::kTimerSubtitleOffset);
        box->SetValue(wxString::FromUTF8(c.typed));   // as typing does: a text event
        c.byEnter ? enter() : leave();
        EXPECT_EQ(theApp.m_nTimeOffset, c.offset);
        EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), c.shown);
        EXPECT_EQ(!TakeMessage().IsEmpty(), c.message);
        EXPECT_EQ(frame->IsTimerRunning(CMainFrame::kTimerSubtitleOffset), c.offset != 0);
    }

    // Leaving the box without typing changes nothing, also when the text
    // was set by the program.
    theApp.m_nTimeOffset = -200;
    frame->m_pRibbonBar->SetEditText(kCmdOffsetEdit, "999");
    frame->KillTimer(CMainFrame::kTimerSubtitleOffset);
    leave();
    EXPECT_EQ(theApp.m_nTimeOffset, -200);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerSubtitleOffset));
}

// A size typed into the size combo applies on Enter, and also when the
// learner leaves the combo (Tab, a click elsewhere) without pressing Enter.
TEST_F(MainFrameWorkTest, TypedFontSizeAppliesOnLeavingTheCombo)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_nFontSize, &CQuenlowApp::m_nFontChangeCount);
    auto* combo = dynamic_cast<wxComboBox*>(frame->m_pRibbonBar->FindStandIn(kCmdFontSize));
    ASSERT_NE(combo, nullptr);
    theApp.m_nFontSize = 16;
    combo->SetValue("24");   // as typing does: a text event
    wxFocusEvent leave(wxEVT_KILL_FOCUS, combo->GetId());
    leave.SetEventObject(combo);
    combo->GetEventHandler()->ProcessEvent(leave);
    EXPECT_EQ(theApp.m_nFontSize, 24);

    // Leaving again without typing applies nothing anew.
    const int changes = theApp.m_nFontChangeCount;
    combo->GetEventHandler()->ProcessEvent(leave);
    EXPECT_EQ(theApp.m_nFontChangeCount, changes);
}

TEST_F(MainFrameWorkTest, SubtitleOffsetStepsAndOneRewriteAfterTheLastPress)
{
    theApp.m_nTimeOffset = 0;
    for (int i = 0; i < 3; ++i)
        Command(kCmdFast);
    EXPECT_EQ(theApp.m_nTimeOffset, -600);
    EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), "600");
    Command(kCmdSlow);
    EXPECT_EQ(theApp.m_nTimeOffset, -400);
    EXPECT_EQ(frame->m_pRibbonBar->GetEditText(kCmdOffsetEdit), "400");
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerSubtitleOffset));
    frame->OnTimer(CMainFrame::kTimerSubtitleOffset);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerSubtitleOffset));
}

TEST_F(MainFrameWorkTest, TalkCatalogueCommandsKeepTheOtherChoice)
{
    theApp.m_strTalkCategory = "3";
    theApp.m_strTalkSortField = "speaker";
    Command(kCmdSortByVideoName);
    EXPECT_EQ(theApp.m_strTalkCategory, "3");
    EXPECT_EQ(theApp.m_strTalkSortField, "vedioname");
    EXPECT_TRUE(Ui(kCmdCategoryDesign).checked);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayListPane));

    // All categories: the shipped talks that have both files are listed and
    // counted in the caption.
    Command(kCmdCategoryAll);
    EXPECT_EQ(theApp.m_strTalkCategory, "");
    EXPECT_EQ(theApp.m_strTalkSortField, "vedioname");
    CLocalViewTree* tree = frame->m_wndPlayListPane->m_wndTree;
    const size_t listed = tree->GetChildrenCount(tree->GetRootItem(), false);
    EXPECT_GE(listed, 1u);
    CString caption;
    caption.Format("共有%d项", static_cast<int>(listed));
    EXPECT_EQ(FromWx(frame->m_wndPlayListPane->GetLabel()), caption);
    EXPECT_EQ(theApp.m_strPlaylistCaption, caption);

    // Showing only talks with media refills without bringing the pane up.
    frame->ShowPane(frame->m_wndPlayListPane, false);
    Command(kCmdFilterVideo);
    EXPECT_EQ(theApp.m_strPlaylistFilter, "Vedio");
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndPlayListPane));
}

// Recomputing the figures asks first; the refresh brings the local media
// view back under the pane's own caption.
TEST_F(MainFrameWorkTest, WordFrequencyAsksAndTheLocalViewTakesBackTheCaption)
{
    std::vector<CString> asked;
    SetMessageBoxHandler([&](const CString& text, const CString&, long) {
        asked.push_back(text);
        return wxCANCEL;
    });
    Command(kCmdRebuildWordFrequency);
    SetMessageBoxHandler({});
    EXPECT_EQ(asked, std::vector<CString>{"大约要耗时4个小时，\n您确定要重新生成吗？"});

    Command(kCmdCategoryAll);
    EXPECT_NE(FromWx(frame->m_wndPlayListPane->GetLabel()).Find("共有"), -1);
    frame->RefreshLocalMediaTree();
    EXPECT_EQ(FromWx(frame->m_wndPlayListPane->GetLabel()), "Playlist(播放列表)");
}

// A talk list refilled after the local view took the caption shows its count
// in the pane's caption bar again, whichever button refilled it.
TEST_F(MainFrameWorkTest, RefilledTalkListShowsItsCountAfterTheLocalView)
{
    auto caption = [&] { return FromWx(frame->GetPaneManager().GetPane(frame->m_wndPlayListPane).caption); };
    for (const int id : {kCmdPlaylistChn, kCmdPlaylistEng, kCmdSortById, kCmdSortByTitle, kCmdPopularOnly}) {
        SCOPED_TRACE(id);
        Command(kCmdCategoryAll);
        frame->RefreshLocalMediaTree();
        EXPECT_EQ(caption(), "Playlist(播放列表)");
        Command(id);
        EXPECT_EQ(caption(), theApp.m_strPlaylistCaption);
        EXPECT_EQ(caption().Find("共有"), 0);
    }
}

// A talk download shows its progress in the download pane; once the talk is
// there the list of missing talks loses it and the caption bar says so.
TEST_F(MainFrameWorkTest, ATalkDownloadShowsItsProgressAndLeavesTheMissingList)
{
    const CString filter = theApp.m_strPlaylistFilter;
    Command(kCmdCategoryAll);
    Command(kCmdFilterScript);
    CLocalViewTree* tree = frame->m_wndPlayListPane->m_wndTree;
    auto listed = [&] {
        std::vector<CString> names;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie); item.IsOk();
             item = tree->GetNextChild(tree->GetRootItem(), cookie))
            names.push_back(TalkFileNameOf(FromWx(tree->GetItemText(item))));
        return names;
    };
    const std::vector<CString> before = listed();
    ASSERT_FALSE(before.empty()) << "the shipped talks have no media in a new program folder";
    const CString name = before.front();
    auto report = [&](int number, const char* text) {
        program.write("AppData/DataExchange/TalkDownloads/" + std::to_string(number) + ".data", text);
    };
    auto downloadPane = [&] { return frame->m_wndStatusBar->FindElement(kStatusDownloadElement)->GetText(); };

    report(1, ("running\r\n" + name.str() + "\r\n1000\r\n650\r\n2048\r\n\r\n").c_str());
    frame->OnTimer(CMainFrame::kTimerSecondWork);
    EXPECT_EQ(downloadPane(), "速度:2 KB/s 进度:65.0%");
    EXPECT_EQ(theApp.m_strDownloadStatusText, "速度:2 KB/s 进度:65.0%");
    frame->OnTimer(CMainFrame::kTimerSecondWork);
    EXPECT_EQ(downloadPane(), "速度:2 KB/s 进度:65.0%") << "a second without news keeps the figures";

    program.write("Playlist/" + AnsiToUtf8Bytes(name.view()), "video");
    report(2, ("done\r\n" + name.str() + "\r\n1000\r\n1000\r\n0\r\n\r\n").c_str());
    frame->OnTimer(CMainFrame::kTimerSecondWork);
    EXPECT_EQ(frame->m_wndCaptionBar->GetText(), "下载完成：" + name);
    std::vector<CString> expected(before.begin() + 1, before.end());
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(FromWx(frame->m_wndPlayListPane->GetLabel()).Find("共有"), 0);

    // In the local media view an arriving talk changes nothing there.
    frame->RefreshLocalMediaTree();
    report(3, ("done\r\n" + before.back().str() + "\r\n1\r\n1\r\n0\r\n\r\n").c_str());
    frame->OnTimer(CMainFrame::kTimerSecondWork);
    EXPECT_EQ(FromWx(frame->m_wndPlayListPane->GetLabel()), "Playlist(播放列表)");
    theApp.m_strPlaylistFilter = filter;
}

TEST_F(MainFrameWorkTest, PaneAndRibbonCommands)
{
    theApp.m_strContentKind = "drama";
    frame->ShowPane(frame->m_wndDetailWordPane, true);
    Command(kCmdPlaylist);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayListPane));
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndDetailWordPane));
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndPlayerPane));

    Command(kCmdOpenDict);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndDetailWordPane));
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayListPane));

    Command(kCmdPlayFromPan);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayFromPanPane));
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndPlayListPane));
    EXPECT_FALSE(frame->IsPaneVisible(frame->m_wndDetailWordPane));

    const int lines = theApp.m_nVisibleLines;
    Command(kCmdToggleRibbonPanels);
    EXPECT_EQ(frame->m_strPanelsShown, "false");
    EXPECT_EQ(theApp.m_nVisibleLines, lines + 3);
    Command(kCmdToggleRibbonPanels);
    EXPECT_EQ(frame->m_strPanelsShown, "true");
    EXPECT_EQ(theApp.m_nVisibleLines, lines);

    // The update command waits a second; pressing twice runs one check.
    Command(kCmdUpdateSoft);
    Command(kCmdUpdateSoft);
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerUpdateCheck));
}

TEST_F(MainFrameWorkTest, ShortMediaCannotBeSought)
{
    theApp.m_nMediaLength = 500;
    Command(kCmdProgressSlider);
    EXPECT_TRUE(frame->IsCaptionBarShown());
}

TEST_F(MainFrameWorkTest, SearchBoxRefillsOnChangedTextAndHidesAfterTenIdleTicks)
{
    Command(kCmdSearch);
    EXPECT_TRUE(frame->m_dlgSearch->IsShown());
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerSearchBox));

    // Three bytes make a search: two letters do not, one Chinese character
    // (two bytes) does not, two Chinese characters (four bytes) do.
    struct Case {
        const char* typed;
        const char* search;   // the last search made
    };
    frame->m_strPrevSearchText.Empty();
    for (const Case& c : {Case{"ab", ""}, Case{"演", ""}, Case{"abc", "abc"}, Case{" 演讲 ", "演讲"},
                          Case{"a", "演讲"}, Case{"演讲者", "演讲者"}}) {
        SCOPED_TRACE(c.typed);
        frame->m_dlgSearch->m_editSearch->ChangeValue(ToWx(c.typed));
        frame->OnTimer(CMainFrame::kTimerSearchBox);
        EXPECT_EQ(frame->m_strPrevSearchText, c.search);
        // The list was filled with it once: the search text is used up.
        EXPECT_EQ(theApp.m_strPlaylistSearch, "");
    }

    for (int i = 0; i < 9; ++i)
        frame->OnTimer(CMainFrame::kTimerSearchBox);
    EXPECT_TRUE(frame->m_dlgSearch->IsShown());
    frame->OnTimer(CMainFrame::kTimerSearchBox);
    EXPECT_FALSE(frame->m_dlgSearch->IsShown());
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerSearchBox));
    EXPECT_TRUE(frame->m_dlgSearch->m_editSearch->GetValue().empty());
}

// ---------------------------------------------------------------------------
// Mailboxes and the local media tree

TEST_F(MainFrameWorkTest, WordPaneMailboxWrapsThroughTheHistory)
{
    theApp.m_arrLookupHistory.RemoveAll();
    for (const char* word : {"apple", "banana", "cherry"})
        theApp.m_arrLookupHistory.Add(word);

    theApp.m_nLookupHistoryPos = 0;
    theApp.m_strWordPaneCommand = "OnBnClickedButtonPreword:";
    frame->PollPendingCommand();
    EXPECT_EQ(theApp.m_strWordPaneCommand, "");
    EXPECT_EQ(theApp.m_nLookupHistoryPos, 2);
    EXPECT_EQ(frame->m_wndDetailWordPane->m_strLastWord, "cherry");

    theApp.m_strWordPaneCommand = "OnBnClickedButtonNextword:";
    frame->PollPendingCommand();
    EXPECT_EQ(theApp.m_nLookupHistoryPos, 0);
    EXPECT_EQ(frame->m_wndDetailWordPane->m_strLastWord, "apple");

    // An unknown keyword stays in its mailbox.
    theApp.m_strWordPaneCommand = "Something:";
    frame->PollPendingCommand();
    EXPECT_EQ(theApp.m_strWordPaneCommand, "Something:");
    theApp.m_strWordPaneCommand.Empty();
}

TEST_F(MainFrameWorkTest, OnlineDictionaryAddressEncodesTheUtf8Word)
{
    program.write("AppData/CommonData/Product.cfg", "DictionaryUrl=https://dict.test/s?wd=\n");
    EXPECT_EQ(CMainFrame::MakeOnlineDictionaryUrl("a b&c"), "https://dict.test/s?wd=a%20b%26c");
    EXPECT_EQ(CMainFrame::MakeOnlineDictionaryUrl("词"), "https://dict.test/s?wd=%E8%AF%8D");
}

TEST_F(MainFrameWorkTest, BatchSubtitleFetchWalksTheListAndEnds)
{
    // No subtitle host is set (test folders have none): every file moves the
    // batch straight on.
    theApp.m_arrSubtitleFetchList.RemoveAll();
    theApp.m_strSubtitleCommand = "HalvikEnglishGetNetSubtitles:";
    frame->PollPendingCommand();
    EXPECT_EQ(TakeMessage(), "有0个视频需要获取字幕......");
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerBatchSubtitleStep));

    program.write("media/a.mp4", "aaaa");
    program.write("media/b.mp4", "bbbb");
    theApp.m_arrSubtitleFetchList.Add(program.ansi() + "media/a.mp4");
    theApp.m_arrSubtitleFetchList.Add(program.ansi() + "media/missing.mp4");   // no digest: skipped
    theApp.m_arrSubtitleFetchList.Add(program.ansi() + "media/b.mp4");
    theApp.m_strSubtitleCommand = "HalvikEnglishGetNetSubtitles:";
    frame->PollPendingCommand();
    EXPECT_EQ(TakeMessage(), "有3个视频需要获取字幕......");
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerBatchSubtitleStep)) << i;
        frame->OnTimer(CMainFrame::kTimerBatchSubtitleStep);
        CString expected;
        expected.Format("正在处理第%d个视频/共3个视频。", i);
        EXPECT_EQ(TakeMessage(), expected);
    }
    frame->OnTimer(CMainFrame::kTimerBatchSubtitleStep);
    EXPECT_EQ(TakeMessage(), "字幕下载完成：3个视频中获取到0个字幕。");
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerBatchSubtitleStep));
}

TEST_F(MainFrameWorkTest, SubtitlePackageWaitsEndWithTheirJobOrAreBounded)
{
    // A look-up the update dialog does not run (ended, or never queued) ends
    // the wait at the next tick.
    theApp.m_strPlayFilePath = "/media/a.mp4";
    frame->StartSubtitlePackageWait(9999);
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerSubtitlePackageWait));
    frame->OnTimer(CMainFrame::kTimerSubtitlePackageWait);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerSubtitlePackageWait));

    // Asking for another media ends the wait at the next tick.
    frame->StartSubtitlePackageWait(9999);
    theApp.m_strPlayFilePath = "/media/b.mp4";
    frame->OnTimer(CMainFrame::kTimerSubtitlePackageWait);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerSubtitlePackageWait));

    frame->SetTimer(CMainFrame::kTimerBatchSubtitleWait, 1000);
    for (int i = 0; i < CMainFrame::kSubtitleWaitLimit; ++i)
        frame->OnTimer(CMainFrame::kTimerBatchSubtitleWait);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerBatchSubtitleWait));
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerBatchSubtitleStep));
}

TEST_F(MainFrameWorkTest, NetFileMailboxReportsAMissingFile)
{
    theApp.m_strMediaPath = program.ansi() + "Cache/halviksoft.mp4";
    theApp.m_nPlayIndex = -1;
    theApp.m_strPendingCommand = "HalvikEnglishPlayNetFile:";
    frame->PollPendingCommand();
    EXPECT_EQ(theApp.m_strPendingCommand, "");
    EXPECT_EQ(theApp.m_strPlayingNetFile, "true");
    EXPECT_EQ(TakeMessage(), "播放文件不存在！");
}

// A store that cannot be read shows no history, rather than an empty one,
// and says so.
TEST_F(MainFrameWorkTest, TreeRefreshOfAStoreThatCannotBeReadShowsNoHistory)
{
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strPlayHistoryTable, "kept.mp3", "/m/kept.mp3", "", "", "", ""));
    theApp.m_userDb.Close();
    const std::string store = ToFsPath(theApp.m_strUserDataDbPath);
    std::filesystem::remove(store + "-shm");
    std::filesystem::remove(store + "-wal");
    std::filesystem::create_directory(store + "-wal");   // the log cannot be opened
    TakeMessage();

    frame->RefreshLocalMediaTree();
    CLocalViewTree* tree = frame->m_wndPlayListPane->m_wndTree;
    EXPECT_TRUE(tree->FindItemByText(tree->GetRootItem(), "当前播放列表").IsOk());
    EXPECT_FALSE(tree->FindItemByText(tree->GetRootItem(), "播放历史").IsOk());
    EXPECT_EQ(TakeMessage(), "无法读取播放历史：" + theApp.m_strUserDataDbPath);
    std::filesystem::remove(store + "-wal");
}

// On the first start the store is not made yet: the history is empty, and
// nothing says it cannot be read.
TEST_F(MainFrameWorkTest, TreeRefreshBeforeTheStoreIsMadeShowsAnEmptyHistory)
{
    theApp.m_userDb.Close();
    std::filesystem::remove(ToFsPath(theApp.m_strUserDataDbPath));
    theApp.m_arrPlayHistoryRows.Add("stale");
    TakeMessage();

    frame->RefreshLocalMediaTree();
    CLocalViewTree* tree = frame->m_wndPlayListPane->m_wndTree;
    const wxTreeItemId history = tree->FindItemByText(tree->GetRootItem(), "播放历史");
    ASSERT_TRUE(history.IsOk());
    EXPECT_EQ(tree->GetChildrenCount(history), 0u);
    EXPECT_EQ(TakeMessage(), "");
}

// A file or folder on a drive that is not plugged in is left out of the tree,
// and its record waits for the drive: only the learner deletes records.
TEST_F(MainFrameWorkTest, TreeRefreshListsExistingEntriesAndKeepsTheRecordsOfMissingOnes)
{
    program.write("media/kept.mp3", "x");
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strPlayHistoryTable, "kept.mp3", program.ansi() + "media/kept.mp3", "", "", "", ""));
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strPlayHistoryTable, "gone.mp4", program.ansi() + "media/gone.mp4", "", "", "", ""));
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "oldfolder", program.ansi() + "nofolder", "", "", "", ""));

    CLocalViewTree* tree = frame->m_wndPlayListPane->m_wndTree;
    tree->MarkPlayingItem(tree->AppendItem(tree->GetRootItem(), "stale"));
    frame->RefreshLocalMediaTree();
    EXPECT_FALSE(tree->PlayingItem().IsOk());

    std::vector<CString> top;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie); item.IsOk();
         item = tree->GetNextChild(tree->GetRootItem(), cookie))
        top.push_back(FromWx(tree->GetItemText(item)));
    ASSERT_GE(top.size(), 2u);
    EXPECT_EQ(top[0], "当前播放列表");
    EXPECT_EQ(top[1], "播放历史");
    // The download folder once, the missing playlist folder not at all.
    CString cacheName = theApp.m_strCacheDir;
    cacheName.TrimRight('/');
    cacheName = cacheName.Mid(cacheName.ReverseFind('/') + 1);
    EXPECT_EQ(std::count(top.begin(), top.end(), cacheName), 1);
    EXPECT_EQ(std::count(top.begin(), top.end(), CString("oldfolder")), 0);

    const wxTreeItemId history = tree->FindItemByText(tree->GetFirstChild(tree->GetRootItem(), cookie), "播放历史");
    ASSERT_TRUE(history.IsOk());
    ASSERT_EQ(tree->GetChildrenCount(history, false), 1u);
    const wxTreeItemId kept = tree->GetFirstChild(history, cookie);
    EXPECT_EQ(FromWx(tree->GetItemText(kept)), "kept.mp3");
    EXPECT_EQ(tree->GetItemImage(kept), CLocalViewTree::kImageAudio);

    theApp.LoadTable(theApp.m_strPlayHistoryTable, "");
    EXPECT_EQ(theApp.m_arrPlayHistoryRows.GetSize(), 12) << "both records kept";
    theApp.LoadTable(theApp.m_strLocalPlaylistTable, "");
    bool folderKept = false;
    for (int i = 0; i < theApp.m_arrLocalPlaylistRows.GetSize(); i += 6)
        folderKept = folderKept || theApp.m_arrLocalPlaylistRows[i] == "oldfolder";
    EXPECT_TRUE(folderKept);

    // The drive is back: both are listed again.
    program.write("media/gone.mp4", "x");
    program.write("nofolder/a.mp3", "x");
    frame->RefreshLocalMediaTree();
    EXPECT_TRUE(tree->FindItemByText(tree->GetRootItem(), "oldfolder").IsOk());
    EXPECT_TRUE(tree->FindItemByText(tree->GetRootItem(), "gone.mp4").IsOk());

    // A second refresh does not list the download folder twice.
    frame->OnTimer(CMainFrame::kTimerTreeRefresh);
    int count = 0;
    for (wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie); item.IsOk();
         item = tree->GetNextChild(tree->GetRootItem(), cookie))
        count += FromWx(tree->GetItemText(item)) == cacheName ? 1 : 0;
    EXPECT_EQ(count, 1);
}

// ---------------------------------------------------------------------------
// Keys and drops

TEST_F(MainFrameWorkTest, SpaceFollowsTheEngineState)
{
    ASSERT_TRUE(testsupport::OpenClipInMainPlayer(*frame, program.path()));   // play needs a media
    int state = 3;
    frame->m_fnKeyPlayerState = [&] { return state; };
    theApp.m_strPlayState = "OnPlay";
    Key(WXK_SPACE);
    EXPECT_EQ(theApp.m_strPlayState, "OnPause");
    state = 4;
    Key(WXK_SPACE);
    EXPECT_EQ(theApp.m_strPlayState, "OnPlay");
    state = 5;   // stopped: nothing
    theApp.m_strPlayState = "OnStop";
    Key(WXK_SPACE);
    EXPECT_EQ(theApp.m_strPlayState, "OnStop");
}

// Space and the arrows stop at the frame: they never open the menu of a
// focused button or move the lesson text's cursor; other keys go on, and a
// box being typed into keeps every key.
TEST_F(MainFrameWorkTest, PlayerKeysStopAtTheFrameUnlessTyping)
{
    frame->m_fnKeyPlayerState = [] { return 5; };
    frame->m_fnKeySkip = [](int64_t) {};
    theApp.m_strPlayState = "OnPause";
    for (int key : {WXK_SPACE, WXK_LEFT, WXK_RIGHT, WXK_UP, WXK_DOWN})
        EXPECT_FALSE(Key(key)) << key;
    EXPECT_TRUE(Key('a'));
    EXPECT_TRUE(Key(WXK_ESCAPE)) << "Esc outside the compact style is not the player's";

    auto* lessonView = frame->FindView(kViewLesson);
    ASSERT_NE(lessonView, nullptr);
    struct Case {
        const char* what;
        wxWindow* focus;
        bool typing;
    };
    const Case cases[] = {
        {"lesson text", dynamic_cast<CQuenlowView*>(lessonView)->m_richText, false},
        {"ribbon", frame->m_wndRibbonBar, false},
        {"local media tree", frame->m_wndPlayListPane->m_wndTree, false},
        {"nothing", nullptr, false},
        {"search box", frame->m_dlgSearch->m_editSearch, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMainFrame::IsTypingTarget(c.focus), c.typing) << c.what;
}

TEST_F(MainFrameWorkTest, ArrowsSkipAndChangeMediaOnlyWhilePlaying)
{
    std::vector<int64_t> skips;
    frame->m_fnKeySkip = [&](int64_t delta) { skips.push_back(delta); };
    theApp.m_strPlayState = "OnPause";
    for (int key : {WXK_LEFT, WXK_RIGHT, WXK_UP, WXK_DOWN})
        Key(key);
    DrainEvents();
    EXPECT_TRUE(skips.empty());
    EXPECT_TRUE(posted.empty());

    theApp.m_strPlayState = "OnPlay";
    for (int key : {WXK_LEFT, WXK_RIGHT, WXK_UP, WXK_DOWN})
        Key(key);
    DrainEvents();
    EXPECT_EQ(skips, (std::vector<int64_t>{-10000, 10000}));
    EXPECT_EQ(posted, (std::vector<CString>{"HalvikSoftPlayerPlayPre:", "HalvikSoftPlayerPlayNext:"}));
}

TEST_F(MainFrameWorkTest, EscapeLeavesTheCompactPlayerStyleOnly)
{
    bool engineFull = true;
    frame->m_fnKeyPlayerFullscreen = [&] { return engineFull; };
    frame->GetSizer()->Show(frame->m_wndRibbonBar, false);
    frame->GetSizer()->Show(frame->m_wndStatusBar, false);
    theApp.m_bWindowFullScreen = 1;

    // The engine's own full screen keeps the key.
    Key(WXK_ESCAPE);
    EXPECT_EQ(theApp.m_bWindowFullScreen, 1);
    EXPECT_FALSE(frame->m_wndRibbonBar->IsShown());

    engineFull = false;
    Key(WXK_ESCAPE);
    EXPECT_EQ(theApp.m_bWindowFullScreen, 0);
    EXPECT_TRUE(frame->m_wndRibbonBar->IsShown());
    EXPECT_TRUE(frame->m_wndStatusBar->IsShown());
    EXPECT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerShowPlayerPane));
    frame->OnTimer(CMainFrame::kTimerShowPlayerPane);
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayerPane));
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerShowPlayerPane));
}

TEST_F(MainFrameWorkTest, DropOfMediaThenFolderPlaysTheMediaAndReportsTheFolder)
{
    program.write("drop/a.mp4", "a");
    program.write("drop/notes.txt", "n");
    program.write("drop/sub/b.mp3", "b");
    theApp.m_strPlayingNetFile = "true";
    theApp.m_nNetFileSize = 99;
    frame->OnDropFiles({program.ansi() + "drop/a.mp4", program.ansi() + "drop/notes.txt", program.ansi() + "drop/sub",
                        program.ansi() + "drop/sub/b.mp3"});
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
    EXPECT_EQ(theApp.m_arrPlayList[0], program.ansi() + "drop/a.mp4");
    EXPECT_EQ(theApp.m_nPlayIndex, -1);
    EXPECT_EQ(theApp.m_strPlayingNetFile, "");
    EXPECT_EQ(theApp.m_nNetFileSize, 0);
    EXPECT_EQ(TakeMessage(), "不支持文件夹拖放！");
    DrainEvents();
    EXPECT_EQ(posted, (std::vector<CString>{"HalvikSoftPlayerPlayLocalFile:"}));
    EXPECT_NE(frame->GetDropTarget(), nullptr);
}

// A subtitle file dropped while a media is open goes to that media's player,
// as "载入字幕" gives it; the play list stays and nothing else plays. With no
// media open, or with a file of another kind, the caption bar says what is
// wrong instead of "播放文件不存在！".
TEST_F(MainFrameWorkTest, DroppedSubtitleLoadsForTheOpenMediaOrSaysWhy)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strMediaPath, &CQuenlowApp::m_arrPlayList,
                                     &CQuenlowApp::m_strAssBothBasePath);
    theApp.m_strAssBothBasePath = program.ansi() + "AppData/Temp/Script/Both.ass";
    const CString srt = CString(program.write("drop/movie.srt", "1\n00:00:01,000 --> 00:00:02,000\nHello\n\n"));
    const CString text = CString(program.write("drop/notes.txt", "n"));
    theApp.m_arrPlayList.RemoveAll();
    theApp.m_arrPlayList.Add(program.ansi() + "Cache/lesson.mp4");
    ASSERT_NE(frame->m_wndPlayerPane, nullptr);
    CPlayerDlg* dlg = frame->m_wndPlayerPane->m_dlgPlayer;
    ASSERT_NE(dlg, nullptr);

    theApp.m_strMediaPath = program.ansi() + "Cache/lesson.mp4";
    frame->OnDropFiles({srt});
    EXPECT_EQ(dlg->m_strGivenSubtitle, srt);
    EXPECT_EQ(TakeMessage(), "");

    dlg->m_strGivenSubtitle.Empty();
    theApp.m_strMediaPath.Empty();
    frame->OnDropFiles({srt});
    EXPECT_EQ(dlg->m_strGivenSubtitle, "");
    EXPECT_EQ(TakeMessage(), kDroppedSubtitleWithoutMediaMessage);

    frame->OnDropFiles({text});
    EXPECT_EQ(TakeMessage(), CString(kDroppedUnknownFileMessage) + "notes.txt");

    DrainEvents();
    EXPECT_TRUE(posted.empty());
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
    EXPECT_EQ(theApp.m_arrPlayList[0], program.ansi() + "Cache/lesson.mp4");
}

// No ribbon element opens a file, so the help page names the ways in by the
// labels the learner finds: the player's right-click menu, dropping files on
// the window, and a playlist folder made with the playlist pane's tool (an
// icon whose tooltip names it).
TEST_F(MainFrameWorkTest, HelpPageSaysHowToOpenALessonInTheProgramsOwnWords)
{
    const std::string help = Utf8BytesToAnsi(testsupport::ReadBytes(program.path() + "AppData/Help/Help.html")).str();
    const auto HomeButton = [](int id) {
        for (const SRibbonPlace& place : FindRibbonPlaces(id))
            if (place.category == kCategoryHome)
                return CString(place.text);
        return CString();
    };
    std::unique_ptr<wxMenu> menu = frame->m_wndPlayerPane->m_dlgPlayer->BuildContextMenu();
    CPaneToolBar* tools = frame->m_wndPlayListPane->m_wndToolBar;
    const wxToolBarToolBase* newFolder = tools->FindById(tools->ToolIdOf(kCmdNewPlayFolder));
    ASSERT_NE(newFolder, nullptr);
    struct Label {
        CString text;
        bool shown;   // the program shows it where the page says
    };
    const Label labels[] = {
        {"打开媒体", menu->FindItem(ToWx("打开媒体")) != wxNOT_FOUND},
        {"打开本地媒体", menu->FindItem(ToWx("打开本地媒体")) != wxNOT_FOUND},
        {"载入字幕", menu->FindItem(ToWx("载入字幕")) != wxNOT_FOUND},
        {"创建新的播放目录", FromWx(newFolder->GetShortHelp()) == "创建新的播放目录"},
        {"播放器", HomeButton(kCmdPlayerPane) == "播放器"},
        {"播放列表", HomeButton(kCmdPlaylist) == "播放列表"},
        {"拖到程序窗口", true},
    };
    for (const Label& label : labels) {
        EXPECT_TRUE(label.shown) << AnsiToUtf8Bytes(label.text.view());
        EXPECT_NE(help.find(label.text.str()), std::string::npos) << AnsiToUtf8Bytes(label.text.view());
    }
}

// ---------------------------------------------------------------------------
// Delayed start-up and the update check

TEST_F(MainFrameWorkTest, DelayedStartupWritesTheDesktopShortcutOnce)
{
    const std::string desktop = std::string(getenv("HOME")) + "/Desktop";
    ::mkdir(desktop.c_str(), 0755);
    const std::string file = desktop + "/HalvikEnglish.desktop";
    std::remove(file.c_str());
    program.write("Playlist/talk/learner.srt", "1");

    frame->OnTimer(CMainFrame::kTimerDelayedStartup);
    EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerDelayedStartup));
    EXPECT_EQ(theApp.m_strStartupDone, "true");
    EXPECT_EQ(frame->m_pLessonView, frame->GetActiveView());
    EXPECT_TRUE(frame->IsPaneVisible(frame->m_wndPlayListPane));
    const std::string entry = testsupport::ReadBytes(file);
    EXPECT_NE(entry.find("Exec="), std::string::npos);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);
    // The learner's own subtitle files in the talk folder stay.
    EXPECT_TRUE(FileExists(program.ansi() + "Playlist/talk/learner.srt"));
    // The update server's name comes back without blocking the window.
    EXPECT_TRUE(PumpUntil([&] { return !frame->m_bUpdateHostPending; }, 20s));
}

class MainFrameUpdateCheckTest : public MainFrameWorkTest {
protected:
    // Runs the check that the update command starts against the server and
    // returns the message it leaves.
    CString RunCheck(CLoopbackServer& server)
    {
        program.write("AppData/CommonData/Product.cfg",
                      "ProductId=P1\nUpdateServerHost=127.0.0.1\nUpdateServerPort=" + std::to_string(server.port()) + "\n");
        theApp.m_strProductId = "P1";
        frame->m_fnNetworkConnected = [this] { return m_bNetwork; };
        Command(kCmdUpdateSoft);
        // The learner sees at once that the check runs.
        EXPECT_EQ(frame->m_wndCaptionBar->GetText(), CMainFrame::kUpdateCheckRunningText);
        EXPECT_TRUE(frame->m_wndCaptionBar->IsShown());
        const auto start = std::chrono::steady_clock::now();
        frame->OnTimer(CMainFrame::kTimerUpdateCheck);
        // The window is never kept waiting for the network.
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
        EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerUpdateCheck));
        EXPECT_TRUE(PumpUntil([&] { return !frame->IsUpdateCheckRunning(); }));
        return TakeMessage();
    }

    // Whether the stand-in says the machine has a network.
    bool m_bNetwork = true;

    bool UpdateQueued()
    {
        const CStringArray& queue = frame->m_downloaderExchange.Queue();
        for (int i = 0; i < queue.GetSize(); ++i) {
            if (queue[i] == "HalvikSoftUpdate: ")
                return true;
        }
        return false;
    }
};

TEST_F(MainFrameUpdateCheckTest, MissingLocalFileOffersTheUpdate)
{
    DeleteFile(theApp.m_strUpdateDataPath);
    CLoopbackServer server([](const std::string&) { return Reply(200, "0"); });
    EXPECT_EQ(RunCheck(server), "检测到软件有可更新项，正在更新......");
    EXPECT_TRUE(UpdateQueued());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].substr(server.requests()[0].find(' ') + 1), "/update/P1/update.data");
}

// The downloader leaves how the update download ended; the frame watches for
// it and tells the learner, or says so when the downloader went away silent.
TEST_F(MainFrameUpdateCheckTest, TheUpdateDownloadsEndIsTold)
{
    struct Case {
        const char* what;
        std::optional<SUpdateDownloadEnd> left;   // nothing: the downloader never writes
        CString told;
    };
    const Case cases[] = {
        {"done", SUpdateDownloadEnd {true, ""}, "软件更新下载完成。"},
        {"a failure with its cause", SUpdateDownloadEnd {false, "服务器回答 404"}, "软件更新下载失败：服务器回答 404"},
        {"a downloader gone without a word", std::nullopt, "软件更新下载失败：下载程序没有运行"},
    };
    const CString result = UpdateResultPath(theApp.m_strAppDir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        frame->m_downloaderExchange.isDownloaderRunning = [] { return true; };
        frame->m_downloaderExchange.ClearQueue();
        DeleteFile(theApp.m_strUpdateDataPath);
        ASSERT_TRUE(WriteUpdateResult(result, SUpdateDownloadEnd {false, "an earlier run's"}));
        CLoopbackServer server([](const std::string&) { return Reply(200, "7"); });
        EXPECT_EQ(RunCheck(server), "检测到软件有可更新项，正在更新......");
        ASSERT_TRUE(UpdateQueued());
        ASSERT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerUpdateDownloadWatch));
        frame->OnTimer(CMainFrame::kTimerUpdateDownloadWatch);
        EXPECT_EQ(TakeMessage(), "") << "an earlier run's result is not this one";

        if (c.left)
            ASSERT_TRUE(WriteUpdateResult(result, *c.left));
        else
            frame->m_downloaderExchange.isDownloaderRunning = [] { return false; };
        for (int tick = 0; tick < 10 && frame->IsTimerRunning(CMainFrame::kTimerUpdateDownloadWatch); ++tick)
            frame->OnTimer(CMainFrame::kTimerUpdateDownloadWatch);
        EXPECT_FALSE(frame->IsTimerRunning(CMainFrame::kTimerUpdateDownloadWatch));
        EXPECT_EQ(TakeMessage(), c.told);
        EXPECT_FALSE(FileExists(result));
    }
}

TEST_F(MainFrameUpdateCheckTest, EqualLengthNeedsNoUpdate)
{
    program.write("AppData/CommonData/update.data", "12345");
    CLoopbackServer server([](const std::string&) { return Reply(200, "5"); });
    EXPECT_EQ(RunCheck(server), "您的软件不需要更新。");
    EXPECT_FALSE(UpdateQueued());
}

TEST_F(MainFrameUpdateCheckTest, NoNetworkIsSaidBeforeAnyRequest)
{
    m_bNetwork = false;
    CLoopbackServer server([](const std::string&) { return Reply(200, "0"); });
    EXPECT_EQ(RunCheck(server), "您的电脑没有联网，不能更新！");
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(UpdateQueued());
}

TEST_F(MainFrameUpdateCheckTest, NotFoundIsAConnectionFailure)
{
    CLoopbackServer server([](const std::string&) { return Reply(404, "5"); });
    EXPECT_EQ(RunCheck(server), "无法建立与服务器连接，不能更新！");
    EXPECT_FALSE(UpdateQueued());
}

} // namespace
