#include "tests/windowsupport.h"

#include <unistd.h>

#include <thread>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/window.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <gtest/gtest.h>

#include "core/quenlowdoc.h"
#include "frame/appwindows.h"
#include "frame/mainfrm.h"
#include "core/quenlow.h"
#include "playback/vlcplayer.h"
#include "tests/lessonmedia.h"

namespace testsupport {

void DrainEvents()
{
    for (int i = 0; i < 5; ++i) {
        while (wxTheApp->Pending())
            wxTheApp->Dispatch();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        DrainEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool RunLoopUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        // With every category, this also handles the queued and idle events.
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void RunLoopFor(std::chrono::milliseconds duration)
{
    RunLoopUntil([] { return false; }, duration);
}

wxImage GrabFromScreen(wxWindow& window)
{
    GdkWindow* native = gtk_widget_get_window(window.GetHandle());
    if (native == nullptr || !GDK_IS_X11_WINDOW(native))
        return wxImage();
    Display* display = GDK_WINDOW_XDISPLAY(native);
    const wxPoint origin = window.ClientToScreen(wxPoint(0, 0));
    const wxSize size = window.GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return wxImage();
    XImage* grabbed = XGetImage(display, DefaultRootWindow(display), origin.x, origin.y, static_cast<unsigned>(size.x),
                                static_cast<unsigned>(size.y), AllPlanes, ZPixmap);
    if (grabbed == nullptr)
        return wxImage();
    wxImage image(size.x, size.y);
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const unsigned long pixel = XGetPixel(grabbed, x, y);
            image.SetRGB(x, y, static_cast<unsigned char>((pixel >> 16) & 0xFF),
                         static_cast<unsigned char>((pixel >> 8) & 0xFF), static_cast<unsigned char>(pixel & 0xFF));
        }
    }
    XDestroyImage(grabbed);
    return image;
}

CMainFrame* ShowTestFrame(const CString& programFolder, CQuenlowDoc& document)
{
    document.OnNewDocument();
    auto* frame = new CMainFrame(programFolder);
    if (!frame->Create(&document)) {
        ADD_FAILURE() << "the main frame cannot be created";
        frame->Destroy();
        return nullptr;
    }
    frame->Show();
    return frame;
}

void DestroyApplicationWindows()
{
    DrainEvents();
    DestroyAppWindows();
    DrainEvents();
}

bool OpenClipInMainPlayer(CMainFrame& frame, const std::string& folderFs)
{
    CVlcPlayer* player = frame.GetMainPlayer();
    if (!player)
        return false;
    const std::string clip = folderFs + "/clip.mp4";
    MakeClip(clip, 2);
    return player->OpenFile(clip.c_str());
}

void PlayingFrameTest::SetUp()
{
    program.write("AppData/CommonData/Player.cfg", "sub-autodetect-file=0\nvout=dummy\naout=adummy\n");
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd))
        m_previousFolder = cwd;
    ASSERT_EQ(chdir(program.path().c_str()), 0);
    frame = ShowTestFrame(program.ansi(), document);
    ASSERT_NE(frame, nullptr);
    frame->m_downloaderExchange.isDownloaderRunning = [] { return true; };
    frame->m_downloaderExchange.startProgram = [](const CString&) { return true; };
}

void PlayingFrameTest::TearDown()
{
    if (frame)
        frame->Close(true);
    DestroyApplicationWindows();
    theApp.m_arrPlayList.RemoveAll();
    theApp.ClearSentenceModel();
    if (!m_previousFolder.empty()) {
        EXPECT_EQ(chdir(m_previousFolder.c_str()), 0);
    }
}

CVlcPlayer& PlayingFrameTest::Player() { return *frame->GetMainPlayer(); }

} // namespace testsupport
