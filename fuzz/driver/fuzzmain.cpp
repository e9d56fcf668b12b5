// The fuzzing driver: runs one target for a given time on inputs made by
// mutating its corpus, keeps those that reach new code, and stops at the
// first finding (a sanitizer report, a crash, an input that runs past its
// time or memory) with the input saved for replay.
//
// Usage: quenlow_fuzz <target> <seconds> <corpus folder> <findings folder> [seed]
// The corpus folder holds the seed inputs and receives the new ones.
#include <fcntl.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/driver/coverage.h"
#include "fuzz/driver/mutator.h"
#include "fuzz/targets.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxInputBytes = 256 * 1024;
constexpr int kInputSeconds = 5;   // an input slower than this is a finding

// The input being run and where it goes when the run ends badly; kept in
// plain memory so the signal handler and the death callback can write it.
const std::string* g_running = nullptr;
std::string g_crashPath;
std::string g_hangPath;

void SaveRunning(const std::string& path)
{
    if (g_running == nullptr || path.empty())
        return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    const char* data = g_running->data();
    size_t left = g_running->size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written <= 0)
            break;
        data += written;
        left -= static_cast<size_t>(written);
    }
    ::close(fd);
}

void OnSanitizerDeath() { SaveRunning(g_crashPath); }

// UndefinedBehaviorSanitizer keeps its own death callbacks; told to abort, it
// ends here instead.
void OnAbort(int)
{
    SaveRunning(g_crashPath);
    ::signal(SIGABRT, SIG_DFL);
    ::raise(SIGABRT);
}

void OnInputTimeout(int)
{
    SaveRunning(g_hangPath);
    static const char text[] = "quenlow_fuzz: an input ran past its time limit\n";
    (void)!::write(2, text, sizeof text - 1);
    ::_exit(3);
}

void ArmInputTimer(int seconds)
{
    itimerval timer{};
    timer.it_value.tv_sec = seconds;
    ::setitimer(ITIMER_REAL, &timer, nullptr);
}

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str().substr(0, kMaxInputBytes);
}

std::string NameOf(const std::string& input)
{
    char name[32];
    std::snprintf(name, sizeof name, "%016zx", std::hash<std::string>()(input));
    return name;
}

} // namespace

// Bounds for every run: one allocation past 1 GiB or a process past 2 GiB is
// a finding, as is a leak at exit.
extern "C" const char* __asan_default_options()
{
    return "malloc_limit_mb=1024:hard_rss_limit_mb=2048:allocator_may_return_null=0:detect_leaks=1";
}

extern "C" const char* __ubsan_default_options() { return "abort_on_error=1:print_stacktrace=1"; }

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <target> <seconds> <corpus folder> <findings folder> [seed]\n", argv[0]);
        return 2;
    }
    const SFuzzTarget* target = FindFuzzTarget(argv[1]);
    if (target == nullptr) {
        std::fprintf(stderr, "quenlow_fuzz: no target named %s\n", argv[1]);
        return 2;
    }
    const double seconds = std::atof(argv[2]);
    const fs::path corpusFolder = argv[3];
    const fs::path findingsFolder = argv[4];
    const unsigned long long seed = argc > 5 ? std::strtoull(argv[5], nullptr, 10) : 1;
    fs::create_directories(corpusFolder);
    fs::create_directories(findingsFolder);
    g_crashPath = (findingsFolder / (std::string("crash-") + target->name)).string();
    g_hangPath = (findingsFolder / (std::string("hang-") + target->name)).string();
    __sanitizer_set_death_callback(OnSanitizerDeath);
    ::signal(SIGALRM, OnInputTimeout);
    ::signal(SIGABRT, OnAbort);

    const auto runOne = [&](const std::string& input) {
        g_running = &input;
        ResetInputCoverage();
        ArmInputTimer(kInputSeconds);
        target->run(reinterpret_cast<const uint8_t*>(input.data()), input.size());
        ArmInputTimer(0);
        g_running = nullptr;
        return MergeInputCoverage();
    };

    std::vector<std::string> corpus;
    std::vector<fs::path> seeds;
    for (const auto& entry : fs::directory_iterator(corpusFolder))
        if (entry.is_regular_file())
            seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    for (const fs::path& path : seeds) {
        corpus.push_back(ReadWhole(path));
        runOne(corpus.back());
    }
    if (corpus.empty())
        corpus.emplace_back();
    const size_t seedCount = corpus.size();

    CMutator mutator(seed, kMaxInputBytes);
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    unsigned long long runs = 0;
    std::string input;
    while (elapsed() < seconds) {
        input = corpus[mutator.Pick(corpus.size())];
        mutator.Mutate(input, corpus[mutator.Pick(corpus.size())]);
        ++runs;
        if (runOne(input) > 0) {
            corpus.push_back(input);
            std::ofstream(corpusFolder / NameOf(input), std::ios::binary) << input;
        }
    }
    const double took = elapsed();
    std::printf("%-9s %10llu runs in %5.0f s (%7.0f/s)  corpus %5zu (seed %zu)  coverage %6zu  findings 0\n",
                target->name, runs, took, runs / std::max(took, 1e-9), corpus.size(), seedCount, TotalCoverage());
    return 0;
}
