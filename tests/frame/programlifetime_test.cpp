// The real program, started as a new user would start it (no configuration
// folder yet), shows only its main window and ends when that window is
// closed by the window manager or the session asks it to terminate.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/testsupport.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The program runs from a temporary copy of the program folder (it writes
// its settings there), with a home folder that has no ~/.config. `prepare`
// may put files in either before the program starts.
class ProgramRun {
public:
    using Prepare = std::function<void(const std::string& programFolder, const std::string& home)>;

    explicit ProgramRun(const Prepare& prepare = nullptr)
    {
        fs::copy_file(QUENLOW_PROGRAM, m_program.path() + "quenlow");
        if (prepare)
            prepare(m_program.path(), m_home.path());
        m_pid = fork();
        if (m_pid == 0) {
            setenv("HOME", m_home.path().c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
            setenv("XDG_DATA_HOME", (m_home.path() + ".local/share").c_str(), 1);
            setenv("XDG_CACHE_HOME", (m_home.path() + ".cache").c_str(), 1);
            const std::string program = m_program.path() + "quenlow";
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~ProgramRun()
    {
        if (m_pid > 0 && !m_ended) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    pid_t pid() const { return m_pid; }
    const testsupport::TempFolder& home() const { return m_home; }

    // Whether the program ended within the time; its wait status in `status`.
    bool WaitEnded(std::chrono::milliseconds limit, int& status)
    {
        for (const auto deadline = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_ended = true;
                return true;
            }
        }
        return false;
    }

private:
    testsupport::TempProgramFolder m_program;
    testsupport::TempFolder m_home;
    pid_t m_pid = -1;
    bool m_ended = false;
};

// The X server's mapped top-level windows of a process (by _NET_WM_PID).
class XWindows {
public:
    XWindows() : m_display(XOpenDisplay(nullptr)) {}
    ~XWindows()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    bool Open() const { return m_display != nullptr; }

    std::vector<Window> MappedWindowsOf(pid_t pid)
    {
        std::vector<Window> found;
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
            return found;
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        for (unsigned int i = 0; i < count; ++i) {
            XWindowAttributes attributes {};
            if (!XGetWindowAttributes(m_display, children[i], &attributes) || attributes.map_state != IsViewable)
                continue;
            Atom type = 0;
            int format = 0;
            unsigned long items = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(m_display, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                                   &after, &data) == Success &&
                data != nullptr) {
                if (format == 32 && items == 1 && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid)
                    found.push_back(children[i]);
                XFree(data);
            }
        }
        if (children)
            XFree(children);
        return found;
    }

    // What a window manager sends when the learner clicks the close button.
    void SendDeleteWindow(Window window)
    {
        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XFlush(m_display);
    }

private:
    Display* m_display;
};

// Polls until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(50ms)) {
        if (condition())
            return true;
    }
    return condition();
}

enum class Ending { WindowManagerClose, TerminateSignal };

class ProgramLifetimeTest : public testing::TestWithParam<Ending> {};

TEST_P(ProgramLifetimeTest, NewUserSeesOnlyTheMainWindowAndTheProgramEndsWhenAsked)
{
    XWindows x;
    ASSERT_TRUE(x.Open()) << "no X display";
    ProgramRun run;
    ASSERT_GT(run.pid(), 0);

    // Start-up under the load of other tests can take a while.
    std::vector<Window> windows;
    ASSERT_TRUE(WaitFor([&] { return !(windows = x.MappedWindowsOf(run.pid())).empty(); }, 30s))
        << "the main window never appeared";
    // No message box or second window comes up beside it (the profile of a
    // new user is written without complaint).
    std::this_thread::sleep_for(1500ms);
    windows = x.MappedWindowsOf(run.pid());
    ASSERT_EQ(windows.size(), 1u) << "more than the main window is shown";
    EXPECT_TRUE(fs::is_directory(run.home().path() + ".config"));
    // The toolkit's OpenGL is left unset: no software renderer (tens of MB)
    // is loaded for a program that never draws with it.
    const std::string maps = testsupport::ReadBytes("/proc/" + std::to_string(run.pid()) + "/maps");
    EXPECT_EQ(maps.find("swrast_dri"), std::string::npos);
    EXPECT_EQ(maps.find("libLLVM"), std::string::npos);

    if (GetParam() == Ending::WindowManagerClose)
        x.SendDeleteWindow(windows.front());
    else
        kill(run.pid(), SIGTERM);
    int status = 0;
    ASSERT_TRUE(run.WaitEnded(5s, status)) << "the program is still running 5 s after it was asked to end";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
}

// The peak resident memory of a process in KiB (-1 when unknown).
long PeakMemoryKib(pid_t pid)
{
    const std::string status = testsupport::ReadBytes("/proc/" + std::to_string(pid) + "/status");
    const size_t at = status.find("VmHWM:");
    return at == std::string::npos ? -1 : std::strtol(status.c_str() + at + 6, nullptr, 10);
}

void MakeFifo(const std::string& path)
{
    fs::create_directories(fs::path(path).parent_path());
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
}

void MakeSparseFile(const std::string& path, off_t size)
{
    fs::create_directories(fs::path(path).parent_path());
    fs::remove(path);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fclose(file);
    ASSERT_EQ(truncate(path.c_str(), size), 0) << path;
}

// Files that the learner or another program can put where the program reads
// at start, and a home where nothing can be written. With each the window
// comes up without a long wait or gigabytes of memory, and the window
// manager's close ends the program cleanly: a FIFO blocked the start or the
// update check in open() for good, a file of 2 GB was read whole (several
// times over), and a profile that could not be written crashed the
// toolkit's clean-up.
struct SHostileStart {
    const char* name;
    ProgramRun::Prepare prepare;
};

// Names the row in failure messages.
void PrintTo(const SHostileStart& start, std::ostream* out) { *out << start.name; }

class HostileStartTest : public testing::TestWithParam<SHostileStart> {};

TEST_P(HostileStartTest, WindowComesUpAndCloseEndsTheProgram)
{
    XWindows x;
    ASSERT_TRUE(x.Open()) << "no X display";
    ProgramRun run(GetParam().prepare);
    ASSERT_GT(run.pid(), 0);
    std::vector<Window> windows;
    // The limit allows for the load of other tests; a blocked start never ends.
    ASSERT_TRUE(WaitFor([&] { return !(windows = x.MappedWindowsOf(run.pid())).empty(); }, 30s))
        << "the main window never appeared";
    // The update check starts once the start is done; give it its moment.
    std::this_thread::sleep_for(1500ms);
    const long peakKib = PeakMemoryKib(run.pid());
    EXPECT_LT(peakKib, 1024L * 1024) << "peak memory " << peakKib << " KiB";
    x.SendDeleteWindow(windows.front());
    int status = 0;
    ASSERT_TRUE(run.WaitEnded(5s, status)) << "the program is still running 5 s after it was asked to end";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
}

constexpr off_t kTwoGigabytes = off_t{2} * 1024 * 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Files, HostileStartTest,
    testing::Values(
        SHostileStart {"HomeCannotBeWritten",
                       [](const std::string&, const std::string& home) {
                           // A file where the configuration folder belongs: no
                           // profile can be written, even by root.
                           std::FILE* file = std::fopen((home + ".config").c_str(), "wb");
                           ASSERT_NE(file, nullptr);
                           std::fclose(file);
                       }},
        SHostileStart {"FifoProfile",
                       [](const std::string&, const std::string& home) {
                           fs::create_directories(home + ".config");
                           MakeFifo(home + ".config/quenlow.conf");
                       }},
        SHostileStart {"FifoPlayerCfg",
                       [](const std::string& program, const std::string&) {
                           MakeFifo(program + "AppData/CommonData/Player.cfg");
                       }},
        SHostileStart {"FifoUpdateData",
                       [](const std::string& program, const std::string&) {
                           MakeFifo(program + "AppData/CommonData/update.data");
                       }},
        SHostileStart {"HugeProductCfg",
                       [](const std::string& program, const std::string&) {
                           MakeSparseFile(program + "AppData/CommonData/Product.cfg", kTwoGigabytes);
                       }},
        SHostileStart {"HugeUiData",
                       [](const std::string& program, const std::string&) {
                           MakeSparseFile(program + "AppData/UserData/UI.data", kTwoGigabytes);
                       }},
        SHostileStart {"HugePlayerCfg",
                       [](const std::string& program, const std::string&) {
                           MakeSparseFile(program + "AppData/CommonData/Player.cfg", kTwoGigabytes);
                       }}),
    [](const testing::TestParamInfo<SHostileStart>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Endings, ProgramLifetimeTest,
                         testing::Values(Ending::WindowManagerClose, Ending::TerminateSignal),
                         [](const testing::TestParamInfo<Ending>& info) {
                             return info.param == Ending::WindowManagerClose ? "WindowManagerClose" : "TerminateSignal";
                         });

} // namespace
