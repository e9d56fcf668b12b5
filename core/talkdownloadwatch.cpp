#include "core/talkdownloadwatch.h"

#include <algorithm>
#include <string>

#include "platform/file.h"
#include "core/exchangefile.h"
#include "core/messagekind.h"
#include "core/progressfileformat.h"
#include "core/quenlow.h"

namespace {

// The downloader reports a running download each second; this many readings
// without a word mean it is no longer running.
constexpr int kQuietReadingsLimit = 15;
constexpr int kDoneMessageSeconds = 5;
constexpr int kFailedMessageSeconds = 10;
constexpr const char* kDownloaderGone = "下载程序已停止";
// Readings the figures of an ended download stay in the pane.
constexpr int kEndShownReadings = 10;

struct SNumberedFile {
    CString number;   // without leading zeros
    CString path;
};

bool NumberLess(const SNumberedFile& a, const SNumberedFile& b)
{
    if (a.number.GetLength() != b.number.GetLength())
        return a.number.GetLength() < b.number.GetLength();
    return a.number < b.number;
}

CString StatusText(const STalkDownloadReport& report)
{
    const bool done = report.state == ETalkDownloadState::Done;
    const int64_t speed = report.state == ETalkDownloadState::Running ? report.bytesPerSecond / 1024 : 0;
    CString text;
    text.Format("速度:%lld KB/s 进度:%s%%", static_cast<long long>(speed),
                PercentText(report.written, report.total, done).str().c_str());
    return text;
}

CString FailedText(const STalkDownloadReport& report)
{
    if (report.cause.IsEmpty())
        return report.name;
    return report.name + "（" + report.cause + "）";
}

// The ends of one reading in one message: the slot holds one notice, and
// several talks may end in the same second (a cancelled queue).
void ShowEnds(CQuenlowApp& app, const std::vector<STalkDownloadReport>& ends)
{
    CString done;
    CString failed;
    for (const STalkDownloadReport& report : ends) {
        CString& list = report.state == ETalkDownloadState::Done ? done : failed;
        if (!list.IsEmpty())
            list += report.state == ETalkDownloadState::Done ? "、" : "；";
        list += report.state == ETalkDownloadState::Done ? report.name : FailedText(report);
    }
    CString text;
    if (!done.IsEmpty())
        text = "下载完成：" + done;
    if (!failed.IsEmpty())
        text += (text.IsEmpty() ? "" : "  ") + CString("下载失败：") + failed;
    if (!text.IsEmpty())
        app.SetMessage(failed.IsEmpty() ? kMessageInfo : kMessageError, text,
                       failed.IsEmpty() ? kDoneMessageSeconds : kFailedMessageSeconds);
}

} // namespace

CTalkDownloadWatch::CTalkDownloadWatch(CQuenlowApp& app) : m_app(app) {}

std::vector<STalkDownloadReport> CTalkDownloadWatch::TakeReports() const
{
    std::vector<SNumberedFile> files;
    for (const SFolderEntry& entry : ListFolder(TalkReportFolder(m_app.m_strAppDir))) {
        if (entry.isFolder || entry.isSymlink || !IsProgressFileName(entry.name))
            continue;
        CString number = entry.name.Left(entry.name.GetLength() - 5);   // without ".data"
        number.TrimLeft('0');
        files.push_back({number, entry.path});
    }
    std::sort(files.begin(), files.end(), NumberLess);
    std::vector<STalkDownloadReport> reports;
    for (const SNumberedFile& file : files) {
        std::string bytes;
        // Anything else in the folder shows nothing and is not read again.
        if (ReadRegularFile(file.path, bytes, kExchangeFileLimit) == EFileReadResult::Read) {
            if (std::optional<STalkDownloadReport> report = ParseTalkReport(CString(bytes)))
                reports.push_back(std::move(*report));
        }
        DeleteFile(file.path);
    }
    return reports;
}

STalkDownloadNews CTalkDownloadWatch::ReadReports()
{
    STalkDownloadNews news;
    const std::vector<STalkDownloadReport> reports = TakeReports();
    std::vector<STalkDownloadReport> ends;
    for (const STalkDownloadReport& report : reports) {
        if (report.state == ETalkDownloadState::Running) {
            m_running = report;
            continue;
        }
        ends.push_back(report);
        if (report.state == ETalkDownloadState::Done)
            news.done.push_back(report.name);
        if (m_running && m_running->name == report.name)
            m_running.reset();
    }
    if (!reports.empty()) {
        m_quietReadings = 0;
    } else if (m_running && ++m_quietReadings >= kQuietReadingsLimit) {
        STalkDownloadReport gone = *m_running;
        gone.state = ETalkDownloadState::Failed;
        gone.cause = kDownloaderGone;
        ends.push_back(gone);
        m_running.reset();
    }
    ShowEnds(m_app, ends);
    if (!ends.empty()) {
        m_ended = ends.back();
        m_endShownReadings = 0;
    }
    if (m_running) {
        news.running = true;
        news.statusText = StatusText(*m_running);
    } else if (m_ended && m_endShownReadings++ < kEndShownReadings) {
        // The pane does not drop to nothing the moment a download ends.
        news.statusText = StatusText(*m_ended);
    }
    return news;
}
