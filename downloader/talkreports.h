// What the program learns of the talk downloads: the talk worker tells this
// object how its download goes, and the downloader's main loop writes the
// reports (core/talkdownloadreport.h) from it, the running download once a
// second, also while it waits for bytes, and each end once.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "core/talkdownloadreport.h"
#include "downloader/progressfile.h"
#include "platform/cstring.h"

class CTalkReports {
public:
    CTalkReports(const CString& folder, const CString& temp);

    // ---- The queue (main loop) ----
    // A talk waits for its turn.
    void Queue(const CString& name);
    // The talks still waiting were dropped: each is reported as failed.
    void DropWaiting(const CString& cause);

    // ---- The talk worker ----
    // The talk's download begins; false when it was dropped meanwhile (its
    // end is reported already, and it is not to be fetched).
    bool Begin(const CString& name);
    void Progress(int64_t written, int64_t total);
    // A try broke and the next goes on from the bytes there are.
    void Retrying(int64_t written);
    void Done();
    void Failed(const CString& cause);

    // ---- The main loop, every quarter second ----
    void Tick(std::chrono::steady_clock::time_point now);

private:
    void End(ETalkDownloadState state, const CString& cause);
    void Write(const STalkDownloadReport& report);

    CProgressFiles m_files;
    std::mutex m_lock;
    std::vector<CString> m_waiting;
    std::optional<STalkDownloadReport> m_running;
    std::vector<STalkDownloadReport> m_ends;   // not written yet
    std::chrono::steady_clock::time_point m_lastReport;
    int64_t m_lastReportedBytes = 0;
};
