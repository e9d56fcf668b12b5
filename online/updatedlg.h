// The hidden update dialog: a window that the main frame creates once at
// start-up and never shows. It runs the automatic update check and the
// downloads of online subtitle packages on worker threads, which report
// back to it with queued events; it unpacks a downloaded package into the
// staging lesson and keeps it in the subtitle store.
//
// Subtitle downloads run one at a time. Each job keeps what it was started
// for (its address, the media and the media's digest) and has a staging
// package of its own, so a package always lands under the digest of the
// media it was asked for, whatever the learner plays meanwhile.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <thread>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "platform/cstring.h"
#include "core/httptransfer.h"

class wxPanel;
class wxThreadEvent;

struct SSubtitleJob {
    int id = 0;
    CString url;           // the package on the subtitle host
    CString packagePath;   // this job's staging package
    CString lessonPath;    // the lesson the worker unpacks from it
    CString digest;        // the media's digest when the job started
    CString mediaPath;     // the media it was asked for
    bool batch = false;    // a batch fetch: kept in the store, no lesson loaded
    // A look-up: the subtitle store is read first (on the worker), and the
    // host asked only when it has no lesson for the digest and url is set.
    bool storeFirst = false;
    CString subtitleDir;   // the store's folder and file, for the worker
    CString storePath;
};

enum class ESubtitleJobEnd {
    Queued,
    Running,
    Fetched,    // unpacked and kept in the store (or read from it)
    Missing,    // the host has no package for the digest (or, not asked, the store none)
    Failed,     // no answer, a broken transfer, or a damaged package
};

class CUpdateDlg : public wxDialog {
public:
    // Timer 500 unpacks a downloaded package a second after its last byte.
    enum EUpdateDlgTimer { kTimerUnpack = 500 };

    CUpdateDlg();
    ~CUpdateDlg() override;

    // Creates the window hidden, with an empty form panel (template 424).
    bool Create(wxWindow* parent);

    // Starts the automatic update check on its own thread; the two texts are
    // not used by the check. A notice about a new version goes to the
    // show-message slot. Returns 1.
    int StartUpdateCheck(const CString& address, const CString& localPath);

    // Queues the download of theApp.m_strSubtitleUrl for the media being
    // played (m_strPlayFilePath, its digest m_strMediaSha1) and returns the
    // job's id. A job for the current media ends by setting m_strScriptPath to
    // the staging lesson and m_strSubtitleFetched to "true"; a batch job only
    // keeps the package in the store.
    int StartSubtitleDownload();
    // The same for a given package address, digest and media.
    int StartSubtitleDownload(const CString& url, const CString& digest, const CString& mediaPath, bool batch);
    // A look-up for the media being played: the subtitle store is read on
    // the worker, then, when it gives no lesson and `askHost` holds, the
    // host is asked for theApp.m_strSubtitleUrl. Ends as a download does.
    int StartSubtitleLookup(bool askHost);
    ESubtitleJobEnd JobEnd(int jobId) const;

    // Timeouts of the requests (tests shorten them).
    SHttpOptions m_checkOptions;
    SHttpOptions m_downloadOptions;

    wxPanel* m_panelForm = nullptr;

private:
    struct SProgressSink;

    int QueueJob(const CString& url, const CString& digest, const CString& mediaPath, bool batch, bool storeFirst);
    void StartNextJob();
    static void RunJob(SSubtitleJob job, SHttpOptions check, SHttpOptions download,
                       std::shared_ptr<SProgressSink> sink);
    void OnDownloadProgress(wxThreadEvent& event);
    void OnUnpackTimer(wxTimerEvent& event);
    // The running job's lesson is there: it becomes the lesson of the media
    // still waiting for it; a downloaded package is kept in the store.
    void AdoptFetchedLesson(bool keepPackage);
    void EndRunningJob(ESubtitleJobEnd end, const CString& message);
    void JoinFinishedThreads();

    std::deque<SSubtitleJob> m_queue;
    std::optional<SSubtitleJob> m_running;
    std::map<int, ESubtitleJobEnd> m_jobEnds;
    int m_nextJobId = 1;
    std::shared_ptr<SProgressSink> m_sink;
    std::atomic<bool> m_stopping {false};
    std::thread m_jobThread;
    std::thread m_checkThread;
    wxTimer m_unpackTimer;
};
