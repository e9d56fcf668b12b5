// The video under Xvfb with the plain X11 output: in the player pane of a
// real main window, after the full-screen round trip, after floating and
// re-docking the pane; and in the second player window.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/aui/aui.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "frame/mainfrm.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "ui/showmsgdlg.h"
#include "tests/playback/mediafixtures.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/minihtmldlg.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::Pump;
using mediafixtures::PumpUntil;

namespace {

Display* XDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

// Share of non-black screen pixels in the middle half of the window (read
// from the screen, so only what is really shown counts).
double NonBlackShare(wxWindow* window)
{
    if (!window->IsShownOnScreen())
        return 0;
    wxGetTopLevelParent(window)->Raise();
    const wxPoint origin = window->GetScreenPosition();
    const wxSize size = window->GetClientSize();
    const int w = size.x / 2, h = size.y / 2;
    if (w <= 0 || h <= 0)
        return 0;
    Display* display = XDisplay();
    XImage* image = XGetImage(display, DefaultRootWindow(display), origin.x + size.x / 4, origin.y + size.y / 4,
                              static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (!image)
        return 0;
    int bright = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const unsigned long pixel = XGetPixel(image, i, j);
            if (((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) > 60)
                ++bright;
        }
    XDestroyImage(image);
    return static_cast<double>(bright) / (w * h);
}

bool ShowsVideo(wxWindow* window)
{
    return PumpUntil([&] { return NonBlackShare(window) > 0.5; }, 5s);
}

TEST(PlayerPaneVideo, StaysInThePaneThroughFullScreenAndFloating)
{
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::X11);
    GetMedia();
    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    document.OnNewDocument();
    auto* frame = new CMainFrame(program.ansi());
    ASSERT_TRUE(frame->Create(&document));
    frame->SetSize(0, 0, 1000, 700);
    frame->Show();
    theApp.m_strStartupDone = "true";
    theApp.m_nScreenWidth = 1280;
    theApp.m_nScreenHeight = 800;
    CPlayerPane* pane = frame->m_wndPlayerPane;
    frame->ShowPane(pane, true);
    frame->DockPane(pane);
    frame->SetPlayerPaneSize(500);
    CPlayerDlg* dlg = pane->m_dlgPlayer;
    // Stands in for the frame's dispatcher, which is not the subject here.
    wxEvtHandler recorder;
    dlg->SetCommandTarget(&recorder);
    Pump(200ms);
    EXPECT_LT(NonBlackShare(dlg->m_staticVideo), 0.01) << "the pane shows something before the video";

    dlg->OpenMedia(GetMedia().clip.c_str());
    dlg->m_player->Play();
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetState() == 3; }, 5s));
    // The engine says "playing" before its first picture is drawn; a pause
    // taken before that picture (a loaded machine) would leave the pane black.
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video in the pane";
    dlg->m_player->Pause();   // a still picture for the pixel checks
    PumpUntil([&] { return dlg->m_player->GetState() == 4; }, 3s);
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video in the paused pane";

    theApp.m_strMediaPath = "clip.mkv";
    const wxPoint centre = dlg->m_staticVideo->GetScreenPosition() + dlg->m_staticVideo->GetClientSize() / 2;
    dlg->OnVideoDoubleClick(centre);
    ASSERT_TRUE(dlg->IsVideoFullScreen());
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video in full screen";
    EXPECT_GT(dlg->m_staticVideo->GetClientSize().x, 900);

    dlg->OnKeyDown(WXK_ESCAPE);
    ASSERT_FALSE(dlg->IsVideoFullScreen());
    EXPECT_EQ(dlg->GetParent(), pane);
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video after returning to the pane";

    wxAuiManager& manager = frame->GetPaneManager();
    manager.GetPane(pane).Float().FloatingPosition(600, 100).FloatingSize(400, 320);
    manager.Update();
    EXPECT_TRUE(PumpUntil([&] { return wxGetTopLevelParent(pane) != frame; }, 2s));
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video in the floating pane";

    manager.GetPane(pane).Dock();
    manager.Update();
    EXPECT_TRUE(PumpUntil([&] { return wxGetTopLevelParent(pane) == frame; }, 2s));
    EXPECT_TRUE(ShowsVideo(dlg->m_staticVideo)) << "no video after docking again";

    dlg->m_player->SetSpu(-1);
    frame->Close(true);
    Pump(100ms);
    testsupport::DestroyApplicationWindows();
    theApp.m_strStartupDone.Empty();
    theApp.m_strMediaPath.Empty();
}

TEST(SecondPlayerWindow, PlaysAClipAndStopsQuickly)
{
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::X11);
    auto* window = new CPureWMPDialog;
    ASSERT_TRUE(window->Create(nullptr));
    window->SetSize(700, 300, 500, 400);
    window->m_staticVideo->SetSize(0, 0, 500, 400);
    window->Show();
    Pump(100ms);
    window->m_player->OpenFile(GetMedia().clip.c_str());
    window->m_player->Play();
    ASSERT_TRUE(PumpUntil([&] { return window->GetPlayerState() == 3; }, 5s));
    EXPECT_TRUE(ShowsVideo(window->m_staticVideo)) << "no video in the second window";

    // The clip carries subtitle tracks; the stop still returns at once.
    const auto before = std::chrono::steady_clock::now();
    window->StopPlayer();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_EQ(window->GetPlayerState(), 5);

    // Enter and Esc leave it open.
    for (int key : {WXK_RETURN, WXK_ESCAPE}) {
        wxKeyEvent press(wxEVT_CHAR_HOOK);
        press.m_keyCode = key;
        press.SetEventObject(window);
        window->ProcessWindowEvent(press);
        Pump(20ms);
        EXPECT_TRUE(window->IsShown()) << key;
    }
    // The window manager's close hides it, and the program knows it is hidden.
    theApp.m_bStreamDlgVisible = 1;
    window->Close();
    EXPECT_FALSE(window->IsShown());
    EXPECT_EQ(theApp.m_bStreamDlgVisible, 0);
    window->Destroy();
    Pump(50ms);
}

} // namespace
