#include "tests/testsupport.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <thread>
#include <sstream>
#include <stdexcept>

#include "platform/codepage.h"

#ifdef __SANITIZE_ADDRESS__
// The sanitizer's count of heap bytes allocated and not yet freed (blocks in
// its quarantine are freed); GCC ships no header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace fs = std::filesystem;

namespace testsupport {

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "quenlow-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = fs::recursive_directory_iterator(m_path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

CString TempFolder::ansi() const { return Utf8BytesToAnsi(m_path); }

std::string TempFolder::write(const std::string& relative, const std::string& bytes) const
{
    const fs::path target = fs::path(m_path) / relative;
    fs::create_directories(target.parent_path());
    std::ofstream(target, std::ios::binary) << bytes;
    return target.string();
}

TempProgramFolder::TempProgramFolder()
{
    // The dictionary (some 30 MB, never written by the program) is linked,
    // not copied: hundreds of tests make a program folder.
    const fs::path shipped = QUENLOW_SHIPPED_DIR;
    const fs::path dictionary = shipped / "AppData/BasicDict/theBaseDict.script";
    for (auto it = fs::recursive_directory_iterator(shipped); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path target = fs::path(path()) / fs::relative(it->path(), shipped);
        if (it->is_directory())
            fs::create_directories(target);
        else if (it->path() == dictionary)
            fs::create_symlink(dictionary, target);
        else
            fs::copy_file(it->path(), target);
    }
    // The shipped subtitle host is an outside service: a test that plays a
    // file without a lesson must not wait on the network. Tests that match
    // subtitles point the host at their own loopback server.
    const std::string settings = path() + "AppData/CommonData/Product.cfg";
    std::string text = ReadBytes(settings);
    const size_t line = text.find("\nSubtitleHost=");
    if (line != std::string::npos)
        text.erase(line + 1, text.find('\n', line + 1) - line);
    // Nor may online dictionary pages: they go to a loopback port where
    // nothing listens, unless a test serves them itself.
    for (const char* name : {"DictionaryUrl", "TranslateUrl"}) {
        // Built by appending: GCC 12 warns (-Wrestrict) on "\n" + std::string
        // at -O3, wrongly.
        std::string key = "\n";
        key.append(name).append("=");
        const size_t setting = text.find(key);
        if (setting != std::string::npos) {
            const size_t value = setting + key.size();
            text.replace(value, text.find('\n', value) - value,
                         name == std::string("DictionaryUrl") ? "http://127.0.0.1:9/s?wd=" : "http://127.0.0.1:9/");
        }
    }
    std::ofstream(settings, std::ios::binary | std::ios::trunc) << text;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

namespace {

// What RunBounded watches: the memory the process holds. Under
// AddressSanitizer the resident figure also counts the quarantine of freed
// blocks (up to 256 MiB) and the shadow memory, so work that allocates and
// frees quickly would look as if it held everything it ever allocated.
long MemoryInUseKiB()
{
#ifdef __SANITIZE_ADDRESS__
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return ResidentKiB();
#endif
}

} // namespace

SBoundedRun RunBounded(const std::function<void()>& work, double seconds, long memoryKiB,
                       const std::function<void()>& stop)
{
    using Clock = std::chrono::steady_clock;
    SBoundedRun run;
    const long startKiB = MemoryInUseKiB();
    std::atomic<bool> done{false};
    const Clock::time_point start = Clock::now();
    std::thread worker([&] {
        work();
        done = true;
    });
    Clock::time_point giveUp = Clock::time_point::max();
    while (!done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const long growth = MemoryInUseKiB() - startKiB;
        if (growth > run.peakGrowthKiB)
            run.peakGrowthKiB = growth;
        if (!run.overran && (elapsed > seconds || growth > memoryKiB)) {
            run.overran = true;
            if (stop)
                stop();
            giveUp = Clock::now() + std::chrono::seconds(10);
        }
        // Memory running away past four times the bound ends the program at
        // once, before the machine runs short.
        if (!done && (Clock::now() > giveUp || growth > 4 * memoryKiB)) {
            std::fprintf(stderr, "RunBounded: the work ran %.1f s, grew the memory by %ld KiB and did not stop\n",
                         elapsed, run.peakGrowthKiB);
            std::_Exit(1);
        }
    }
    worker.join();
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const long growth = MemoryInUseKiB() - startKiB;
    if (growth > run.peakGrowthKiB)
        run.peakGrowthKiB = growth;
    return run;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::string FixturePath(const std::string& name) { return std::string(QUENLOW_FIXTURES_DIR "/") + name; }

void UseTemporaryHome()
{
    static TempFolder home;
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home.path() + ".local/share").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home.path() + ".cache").c_str(), 1);
}

std::optional<int> RunBoundedInChild(const std::function<int()>& body, double seconds, long memoryBytes)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0) {
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
        // A sanitizer reserves far more address space than it uses; there the
        // time limit alone stops a read without end.
        const rlimit limit{static_cast<rlim_t>(memoryBytes), static_cast<rlim_t>(memoryBytes)};
        ::setrlimit(RLIMIT_AS, &limit);
#else
        (void)memoryBytes;
#endif
        int code = 255;
        try {
            code = body();
        } catch (...) {
            ::_exit(254);   // out of memory shows as std::bad_alloc
        }
        ::_exit(code);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0)
            return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) >= 254)
        return std::nullopt;
    return WEXITSTATUS(status);
}

FakeOpener::FakeOpener(int exitCode)
{
    const std::string script = m_folder.write(
        "xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + m_folder.path() + "opened\"\nexit " +
                        std::to_string(exitCode) + "\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    m_savedPath = path ? path : "";
    ::setenv("PATH", (m_folder.path() + ":" + m_savedPath).c_str(), 1);
}

FakeOpener::~FakeOpener() { ::setenv("PATH", m_savedPath.c_str(), 1); }

std::string FakeOpener::opened() const { return ReadBytes(m_folder.path() + "opened"); }

} // namespace testsupport
