#include "core/downloadprogress.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file.h"
#include "core/downloaderexchange.h"
#include "core/exchangefile.h"
#include "core/quenlow.h"

namespace {

// A decimal figure as the downloader writes one: digits with at most one
// decimal point, and not longer than a 64-bit count.
bool IsFigure(const CString& text)
{
    const std::string& bytes = text.str();
    if (bytes.empty() || bytes.size() > 20)
        return false;
    int points = 0;
    for (const char c : bytes) {
        if (c == '.')
            ++points;
        else if (c < '0' || c > '9')
            return false;
    }
    return points <= 1 && bytes != ".";
}

constexpr const char* kZeroStatus = "速度:0000 KB/s 进度:0000%";
constexpr const char* kNetFileFailedMessage = "网络文件下载失败，请检查网络地址！";
constexpr const char* kNetFileBrokenMessage = "网络文件下载中断，已下载%s%%，请稍后重试！";
constexpr const char* kCompleteStatus = "速度:0 KB/s 进度:100%";
constexpr const char* kBufferingState = "正在缓冲...";

// A progress file has at least ten lines: target, total size, two numbers,
// percentage, speed, two numbers, activity, task tag; downloaded parts follow.
constexpr int kProgressHeaderLines = 10;
// The downloader writes "100" only once every announced byte is there.
constexpr int kCompletePercent = 100;
// Readings of an idle task before the status falls back to the zero text.
constexpr int kIdleReadingsForZeroStatus = 10;
// Seconds with less than kStallStepMs of progress before a network file is paused.
constexpr int kStallTicksForBuffering = 10;
constexpr int64_t kStallStepMs = 100;
// How far the cursor moves to bring back a hidden full-screen control bar.
constexpr int kCursorNudgePixels = 30;
// Re-arm delays of the downloader restart.
constexpr int kRestartRearmAfterStartMs = 60000;
constexpr int kRestartRearmWhileBufferingMs = 120000;
// The watch starts playback when 1/50 of the file is there; the percentage
// of the file that must be downloaded before the one restart goes out.
constexpr uint64_t kStartBufferDivisor = 50;
constexpr int kRestartAfterPercent = 5;
// Full-buffer amount of the stall watch: 20 MiB for media of 10 s or less,
// otherwise 1/60 of the file.
constexpr int64_t kShortMediaMs = 10000;
constexpr uint64_t kShortMediaBufferBytes = 20971520;
constexpr uint64_t kStallBufferDivisor = 60;
// Playback is always allowed in the first 3 s, for media shorter than 1 s
// and in the last 15 s.
constexpr int64_t kFreeStartMs = 3000;
constexpr int64_t kMinimumLengthMs = 1000;
constexpr int64_t kFreeTailMs = 15000;
constexpr int kPlayerPlaying = 3;
// A file the engine cannot open yet is opened again after each further
// tenth of it has arrived, this many times at most, and once it is whole.
constexpr uint64_t kReopenStepDivisor = 10;
constexpr int kMaxReopenTries = 5;

int64_t ToInt64(const CString& text) { return std::strtoll(text, nullptr, 10); }

// "00012" and "12" are the same number: compare the digit strings by value.
bool NumberTextLess(const CString& a, const CString& b)
{
    CString x = a;
    CString y = b;
    x.TrimLeft('0');
    y.TrimLeft('0');
    if (x.GetLength() != y.GetLength())
        return x.GetLength() < y.GetLength();
    return x < y;
}

CString BufferingText(int percent)
{
    CString text;
    text.Format("缓冲:%d%%", percent);
    return text;
}

CString FileNameOf(const CString& path)
{
    CString name = path.Mid(path.ReverseFind('/') + 1);
    name.Trim();
    return name;
}

} // namespace

CDownloadProgress::CDownloadProgress(CQuenlowApp& app) : m_app(app) {}

void CDownloadProgress::SetTimer(int id, int milliseconds)
{
    if (setTimer)
        setTimer(id, milliseconds);
}

void CDownloadProgress::KillTimer(int id)
{
    if (killTimer)
        killTimer(id);
}

void CDownloadProgress::ShowDownloadStatus(const CString& text)
{
    m_strDownloadStatus = text;
    if (showStatus)
        showStatus(kStatusDownloadElement, text);
    m_app.m_strDownloadStatusText = text;
}

void CDownloadProgress::ShowPlayState(const CString& text)
{
    if (showStatus)
        showStatus(kStatusPlayStateElement, text);
    m_app.m_strPlayStateText = text;
}

bool CDownloadProgress::Send(const CString& command)
{
    if (!sendCommand || sendCommand(command))
        return true;
    AbandonNetFile();
    return false;
}

// The downloader cannot run (the exchange has said so in the message slot):
// nothing will arrive, so the watches stop instead of waiting forever.
void CDownloadProgress::AbandonNetFile()
{
    KillTimer(kDlTimerDlAndPlayWatch);
    KillTimer(kDlTimerBufferingWait);
    KillTimer(kDlTimerSecondDelete);
    KillTimer(kDlTimerReopenWait);
    m_bNetTaskAccepted = false;
    m_nStallTicks = 0;
    // A file paused for buffering stays paused, as an ordinary pause.
    if (m_app.m_strPlayState == "OnBuffering") {
        m_app.m_strPlayState = "OnPause";
        m_app.m_strPlayStateText = "暂停";
    }
    // The state element showed the download or buffering text; it goes back
    // to the player's real state.
    ShowPlayState(m_app.m_strPlayStateText);
}

// The downloader ends the task before when it takes a new one, so a file it
// had not finished will never grow again: played on, it would end where the
// bytes end, wait for more with "正在缓冲..." and start over, for good. The
// player stops it; a file that is whole plays on until the new one starts.
void CDownloadProgress::LeaveUnfinishedNetFile()
{
    KillTimer(kDlTimerBufferingWait);
    KillTimer(kDlTimerReopenWait);
    m_nStallTicks = 0;
    const bool waitingForBytes = m_app.m_strPlayState == "OnBuffering";
    if (m_app.m_strPlayingNetFile.IsEmpty() && !waitingForBytes)
        return;
    m_app.m_strPlayingNetFile.Empty();
    if (stopPlayback)
        stopPlayback();
}

CString CDownloadProgress::FindProgressFile() const
{
    // Only the downloader's own files count: a stray file or folder in the
    // exchange folder must not block the reading.
    std::vector<SFolderEntry> files;
    for (SFolderEntry& entry : ListFolder(m_app.m_strDownloaderDataDir)) {
        if (!entry.isFolder && !entry.isSymlink && IsProgressFileName(entry.name) && IsRegularFile(entry.path))
            files.push_back(std::move(entry));
    }
    // The newest file may still be being written: read only when another exists.
    if (files.size() < 2)
        return CString();
    const SFolderEntry* oldest = &files.front();
    for (const SFolderEntry& entry : files) {
        if (NumberTextLess(entry.name, oldest->name))
            oldest = &entry;
    }
    return oldest->path;
}

void CDownloadProgress::ReadDownloadProgress()
{
    m_strProgressFilePath = FindProgressFile();
    const CString& path = m_strProgressFilePath;
    if (path.IsEmpty() || !IsRegularFile(path)) {
        ShowDownloadStatus(kZeroStatus);
        return;
    }
    // After a download-and-play request, what the downloader wrote before it
    // took the request tells of earlier tasks: dropped unread. (It removes
    // the files it has not handed over when it takes the request.)
    if (m_bAwaitingTask && dlAndPlayCommandWaiting && dlAndPlayCommandWaiting()) {
        DeleteFile(path);
        return;
    }

    m_arrProgressLines.RemoveAll();
    std::vector<CString> fileLines;
    if (!ReadExchangeFileLines(path, fileLines)) {
        DeleteFile(path);   // not a small regular file: never one of the downloader's
        return;
    }
    for (CString& line : fileLines) {
        line.Trim();
        m_arrProgressLines.Add(line);
    }
    // A file still being written is left for the next second.
    if (m_arrProgressLines.GetSize() < kProgressHeaderLines)
        return;

    const CStringArray& lines = m_arrProgressLines;
    // Sizes, counts, percentage and speed are figures; a file with anything
    // else there is not the downloader's and shows nothing.
    if (!IsFigure(lines[1]) || !IsFigure(lines[2]) || !IsFigure(lines[3]) || !IsFigure(lines[4]) ||
        !IsFigure(lines[5])) {
        DeleteFile(path);
        return;
    }
    // A late file of the task before, written while the request was on its way.
    if (m_bAwaitingTask && !m_strStaleTaskTag.IsEmpty() && lines[9] == m_strStaleTaskTag) {
        DeleteFile(path);
        return;
    }
    m_strTaskTarget = lines[0];
    m_app.m_nDownloadMediaKind = m_app.GetMediaKind(m_strTaskTarget);
    m_app.m_strDownloadTotalSize = lines[1];
    m_app.m_nNetFileSize = ToInt64(lines[1]);
    m_app.m_strDownloadPercent = lines[4].Left(5);
    m_app.m_nDownloadPercentValue = ParsePercent(lines[4]);
    m_app.m_strDownloadSpeed = lines[5];
    m_nTaskActivity = static_cast<int>(ToInt64(lines[8]));
    m_strTaskTag = lines[9];
    // The downloaded prefix: the first value below the value after it.
    m_nDownloadedBytes = 0;
    for (int i = kProgressHeaderLines; i + 1 < lines.GetSize(); ++i) {
        const uint64_t value = static_cast<uint64_t>(ToInt64(lines[i]));
        if (value < static_cast<uint64_t>(ToInt64(lines[i + 1]))) {
            m_nDownloadedBytes = value;
            break;
        }
    }

    const bool endedShort = m_nTaskActivity == 0 && !IsDownloadComplete();
    const bool watched = !m_strWatchedTaskTag.IsEmpty() && m_strTaskTag == m_strWatchedTaskTag;
    // A requested task that ended before its first byte (a wrong address,
    // an error answer, a refused address, a target it cannot write) leaves
    // nothing to play, whether or not its length was announced: the watch
    // gives up and says so, once.
    if (endedShort && m_nDownloadedBytes == 0 && ToInt64(lines[2]) == 0 &&
        (m_bAwaitingTask || (watched && !m_bDownloadBroken))) {
        m_bAwaitingTask = false;
        m_bDownloadBroken = watched;
        AbandonNetFile();
        m_app.SetMessage(kMessageError, kNetFileFailedMessage, 5);
    }
    // The task being played ended short after its retries: said once, and
    // the waits for more of it end.
    if (endedShort && m_nDownloadedBytes > 0 && watched && !m_bDownloadBroken) {
        m_bDownloadBroken = true;
        KillTimer(kDlTimerDlAndPlayWatch);
        CString text;
        text.Format(kNetFileBrokenMessage, m_app.m_strDownloadPercent.GetString());
        m_app.SetMessage(kMessageError, text, 5);
    }

    CString text;
    text.Format("速度:%lld KB/s 进度:", static_cast<long long>(ToInt64(lines[5]) / 1024));
    if (IsDownloadComplete()) {
        text = kCompleteStatus;
        m_app.m_strPlayingNetFile.Empty();
    } else {
        text += m_app.m_strDownloadPercent + "%";
    }
    if (m_nTaskActivity == 0) {
        if (++m_nIdleProgressTicks >= kIdleReadingsForZeroStatus)
            text = kZeroStatus;
    } else {
        m_nIdleProgressTicks = 0;
    }
    ShowDownloadStatus(text);
    DeleteFile(path);
}

bool CDownloadProgress::BeginDlAndPlay(const CString& dlAndPlayCommand)
{
    if (!Send(kCmdStopAllDownloadTask) || !Send(dlAndPlayCommand))
        return false;
    LeaveUnfinishedNetFile();
    SetTimer(kDlTimerDlAndPlayWatch, 1000);
    m_bNetTaskAccepted = false;
    m_bAwaitingTask = true;
    m_strStaleTaskTag = m_strTaskTag;
    m_strWatchedTaskTag.Empty();
    m_bDownloadBroken = false;
    m_nReopenTries = 0;
    m_bReopenedWhole = false;
    return true;
}

void CDownloadProgress::OnDlAndPlayTick()
{
    if (m_app.m_nNetFileSize == 0)
        return;   // no progress read yet
    m_app.m_nDownloadMediaKind = m_app.GetMediaKind(m_strTaskTarget);
    if (m_strTaskTag == m_strAcceptedTaskTag)
        return;   // the task already playing
    // Until the new task's first report arrives, the figures read last are
    // those of the task before: taking it over would end the wait for the
    // new one, whose failure would then go untold.
    if (m_bAwaitingTask && !m_strStaleTaskTag.IsEmpty() && m_strTaskTag == m_strStaleTaskTag)
        return;
    if (m_app.m_nDownloadMediaKind != 1 && m_app.m_nDownloadMediaKind != 2) {
        KillTimer(kDlTimerDlAndPlayWatch);
        return;
    }

    if (!m_bNetTaskAccepted) {
        m_bNetTaskAccepted = true;
        m_bAwaitingTask = false;
        m_strWatchedTaskTag = m_strTaskTag;
        m_app.m_bNetFileReady = 0;
        m_app.m_strPlayingNetFile = "true";
        if (stopPlayback)
            stopPlayback();
        KillTimer(kDlTimerBufferingWait);
        if (!Send(kCmdDeleteDownloaderTask))
            return;
        SetTimer(kDlTimerSecondDelete, 2000);
    }

    CString target = m_strTaskTarget;
    target.Trim();
    m_app.m_strMediaPath = target;
    CString name = target.Mid(target.ReverseFind('/') + 1);
    name.Trim();
    m_app.m_strMediaName = name;

    m_nBufferBytes = static_cast<uint64_t>(m_app.m_nNetFileSize) / kStartBufferDivisor;
    m_nBufferPercent = 0;
    if (m_nBufferBytes > 0) {
        const uint64_t percent = m_nDownloadedBytes * 100 / m_nBufferBytes;
        m_nBufferPercent = percent > 100 ? 100 : static_cast<int>(percent);
        ShowPlayState(BufferingText(m_nBufferPercent));
        if (m_app.m_nDownloadPercentValue >= kRestartAfterPercent && m_app.m_bRestartPending) {
            m_app.m_bRestartPending = 0;
            SetTimer(kDlTimerRestartRearm, kRestartRearmAfterStartMs);
            if (!Send(kCmdRestartDownloader))
                return;
        }
    }

    if (!m_app.m_strMediaPath.IsEmpty() && m_nBufferPercent == 100) {
        KillTimer(kDlTimerDlAndPlayWatch);
        KillTimer(kDlTimerBufferingWait);
        m_app.m_strPendingCommand = "HalvikEnglishPlayNetFile:";
        m_strAcceptedTaskTag = m_strTaskTag;
        m_app.m_bNetFileReady = 1;
    }
}

void CDownloadProgress::EnterBuffering()
{
    m_app.m_strPlayState = "OnBuffering";
    if (playerState && playerState() == kPlayerPlaying && pausePlayer)
        pausePlayer();
    ShowPlayState(kBufferingState);
}

uint64_t CDownloadProgress::GetBufferBytes() const
{
    if (m_app.m_nMediaLength <= kShortMediaMs)
        return kShortMediaBufferBytes;
    return static_cast<uint64_t>(m_app.m_nNetFileSize) / kStallBufferDivisor;
}

bool CDownloadProgress::IsDownloadedUpTo(int64_t t) const
{
    if (PlayerTime() < kFreeStartMs)
        return true;
    if ((playerLength ? playerLength() : 0) < kMinimumLengthMs)
        return true;
    if (m_app.m_strDownloadPercent == "100")
        return true;
    const int64_t length = m_app.m_nMediaLength;
    if (length > kMinimumLengthMs && t + kFreeTailMs > length)
        return true;
    if (length <= 0)
        return true;   // no length to place t in the file
    const uint64_t needed = static_cast<uint64_t>(m_app.m_nNetFileSize) * static_cast<uint64_t>(t) /
                                static_cast<uint64_t>(length) +
                            GetBufferBytes();
    return m_nDownloadedBytes >= needed;
}

void CDownloadProgress::StartBufferingWait()
{
    EnterBuffering();
    if (isPlayerFullscreen && isPlayerFullscreen() && m_app.m_bPlayerBarShown == 0 && moveCursorDown)
        moveCursorDown(kCursorNudgePixels);
    SetTimer(kDlTimerBufferingWait, 1000);
    m_nStallDownloaded = m_nDownloadedBytes;
}

void CDownloadProgress::OnStallTick()
{
    if (m_app.m_strPlayingNetFile.GetLength() <= 1 || m_app.m_strPlayState != "OnPlay") {
        m_nStallTicks = 0;
        return;
    }
    const int64_t time = PlayerTime();
    const int64_t step = time - m_nLastPlayTime;
    if (step >= 0 && step < kStallStepMs)
        ++m_nStallTicks;
    else
        m_nStallTicks = 0;
    m_nLastPlayTime = time;

    if (m_nStallTicks >= kStallTicksForBuffering) {
        StartBufferingWait();
        m_nStallTicks = 0;
    }
}

void CDownloadProgress::OnCatchUpTick()
{
    if (!m_app.m_strPlayingNetFile.IsEmpty() && m_app.m_strPlayState == "OnPlay" && !IsDownloadedUpTo(PlayerTime()))
        StartBufferingWait();
}

void CDownloadProgress::OnBufferingTick()
{
    if (m_bDownloadBroken) {
        // Nothing more will come: the player stays paused where it is.
        KillTimer(kDlTimerBufferingWait);
        AbandonNetFile();
        return;
    }
    m_nBufferBytes = GetBufferBytes();
    if (m_nBufferBytes > 0) {
        const uint64_t gained = m_nDownloadedBytes > m_nStallDownloaded ? m_nDownloadedBytes - m_nStallDownloaded : 0;
        const uint64_t percent = gained * 100 / m_nBufferBytes;
        m_nBufferPercent = percent > 100 ? 100 : static_cast<int>(percent);
        ShowPlayState(BufferingText(m_nBufferPercent));
        if (m_app.m_bRestartPending) {
            m_app.m_bRestartPending = 0;
            SetTimer(kDlTimerRestartRearm, kRestartRearmWhileBufferingMs);
            if (!Send(kCmdRestartDownloader))
                return;
        }
    }
    // A whole file needs no more buffer, however short of it the rest was.
    if (IsDownloadComplete())
        m_nBufferPercent = 100;
    if (m_nBufferPercent == 100) {
        KillTimer(kDlTimerBufferingWait);
        if (playFromResumeTime)
            playFromResumeTime();
    }
}

void CDownloadProgress::OnRestartRearmTick()
{
    KillTimer(kDlTimerRestartRearm);
    m_app.m_bRestartPending = 1;
}

void CDownloadProgress::OnSecondDeleteTick()
{
    KillTimer(kDlTimerSecondDelete);
    Send(kCmdDeleteDownloaderTask);
}

bool CDownloadProgress::IsDownloadComplete() const { return m_app.m_nDownloadPercentValue >= kCompletePercent; }

bool CDownloadProgress::IsDownloadTarget(const CString& mediaPath) const
{
    return !m_strWatchedTaskTag.IsEmpty() && !mediaPath.IsEmpty() && FileNameOf(mediaPath) == FileNameOf(m_strTaskTarget);
}

bool CDownloadProgress::WaitToReopen()
{
    if (!IsDownloadTarget(m_app.m_strMediaPath) || m_bDownloadBroken)
        return false;
    // The whole file refused once more is a file the engine cannot play.
    if (IsDownloadComplete() && m_bReopenedWhole)
        return false;
    m_nReopenAtBytes = m_nDownloadedBytes + static_cast<uint64_t>(std::max<int64_t>(m_app.m_nNetFileSize, 0)) /
                                                 kReopenStepDivisor;
    m_app.m_strPlayState = "OnBuffering";
    ShowPlayState(kBufferingState);
    SetTimer(kDlTimerReopenWait, 1000);
    return true;
}

void CDownloadProgress::OnReopenTick()
{
    if (!IsDownloadTarget(m_app.m_strMediaPath)) {
        KillTimer(kDlTimerReopenWait);   // the learner went on to something else
        return;
    }
    if (m_bDownloadBroken) {
        KillTimer(kDlTimerReopenWait);
        m_app.m_strPlayState = "OnStop";
        ShowPlayState("停止");
        return;
    }
    if (IsDownloadComplete()) {
        KillTimer(kDlTimerReopenWait);
        m_bReopenedWhole = true;
        ShowPlayState(kBufferingState);
        if (reopenMedia)
            reopenMedia();
        return;
    }
    // Play pressed meanwhile cannot start the file either: still waiting.
    m_app.m_strPlayState = "OnBuffering";
    ShowPlayState(kBufferingState);
    if (m_nReopenTries < kMaxReopenTries && m_nDownloadedBytes >= m_nReopenAtBytes) {
        ++m_nReopenTries;
        KillTimer(kDlTimerReopenWait);
        if (reopenMedia)
            reopenMedia();
    }
}

bool CDownloadProgress::WaitAtDownloadedEnd(int64_t t)
{
    if (m_app.m_strPlayingNetFile.IsEmpty() || IsDownloadComplete())
        return false;
    if (t > 0)
        m_app.m_nResumeTime = static_cast<int>(t);
    if (m_bDownloadBroken) {
        AbandonNetFile();   // paused at the end of what arrived
        m_app.m_strPlayState = "OnPause";
        ShowPlayState("暂停");
        return true;
    }
    StartBufferingWait();
    return true;
}
