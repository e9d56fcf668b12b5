#include "core/downloaderexchange.h"

#include <vector>

#include "platform/file.h"
#include "platform/process.h"
#include "core/downloaderprocess.h"
#include "core/exchangefile.h"
#include "core/quenlow.h"

namespace {

constexpr int kErrorMessageMs = 5000;

// The folder part of a path, with its trailing "/" ("" when there is none).
CString FolderOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

void DeleteIfPresent(const CString& path)
{
    if (FileExists(path))
        DeleteFile(path);
}

} // namespace

CString ComposeDlAndPlayCommand(const CString& address, const CString& downloadFolder)
{
    const char* gap = "    ";
    return CString(kCmdDlAndPlayKeyword) + gap + address + gap + downloadFolder + gap + kDlAndPlayTargetName;
}

CDownloaderExchange::CDownloaderExchange(CQuenlowApp& app)
    : isDownloaderRunning([&app] { return RunningDownloader(app.m_strDownloaderPath) != 0; }),
      isAnotherInstanceRunning([] { return IsAnotherInstanceRunning(); }),
      startProgram([](const CString& program) { return StartDownloader(program); }),
      stopDownloader([&app] { StopDownloader(app.m_strDownloaderPath); }),
      renameFile([](const CString& from, const CString& to) { return MoveFile(from, to); }),
      m_app(app)
{
}

bool CDownloaderExchange::EnsureDownloaderRuns()
{
    if (isDownloaderRunning())
        return true;

    // A pair still waiting was meant for a downloader that is gone; the new
    // one must not start with a stale command.
    DeleteIfPresent(m_app.m_strOutboxCommandPath);
    DeleteIfPresent(m_app.m_strOutboxMarkerPath);

    const CString& program = m_app.m_strDownloaderPath;
    if (!IsRegularFile(program)) {
        // Said once: every later command would only repeat it.
        if (!m_bMissingShown)
            m_app.ShowMessage("找不到下载器程序：" + program, "error", kErrorMessageMs);
        m_bMissingShown = true;
        return false;
    }
    m_bMissingShown = false;
    if (!startProgram(program)) {
        m_app.ShowMessage("无法启动下载器程序：" + program, "error", kErrorMessageMs);
        return false;
    }
    return true;
}

bool CDownloaderExchange::SendCommand(const CString& command)
{
    if (!EnsureDownloaderRuns())
        return false;
    m_arrQueue.Add(command);
    return true;
}

bool CDownloaderExchange::ReadDownloaderCommand()
{
    const CString& path = m_app.m_strInboxCommandPath;
    if (!FileExists(path))
        return false;
    // Anything but a small regular file (a folder, a FIFO, a huge file) is
    // left unread, without waiting on it; the size is known before reading.
    std::vector<CString> lines;
    if (!ReadExchangeFileLines(path, lines))
        return false;
    m_strInboxLine = lines.empty() ? CString() : lines.front();
    DeleteFile(path);
    return true;
}

bool CDownloaderExchange::WriteOutboxPair(const CString& command)
{
    const CString& commandPath = m_app.m_strOutboxCommandPath;
    const CString& markerPath = m_app.m_strOutboxMarkerPath;
    CreateFolders(FolderOf(commandPath));
    CreateFolders(FolderOf(markerPath));

    // The command file appears whole (renamed into place), and the marker
    // only after it, so the downloader never takes half a command.
    if (WriteFileAtomically(commandPath, command.view())) {
        if (WriteFileAtomically(markerPath, std::string_view()))
            return true;
        // Without its marker the command would block the outbox for good.
        DeleteFile(commandPath);
    }
    if (!m_bWriteFailureShown) {
        m_app.ShowMessage("无法写入下载器命令文件：" + commandPath, "error", kErrorMessageMs);
        m_bWriteFailureShown = true;
    }
    return false;
}

bool CDownloaderExchange::HandOver()
{
    if (m_arrQueue.IsEmpty() || FileExists(m_app.m_strOutboxCommandPath) || FileExists(m_app.m_strOutboxMarkerPath))
        return false;

    // The first entry that still holds a command; handed-over entries are
    // empty texts.
    int next = -1;
    for (int i = 0; i < m_arrQueue.GetSize(); ++i) {
        m_strOutboxCommand = m_arrQueue[i];
        if (m_strOutboxCommand.GetLength() > 1) {
            next = i;
            break;
        }
    }

    // When the queue has drained, the last entry examined (an empty text) is
    // written once more, so the downloader sees an empty command at the end.
    if (!WriteOutboxPair(m_strOutboxCommand))
        return false;
    m_bWriteFailureShown = false;
    if (next >= 0)
        m_arrQueue[next].Empty();
    else
        m_arrQueue.RemoveAll();
    return true;
}

bool CDownloaderExchange::IsWaiting(const CString& command) const
{
    if (command.GetLength() <= 1)
        return false;   // the empty entries of handed-over commands
    for (int i = 0; i < m_arrQueue.GetSize(); ++i) {
        if (m_arrQueue[i] == command)
            return true;
    }
    return m_strOutboxCommand == command &&
           (FileExists(m_app.m_strOutboxCommandPath) || FileExists(m_app.m_strOutboxMarkerPath));
}

bool CDownloaderExchange::BeginReplacement(const CString& newDownloaderPath)
{
    if (!IsRegularFile(newDownloaderPath))
        return false;
    if (isDownloaderRunning())
        stopDownloader();
    return true;
}

bool CDownloaderExchange::FinishReplacement(const CString& newDownloaderPath)
{
    if (!IsRegularFile(newDownloaderPath))
        return false;
    CreateFolders(FolderOf(m_app.m_strDownloaderPath));
    // One rename replaces the old program; when it fails, the old one stays.
    return renameFile(newDownloaderPath, m_app.m_strDownloaderPath);
}

void CDownloaderExchange::CleanUpExchangeFiles(const CString& firstStartPath)
{
    DeleteIfPresent(firstStartPath);
    if (isAnotherInstanceRunning())
        return;
    DeleteIfPresent(m_app.m_strInboxCommandPath);
    DeleteIfPresent(m_app.m_strOutboxCommandPath);
    DeleteIfPresent(m_app.m_strOutboxMarkerPath);
    DeleteIfPresent(m_app.m_strInboxMarkerPath);
}
