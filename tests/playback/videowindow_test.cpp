// The video window under Xvfb: where its X window lives, what shows in it
// while the engine plays, and where clicks on it go.
#include <dlfcn.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "playback/videowindow.h"
#include "playback/vlcplayer.h"

#include <vlc/vlc.h>
#include "tests/playback/mediafixtures.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::Pump;
using mediafixtures::PumpUntil;

namespace {

Display* XDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

// Queries about a window that may have been destroyed fail instead of ending
// the program through the toolkit's X error handler.
class QuietXErrors {
public:
    QuietXErrors() { gdk_x11_display_error_trap_push(gdk_display_get_default()); }
    ~QuietXErrors() { gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default()); }
    QuietXErrors(const QuietXErrors&) = delete;
    QuietXErrors& operator=(const QuietXErrors&) = delete;
};

// The panel's own X window (0 while it has none).
Window XidOf(wxWindow* panel)
{
    GtkWidget* widget = panel->m_wxwindow ? panel->m_wxwindow : panel->GetHandle();
    GdkWindow* window = gtk_widget_get_realized(widget) ? gtk_widget_get_window(widget) : nullptr;
    return window && gdk_window_has_native(window) ? gdk_x11_window_get_xid(window) : 0;
}

Window ParentOf(Window window)
{
    QuietXErrors quiet;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(XDisplay(), window, &root, &parent, &children, &count))
        return 0;
    if (children)
        XFree(children);
    return parent;
}

// Zeroed (map_state 0 = IsUnmapped, size 0) when the window does not exist.
bool GetAttributes(Window window, XWindowAttributes& attributes)
{
    QuietXErrors quiet;
    attributes = XWindowAttributes{};
    const bool exists = XGetWindowAttributes(XDisplay(), window, &attributes) != 0;
    XSync(XDisplay(), False);
    return exists;
}

bool PlacedIn(const CVideoWindow& video, wxWindow* panel)
{
    const Window xid = XidOf(panel);
    if (!xid || ParentOf(video.GetXWindow()) != xid)
        return false;
    XWindowAttributes a;
    if (!GetAttributes(video.GetXWindow(), a))
        return false;
    const wxSize size = panel->GetClientSize();
    return a.map_state == IsViewable && a.x == 0 && a.y == 0 && a.width == size.x && a.height == size.y;
}

// The windows under a screen point, from the top-level window down to the
// deepest one.
std::vector<Window> WindowsAt(const wxPoint& point)
{
    std::vector<Window> chain;
    Display* display = XDisplay();
    Window current = DefaultRootWindow(display);
    for (;;) {
        int x = 0, y = 0;
        Window child = 0;
        if (!XTranslateCoordinates(display, DefaultRootWindow(display), current, point.x, point.y, &x, &y, &child) ||
            !child)
            return chain;
        chain.push_back(child);
        current = child;
    }
}

// Other test programs show windows on the same screen at the same time. While
// this is alive no other client's request is served, so nothing can cover the
// video between a check and what follows it. Inside it only plain requests on
// our own connection: the engine's threads may be waiting for the server
// inside Xlib's global lock (opening a display), so nothing that takes that
// lock (setting error handlers, as the toolkit's error traps do) may run.
class ServerGrab {
public:
    ServerGrab() { XGrabServer(XDisplay()); }
    ~ServerGrab()
    {
        XUngrabServer(XDisplay());
        XSync(XDisplay(), False);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;
};

wxPoint CentreOf(wxWindow* panel) { return panel->GetScreenPosition() + panel->GetClientSize() / 2; }

// Whether the screen at the panel's centre shows the video window (or the
// engine's window inside it). Under a ServerGrab.
bool VideoOnTop(const CVideoWindow& video, wxWindow* panel)
{
    const std::vector<Window> chain = WindowsAt(CentreOf(panel));
    return std::find(chain.begin(), chain.end(), video.GetXWindow()) != chain.end();
}

// Share of the screen pixels in the middle of the panel that are not black,
// read while `onTop` holds (checked under a ServerGrab); -1 while it does not.
double ShareShown(wxWindow* panel, const std::function<bool()>& onTop)
{
    const wxPoint origin = panel->GetScreenPosition();
    const wxSize size = panel->GetClientSize();
    const int x = origin.x + size.x / 4, y = origin.y + size.y / 4, w = size.x / 2, h = size.y / 2;
    Display* display = XDisplay();
    XImage* image = nullptr;
    wxGetTopLevelParent(panel)->Raise();
    {
        ServerGrab grab;
        if (!onTop())
            return -1.0;
        image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(w),
                          static_cast<unsigned>(h), AllPlanes, ZPixmap);
    }
    if (!image)
        return -1.0;
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

// What the video window (or the engine's window inside it) shows.
double NonBlackShare(const CVideoWindow& video, wxWindow* panel)
{
    return ShareShown(panel, [&] { return VideoOnTop(video, panel); });
}

// What the panel itself shows, with no window above it.
double PanelShare(wxWindow* panel)
{
    return ShareShown(panel, [&] {
        const std::vector<Window> chain = WindowsAt(CentreOf(panel));
        return !chain.empty() && chain.back() == XidOf(panel);
    });
}

// A real button press and release at the panel's centre through the XTEST
// extension, as a user's click arrives; false while another window covers
// the video. (XTEST is loaded at run time: the test program links only the
// program's own libraries.)
bool ClickOnVideo(const CVideoWindow& video, wxWindow* panel)
{
    static void* xtst = dlopen("libXtst.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!xtst)
        return false;
    const auto motion = reinterpret_cast<decltype(&XTestFakeMotionEvent)>(dlsym(xtst, "XTestFakeMotionEvent"));
    const auto button = reinterpret_cast<decltype(&XTestFakeButtonEvent)>(dlsym(xtst, "XTestFakeButtonEvent"));
    if (!motion || !button)
        return false;
    const wxPoint centre = CentreOf(panel);
    wxGetTopLevelParent(panel)->Raise();
    ServerGrab grab;
    if (!VideoOnTop(video, panel))
        return false;
    motion(XDisplay(), -1, centre.x, centre.y, 0);
    button(XDisplay(), 1, True, 0);
    button(XDisplay(), 1, False, 0);
    return true;
}

struct Stage {
    wxFrame* frame;
    wxPanel* panel;
};

// A shown-later frame whose client area is one black panel.
Stage MakeStage(const wxPoint& position, const wxSize& size)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "video", position, size);
    auto* panel = new wxPanel(frame);
    panel->SetBackgroundColour(*wxBLACK);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(panel, 1, wxEXPAND);
    frame->SetSizer(sizer);
    return {frame, panel};
}

TEST(VideoWindow, StaysInsideItsPanelThroughResizeRecreationAndReattach)
{
    Stage first = MakeStage(wxPoint(20, 20), wxSize(360, 280));
    CVideoWindow video;
    // Bound before the panel is on screen, as a dialog does while it is set up.
    ASSERT_TRUE(video.Create(first.panel));
    ASSERT_NE(video.GetXWindow(), 0u);
    first.frame->Show();
    EXPECT_TRUE(PumpUntil([&] { return PlacedIn(video, first.panel); }, 3s)) << "not placed when shown";

    first.frame->SetClientSize(300, 200);
    EXPECT_TRUE(PumpUntil([&] { return PlacedIn(video, first.panel); }, 3s)) << "not resized with the panel";

    // Moving the panel to another frame gives it a new X window.
    Stage second = MakeStage(wxPoint(420, 20), wxSize(320, 260));
    second.frame->Show();
    Pump(100ms);
    const Window oldXid = XidOf(first.panel);
    first.panel->Reparent(second.frame);
    first.frame->GetSizer()->Detach(first.panel);
    second.frame->GetSizer()->Replace(second.panel, first.panel);
    second.panel->Destroy();
    second.frame->Layout();
    EXPECT_TRUE(PumpUntil([&] { return XidOf(first.panel) != 0 && PlacedIn(video, first.panel); }, 3s))
        << "lost when the panel was re-created";
    EXPECT_NE(XidOf(first.panel), oldXid);

    // The panel goes away before the new one is named: the window must survive.
    Stage third = MakeStage(wxPoint(60, 340), wxSize(280, 220));
    third.frame->Show();
    first.panel->Destroy();
    Pump(100ms);
    XWindowAttributes parked;
    ASSERT_TRUE(GetAttributes(video.GetXWindow(), parked)) << "destroyed with the panel";
    EXPECT_EQ(parked.map_state, IsUnmapped);

    video.Reattach(third.panel);
    EXPECT_TRUE(PumpUntil([&] { return PlacedIn(video, third.panel); }, 3s)) << "not reattached";

    first.frame->Destroy();
    second.frame->Destroy();
    third.frame->Destroy();
    Pump(50ms);
}

// The engine draws into the window; the picture is still there after the
// window moved to a new panel, and clicks on the video reach the panel. Once
// with the plain X11 output and once with the output the engine picks itself
// (OpenGL, as on a desktop).
class VideoWindowPlayback : public testing::TestWithParam<mediafixtures::Outputs> {};

INSTANTIATE_TEST_SUITE_P(Outputs, VideoWindowPlayback,
                         testing::Values(mediafixtures::Outputs::X11, mediafixtures::Outputs::AnyVideo),
                         [](const testing::TestParamInfo<mediafixtures::Outputs>& info) {
                             return info.param == mediafixtures::Outputs::X11 ? "PlainX11" : "EnginesChoice";
                         });

TEST_P(VideoWindowPlayback, ShowsVideoAndPassesClicksToThePanel)
{
    mediafixtures::EngineFolderScope folder(GetParam());
    // Each run in its own part of the screen, towards the bottom.
    const wxPoint area = GetParam() == mediafixtures::Outputs::X11 ? wxPoint(480, 480) : wxPoint(880, 480);
    Stage first = MakeStage(area, wxSize(360, 280));
    int clicks = 0;
    first.panel->Bind(wxEVT_LEFT_DOWN, [&](wxMouseEvent&) { ++clicks; });
    first.frame->Show();
    CVideoWindow video;   // outlives the player, which draws into it
    ASSERT_TRUE(video.Create(first.panel));
    ASSERT_TRUE(PumpUntil([&] { return PlacedIn(video, first.panel); }, 3s));
    double share = -1;
    EXPECT_TRUE(PumpUntil([&] { return (share = NonBlackShare(video, first.panel)) >= 0; }, 3s));
    EXPECT_LT(share, 0.01) << "the panel shows something before the video";

    CVlcPlayer player;
    player.SetHwnd(video.GetXWindow());
    player.OpenFile(GetMedia().clip.c_str());
    player.Play();
    EXPECT_TRUE(PumpUntil([&] { return player.GetState() == 3 && NonBlackShare(video, first.panel) > 0.5; }, 5s))
        << "no video in the panel";

    ASSERT_TRUE(PumpUntil([&] { return ClickOnVideo(video, first.panel); }, 3s)) << "could not click on the video";
    EXPECT_TRUE(PumpUntil([&] { return clicks > 0; }, 2s)) << "the click on the video did not reach the panel";

    // As when the video moves to the full-screen frame.
    Stage second = MakeStage(area + wxPoint(20, 20), wxSize(320, 240));
    second.frame->Show();
    Pump(50ms);
    video.Reattach(second.panel);
    first.frame->Destroy();
    EXPECT_TRUE(PumpUntil([&] { return PlacedIn(video, second.panel); }, 3s));
    EXPECT_TRUE(PumpUntil([&] { return NonBlackShare(video, second.panel) > 0.5; }, 3s)) << "no video after reattaching";
    EXPECT_EQ(player.GetState(), 3);

    player.Stop();
    second.frame->Destroy();
    Pump(50ms);
}

// The still stands where the engine puts the picture: as large as fits,
// centred, its proportions kept.
TEST(VideoWindow, StillIsFittedAsTheEngineFitsThePicture)
{
    struct Case {
        wxSize picture, area;
        wxRect expected;
    };
    const Case cases[] = {
        {{640, 360}, {638, 579}, {0, 110, 638, 358}},   // wide picture, tall pane: bars above and below
        {{640, 360}, {1280, 400}, {284, 0, 711, 400}},  // wide screen: bars left and right
        {{640, 360}, {320, 180}, {0, 0, 320, 180}},     // same proportions: the whole area
        {{360, 640}, {500, 500}, {109, 0, 281, 500}},   // portrait video
        {{640, 360}, {0, 300}, {}},                     // nothing to paint on
        {{0, 0}, {300, 300}, {}},                       // no picture
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVideoWindow::FitPicture(c.picture, c.area), c.expected)
            << c.picture.x << "x" << c.picture.y << " in " << c.area.x << "x" << c.area.y;
}

// Without a graphics processor a paused player rests: the engine's video
// track goes off and the panel shows a still of the paused picture instead.
// Seeking while paused shows the new frame from the engine and rests again;
// playing goes on from the paused time with the engine drawing.
TEST(VideoWindowRest, PausedPlayerShowsAStillAndTheEngineDrawsAgainOnPlay)
{
    mediafixtures::EngineFolderScope folder(mediafixtures::Outputs::X11);
    Stage stage = MakeStage(wxPoint(480, 60), wxSize(360, 280));
    stage.frame->Show();
    CVideoWindow video;
    ASSERT_TRUE(video.Create(stage.panel));
    ASSERT_TRUE(PumpUntil([&] { return PlacedIn(video, stage.panel); }, 3s));
    {
        CVlcPlayer player;
        video.AttachPlayer(player);
        libvlc_media_player_t* engine = player.RawPlayer();
        const auto mapState = [&] {
            XWindowAttributes a;
            GetAttributes(video.GetXWindow(), a);
            return a.map_state;
        };
        player.OpenFile(GetMedia().clip.c_str());
        player.Play();
        ASSERT_TRUE(PumpUntil([&] { return player.GetTime() >= 800 && NonBlackShare(video, stage.panel) > 0.5; }, 5s));

        player.Pause();
        ASSERT_TRUE(PumpUntil([&] { return player.IsVideoResting(); }, 5s)) << "the output never rested";
        const int64_t pausedAt = player.GetTime();
        EXPECT_EQ(libvlc_video_get_track(engine), -1);
        EXPECT_TRUE(video.IsShowingStill());
        EXPECT_EQ(mapState(), IsUnmapped);
        EXPECT_TRUE(PumpUntil([&] { return PanelShare(stage.panel) > 0.5; }, 3s)) << "no still in the panel";
        EXPECT_EQ(player.GetState(), 4);

        // Seeking while paused: the engine shows the new frame, then rests.
        player.Seek(3000);
        EXPECT_FALSE(player.IsVideoResting());
        EXPECT_GE(libvlc_video_get_track(engine), 0);
        EXPECT_TRUE(PumpUntil([&] { return !video.IsShowingStill() && mapState() == IsViewable; }, 3s));
        EXPECT_TRUE(PumpUntil([&] { return player.IsVideoResting(); }, 5s)) << "no rest after the seek";
        EXPECT_NEAR(static_cast<double>(player.GetTime()), 3000.0, 100.0);
        EXPECT_NE(player.GetTime(), pausedAt);

        player.Play();
        EXPECT_GE(libvlc_video_get_track(engine), 0);
        EXPECT_TRUE(PumpUntil([&] { return player.GetState() == 3 && player.GetTime() > 3100; }, 5s));
        EXPECT_LT(player.GetTime(), 4500) << "playing did not go on from the paused time";
        EXPECT_TRUE(PumpUntil([&] { return !video.IsShowingStill() && NonBlackShare(video, stage.panel) > 0.5; }, 3s))
            << "the engine does not draw again";
        player.Stop();
    }
    stage.frame->Destroy();
    Pump(50ms);
}

} // namespace
