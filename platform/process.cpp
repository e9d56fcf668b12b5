#include "platform/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/codepage.h"

namespace {

// The path of a process's executable, as /proc/<pid>/exe shows it, or ""
// when it cannot be read (another user's process, a kernel thread, a zombie,
// or a process that has gone).
std::string ExePathOf(pid_t pid)
{
    if (pid <= 0)
        return std::string();
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    char target[PATH_MAX + 32];
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    if (n <= 0)
        return std::string();
    std::string path(target, static_cast<size_t>(n));
    // A program whose file was replaced or removed while running still counts.
    static const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    return path;
}

// The file name part of ExePathOf.
std::string ExeNameOf(pid_t pid)
{
    const std::string path = ExePathOf(pid);
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<pid_t> FindByFsName(const std::string& name)
{
    std::vector<pid_t> pids;
    if (name.empty())
        return pids;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return pids;
    while (const dirent* d = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(d->d_name, &end, 10);
        if (pid <= 0 || *end != '\0')
            continue;   // not a process entry
        if (ExeNameOf(static_cast<pid_t>(pid)) == name)
            pids.push_back(static_cast<pid_t>(pid));
    }
    ::closedir(proc);
    std::sort(pids.begin(), pids.end());
    return pids;
}

// Keeps the pids that still run the named executable (a pid that has been
// reused by another program, or a zombie waiting for its parent, is gone).
void KeepRunning(std::vector<pid_t>& pids, const std::string& name)
{
    std::erase_if(pids, [&](pid_t pid) { return ExeNameOf(pid) != name; });
}

// Waits until every pid is gone or the time is up; true when all are gone.
bool WaitUntilGone(std::vector<pid_t>& pids, const std::string& name, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        KeepRunning(pids, name);
        if (pids.empty())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

std::vector<pid_t> FindProcessesByExeName(const CString& exeName)
{
    return FindByFsName(AnsiToUtf8Bytes(exeName.view()));
}

bool IsAnotherInstanceRunning()
{
    std::vector<pid_t> pids = FindByFsName(ExeNameOf(::getpid()));
    std::erase(pids, ::getpid());
    return !pids.empty();
}

void KillProcessesByExeName(const CString& exeName)
{
    const std::string name = AnsiToUtf8Bytes(exeName.view());
    std::vector<pid_t> pids = FindByFsName(name);
    // Never stop this program itself, even when it carries the same name.
    std::erase(pids, ::getpid());
    for (const pid_t pid : pids)
        ::kill(pid, SIGTERM);
    if (WaitUntilGone(pids, name, std::chrono::milliseconds(1000)))
        return;
    for (const pid_t pid : pids)
        ::kill(pid, SIGKILL);
    // The caller usually replaces the program file next: give the kernel a
    // moment to take the processes down.
    WaitUntilGone(pids, name, std::chrono::milliseconds(1000));
}

bool ProcessRunsProgram(pid_t pid, const CString& program)
{
    if (pid <= 0 || pid == ::getpid())
        return false;
    char resolved[PATH_MAX];
    if (!::realpath(AnsiToUtf8Bytes(program.view()).c_str(), resolved))
        return false;
    return ExePathOf(pid) == resolved;
}

bool TerminateProgramProcess(pid_t pid, const CString& program)
{
    if (!ProcessRunsProgram(pid, program))
        return true;
    const auto gone = [&](std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (ProcessRunsProgram(pid, program)) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    };
    ::kill(pid, SIGTERM);
    if (gone(std::chrono::milliseconds(1000)))
        return true;
    // Checked again just before: the pid must still be that program's.
    if (ProcessRunsProgram(pid, program))
        ::kill(pid, SIGKILL);
    return gone(std::chrono::milliseconds(1000));
}

bool StartDetached(const CString& program, const std::vector<CString>& arguments, int watchMs)
{
    const std::string path = AnsiToUtf8Bytes(program.view());
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || ::access(path.c_str(), X_OK) != 0)
        return false;

    // Everything the children need is prepared before fork: after fork in a
    // threaded program only async-signal-safe calls are allowed.
    std::vector<std::string> args{path};
    for (const CString& argument : arguments)
        args.push_back(AnsiToUtf8Bytes(argument.view()));
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    // The grandchild reports a failed exec through this pipe; a successful
    // exec closes it (close-on-exec) without a word.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;

    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            if (grandchild < 0) {
                const int error = errno;
                [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
            }
            // Watching: a program that ends with a failure in time reports
            // it through the pipe; one still running is left to run.
            const struct timespec tick {0, 10'000'000};
            for (int waited = 0; grandchild > 0 && waited < watchMs; waited += 10) {
                int status = 0;
                if (::waitpid(grandchild, &status, WNOHANG) == grandchild) {
                    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                        const int failed = -1;
                        [[maybe_unused]] const ssize_t n = ::write(report[1], &failed, sizeof failed);
                    }
                    break;
                }
                ::nanosleep(&tick, nullptr);
            }
            ::_exit(grandchild < 0 ? 1 : 0);
        }
        // The program starts with default signal handling and no inherited
        // blocked or ignored signals.
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        for (int sig = 1; sig < NSIG; ++sig)
            ::sigaction(sig, &dfl, nullptr);
        const int devnull = ::open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
            ::dup2(devnull, STDOUT_FILENO);
            ::dup2(devnull, STDERR_FILENO);
            if (devnull > STDERR_FILENO)
                ::close(devnull);
        }
        ::execv(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t n = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }

    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    do
        n = ::read(report[0], &error, sizeof error);
    while (n < 0 && errno == EINTR);
    ::close(report[0]);
    return n == 0;
}

bool ShellOpen(const CString& target)
{
    std::string opener = "/usr/bin/xdg-open";
    if (const char* pathVar = std::getenv("PATH")) {
        const std::string dirs = pathVar;
        for (size_t start = 0; start <= dirs.size();) {
            size_t end = dirs.find(':', start);
            if (end == std::string::npos)
                end = dirs.size();
            const std::string dir = dirs.substr(start, end - start);
            const std::string candidate = dir + "/xdg-open";
            // An empty entry would mean the working folder: not searched.
            if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
                opener = candidate;
                break;
            }
            start = end + 1;
        }
    }
    constexpr int kOpenerWatchMs = 1000;   // xdg-open finds out quickly that nothing can open a target
    return StartDetached(Utf8BytesToAnsi(opener), {target}, kOpenerWatchMs);
}
