#include "downloader/talkreports.h"

#include <algorithm>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kReportEvery = 1000ms;

} // namespace

CTalkReports::CTalkReports(const CString& folder, const CString& temp) : m_files(folder, temp) {}

void CTalkReports::Queue(const CString& name)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    m_waiting.push_back(name);
}

void CTalkReports::DropWaiting(const CString& cause)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    for (const CString& name : m_waiting) {
        STalkDownloadReport report;
        report.state = ETalkDownloadState::Failed;
        report.name = name;
        report.cause = cause;
        m_ends.push_back(report);
    }
    m_waiting.clear();
}

bool CTalkReports::Begin(const CString& name)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    const auto waiting = std::find(m_waiting.begin(), m_waiting.end(), name);
    if (waiting == m_waiting.end())
        return false;
    m_waiting.erase(waiting);
    STalkDownloadReport report;
    report.name = name;
    m_running = report;
    // The first report goes out at the next tick.
    m_lastReport = Clock::time_point();
    m_lastReportedBytes = 0;
    return true;
}

void CTalkReports::Progress(int64_t written, int64_t total)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    if (!m_running)
        return;
    m_running->written = written;
    if (total > 0)
        m_running->total = total;
}

void CTalkReports::Retrying(int64_t written)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    if (m_running)
        m_running->written = written;
}

void CTalkReports::Done() { End(ETalkDownloadState::Done, CString()); }

void CTalkReports::Failed(const CString& cause) { End(ETalkDownloadState::Failed, cause); }

void CTalkReports::End(ETalkDownloadState state, const CString& cause)
{
    const std::lock_guard<std::mutex> lock(m_lock);
    if (!m_running)
        return;
    STalkDownloadReport report = *m_running;
    report.state = state;
    report.cause = cause;
    report.bytesPerSecond = 0;
    m_ends.push_back(report);
    m_running.reset();
}

void CTalkReports::Tick(Clock::time_point now)
{
    std::vector<STalkDownloadReport> ends;
    std::optional<STalkDownloadReport> running;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        ends.swap(m_ends);
        if (m_running && now - m_lastReport >= kReportEvery) {
            running = m_running;
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastReport).count();
            // No speed for the first report: there is no earlier one to measure from.
            if (m_lastReport != Clock::time_point() && elapsed > 0 && running->written > m_lastReportedBytes)
                running->bytesPerSecond = (running->written - m_lastReportedBytes) * 1000 / elapsed;
            m_lastReport = now;
            m_lastReportedBytes = running->written;
        }
    }
    for (const STalkDownloadReport& report : ends)
        Write(report);
    if (running)
        Write(*running);
}

void CTalkReports::Write(const STalkDownloadReport& report)
{
    if (!m_files.WriteText(TalkReportText(report)))
        std::fprintf(stderr, "HalvikSoftDownloader: cannot write a talk report\n");
}
