// How a download goes on after its transfer broke off: the next try asks
// for the bytes from where the file ends (HTTP Range). An error answer is
// the server's last word; a try that brings no new byte counts against the
// download, and after a few of those in a row it has failed. The talk
// downloads and download-and-play keep this one rule.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "downloader/rangefetch.h"

struct SResumeRule {
    // Tries in a row that bring no new byte before the download fails.
    int retries = 3;
    std::chrono::milliseconds pause {2000};
};

// Counts the tries of one download.
class CResumeTries {
public:
    explicit CResumeTries(const SResumeRule& rule) : m_rule(rule) {}

    // After a try from byte `offset` that left the file short: whether to
    // try again. Waits the rule's pause first; false at once when `cancel`
    // turns true.
    bool Again(const SFetchResult& result, int64_t offset, const std::atomic<bool>& cancel);
    // The tries again so far.
    int retries() const { return m_retries; }

private:
    SResumeRule m_rule;
    int m_triesWithoutBytes = 0;
    int m_retries = 0;
};
