// The player dialog with a recording stand-in for the main frame: what its
// buttons, keys, clicks, timers and context menu post and change.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <vlc/vlc.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/menu.h>

#include "controls/bitslider.h"
#include "controls/btnst.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "playback/purewmpdialog.h"
#include "ui/playercommand.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/playback/mediafixtures.h"
#include "tests/testsupport.h"

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::PumpUntil;

namespace {

using Keywords = std::vector<std::string>;

// Stands in for the main frame: keeps what the dialog posts.
class RecordingFrame : public wxEvtHandler {
public:
    RecordingFrame()
    {
        Bind(EVT_PLAYERCOMMAND, [this](CPlayerCommandEvent& event) {
            keywords.push_back(event.GetKeyword().str());
            arguments.push_back(event.GetArgument().str());
        });
        Bind(EVT_PLAYERBARSHOW, [this](wxCommandEvent&) { ++barEvents; });
    }
    // What arrived once the queued events have been handled; empties the record.
    Keywords Take()
    {
        Drain();
        Keywords taken;
        taken.swap(keywords);
        arguments.clear();
        return taken;
    }
    // Handles every queued event (a handler takes one event per call).
    void Drain()
    {
        while (wxTheApp->HasPendingEvents())
            wxTheApp->ProcessPendingEvents();
    }
    Keywords keywords;
    Keywords arguments;
    int barEvents = 0;
};

constexpr int kPlaying = 3;
constexpr int kPaused = 4;

class PlayerDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        theApp.m_strPlayState.Empty();
        theApp.m_strMediaPath.Empty();
        theApp.m_strPlayingNetFile.Empty();
        theApp.m_bNetFileReady = 0;
        theApp.m_nVolume = 100;
        theApp.m_bPlayerBarShown = 1;
        theApp.m_bWindowFullScreen = 0;
        theApp.m_nScreenWidth = 1280;
        theApp.m_nScreenHeight = 800;
        theApp.m_nSubtitleMode = 0;
        theApp.m_nAudioTrack = 0;
        theApp.m_arrPlayList.RemoveAll();
        host = new wxFrame(nullptr, wxID_ANY, "player", wxPoint(40, 40), wxSize(400, 300));
        dlg = new CPlayerDlg;
        ASSERT_TRUE(dlg->Create(host));
        dlg->SetCommandTarget(&recorder);
        host->Show();
        dlg->GetTimers().KillAll();   // the tests drive the timers tick by tick
    }

    void TearDown() override
    {
        if (dlg && dlg->IsVideoFullScreen())
            dlg->OnKeyDown(WXK_ESCAPE);
        host->Destroy();
        mediafixtures::Pump(30ms);
    }

    // Plays the five-second clip and lets the engine reach the state.
    bool Play(int state = kPlaying)
    {
        dlg->OpenMedia(GetMedia().clip.c_str());
        dlg->m_player->Play();
        if (!PumpUntil([&] { return dlg->m_player->GetState() == kPlaying; }, 5s))
            return false;
        if (state == kPaused) {
            dlg->m_player->Pause();
            return PumpUntil([&] { return dlg->m_player->GetState() == kPaused; }, 3s);
        }
        return true;
    }

    mediafixtures::EngineFolderScope engine{mediafixtures::Outputs::Dummy};
    RecordingFrame recorder;
    wxFrame* host = nullptr;
    CPlayerDlg* dlg = nullptr;
};

TEST_F(PlayerDlgTest, ButtonsPostTheirKeywordsByPlayState)
{
    struct Row {
        int button;
        const char* state;
        const char* media;
        Keywords expected;
    };
    const Row rows[] = {
        {CPlayerDlg::IDC_BTN_STOP, "OnStop", "a.mp4", {}},
        {CPlayerDlg::IDC_BTN_STOP, "", "a.mp4", {"HalvikSoftPlayerStop:"}},
        {CPlayerDlg::IDC_BTN_PLAYPAUSE, "OnPlay", "a.mp4", {"HalvikSoftPlayerPause:"}},
        {CPlayerDlg::IDC_BTN_PLAYPAUSE, "OnPause", "a.mp4", {"HalvikSoftPlayerPlay:"}},
        {CPlayerDlg::IDC_BTN_PLAYPAUSE, "OnStop", "a.mp4", {"HalvikSoftPlayerPlay:"}},
        {CPlayerDlg::IDC_BTN_PLAYPAUSE, "OnBuffering", "a.mp4", {}},
        {CPlayerDlg::IDC_BTN_PLAYPAUSE, "", "a.mp4", {}},
        {CPlayerDlg::IDC_BTN_PREV, "OnPlay", "a.mp4", {"HalvikSoftPlayerPlayPre:"}},
        {CPlayerDlg::IDC_BTN_NEXT, "OnPlay", "a.mp4", {"HalvikSoftPlayerPlayNext:"}},
        {CPlayerDlg::IDC_BTN_RESET, "OnPlay", "a.mp4", {"HalvikSoftPlayerReset:"}},
        {CPlayerDlg::IDC_BTN_RESET, "OnPlay", "", {}},
        {CPlayerDlg::IDC_BTN_DOWNLOADINFO, "", "", {"OpenDownloaderWndFromPlayer:"}},
        {ID_OPEN_DOWNLOADER, "", "", {"OpenDownloaderWndFromPlayer:"}},
        {ID_PLAYER_PAUSE, "OnPlay", "a.mp4", {"HalvikSoftPlayerPause:"}},
    };
    for (const Row& row : rows) {
        theApp.m_strPlayState = row.state;
        theApp.m_strMediaPath = row.media;
        // Buttons through a real click event that reaches the dialog.
        if (CButtonST* button = dlg->GetButton(row.button)) {
            wxCommandEvent click(wxEVT_BUTTON, row.button);
            click.SetEventObject(button);
            button->ProcessWindowEvent(click);
        } else {
            EXPECT_TRUE(dlg->DoCommand(row.button));
        }
        EXPECT_EQ(recorder.Take(), row.expected) << row.button << " in state '" << row.state << "'";
    }

    // The keyword travels as both texts.
    theApp.m_strPlayState = "OnPlay";
    dlg->OnBnClickedNextMedia();
    recorder.Drain();
    EXPECT_EQ(recorder.arguments, (Keywords{"HalvikSoftPlayerPlayNext:"}));
}

TEST_F(PlayerDlgTest, VolumeStaysWithinItsRangeAndIsPostedOnlyWhenItChanged)
{
    struct Row {
        int before;
        int button;
        int after;
        bool posted;
    };
    const Row rows[] = {
        {195, CPlayerDlg::IDC_BTN_VOLUMEUP, 200, true},  {200, CPlayerDlg::IDC_BTN_VOLUMEUP, 200, false},
        {100, CPlayerDlg::IDC_BTN_VOLUMEUP, 110, true},  {5, CPlayerDlg::IDC_BTN_VOLUMEDOWN, 0, true},
        {0, CPlayerDlg::IDC_BTN_VOLUMEDOWN, 0, false},   {100, CPlayerDlg::IDC_BTN_VOLUMEDOWN, 90, true},
    };
    for (const Row& row : rows) {
        theApp.m_nVolume = row.before;
        dlg->DoCommand(row.button);
        EXPECT_EQ(theApp.m_nVolume, row.after) << row.before;
        EXPECT_EQ(recorder.Take(), row.posted ? Keywords{"HalvikSoftPlayerSetVolume:"} : Keywords{}) << row.before;
    }
}

TEST_F(PlayerDlgTest, OpeningMediaReplacesThePlayListOnlyWithChosenMediaFiles)
{
    theApp.m_strCacheDir = "/tmp/cache/";
    theApp.m_arrPlayList.Add("/old/lesson.mp4");
    std::vector<CString> answer;
    std::vector<CPlayerDlg::SFileRequest> requests;
    dlg->SetFileChooser([&](const CPlayerDlg::SFileRequest& request) {
        requests.push_back(request);
        return answer;
    });

    // Cancelled, then only non-media files: the list stays, nothing is posted.
    for (const std::vector<CString>& chosen : {std::vector<CString>{}, std::vector<CString>{"/a/notes.txt", "/a/b.srt"}}) {
        answer = chosen;
        dlg->DoCommand(CPlayerDlg::IDC_BTN_OPEN);
        ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
        EXPECT_EQ(theApp.m_arrPlayList[0], "/old/lesson.mp4");
        EXPECT_TRUE(recorder.Take().empty());
    }
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].title, "打开播放文件");
    EXPECT_TRUE(requests[0].multiple);
    EXPECT_EQ(requests[0].folder, "/tmp/cache/");

    // Three files, one of them text: the two media files in the dialog's
    // order; both keywords, posted in one turn, arrive one after the other.
    answer = {"/m/第一课.mp4", "/m/notes.txt", "/m/song.mp3"};
    theApp.m_nPlayIndex = 3;
    dlg->DoCommand(ID_OPEN_LOCALMEDIA);
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 2);
    EXPECT_EQ(theApp.m_arrPlayList[0], "/m/第一课.mp4");
    EXPECT_EQ(theApp.m_arrPlayList[1], "/m/song.mp3");
    EXPECT_EQ(theApp.m_nPlayIndex, -1);
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPlayLocalFile:", "SelectFirstPlayLocalPlaylistFile:"}));
}

TEST_F(PlayerDlgTest, ClicksPauseAfterTheDelayAndDoubleClicksSwitchFullScreen)
{
    ASSERT_TRUE(Play());
    const wxPoint video(200, 300);

    // Without media loaded clicks change nothing.
    dlg->OnVideoLeftDown(video);
    EXPECT_FALSE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerClick));

    theApp.m_strMediaPath = "lesson.mp4";
    // The band of 110 pixels at the bottom of the screen does not count.
    dlg->OnVideoLeftDown(wxPoint(200, 800 - 110));
    EXPECT_FALSE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerClick));

    // A single click pauses half a second later.
    dlg->OnVideoLeftDown(wxPoint(200, 800 - 111));
    EXPECT_TRUE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerClick));
    dlg->OnTimer(CPlayerDlg::kTimerClick);
    EXPECT_FALSE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerClick));
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPause:"}));

    // A double click: the pending single click does nothing, the video goes
    // full screen and the main window is asked to hide.
    dlg->OnVideoLeftDown(video);
    dlg->OnVideoDoubleClick(video);
    dlg->OnTimer(CPlayerDlg::kTimerClick);
    EXPECT_TRUE(dlg->m_player->IsFullscreen());
    EXPECT_EQ(theApp.m_bVideoFullScreen, 1);
    ASSERT_NE(dlg->GetFullScreenFrame(), nullptr);
    EXPECT_EQ(dlg->GetParent(), dlg->GetFullScreenFrame());
    EXPECT_TRUE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerEnterFullScreen));
    dlg->OnTimer(CPlayerDlg::kTimerEnterFullScreen);
    EXPECT_EQ(recorder.Take(), (Keywords{"MainFrameMiniMize:"}));

    // One second later single clicks act again.
    dlg->OnTimer(CPlayerDlg::kTimerDoubleClick);
    EXPECT_FALSE(dlg->m_bDblClick);

    // Esc returns to the host and half a second later shows the main window.
    EXPECT_TRUE(dlg->OnKeyDown(WXK_ESCAPE));
    EXPECT_FALSE(dlg->m_player->IsFullscreen());
    EXPECT_EQ(theApp.m_bVideoFullScreen, 0);
    EXPECT_EQ(dlg->GetParent(), host);
    EXPECT_EQ(dlg->GetFullScreenFrame(), nullptr);
    dlg->OnTimer(CPlayerDlg::kTimerLeaveFullScreen);
    EXPECT_EQ(recorder.Take(), (Keywords{"MainFrameMormalMize:"}));
    EXPECT_EQ(dlg->m_staticVideo->GetSize(), dlg->GetClientSize());

    // Esc in the pane is swallowed and does nothing.
    EXPECT_TRUE(dlg->OnKeyDown(WXK_ESCAPE));
    EXPECT_EQ(dlg->GetParent(), host);
    EXPECT_TRUE(recorder.Take().empty());
}

TEST_F(PlayerDlgTest, EnteringFullScreenInCompactStyleBringsTheMainWindowBackAtNormalSize)
{
    ASSERT_TRUE(Play());
    theApp.m_strMediaPath = "lesson.mp4";
    theApp.m_bWindowFullScreen = 1;
    theApp.m_strMainWindowState = "Max";
    dlg->OnVideoDoubleClick(wxPoint(100, 100));
    EXPECT_EQ(theApp.m_strMainWindowState, "Normal");
    // A second double click that counts returns.
    dlg->OnVideoDoubleClick(wxPoint(100, 100));
    EXPECT_FALSE(dlg->IsVideoFullScreen());
}

TEST_F(PlayerDlgTest, KeysFollowTheEngineState)
{
    EXPECT_FALSE(dlg->OnKeyDown(WXK_SPACE)) << "nothing plays";
    ASSERT_TRUE(Play());
    EXPECT_TRUE(dlg->OnKeyDown(WXK_SPACE));
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPause:"}));

    // A real key press on the focused video reaches the dialog.
    dlg->m_staticVideo->SetFocus();
    wxKeyEvent key(wxEVT_CHAR_HOOK);
    key.m_keyCode = WXK_SPACE;
    key.SetEventObject(dlg->m_staticVideo);
    dlg->m_staticVideo->ProcessWindowEvent(key);
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPause:"}));

    dlg->m_player->Pause();
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetState() == kPaused; }, 3s));
    EXPECT_TRUE(dlg->OnKeyDown(WXK_SPACE));
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPlay:"}));
    EXPECT_FALSE(dlg->OnKeyDown(WXK_RIGHT)) << "skips only while playing";
}

TEST_F(PlayerDlgTest, SkipsStayInsideTheMedia)
{
    ASSERT_TRUE(Play(kPaused));
    dlg->m_player->Seek(3000);
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetTime() >= 2900; }, 3s));
    dlg->OnSkipBackward();
    EXPECT_TRUE(PumpUntil([&] { return dlg->m_player->GetTime() >= 0 && dlg->m_player->GetTime() < 500; }, 3s))
        << dlg->m_player->GetTime();

    const int64_t length = dlg->m_player->GetLength();
    ASSERT_GT(length, 4000);
    dlg->m_player->Seek(length - 2000);
    PumpUntil([&] { return dlg->m_player->GetTime() >= length - 2100; }, 3s);
    dlg->OnSkipForward();
    mediafixtures::Pump(300ms);
    EXPECT_LE(dlg->m_player->GetTime(), length);
}

TEST_F(PlayerDlgTest, BarAndCursorFollowTheMouseInFullScreen)
{
    wxPoint cursor(0, 0);
    dlg->SetCursorSource([&] { return cursor; });
    dlg->m_player->SetFullscreen(true);   // the tests of these timers ask the facade
    theApp.m_bPlayerBarShown = 0;

    // The first tick of the mouse watch never shows the cursor.
    cursor = wxPoint(300, 300);
    dlg->OnTimer(CPlayerDlg::kTimerMouseWatch);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 0);
    // A move of less than 10 pixels is no move; 10 pixels is.
    cursor = wxPoint(309, 309);
    dlg->OnTimer(CPlayerDlg::kTimerMouseWatch);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 0);
    cursor = wxPoint(319, 309);
    dlg->OnTimer(CPlayerDlg::kTimerMouseWatch);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 1);
    recorder.Drain();
    EXPECT_EQ(recorder.barEvents, 1);

    // Five quiet seconds later the cursor and bar hide (sixth tick).
    for (int i = 0; i < 5; ++i)
        dlg->OnTimer(CPlayerDlg::kTimerBarCountdown);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 1);
    dlg->OnTimer(CPlayerDlg::kTimerBarCountdown);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 0);
    recorder.Drain();
    EXPECT_EQ(recorder.barEvents, 2);

    // Resting near the bottom keeps the bar.
    theApp.m_bPlayerBarShown = 1;
    cursor = wxPoint(319, 750);
    for (int i = 0; i < 20; ++i) {
        dlg->OnTimer(CPlayerDlg::kTimerMouseWatch);
        dlg->OnTimer(CPlayerDlg::kTimerBarCountdown);
    }
    EXPECT_EQ(theApp.m_bPlayerBarShown, 1);

    // A move near the bottom lays out and shows the bar.
    dlg->OnVideoMouseMove(wxPoint(400, 760));
    EXPECT_TRUE(dlg->GetSeekBar()->IsShown());
    EXPECT_EQ(dlg->GetSeekBar()->GetRect(), wxRect(0, 800 - 65, 1280, 15));
    EXPECT_EQ(dlg->GetButton(CPlayerDlg::IDC_BTN_PLAYPAUSE)->GetRect(), wxRect(1280 / 2 - 128 + 96, 800 - 46, 32, 32));
    EXPECT_FALSE(dlg->GetButton(CPlayerDlg::IDC_BTN_SPARE)->IsShown());
    dlg->HideControlBar();
    EXPECT_FALSE(dlg->GetSeekBar()->IsShown());
    EXPECT_FALSE(dlg->GetButton(CPlayerDlg::IDC_BTN_OPEN)->IsShown());
    dlg->m_player->SetFullscreen(false);
}

// With an embedded subtitle on screen a stop would hold the interface for
// seconds: both players' windows return at once, and their engines have
// stopped shortly after.
TEST_F(PlayerDlgTest, StopPlayerNeverWaitsOnTheInterfaceThread)
{
    auto* second = new CPureWMPDialog;
    ASSERT_TRUE(second->Create(nullptr));
    struct Row {
        const char* name;
        CVlcPlayer* player;
        std::function<void()> stop;
    };
    const Row rows[] = {
        {"player dialog", dlg->m_player.get(), [&] { dlg->StopPlayer(); }},
        {"second player", second->m_player.get(), [&] { second->StopPlayer(); }},
    };
    for (const Row& row : rows) {
        row.player->OpenFile(GetMedia().clip.c_str());
        row.player->Play();
        ASSERT_TRUE(PumpUntil([&] { return row.player->GetState() == kPlaying; }, 5s)) << row.name;
        row.player->SetSpu(1);
        ASSERT_TRUE(PumpUntil([&] { return row.player->GetSpuId() != -1; }, 2s)) << row.name;
        const auto start = std::chrono::steady_clock::now();
        row.stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms) << row.name;
        EXPECT_EQ(row.player->GetState(), CVlcPlayer::kStateStopped) << row.name;
        EXPECT_TRUE(PumpUntil([&] { return libvlc_media_player_get_state(row.player->RawPlayer()) == libvlc_Stopped; },
                              3s))
            << row.name;
    }
    second->Destroy();
}

// In full screen the engine's video window lies over the dialog and takes
// every mouse move; the bar follows the pointer's position all the same.
TEST_F(PlayerDlgTest, FullScreenBarFollowsThePointerUnderAWindowThatTakesTheMoves)
{
    theApp.m_strMediaPath = "lesson.mp4";
    dlg->OnVideoDoubleClick(wxPoint(300, 300));
    ASSERT_TRUE(dlg->IsVideoFullScreen());
    EXPECT_TRUE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerPointerWatch));
    // Stands in for the engine's window: covers the video, swallows moves.
    auto* standIn = new wxWindow(dlg->m_staticVideo, wxID_ANY, wxPoint(0, 0), dlg->m_staticVideo->GetClientSize());
    standIn->Bind(wxEVT_MOTION, [](wxMouseEvent&) {});
    testsupport::RunLoopUntil([&] { return standIn->IsShownOnScreen(); }, 2s);

    struct Step {
        wxPoint pointer;
        bool barShown;
    };
    const Step steps[] = {
        {{640, 300}, false},   // over the video
        {{640, 701}, true},    // 99 pixels above the bottom
        {{640, 300}, true},    // back up: the bar stays until its countdown runs out
    };
    for (const Step& step : steps) {
        standIn->WarpPointer(standIn->ScreenToClient(step.pointer).x, standIn->ScreenToClient(step.pointer).y);
        testsupport::RunLoopUntil([&] { return wxGetMousePosition() == step.pointer; }, 2s);
        ASSERT_EQ(wxGetMousePosition(), step.pointer);
        dlg->OnTimer(CPlayerDlg::kTimerPointerWatch);
        EXPECT_EQ(dlg->GetSeekBar()->IsShown(), step.barShown) << step.pointer.y;
    }
    EXPECT_EQ(dlg->GetSeekBar()->GetRect(), wxRect(0, 800 - 65, 1280, 15));
    EXPECT_EQ(dlg->m_staticVideo->GetSize(), wxSize(1280, 800 - 65));

    // Five quiet seconds away from the bottom: cursor and bar hide, and the
    // keys go to the video again (Esc leaves full screen).
    theApp.m_bPlayerBarShown = 1;
    for (int i = 0; i < 6; ++i)
        dlg->OnTimer(CPlayerDlg::kTimerBarCountdown);
    EXPECT_EQ(theApp.m_bPlayerBarShown, 0);
    dlg->ShowControlBar();
    dlg->GetSeekBar()->SetFocus();
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return dlg->GetSeekBar()->HasFocus(); }, 2s));
    dlg->HideControlBar();
    EXPECT_FALSE(dlg->GetSeekBar()->HasFocus());

    // Back in the pane the position is no longer watched.
    dlg->OnKeyDown(WXK_ESCAPE);
    EXPECT_FALSE(dlg->GetTimers().IsRunning(CPlayerDlg::kTimerPointerWatch));
}

TEST_F(PlayerDlgTest, RefreshSendsAPendingSeekOrFollowsPlayback)
{
    theApp.m_strTimeText = "01:02/03:04";
    theApp.m_nSeekRequest = 0;
    theApp.m_nPlayProgress = 2500;
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    EXPECT_EQ(dlg->GetSeekBar()->GetPos(), 2500);
    EXPECT_EQ(FromWx(dlg->GetButton(CPlayerDlg::IDC_BTN_PROGRESSINFO)->GetLabel()), "01:02/03:04");
    EXPECT_TRUE(recorder.Take().empty());

    dlg->GetSeekBar()->SetPos(7000);
    theApp.m_nSeekRequest = 7000;
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    EXPECT_EQ(theApp.m_nPlayProgress, 7000);
    EXPECT_EQ(theApp.m_nSeekRequest, 0);
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPlayProgress:"}));
}

// The dialog gives its seek bar the media length and the screen width of the
// application object and turns the bar's releases into its seek request.
TEST_F(PlayerDlgTest, SeekBarWorksWithTheApplicationsLengthAndScreen)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_nMediaLength, &CQuenlowApp::m_nSeekRequest,
                                     &CQuenlowApp::m_nPlayProgress);
    CBitSlider* bar = dlg->GetSeekBar();
    CRect channel;
    bar->GetChannelRect(&channel);
    ASSERT_GT(channel.Width(), 0);
    theApp.m_nSeekRequest = 0;
    theApp.m_nPlayProgress = 0;

    // Too short a medium shows no time under the pointer; a long one does.
    theApp.m_nMediaLength = 500;
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    bar->UpdateTimeTooltip();
    EXPECT_EQ(bar->GetTooltipText(), "");
    theApp.m_nMediaLength = 600000;
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    bar->UpdateTimeTooltip();
    EXPECT_NE(bar->GetTooltipText(), "");

    // A release is the seek request the next refresh sends.
    bar->OnLButtonUp(CPoint(channel.left + channel.Width() / 2, 6));
    const int position = bar->GetPos();
    EXPECT_GT(position, 0);
    EXPECT_EQ(theApp.m_nSeekRequest, position);
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    EXPECT_EQ(theApp.m_nPlayProgress, position);
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerPlayProgress:"}));

    // Without a screen width a release seeks nowhere.
    theApp.m_nScreenWidth = 0;
    dlg->OnTimer(CPlayerDlg::kTimerRefresh);
    bar->OnLButtonUp(CPoint(channel.left + channel.Width() / 4, 6));
    EXPECT_EQ(theApp.m_nSeekRequest, 0);
}

// ---- Context menu ----

wxMenu* SubMenu(wxMenu* menu, const char* label)
{
    for (wxMenuItem* item : menu->GetMenuItems())
        if (item->GetSubMenu() && item->GetItemLabelText() == ToWx(label))
            return item->GetSubMenu();
    return nullptr;
}

std::vector<std::string> Labels(wxMenu* menu)
{
    std::vector<std::string> labels;
    for (wxMenuItem* item : menu->GetMenuItems())
        labels.push_back(item->IsSeparator() ? "-" : item->GetItemLabelText().utf8_string());
    return labels;
}

TEST_F(PlayerDlgTest, ContextMenuListsTheMediaTracksWithTheirChecks)
{
    ASSERT_TRUE(Play());
    theApp.m_strMediaPath = "lesson.mp4";
    theApp.m_strPlayState = "OnPlay";
    theApp.m_nPlayOrder = 2;
    theApp.m_strScriptPath = "/nowhere/lesson.script";   // no lesson: the placeholder stays
    // As playback starts, the video's own subtitles go off.
    dlg->m_player->SetSpu(-1);
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetSpuId() == -1; }, 5s));
    std::unique_ptr<wxMenu> menu = dlg->BuildContextMenu();
    menu->UpdateUI(dlg);

    ASSERT_EQ(menu->GetMenuItemCount(), 8u);
    wxMenu* subtitles = SubMenu(menu.get(), "字幕");
    ASSERT_NE(subtitles, nullptr);
    wxMenu* embedded = SubMenu(subtitles, "自带字幕");
    ASSERT_NE(embedded, nullptr);
    // The engine's "Disable" entry, then the named tracks; "X" is left out.
    EXPECT_EQ(Labels(embedded), (std::vector<std::string>{mediafixtures::U8(u8"禁用"), mediafixtures::U8(u8"中"), "English"}));
    EXPECT_EQ(embedded->FindItemByPosition(1)->GetId(), ID_SUBTITLE_TRACK + 1);
    wxMenu* audio = SubMenu(menu.get(), "声道");
    EXPECT_EQ(Labels(audio), (std::vector<std::string>{mediafixtures::U8(u8"禁用"), "Tone 440", "Tone 880"}));
    EXPECT_EQ(Labels(SubMenu(subtitles, "软件字幕")), (std::vector<std::string>{"       "}));

    // Mode 0 checks both the first track and "关闭字幕".
    EXPECT_TRUE(embedded->FindItemByPosition(0)->IsChecked());
    EXPECT_TRUE(menu->FindItem(ID_SUBTITLE_OFF)->IsChecked());
    EXPECT_TRUE(menu->FindItem(ID_ORDER_RANDOM)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_ORDER_SEQUENCE)->IsChecked());
    EXPECT_TRUE(menu->FindItem(ID_PLAYER_PLAY)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_PLAYER_PLAY)->IsEnabled());
    EXPECT_TRUE(menu->FindItem(ID_PLAYER_PAUSE)->IsEnabled());
    EXPECT_TRUE(menu->FindItem(ID_PLAYER_SKIPFORWARD)->IsEnabled());

    // Choosing tracks goes to the facade by their listed position.
    EXPECT_TRUE(dlg->DoCommand(ID_AUDIO_TRACK + 2));
    EXPECT_TRUE(dlg->DoCommand(ID_SUBTITLE_TRACK + 1));
    menu = dlg->BuildContextMenu();
    menu->UpdateUI(dlg);
    EXPECT_EQ(theApp.m_nAudioTrack, 2);
    EXPECT_EQ(theApp.m_nSubtitleMode, 1);
    EXPECT_TRUE(menu->FindItem(ID_AUDIO_TRACK + 2)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_AUDIO_TRACK)->IsChecked());
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetSpuId() != -1; }, 5s));
    menu = dlg->BuildContextMenu();
    menu->UpdateUI(dlg);
    EXPECT_TRUE(menu->FindItem(ID_SUBTITLE_TRACK + 1)->IsChecked());
    EXPECT_FALSE(menu->FindItem(ID_SUBTITLE_OFF)->IsChecked());

    // The file opens again and its start switches the track off: the tick
    // follows what plays, not the earlier choice.
    dlg->m_player->SetSpu(-1);
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetSpuId() == -1; }, 5s));
    menu = dlg->BuildContextMenu();
    menu->UpdateUI(dlg);
    EXPECT_EQ(theApp.m_nSubtitleMode, 1);
    EXPECT_FALSE(menu->FindItem(ID_SUBTITLE_TRACK + 1)->IsChecked());
    EXPECT_TRUE(SubMenu(SubMenu(menu.get(), "字幕"), "自带字幕")->FindItemByPosition(0)->IsChecked());
}

// The mute button shows the state: the speaker's shape while muted is not
// the one while the sound is on (a colour change alone was easy to miss),
// and it comes back when the sound does.
TEST_F(PlayerDlgTest, MuteButtonShowsWhetherTheSoundIsOn)
{
    CButtonST* mute = dlg->GetButton(CPlayerDlg::IDC_BTN_MUTE);
    ASSERT_NE(mute, nullptr);
    // The drawn pixels that are not the button's background.
    const auto shape = [&] {
        wxBitmap bitmap(32, 32);
        {
            wxMemoryDC dc(bitmap);
            mute->DrawItem(dc, CRect(0, 0, 32, 32), 0);
        }
        const wxImage image = bitmap.ConvertToImage();
        const unsigned char* back = image.GetData();
        std::vector<bool> drawn;
        for (int i = 0; i < 32 * 32; ++i) {
            const unsigned char* p = image.GetData() + 3 * i;
            drawn.push_back(std::abs(p[0] - back[0]) + std::abs(p[1] - back[1]) + std::abs(p[2] - back[2]) > 60);
        }
        return drawn;
    };
    // The button's pictures come from the program folder's res folder.
    testsupport::AppStateGuard folder(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = GetProgramFolder() + "../program/";
    dlg->OnBnClickedMute();
    const std::vector<bool> muted = shape();
    EXPECT_GT(std::count(muted.begin(), muted.end(), true), 40);
    dlg->OnBnClickedMute();
    const std::vector<bool> soundOn = shape();
    EXPECT_GT(std::count(soundOn.begin(), soundOn.end(), true), 40);
    EXPECT_NE(muted, soundOn);
    dlg->OnBnClickedMute();
    EXPECT_EQ(shape(), muted);
    dlg->OnBnClickedMute();
}

// The engine names tracks in English under the C locale; the menus show
// its placeholders in Chinese and every other name as it is.
TEST(PlayerTrackNames, EnginePlaceholdersAreShownInChinese)
{
    const struct {
        const char* name;
        bool audio;
        const char* shown;
    } rows[] = {
        {"Disable", true, "禁用"},        {"Disable", false, "禁用"},
        {"Track 1", true, "音轨 1"},      {"Track 12", false, "字幕 12"},
        {"Track", true, "Track"},         {"Track 1a", true, "Track 1a"},
        {"Tone 440", true, "Tone 440"},   {"中文 - [Chinese]", false, "中文 - [Chinese]"},
        {"Disabled", false, "Disabled"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CPlayerDlg::ShownTrackName(row.name, row.audio), row.shown) << row.name;
}

TEST_F(PlayerDlgTest, NinthSubtitleTrackGetsAnIdOfItsOwn)
{
    dlg->OpenMedia(GetMedia().largestLists.c_str());
    dlg->m_player->Play();
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetState() == kPlaying; }, 5s));
    testsupport::TempFolder folder;
    const CString lesson = folder.ansi() + "lesson.script";
    folder.write("lesson.script", "x");
    theApp.m_strScriptPath = lesson;
    theApp.m_strBlankScriptPath = folder.ansi() + "blank.script";
    std::unique_ptr<wxMenu> menu = dlg->BuildContextMenu();
    wxMenu* embedded = SubMenu(SubMenu(menu.get(), "字幕"), "自带字幕");
    ASSERT_EQ(embedded->GetMenuItemCount(), 9u);
    EXPECT_EQ(embedded->FindItemByPosition(8)->GetId(), ID_SUBTITLE_TRACK9);
    // The bilingual command is the lesson item's alone.
    int bilingual = 0;
    std::function<void(wxMenu*)> count = [&](wxMenu* m) {
        for (wxMenuItem* item : m->GetMenuItems()) {
            bilingual += item->GetId() == ID_SUBTITLE_BOTH;
            if (item->GetSubMenu())
                count(item->GetSubMenu());
        }
    };
    count(menu.get());
    EXPECT_EQ(bilingual, 1);
    // With a lesson: two separators between the order and the colour items.
    const std::vector<std::string> lessonItems = Labels(SubMenu(SubMenu(menu.get(), "字幕"), "软件字幕"));
    ASSERT_EQ(lessonItems.size(), 24u);
    EXPECT_EQ(lessonItems[5], mediafixtures::U8(u8"[字幕顺序]英上中下"));
    EXPECT_EQ(lessonItems[6], "-");
    EXPECT_EQ(lessonItems[7], "-");
    EXPECT_EQ(lessonItems[8], mediafixtures::U8(u8"[字幕颜色]白色"));
    dlg->m_player->SetSpu(-1);
}

TEST_F(PlayerDlgTest, LoadingSubtitlesComparesExtensionsAndKeepsTheLessonPath)
{
    ASSERT_TRUE(Play());
    theApp.m_strMediaPath = "lesson.mp4";
    testsupport::TempFolder folder;
    // A subtitle file in a folder whose name holds ".script".
    const std::string srt = folder.write("my.script/extra.srt", "1\n00:00:00,000 --> 00:00:04,000\nthird\n\n");
    const CString otherLesson = folder.ansi() + "other.script";
    folder.write("other.script", "x");
    theApp.m_strScriptPath = folder.ansi() + "loaded.script";
    const CString loadedLesson = theApp.m_strScriptPath;
    std::vector<CString> answer;
    dlg->SetFileChooser([&](const CPlayerDlg::SFileRequest&) { return answer; });

    answer = {folder.ansi() + "my.script/extra.srt"};
    dlg->DoCommand(ID_LOAD_SUBTITLE);
    EXPECT_EQ(theApp.m_strScriptPath, loadedLesson);
    EXPECT_GT(theApp.m_arrSubtitleTracks.GetSize(), 0);
    EXPECT_EQ(theApp.m_nSubtitleMode, theApp.m_arrSubtitleTracks.GetSize());

    // A lesson that is not loaded does not become the lesson path.
    answer = {otherLesson};
    dlg->DoCommand(ID_LOAD_SUBTITLE);
    EXPECT_EQ(theApp.m_strScriptPath, loadedLesson);
    EXPECT_NE(theApp.m_nSubtitleMode, 25);

    // Cancel changes nothing.
    const int mode = theApp.m_nSubtitleMode;
    answer.clear();
    dlg->DoCommand(ID_LOAD_SUBTITLE);
    EXPECT_EQ(theApp.m_nSubtitleMode, mode);
    dlg->m_player->SetSpu(-1);
}

// A GB18030 subtitle file chosen with "载入字幕" reaches the engine as a UTF-8
// copy; the learner's file stays as it was.
TEST_F(PlayerDlgTest, LoadedGb18030SubtitleReachesTheEngineAsUtf8)
{
    ASSERT_TRUE(Play());
    testsupport::TempFolder folder;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAssBothBasePath);
    theApp.m_strAssBothBasePath = folder.ansi() + "AppData/Temp/Script/Both.ass";
    const std::string gbText = "1\r\n00:00:00,000 --> 00:00:04,000\r\n长时间\r\n\r\n";
    const std::string srt = folder.write("gb18030.srt", gbText);
    std::vector<CString> answer = {CString(srt)};
    dlg->SetFileChooser([&](const CPlayerDlg::SFileRequest&) { return answer; });
    const int tracksBefore = theApp.m_arrSubtitleTracks.GetSize();

    dlg->DoCommand(ID_LOAD_SUBTITLE);
    EXPECT_NE(dlg->m_strGivenSubtitle, CString(srt));
    EXPECT_EQ(testsupport::ReadBytes(ToFsPath(dlg->m_strGivenSubtitle)), AnsiToUtf8Bytes(gbText));
    EXPECT_EQ(testsupport::ReadBytes(srt), gbText);
    // The engine adds the track on its own thread, a moment after the call.
    EXPECT_TRUE(PumpUntil(
        [&] {
            dlg->m_player->ListSubtitleTracks();
            return theApp.m_arrSubtitleTracks.GetSize() > tracksBefore;
        },
        5s));
    dlg->m_player->SetSpu(-1);
}

// "载入字幕" offers ".lrc" files, and one chosen there reaches the engine,
// which reads no ".lrc" itself, as an ".srt" copy that becomes a track.
TEST_F(PlayerDlgTest, LoadedLrcSubtitleBecomesATrack)
{
    ASSERT_TRUE(Play());
    testsupport::TempFolder folder;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAssBothBasePath);
    theApp.m_strAssBothBasePath = folder.ansi() + "AppData/Temp/Script/Both.ass";
    const std::string lrc = folder.write("song.lrc", "[00:00.00]Hello my friend 你好\n[00:03.00]Bye\n");
    std::vector<CPlayerDlg::SFileRequest> requests;
    dlg->SetFileChooser([&](const CPlayerDlg::SFileRequest& request) {
        requests.push_back(request);
        return std::vector<CString>{CString(lrc)};
    });
    const int tracksBefore = theApp.m_arrSubtitleTracks.GetSize();

    dlg->DoCommand(ID_LOAD_SUBTITLE);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].wildcard.Find("*.lrc;"), -1);
    EXPECT_EQ(dlg->m_strGivenSubtitle, folder.ansi() + "AppData/Temp/Script/Utf8/song.lrc.srt");
    EXPECT_NE(testsupport::ReadBytes(ToFsPath(dlg->m_strGivenSubtitle)).find("Hello my friend"), std::string::npos);
    EXPECT_TRUE(PumpUntil(
        [&] {
            dlg->m_player->ListSubtitleTracks();
            return theApp.m_arrSubtitleTracks.GetSize() > tracksBefore;
        },
        5s));
    dlg->m_player->SetSpu(-1);
}

TEST_F(PlayerDlgTest, CompactStyleTogglesAndPostsEachWay)
{
    dlg->DoCommand(ID_COMPACT_MODE);
    EXPECT_EQ(theApp.m_bWindowFullScreen, 1);
    dlg->DoCommand(ID_COMPACT_MODE);
    EXPECT_EQ(theApp.m_bWindowFullScreen, 0);
    EXPECT_EQ(recorder.Take(), (Keywords{"HalvikSoftPlayerSetMiniStytle:", "HalvikSoftPlayerCancelMiniStytle:"}));
}

} // namespace
