// The downloader's tasks and what each command does to them:
//  download-and-play  stops the running download-and-play task and starts a
//                     new one (the only task that writes progress files);
//  stop all           ends every task and drops the waiting downloads (the
//                     bytes of the download-and-play file stay);
//  restart            ends the download-and-play transfer and starts it
//                     again from the bytes the file holds;
//  delete tasks       ends the talk downloads (each reported as failed)
//                     and the update, never the download-and-play task;
//  update             queues the update download.
// The talk downloads come from the clipboard watch.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "downloader/command.h"
#include "downloader/dlandplaytask.h"
#include "downloader/jobqueue.h"
#include "downloader/paths.h"
#include "downloader/progressfile.h"
#include "downloader/talkdownloads.h"
#include "downloader/talkreports.h"

class CDownloader {
public:
    explicit CDownloader(const SDownloaderPaths& paths);
    ~CDownloader() { StopAll(); }
    CDownloader(const CDownloader&) = delete;
    CDownloader& operator=(const CDownloader&) = delete;

    void Perform(const SCommand& command);
    // Called every quarter second: writes a progress file each second while
    // the download-and-play transfer runs, and one when it has ended; and
    // the talk downloads' reports.
    void Tick(std::chrono::steady_clock::time_point now);
    // Queues talk downloads (any thread).
    void QueueTalkDownloads(const std::vector<std::string>& addresses);
    void StopAll();

private:
    void StartDlAndPlay(const SCommand& command);
    // repeat: the ended task's last state once more.
    void WriteProgress(std::chrono::steady_clock::time_point now, bool repeat = false);

    SDownloaderPaths m_paths;
    CProgressFiles m_progressFiles;
    std::unique_ptr<CDlAndPlayTask> m_dlAndPlay;
    int m_reportedEnds = 0;   // transfer ends of m_dlAndPlay already reported
    int m_endRepeats = 0;     // times the last end was written again
    std::chrono::steady_clock::time_point m_lastReport;
    int64_t m_lastReportedBytes = 0;
    int m_taskCount = 0;
    // Before the queue: its jobs report here until the queue has ended them.
    CTalkReports m_talkReports;
    STalkFetchRules m_talkRules;
    CJobQueue m_talks;
    CJobQueue m_update;
};
