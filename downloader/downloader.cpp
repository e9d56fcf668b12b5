#include "downloader/downloader.h"

#include <unistd.h>

#include <cstdio>

#include "downloader/address.h"
#include "downloader/talkdownloads.h"
#include "downloader/transferlimits.h"
#include "downloader/updatedownload.h"
#include "platform/codepage.h"
#include "platform/file.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kProgressEvery = 1000ms;
// An ended task's last state is written twice at once, then again each
// second for a while: the program reads a file only once a newer one is
// there, so a lone last file would go unread, and a second one at once lets
// it tell the learner of a failed address without waiting a second more.
constexpr int kEndRepeats = 10;

void Log(const char* text) { std::fprintf(stderr, "HalvikSoftDownloader: %s\n", text); }

} // namespace

CDownloader::CDownloader(const SDownloaderPaths& paths)
    : m_paths(paths), m_progressFiles(paths), m_talkReports(paths.talkReportFolder, paths.talkReportTemp)
{
    m_talkRules.limits.connectTimeoutMs = kConnectTimeoutMs;
    m_talkRules.limits.stallSeconds = kStallSeconds;
}

void CDownloader::Perform(const SCommand& command)
{
    switch (command.kind) {
    case ECommand::None:
        break;
    case ECommand::DlAndPlay:
        StartDlAndPlay(command);
        break;
    case ECommand::StopAll:
        StopAll();
        break;
    case ECommand::Restart:
        if (!m_dlAndPlay) {
            Log("restart: no download-and-play task");
            break;
        }
        m_dlAndPlay->Stop();
        m_dlAndPlay->Start();
        break;
    case ECommand::DeleteTasks:
        m_talks.CancelAll();
        m_talkReports.DropWaiting(kTalkCancelledCause);
        m_update.CancelAll();
        break;
    case ECommand::Show:
        Log("show: this downloader has no window");
        break;
    case ECommand::Update: {
        const SDownloaderPaths paths = m_paths;
        m_update.Add([paths](const std::atomic<bool>& cancel) { DownloadUpdate(paths, cancel); });
        break;
    }
    case ECommand::Malformed:
        // Reported as a refused address, so the program stops waiting.
        Log("a download-and-play command without its address, folder and name");
        StartDlAndPlay(command);
        break;
    case ECommand::Unknown:
        Log("an unknown command");
        break;
    }
}

void CDownloader::StartDlAndPlay(const SCommand& command)
{
    const std::string url = TransferAddress(AnsiToUtf8Bytes(command.address.view()));
    // A refused address still becomes a task, one that has ended without a
    // byte: its report tells the program at once, which would otherwise
    // wait for a download that never comes.
    if (url.empty())
        Log("download-and-play: the address is refused");
    if (m_dlAndPlay) {
        m_dlAndPlay->Stop();
        m_dlAndPlay.reset();
    }
    // What the files not read yet tell is over; the program reads the new
    // task's files only, so an old task's end is never taken for this one's.
    m_progressFiles.RemoveAll();
    const int slash = command.target.ReverseFind('/');
    if (slash > 0)
        CreateFolders(command.target.Left(slash));
    // The program tells a new task from the one playing by this tag, also
    // after the downloader was started again.
    CString tag;
    tag.Format("%lld-%d-%d",
               static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::system_clock::now().time_since_epoch())
                                          .count()),
               static_cast<int>(::getpid()), ++m_taskCount);
    SFetchLimits limits;
    limits.connectTimeoutMs = kConnectTimeoutMs;
    limits.stallSeconds = kStallSeconds;
    m_dlAndPlay = std::make_unique<CDlAndPlayTask>(command.target, url, tag, limits);
    m_reportedEnds = 0;
    m_lastReport = Clock::now();
    m_lastReportedBytes = 0;
    m_dlAndPlay->Start();
}

void CDownloader::Tick(Clock::time_point now)
{
    m_talkReports.Tick(now);
    if (!m_dlAndPlay)
        return;
    const SDlAndPlayState state = m_dlAndPlay->State();
    if (state.running ? now - m_lastReport >= kProgressEvery : state.endedRuns != m_reportedEnds) {
        WriteProgress(now);
        if (!state.running)
            WriteProgress(now, true);
    } else if (!state.running && m_endRepeats < kEndRepeats && now - m_lastReport >= kProgressEvery)
        WriteProgress(now, true);
}

void CDownloader::WriteProgress(Clock::time_point now, bool repeat)
{
    const SDlAndPlayState state = m_dlAndPlay->State();
    if (!repeat && !state.running && state.endedRuns == m_reportedEnds)
        return;   // its end has been reported already
    if (repeat)
        ++m_endRepeats;
    else if (!state.running)
        m_endRepeats = 0;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastReport).count();
    SProgressFigures figures;
    figures.target = m_dlAndPlay->Target();
    figures.total = state.total;
    figures.written = state.written;
    figures.complete = state.complete;
    figures.active = state.running;
    if (state.running && elapsed > 0 && state.written > m_lastReportedBytes)
        figures.bytesPerSecond = (state.written - m_lastReportedBytes) * 1000 / elapsed;
    figures.seconds = std::chrono::duration_cast<std::chrono::seconds>(now - m_dlAndPlay->Created()).count();
    figures.tag = m_dlAndPlay->Tag();
    if (!m_progressFiles.Write(ProgressLines(figures)))
        Log("cannot write a progress file");
    m_lastReport = now;
    m_lastReportedBytes = state.written;
    if (!state.running)
        m_reportedEnds = state.endedRuns;
}

void CDownloader::QueueTalkDownloads(const std::vector<std::string>& addresses)
{
    for (const std::string& address : addresses) {
        const CString folder = m_paths.playlistFolder;
        const CString name = TalkFileName(address);
        if (!name.IsEmpty())
            m_talkReports.Queue(name);
        m_talks.Add([this, address, folder](const std::atomic<bool>& cancel) {
            DownloadTalk(address, folder, m_talkRules, m_talkReports, cancel);
        });
    }
}

void CDownloader::StopAll()
{
    m_talks.CancelAll();
    m_talkReports.DropWaiting(kTalkCancelledCause);
    m_update.CancelAll();
    if (m_dlAndPlay)
        m_dlAndPlay->Stop();
}
