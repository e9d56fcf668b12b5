// The cloud-disk browser in a real window: 边下边看 opens the pane on the start
// page of a loopback host, the page's text is drawn on the screen (read back
// from the X server, not only told by a load event), a click on a page link
// shows the next page, and a click on a media link hands it over for
// download-and-play instead of loading it.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/uiaction.h>

#include "online/panhtmlview.h"
#include "online/playfrompanpane.h"
#include "ui/explorer1.h"
#include "ui/onlinepage.h"
#include "core/downloaderexchange.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "frame/mainfrm.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;

// Pages whose text is large enough to count on the screen: the start page in
// black, the second page in red; each link is a block at a known place.
const char* const kStartPage =
    "<html><head><title>Start</title></head><body style='margin:0;background:#fff'>"
    "<p style='font:bold 48px sans-serif;color:#000;margin:8px'>CLOUD START</p>"
    "<a id='next' href='/second' style='position:absolute;left:20px;top:120px;width:200px;height:60px;"
    "font:24px sans-serif'>Next page</a>"
    "<a id='clip' href='/media/lesson.mp4' style='position:absolute;left:20px;top:220px;width:200px;"
    "height:60px;font:24px sans-serif'>Play the clip</a></body></html>";
const char* const kSecondPage =
    "<html><head><title>Second</title></head><body style='margin:0;background:#fff'>"
    "<p style='font:bold 48px sans-serif;color:#d00000;margin:8px'>SECOND PAGE</p></body></html>";

enum class EInk { Black, Red };

// Counts the pixels of one ink in the window's area on the screen.
int InkPixels(wxWindow* window, EInk ink)
{
    Display* display = GDK_WINDOW_XDISPLAY(gtk_widget_get_window(window->GetHandle()));
    const wxPoint origin = window->GetScreenPosition();
    const wxSize size = window->GetSize();
    if (size.x <= 0 || size.y <= 0)
        return 0;
    XImage* image = XGetImage(display, DefaultRootWindow(display), origin.x, origin.y, static_cast<unsigned>(size.x),
                              static_cast<unsigned>(size.y), AllPlanes, ZPixmap);
    if (!image)
        return -1;
    int count = 0;
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            if (ink == EInk::Black ? r < 60 && g < 60 && b < 60 : r > 160 && g < 60 && b < 60)
                ++count;
        }
    }
    XDestroyImage(image);
    return count;
}

bool Requested(const CLoopbackServer& server, const std::string& request)
{
    for (const std::string& seen : server.requests())
        if (seen == request)
            return true;
    return false;
}

class CloudDiskBrowserTest : public testsupport::PlayingFrameTest {
protected:
    // Clicks the middle of a link block of the start page (its place in the page).
    void ClickPageAt(wxWindow* view, int x, int y)
    {
        wxUIActionSimulator mouse;
        mouse.MouseMove(view->GetScreenPosition() + wxPoint(x, y));
        mouse.MouseClick();
    }
};

TEST_F(CloudDiskBrowserTest, ThePaneDrawsItsPagesFollowsLinksAndHandsAMediaLinkOver)
{
    CLoopbackServer server(
        [](const std::string& path) {
            if (path == "/start")
                return Page(kStartPage);
            if (path == "/second")
                return Page(kSecondPage);
            return Reply(404, "0");
        },
        16, 60s);
    const std::string site = "http://127.0.0.1:" + std::to_string(server.port());
    theApp.m_strPanHomeUrl = CString(site + "/start");
    frame->SetSize(0, 0, 1000, 700);

    // Opened at once, before the frame's start-up step (which opens the
    // playlist) has run: the pane keeps the window.
    frame->OnPlayFromPan();
    frame->OnDelayedStartupTick();
    CPanHtmlView* view = frame->m_wndPlayFromPanPane->m_wndView;
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return view->m_wndBrowser->HasWebView() || !view->IsShownOnScreen(); },
                                          5s));
    if (!view->m_wndBrowser->HasWebView())
        GTEST_SKIP() << "no web engine on this machine";
    wxWindow* page = view->m_wndBrowser->GetWebView()->GetWindow();

    // The text of the start page is on the screen.
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return InkPixels(page, EInk::Black) > 800; }, 20s))
        << "the start page was " << (Requested(server, "GET /start") ? "served but not drawn" : "never requested");
    // The title comes in its own event, which may follow the drawing.
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return view->m_strTitle == "Start"; }, 10s)) << view->m_strTitle;

    // A click on a page link shows that page.
    ClickPageAt(page, 60, 150);
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return InkPixels(page, EInk::Red) > 800; }, 20s))
        << "the second page was " << (Requested(server, "GET /second") ? "served but not drawn" : "never requested");

    // Back shows the start page again; its media link goes to the downloader
    // and is not loaded.
    frame->m_wndPlayFromPanPane->OnCommand(kCmdPanBack);
    COnlinePage* web = view->m_wndBrowser->GetWebView();
    ASSERT_TRUE(
        testsupport::RunLoopUntil([&] { return !web->IsBusy() && InkPixels(page, EInk::Black) > 800; }, 20s));
    // The page just drawn again may not take clicks yet on a loaded machine:
    // a click that went unseen is given again (the hand-over is the same).
    const CString command = ComposeDlAndPlayCommand(CString(site + "/media/lesson.mp4"), theApp.m_strCacheDir);
    bool handedOver = false;
    for (int click = 0; click < 4 && !handedOver; ++click) {
        ClickPageAt(page, 60, 250);
        handedOver = testsupport::RunLoopUntil([&] { return theApp.m_strDlAndPlayCommand == command; }, 5s);
    }
    EXPECT_TRUE(handedOver);
    EXPECT_FALSE(Requested(server, "GET /media/lesson.mp4"));
}

} // namespace
