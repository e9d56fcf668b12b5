// Talk downloads from the clipboard, with the real downloader on the test's
// X server (Xvfb under scripts/test); skipped where there is no display. The
// test owns the CLIPBOARD selection itself through Xlib and answers the
// downloader's request for UTF8_STRING.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/talkdownloadreport.h"
#include "tests/downloader/downloaderrun.h"
#include "tests/loopbackserver.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using downloadertest::CDownloaderRun;
using downloadertest::WaitFor;

// Owns the clipboard with a text until a client has taken it once, then
// gives the selection up (the X server is shared with other tests).
class CClipboardOwner {
public:
    explicit CClipboardOwner(std::string text) : m_text(std::move(text)), m_display(XOpenDisplay(nullptr))
    {
        if (!m_display)
            return;
        m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
        m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
        m_utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        XSetSelectionOwner(m_display, m_clipboard, m_window, CurrentTime);
        m_owning = XGetSelectionOwner(m_display, m_clipboard) == m_window;
        XFlush(m_display);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CClipboardOwner()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Owning() const { return m_owning; }
    bool Taken() const { return m_taken; }

private:
    void Serve()
    {
        while (!m_stop && !m_taken) {
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == SelectionRequest)
                    Answer(event.xselectionrequest);
            }
            pollfd p {ConnectionNumber(m_display), POLLIN, 0};
            ::poll(&p, 1, 50);
        }
        if (m_taken) {
            XSetSelectionOwner(m_display, m_clipboard, None, CurrentTime);
            XFlush(m_display);
        }
    }

    void Answer(const XSelectionRequestEvent& request)
    {
        XEvent reply {};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        reply.xselection.property = None;
        if (request.target == m_utf8 && request.property != None) {
            XChangeProperty(m_display, request.requestor, request.property, m_utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(m_text.data()), static_cast<int>(m_text.size()));
            reply.xselection.property = request.property;
            m_taken = true;
        }
        XSendEvent(m_display, request.requestor, False, NoEventMask, &reply);
        XFlush(m_display);
    }

    std::string m_text;
    Display* m_display;
    Window m_window = 0;
    Atom m_clipboard = None;
    Atom m_utf8 = None;
    bool m_owning = false;
    std::atomic<bool> m_taken {false};
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

bool HasDisplay()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (display)
        XCloseDisplay(display);
    return display != nullptr;
}

TEST(DownloaderClipboardTest, TalksOnTheClipboardAreFetchedIntoThePlaylist)
{
    if (!HasDisplay())
        GTEST_SKIP() << "no X display (scripts/test runs this under Xvfb)";
    const std::string a(30'000, 'a');
    const std::string b(20000, 'b');
    CLoopbackServer server(
        [&](const std::string& path) {
            if (path == "/talks/A.mp4")
                return Body(a);
            if (path == "/talks/B-480p.mp4")
                return Body(b);
            SReply missing = Page("<html>not here</html>");
            missing.status = 404;
            return missing;
        },
        8);
    const std::string host = "http://127.0.0.1:" + std::to_string(server.port());
    CDownloaderRun run;
    // A talk already in the playlist is the learner's: kept, not fetched again.
    run.folder().write("Playlist/C.mp4", "fetched before");
    // A failed talk does not stop the ones after it.
    CClipboardOwner owner("HalvikSoftDL:" + host + "/talks/A.mp4  HalvikSoftDL:" + host +
                          "/talks/Missing.mp4  HalvikSoftDL:" + host + "/talks/C.mp4  HalvikSoftDL:" + host +
                          "/talks/B-480p.mp4  ");
    ASSERT_TRUE(owner.Owning());
    run.Start(true);

    ASSERT_TRUE(WaitFor([&] { return owner.Taken(); }, 4s)) << "the downloader reads the clipboard";
    ASSERT_TRUE(WaitFor([&] { return testsupport::ReadBytes(run.Path("Playlist/B-480p.mp4")) == b; }, 5s));
    EXPECT_EQ(testsupport::ReadBytes(run.Path("Playlist/A.mp4")), a);
    EXPECT_EQ(testsupport::ReadBytes(run.Path("Playlist/C.mp4")), "fetched before");
    EXPECT_FALSE(fs::exists(run.Path("Playlist/Missing.mp4")));
    EXPECT_EQ(server.requests(),
              (std::vector<std::string> {"GET /talks/A.mp4", "GET /talks/Missing.mp4", "GET /talks/B-480p.mp4"}));
    // Partial files have hidden names and go when their download ends.
    for (const auto& entry : fs::directory_iterator(run.Path("Playlist")))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();

    // The program learns how each talk ended, in the order they were fetched.
    const std::string reportFolder = run.Path("AppData/DataExchange/TalkDownloads/");
    std::vector<std::pair<std::string, ETalkDownloadState>> ends;
    ASSERT_TRUE(WaitFor(
        [&] {
            ends.clear();
            for (int number = 1; fs::exists(reportFolder + std::to_string(number) + ".data"); ++number) {
                const auto report =
                    ParseTalkReport(CString(testsupport::ReadBytes(reportFolder + std::to_string(number) + ".data")));
                if (report && report->state != ETalkDownloadState::Running)
                    ends.emplace_back(report->name.str(), report->state);
            }
            return ends.size() == 4;
        },
        3s));
    EXPECT_EQ(ends, (std::vector<std::pair<std::string, ETalkDownloadState>> {
                        {"A.mp4", ETalkDownloadState::Done},
                        {"Missing.mp4", ETalkDownloadState::Failed},
                        {"C.mp4", ETalkDownloadState::Done},
                        {"B-480p.mp4", ETalkDownloadState::Done}}));
}

} // namespace
