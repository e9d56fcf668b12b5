#include "core/downloaderprocess.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/file.h"
#include "platform/process.h"

namespace {

// The lock file holds a pid and a line end; anything far longer is not ours.
constexpr int64_t kLockFileLimit = 64;

} // namespace

CString ProgramFolderOfDownloader(const CString& downloaderPath)
{
    CString folder = downloaderPath.Left(downloaderPath.ReverseFind('/') + 1);   // ".../Downloader/"
    if (folder.Right(1) == "/")
        folder = folder.Left(folder.GetLength() - 1);
    const int slash = folder.ReverseFind('/');
    return slash < 0 ? CString("./") : folder.Left(slash + 1);
}

CString DownloaderLockPath(const CString& programFolder)
{
    return programFolder + "AppData/DataExchange/downloader.lock";
}

pid_t RunningDownloader(const CString& downloaderPath)
{
    std::string text;
    const CString lockPath = DownloaderLockPath(ProgramFolderOfDownloader(downloaderPath));
    if (ReadRegularFile(lockPath, text, kLockFileLimit) != EFileReadResult::Read)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || pid <= 0 || pid > 0x7fffffffL)
        return 0;
    return ProcessRunsProgram(static_cast<pid_t>(pid), downloaderPath) ? static_cast<pid_t>(pid) : 0;
}

bool StartDownloader(const CString& downloaderPath)
{
    if (!StartDetached(downloaderPath))
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (RunningDownloader(downloaderPath) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

bool StopDownloader(const CString& downloaderPath)
{
    const pid_t pid = RunningDownloader(downloaderPath);
    return pid == 0 || TerminateProgramProcess(pid, downloaderPath);
}
