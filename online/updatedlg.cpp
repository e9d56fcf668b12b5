#include "online/updatedlg.h"

#include <mutex>

#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/panel.h>
#include <wx/sizer.h>

#include "online/core/onlinesubtitle.h"
#include "online/core/subtitlestore.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "core/updatecheck.h"

namespace {

// What a worker reports: the progress of a download, or its end.
struct SJobReport {
    int jobId = 0;
    int64_t bytes = 0;
    int64_t total = -1;
    bool finished = false;
    ESubtitleJobEnd end = ESubtitleJobEnd::Running;   // Fetched: downloaded whole and unpacked
    bool damaged = false;                             // downloaded whole, but no lesson came out
    bool fromStore = false;                           // the lesson came from the subtitle store
};

wxDEFINE_EVENT(EVT_DOWNLOADPROGRESS, wxThreadEvent);
wxDEFINE_EVENT(EVT_UPDATENOTICE, wxThreadEvent);

// A subtitle package is a small zip archive.
constexpr int64_t kMaxPackageBytes = 16 << 20;
// Reports start once more than this many bytes have arrived.
constexpr int64_t kFirstReportBytes = 100;

// "tmpjpg.jpg" -> "tmpjpg-7.jpg": each job writes a package of its own.
CString JobPath(const CString& path, int jobId)
{
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    CString suffix;
    suffix.Format("-%d", jobId);
    return dot > slash + 1 ? path.Left(dot) + suffix + path.Mid(dot) : path + suffix;
}

} // namespace

// Workers post through the sink; the dialog cuts it before it goes, so no
// report reaches a destroyed window.
struct CUpdateDlg::SProgressSink {
    std::mutex lock;
    wxEvtHandler* target = nullptr;

    void Post(wxEventType type, const SJobReport& report)
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (target == nullptr)
            return;
        auto* event = new wxThreadEvent(type);
        event->SetPayload(report);
        wxQueueEvent(target, event);
    }
};

CUpdateDlg::CUpdateDlg() : m_sink(std::make_shared<SProgressSink>()), m_unpackTimer(this, kTimerUnpack)
{
    m_checkOptions.connectTimeoutMs = 5000;
    m_checkOptions.totalTimeoutMs = 10000;
    m_downloadOptions.connectTimeoutMs = 5000;
    m_downloadOptions.totalTimeoutMs = 120000;
    m_downloadOptions.stallSeconds = 15;
    m_checkOptions.cancel = &m_stopping;
    m_downloadOptions.cancel = &m_stopping;
    Bind(EVT_DOWNLOADPROGRESS, &CUpdateDlg::OnDownloadProgress, this);
    Bind(EVT_UPDATENOTICE, [](wxThreadEvent&) { theApp.SetMessage(kMessageInfo, kAutoUpdateNotice, 5); });
    Bind(wxEVT_TIMER, &CUpdateDlg::OnUnpackTimer, this, kTimerUnpack);
}

CUpdateDlg::~CUpdateDlg()
{
    {
        const std::lock_guard<std::mutex> guard(m_sink->lock);
        m_sink->target = nullptr;
    }
    // Requests under way end within about a second.
    m_stopping = true;
    m_unpackTimer.Stop();
    if (m_jobThread.joinable())
        m_jobThread.join();
    if (m_checkThread.joinable())
        m_checkThread.join();
    if (m_running)
        DeleteFile(m_running->packagePath);
}

bool CUpdateDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxCAPTION | wxSYSTEM_MENU | wxFRAME_NO_TASKBAR))
        return false;
    m_panelForm = new wxPanel(this, wxID_ANY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_panelForm, 1, wxEXPAND);
    SetSizer(sizer);
    Hide();
    m_sink->target = this;
    return true;
}

int CUpdateDlg::StartUpdateCheck(const CString& /*address*/, const CString& /*localPath*/)
{
    // Once a run, and only with something to ask and someone to ask.
    if (m_checkThread.joinable() || theApp.m_strProductId.IsEmpty() || theApp.m_strUpdateServerHost.IsEmpty())
        return 1;
    SUpdateCheckRequest request = MakeUpdateCheckRequest();
    request.serverHost = theApp.m_strUpdateServerHost;
    request.cancel = &m_stopping;
    m_checkThread = std::thread([request, sink = m_sink] {
        if (AutomaticUpdateVerdict(CheckForUpdate(request)) == EAutoUpdateResult::NewVersion)
            sink->Post(EVT_UPDATENOTICE, SJobReport());
    });
    return 1;
}

int CUpdateDlg::StartSubtitleDownload()
{
    return StartSubtitleDownload(theApp.m_strSubtitleUrl, theApp.m_strMediaSha1, theApp.m_strPlayFilePath, false);
}

int CUpdateDlg::StartSubtitleDownload(const CString& url, const CString& digest, const CString& mediaPath, bool batch)
{
    return QueueJob(url, digest, mediaPath, batch, false);
}

int CUpdateDlg::StartSubtitleLookup(bool askHost)
{
    return QueueJob(askHost ? theApp.m_strSubtitleUrl : CString(), theApp.m_strMediaSha1, theApp.m_strPlayFilePath,
                    false, true);
}

int CUpdateDlg::QueueJob(const CString& url, const CString& digest, const CString& mediaPath, bool batch,
                         bool storeFirst)
{
    SSubtitleJob job;
    job.id = m_nextJobId++;
    job.url = url;
    job.packagePath = JobPath(theApp.m_strTmpJpgPath, job.id);
    job.lessonPath = JobPath(theApp.m_strTmpScriptPath, job.id);
    job.digest = digest;
    job.mediaPath = mediaPath;
    job.batch = batch;
    job.storeFirst = storeFirst;
    job.subtitleDir = theApp.m_strSubtitleDir;
    job.storePath = theApp.m_strSubtitleStorePath;
    m_jobEnds[job.id] = ESubtitleJobEnd::Queued;
    m_queue.push_back(job);
    StartNextJob();
    return job.id;
}

ESubtitleJobEnd CUpdateDlg::JobEnd(int jobId) const
{
    const auto found = m_jobEnds.find(jobId);
    return found != m_jobEnds.end() ? found->second : ESubtitleJobEnd::Failed;
}

void CUpdateDlg::JoinFinishedThreads()
{
    // The previous job's worker posted its end as its last act.
    if (m_jobThread.joinable())
        m_jobThread.join();
}

void CUpdateDlg::StartNextJob()
{
    if (m_running || m_queue.empty() || m_stopping)
        return;
    JoinFinishedThreads();
    m_running = m_queue.front();
    m_queue.pop_front();
    m_jobEnds[m_running->id] = ESubtitleJobEnd::Running;
    m_jobThread = std::thread(&CUpdateDlg::RunJob, *m_running, m_checkOptions, m_downloadOptions, m_sink);
}

void CUpdateDlg::RunJob(SSubtitleJob job, SHttpOptions check, SHttpOptions download,
                        std::shared_ptr<SProgressSink> sink)
{
    SJobReport report;
    report.jobId = job.id;
    report.finished = true;
    if (job.storeFirst) {
        // A package stored earlier that no longer gives a lesson is removed
        // from the store on the way, and the host is asked again.
        const ELibraryLoad stored =
            LoadSubtitleFromLibrary(job.subtitleDir, job.digest, job.packagePath, job.lessonPath, job.storePath);
        if (stored == ELibraryLoad::Loaded || job.url.IsEmpty()) {
            report.fromStore = stored == ELibraryLoad::Loaded;
            report.end = report.fromStore                   ? ESubtitleJobEnd::Fetched
                         : stored == ELibraryLoad::Damaged ? ESubtitleJobEnd::Failed
                                                           : ESubtitleJobEnd::Missing;
            report.damaged = stored == ELibraryLoad::Damaged;
            sink->Post(EVT_DOWNLOADPROGRESS, report);
            return;
        }
    }
    const std::string url = job.url.str();
    switch (CheckRemotePackage(url, check)) {
    case ERemotePackage::Missing:
        report.end = ESubtitleJobEnd::Missing;
        sink->Post(EVT_DOWNLOADPROGRESS, report);
        return;
    case ERemotePackage::NoAnswer:
        report.end = ESubtitleJobEnd::Failed;
        sink->Post(EVT_DOWNLOADPROGRESS, report);
        return;
    case ERemotePackage::Available:
        break;
    }
    const SHttpDownload result = DownloadToFile(
        url, job.packagePath, download,
        [&](int64_t bytes, int64_t total) {
            if (bytes > kFirstReportBytes)
                sink->Post(EVT_DOWNLOADPROGRESS, SJobReport {job.id, bytes, total, false, ESubtitleJobEnd::Running});
        },
        kMaxPackageBytes);
    report.bytes = result.bytes;
    report.total = result.total;
    report.end = result.ok ? ESubtitleJobEnd::Fetched : ESubtitleJobEnd::Failed;
    // Unpacked here, never on the interface thread: a hostile package may
    // take the zip layer's whole inflate budget.
    if (result.ok && UnpackLessonPackage(job.packagePath, job.lessonPath) != EUnpackResult::Unpacked) {
        report.end = ESubtitleJobEnd::Failed;
        report.damaged = true;
    }
    sink->Post(EVT_DOWNLOADPROGRESS, report);
}

void CUpdateDlg::OnDownloadProgress(wxThreadEvent& event)
{
    const SJobReport report = event.GetPayload<SJobReport>();
    if (!m_running || report.jobId != m_running->id || !report.finished)
        return;
    if (report.end == ESubtitleJobEnd::Fetched && report.fromStore)
        AdoptFetchedLesson(false);
    else if (report.end == ESubtitleJobEnd::Fetched)
        m_unpackTimer.StartOnce(1000);
    else if (report.end == ESubtitleJobEnd::Missing)
        EndRunningJob(ESubtitleJobEnd::Missing, "没有匹配到字幕文件！");
    else if (report.damaged)
        EndRunningJob(ESubtitleJobEnd::Failed, "字幕库文件已经破损!");
    else
        EndRunningJob(ESubtitleJobEnd::Failed, "下载字幕文件失败！");
}

void CUpdateDlg::OnUnpackTimer(wxTimerEvent&)
{
    if (m_running)
        AdoptFetchedLesson(true);
}

void CUpdateDlg::AdoptFetchedLesson(bool keepPackage)
{
    const SSubtitleJob job = *m_running;
    // Only the media still waiting for its lesson takes the staging lesson;
    // another job's package is checked in a lesson file of its own, so the
    // lesson on screen is never replaced under the learner.
    // The worker has unpacked the lesson into the job's own file; only a
    // package that gave a lesson is kept in the store.
    const bool current = !job.batch && job.mediaPath == theApp.m_strPlayFilePath;
    if (current && !MoveFile(job.lessonPath, theApp.m_strTmpScriptPath)) {
        EndRunningJob(ESubtitleJobEnd::Failed, "字幕库文件已经破损!");
        return;
    }
    if (keepPackage)
        StoreSubtitlePackage(theApp.m_strSubtitleStorePath, job.digest, job.packagePath);
    if (current) {
        theApp.m_strScriptPath = theApp.m_strTmpScriptPath;
        theApp.m_strSubtitleFetched = "true";
    }
    EndRunningJob(ESubtitleJobEnd::Fetched, CString());
}

void CUpdateDlg::EndRunningJob(ESubtitleJobEnd end, const CString& message)
{
    const SSubtitleJob job = *m_running;
    m_running.reset();
    m_jobEnds[job.id] = end;
    DeleteFile(job.packagePath);
    DeleteFile(job.lessonPath);
    // A media still waiting for this lesson (it plays with the blank one
    // meanwhile) keeps the blank lesson, and the learner is told why.
    const bool waiting = theApp.m_strScriptPath == theApp.m_strBlankScriptPath || !FileExists(theApp.m_strScriptPath);
    if (end != ESubtitleJobEnd::Fetched && !job.batch && job.mediaPath == theApp.m_strPlayFilePath && waiting)
        UseBlankLesson(theApp, message);
    StartNextJob();
}
