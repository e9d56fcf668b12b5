#include "downloader/dlandplaytask.h"

#include <cstdio>

#include "downloader/resumerule.h"
#include "platform/file.h"


CDlAndPlayTask::CDlAndPlayTask(CString target, std::string url, CString tag, SFetchLimits limits)
    : m_target(std::move(target)), m_url(std::move(url)), m_tag(std::move(tag)), m_limits(limits)
{
}

void CDlAndPlayTask::Start()
{
    int64_t offset = 0;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        if (m_state.running || m_state.complete)
            return;
        // An earlier task's file under the same name is replaced, never continued.
        if (m_ownsTarget) {
            const int64_t size = GetFileSize(m_target);
            offset = size > 0 ? size : 0;
        }
        ++m_state.runs;
        // A refused address ends at once: its report tells the program
        // there is nothing to wait for.
        if (m_url.empty()) {
            m_state.error = "the address is refused";
            ++m_state.endedRuns;
            return;
        }
        m_state.running = true;
        m_state.written = offset;
    }
    if (m_thread.joinable())
        m_thread.join();
    m_cancel = false;
    m_thread = std::thread([this, offset] { Run(offset); });
}

void CDlAndPlayTask::Stop()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

SDlAndPlayState CDlAndPlayTask::State() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

void CDlAndPlayTask::Run(int64_t offset)
{
    const auto progress = [this](int64_t written, int64_t total) {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_ownsTarget = true;
        m_state.written = written;
        m_state.total = total;
    };
    SFetchResult result;
    CResumeTries tries {SResumeRule()};
    for (;;) {
        result = FetchFrom(m_url, m_target, offset, m_limits, m_cancel, progress);
        if (result.complete || !tries.Again(result, offset, m_cancel))
            break;
        if (result.wrote)
            offset = result.written;
        std::fprintf(stderr, "HalvikSoftDownloader: %s: %s; trying again from byte %lld\n", m_url.c_str(),
                     result.error.c_str(), static_cast<long long>(offset));
        const std::lock_guard<std::mutex> lock(m_lock);
        if (result.wrote)
            m_ownsTarget = true;
        ++m_state.resumes;
    }
    if (!result.complete)
        std::fprintf(stderr, "HalvikSoftDownloader: %s: %s\n", m_url.c_str(), result.error.c_str());
    const std::lock_guard<std::mutex> lock(m_lock);
    if (result.wrote)
        m_ownsTarget = true;
    m_state.running = false;
    m_state.complete = result.complete;
    m_state.written = result.written;
    if (result.total >= 0)
        m_state.total = result.total;
    m_state.error = result.complete ? std::string() : result.error;
    ++m_state.endedRuns;
}
