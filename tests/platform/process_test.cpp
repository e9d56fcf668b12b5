#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/codepage.h"
#include "platform/process.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// Stopping is system-wide, and CTest runs tests of several programs at once:
// the tests that stop a program give it a name no other test run uses.
std::string UniqueExeName() { return "HalvikSoftDownloader" + std::to_string(::getpid()) + ".exe"; }

// A copy of /bin/sleep under another name.
std::string CopySleep(const TempFolder& tmp, const std::string& relative)
{
    const fs::path path = fs::path(tmp.path()) / relative;
    fs::create_directories(path.parent_path());
    fs::copy_file("/bin/sleep", path);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    return path.string();
}

std::string ReadLink(const std::string& link)
{
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool Contains(const std::vector<pid_t>& pids, pid_t pid) { return std::find(pids.begin(), pids.end(), pid) != pids.end(); }

// A child of the test running "program 30"; killed and reaped at the end
// whatever happens, so no test leaves a process behind.
class CSleepChild {
public:
    explicit CSleepChild(const std::string& program, bool ignoreTerm = false)
    {
        std::string arg0 = program, arg1 = "30";
        char* argv[] = {arg0.data(), arg1.data(), nullptr};
        m_pid = ::fork();
        if (m_pid == 0) {
            if (ignoreTerm)
                ::signal(SIGTERM, SIG_IGN);   // stays ignored across exec
            ::execv(argv[0], argv);
            ::_exit(127);
        }
        // Until exec has happened /proc shows the test program.
        for (int i = 0; i < 200 && ReadLink("/proc/" + std::to_string(m_pid) + "/exe") != program; ++i)
            std::this_thread::sleep_for(10ms);
    }
    ~CSleepChild()
    {
        if (!m_status) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    CSleepChild(const CSleepChild&) = delete;
    CSleepChild& operator=(const CSleepChild&) = delete;

    pid_t pid() const { return m_pid; }

    // The wait status once the child has ended within the time, else nullopt.
    std::optional<int> WaitEnded(std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!m_status) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
                m_status = status;
            else if (std::chrono::steady_clock::now() >= deadline)
                break;
            else
                std::this_thread::sleep_for(10ms);
        }
        return m_status;
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

} // namespace

TEST(ProcessTest, FindMatchesTheWholeExecutableName)
{
    TempFolder tmp;
    CSleepChild downloader(CopySleep(tmp, "HalvikSoftDownloader.exe"));
    CSleepChild backup(CopySleep(tmp, "HalvikSoftDownloader.exe.bak"));

    struct Case {
        const char* name;
        bool findsDownloader;
        bool findsBackup;
    };
    const Case cases[] = {
        {"HalvikSoftDownloader.exe", true, false},
        {"HalvikSoftDownloader.exe.bak", false, true},
        {"HalvikSoftDownloader", false, false},       // a prefix is not the name
        {"halviksoftdownloader.exe", false, false},   // case counts
        {"HalvikSoftDownl", false, false},            // what the 15-byte comm holds
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<pid_t> found = FindProcessesByExeName(c.name);
        EXPECT_EQ(Contains(found, downloader.pid()), c.findsDownloader);
        EXPECT_EQ(Contains(found, backup.pid()), c.findsBackup);
    }
}

TEST(ProcessTest, FindsAProgramWhoseFileWasRemoved)
{
    // /proc then shows "<path> (deleted)"; the downloader is replaced that way.
    TempFolder tmp;
    const std::string name = UniqueExeName();
    const std::string program = CopySleep(tmp, name);
    CSleepChild child(program);
    fs::remove(program);
    EXPECT_EQ(FindProcessesByExeName(name.c_str()), std::vector<pid_t>{child.pid()});
}

TEST(ProcessTest, KillStopsOnlyTheNamedProgram)
{
    TempFolder tmp;
    const std::string name = UniqueExeName();
    CSleepChild target(CopySleep(tmp, name));
    CSleepChild backup(CopySleep(tmp, name + ".bak"));

    // The target is our own child: it stays a zombie until we reap it, and
    // the kill must not wait for that.
    const auto start = std::chrono::steady_clock::now();
    KillProcessesByExeName(name.c_str());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 900ms);

    const std::optional<int> status = target.WaitEnded(2s);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGTERM);
    EXPECT_FALSE(backup.WaitEnded(0ms).has_value());
    EXPECT_TRUE(FindProcessesByExeName(name.c_str()).empty());
    EXPECT_EQ(FindProcessesByExeName((name + ".bak").c_str()), std::vector<pid_t>{backup.pid()});
}

// Other test programs of the same name may run beside this one, so only the
// positive case can be asserted here.
TEST(ProcessTest, AnotherInstanceIsAnotherProcessOfThisExecutable)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    EXPECT_TRUE(IsAnotherInstanceRunning());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

TEST(ProcessTest, KillEndsAProgramThatIgnoresTerminate)
{
    TempFolder tmp;
    const std::string name = UniqueExeName();
    CSleepChild stubborn(CopySleep(tmp, name), /*ignoreTerm=*/true);

    const auto start = std::chrono::steady_clock::now();
    KillProcessesByExeName(name.c_str());
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 900ms);   // it was given its chance first
    EXPECT_LT(took, 3s);

    const std::optional<int> status = stubborn.WaitEnded(2s);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_EQ(WTERMSIG(*status), SIGKILL);
}

TEST(ProcessTest, StartDetachedRefusesWhatCannotRun)
{
    TempFolder tmp;
    tmp.write("plain", "#!/bin/sh\n");                // not executable
    tmp.write("garbage", "neither ELF nor #!\n");     // executable, but exec fails
    fs::permissions(tmp.path() + "garbage", fs::perms::owner_all);
    fs::create_directory(tmp.path() + "folder");

    for (const char* name : {"missing", "plain", "garbage", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(StartDetached(tmp.ansi() + name, {"30"}));
    }
    EXPECT_FALSE(StartDetached(""));
}

// The opener's own verdict reaches the caller: one that fails at once (no
// file manager) is a failure, one that succeeds or is still busy is not.
TEST(ProcessTest, ShellOpenReportsAnOpenerThatFails)
{
    const struct {
        int exitCode;
        bool opened;
    } cases[] = {{0, true}, {3, false}, {4, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        testsupport::FakeOpener opener(c.exitCode);
        EXPECT_EQ(ShellOpen("/tmp/some folder/"), c.opened);
        EXPECT_EQ(opener.opened(), "/tmp/some folder/");
    }

    TempFolder tmp;
    tmp.write("slow", "#!/bin/sh\nsleep 5\nexit 4\n");
    fs::permissions(tmp.path() + "slow", fs::perms::owner_all);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(StartDetached(tmp.ansi() + "slow", {}, 200)) << "still running: not a failure yet";
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "the watch is bounded";
}

TEST(ProcessTest, StartDetachedRunsInItsOwnSessionWithoutOurFiles)
{
    TempFolder tmp;
    const std::string name = UniqueExeName();
    // A Chinese folder: the program path reaches exec as UTF-8.
    const std::string program = CopySleep(tmp, reinterpret_cast<const char*>(u8"下载器/") + name);

    // As a subreaper the test inherits the orphaned program and can reap it.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    struct Cleanup {
        std::string name;
        ~Cleanup()
        {
            for (const pid_t pid : FindProcessesByExeName(name.c_str())) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
            ::prctl(PR_SET_CHILD_SUBREAPER, 0);
        }
    } cleanup{name};

    ASSERT_TRUE(StartDetached(Utf8BytesToAnsi(program), {"30"}));
    const std::vector<pid_t> found = FindProcessesByExeName(name.c_str());
    ASSERT_EQ(found.size(), 1u);
    const pid_t pid = found[0];
    const std::string proc = "/proc/" + std::to_string(pid);

    // The process is found by its executable as soon as exec has replaced the
    // child; under load its argument list can read empty for a moment longer.
    std::string commandLine;
    for (const auto deadline = std::chrono::steady_clock::now() + 2s;
         (commandLine = ReadBytes(proc + "/cmdline")).empty() && std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(commandLine, program + '\0' + "30" + '\0');   // argv[0] is the path
    const pid_t session = ::getsid(pid);
    EXPECT_NE(session, ::getsid(0));
    for (const char* fd : {"/fd/0", "/fd/1", "/fd/2"})
        EXPECT_EQ(ReadLink(proc + fd), "/dev/null") << fd;

    // The session leader is the intermediate child, and StartDetached has
    // reaped it already (no zombie left to us).
    EXPECT_EQ(::waitpid(session, nullptr, WNOHANG), -1);
    ::kill(pid, SIGKILL);
    EXPECT_EQ(::waitpid(pid, nullptr, 0), pid);
}
