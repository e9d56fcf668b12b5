// The bounds every transfer of the downloader keeps: a server that does not
// answer, or stops sending, ends the transfer instead of holding it for good.
// A whole file may take as long as it takes while bytes keep coming.
#pragma once

#include <cstdint>

#include "core/httptransfer.h"

constexpr long kConnectTimeoutMs = 10000;
constexpr long kStallSeconds = 30;
// No talk video or update comes near this; a server that sends without end does.
constexpr int64_t kMaxDownloadBytes = int64_t{16} << 30;

inline SHttpOptions DownloadOptions(const std::atomic<bool>& cancel)
{
    SHttpOptions options;
    options.connectTimeoutMs = kConnectTimeoutMs;
    options.totalTimeoutMs = 0;   // no bound on the whole transfer
    options.stallSeconds = kStallSeconds;
    options.cancel = &cancel;
    return options;
}
