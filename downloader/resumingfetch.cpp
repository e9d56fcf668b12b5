#include "downloader/resumingfetch.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Waits, ending early when the download is stopped; false then.
bool PauseUnlessCancelled(std::chrono::milliseconds pause, const std::atomic<bool>& cancel)
{
    const auto until = std::chrono::steady_clock::now() + pause;
    while (!cancel && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            50ms, until - std::chrono::steady_clock::now()));
    return !cancel;
}

} // namespace

SFetchResult FetchResuming(const std::string& url, const CString& target, int64_t offset, const SFetchLimits& limits,
                           const std::atomic<bool>& cancel, const FetchProgress& progress, const SResumeRule& rule,
                           const FetchResumed& resumed)
{
    size_t breaksInARow = 0;
    for (;;) {
        SFetchResult result = FetchFrom(url, target, offset, limits, cancel, progress);
        if (result.written - offset >= rule.progressBytes)
            breaksInARow = 0;
        if (result.complete || !result.broken || cancel || breaksInARow >= rule.pauses.size())
            return result;
        std::fprintf(stderr, "HalvikSoftDownloader: %s: %s; trying again from byte %lld\n", url.c_str(),
                     result.error.c_str(), static_cast<long long>(result.written));
        if (!PauseUnlessCancelled(rule.pauses[breaksInARow++], cancel))
            return result;
        offset = result.written;
        if (resumed)
            resumed(offset);
    }
}
