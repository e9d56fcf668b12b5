// A download that goes on by itself after a break: when the server sent part
// of the file and the transfer then broke or stalled, it is asked again for
// the bytes the target lacks (FetchFrom with a Range), after a pause, a
// bounded number of times in a row.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "downloader/rangefetch.h"
#include "platform/cstring.h"

struct SResumeRule {
    // The pause before each try again; one more break after the last ends
    // the download short.
    std::vector<std::chrono::milliseconds> pauses;
    // A try that brought at least this many bytes is progress: the count of
    // breaks in a row starts again.
    int64_t progressBytes = 1;
};

// Called before each try again, with the byte it starts from.
using FetchResumed = std::function<void(int64_t offset)>;

// FetchFrom from `offset`, taken up again after each break as the rule
// allows. Ends with the last try's result: the file complete, an answer
// that is no break (an error status, no answer), a stop through `cancel`
// (also during a pause), or a break after the last pause.
SFetchResult FetchResuming(const std::string& url, const CString& target, int64_t offset, const SFetchLimits& limits,
                           const std::atomic<bool>& cancel, const FetchProgress& progress, const SResumeRule& rule,
                           const FetchResumed& resumed);
