#include "tests/downloader/downloaderrun.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

namespace downloadertest {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    for (const auto deadline = Clock::now() + limit; Clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
        if (condition())
            return true;
    }
    return condition();
}

CDownloaderRun::CDownloaderRun()
{
    fs::create_directories(Path("Downloader"));
    fs::copy_file(QUENLOW_DOWNLOADER, Path("Downloader/HalvikSoftDownloader.exe"));
    // The player makes the outbox folder before its first command.
    fs::create_directories(Path("AppData/CommandExchange/Player2Downloader"));
}

CDownloaderRun::~CDownloaderRun()
{
    for (const pid_t pid : m_started) {
        if (waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
}

pid_t CDownloaderRun::Start(bool withDisplay)
{
    const std::string program = Path("Downloader/HalvikSoftDownloader.exe");
    m_pid = fork();
    if (m_pid == 0) {
        if (!withDisplay)
            unsetenv("DISPLAY");
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    m_started.push_back(m_pid);
    return m_pid;
}

bool CDownloaderRun::Send(const std::string& command, std::chrono::milliseconds limit)
{
    const std::string folder = Path("AppData/CommandExchange/Player2Downloader/");
    // As the player writes it: the command whole (renamed in), then the marker.
    {
        std::ofstream out(folder + "command.tmp", std::ios::binary);
        out << command;
    }
    fs::rename(folder + "command.tmp", folder + "command.data");
    std::ofstream(folder + "commandcopy.data").close();
    return WaitFor([&] { return !fs::exists(folder + "command.data") && !fs::exists(folder + "commandcopy.data"); },
                   limit);
}

bool CDownloaderRun::WaitEnded(std::chrono::milliseconds limit, int& status)
{
    const pid_t pid = m_pid;
    return WaitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit);
}

void CDownloaderRun::Kill(int signal) { kill(m_pid, signal); }

std::vector<SProgressFile> CDownloaderRun::ProgressFiles() const
{
    std::vector<SProgressFile> files;
    std::error_code error;
    static const std::regex numbered("[0-9]+\\.data");
    for (const auto& entry : fs::directory_iterator(ProgressFolder(), error)) {
        const std::string name = entry.path().filename().string();
        if (!std::regex_match(name, numbered))
            continue;
        SProgressFile file;
        file.number = std::strtoll(name.c_str(), nullptr, 10);
        const std::string text = testsupport::ReadBytes(entry.path().string());
        for (size_t at = 0; at < text.size();) {
            const size_t end = text.find("\r\n", at);
            file.lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
            at = end == std::string::npos ? text.size() : end + 2;
        }
        files.push_back(std::move(file));
    }
    std::sort(files.begin(), files.end(),
              [](const SProgressFile& a, const SProgressFile& b) { return a.number < b.number; });
    return files;
}

bool CDownloaderRun::WaitForProgress(const std::function<bool(const SProgressFile&)>& condition,
                                     std::chrono::milliseconds limit, SProgressFile* found) const
{
    return WaitFor(
        [&] {
            for (const SProgressFile& file : ProgressFiles()) {
                if (file.lines.size() >= 12 && condition(file)) {
                    if (found)
                        *found = file;
                    return true;
                }
            }
            return false;
        },
        limit);
}

} // namespace downloadertest
