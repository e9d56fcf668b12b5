#include "downloader/resumerule.h"

#include <algorithm>
#include <thread>

namespace {

constexpr auto kCancelPoll = std::chrono::milliseconds(100);

// Waits; false when the download was cancelled meanwhile.
bool PauseUnlessCancelled(std::chrono::milliseconds pause, const std::atomic<bool>& cancel)
{
    const auto end = std::chrono::steady_clock::now() + pause;
    while (!cancel && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(kCancelPoll, end - std::chrono::steady_clock::now()));
    return !cancel;
}

} // namespace

bool CResumeTries::Again(const SFetchResult& result, int64_t offset, const std::atomic<bool>& cancel)
{
    // 416 is no refusal: a range past the end of what the server has.
    const bool errorAnswer = result.status >= 400 && result.status != 416;
    m_triesWithoutBytes = result.written > offset ? 0 : m_triesWithoutBytes + 1;
    if (cancel || errorAnswer || m_triesWithoutBytes > m_rule.retries || !PauseUnlessCancelled(m_rule.pause, cancel))
        return false;
    ++m_retries;
    return true;
}
