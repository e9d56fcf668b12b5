// The real downloader program run from a temporary program folder: a copy of
// the executable in "<folder>/Downloader/", commands handed over through the
// command files as the player hands them, and its progress files read back.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/testsupport.h"

namespace downloadertest {

// Polls until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);

struct SProgressFile {
    int64_t number = 0;
    std::vector<std::string> lines;   // without their line ends
};

class CDownloaderRun {
public:
    CDownloaderRun();
    ~CDownloaderRun();   // kills a downloader still running
    CDownloaderRun(const CDownloaderRun&) = delete;
    CDownloaderRun& operator=(const CDownloaderRun&) = delete;

    // Starts the program; without `withDisplay` it gets no DISPLAY, so it
    // does not watch the (shared) clipboard of the test X server.
    pid_t Start(bool withDisplay = false);
    // Hands a command over (program text) and waits until the program took
    // it; false when it did not within the time.
    bool Send(const std::string& command, std::chrono::milliseconds limit = std::chrono::milliseconds(3000));
    // Whether the last started process ended in time; its wait status in `status`.
    bool WaitEnded(std::chrono::milliseconds limit, int& status);
    void Kill(int signal);
    pid_t pid() const { return m_pid; }

    const testsupport::TempFolder& folder() const { return m_folder; }
    // A path below the program folder (UTF-8).
    std::string Path(const std::string& relative) const { return m_folder.path() + relative; }
    std::string ProgressFolder() const { return Path("AppData/DataExchange/DownloaderData/"); }
    // The progress files there, by number.
    std::vector<SProgressFile> ProgressFiles() const;
    // The first progress file that satisfies the condition, waiting for one.
    bool WaitForProgress(const std::function<bool(const SProgressFile&)>& condition, std::chrono::milliseconds limit,
                         SProgressFile* found = nullptr) const;

private:
    testsupport::TempFolder m_folder;
    std::vector<pid_t> m_started;
    pid_t m_pid = -1;
};

} // namespace downloadertest
