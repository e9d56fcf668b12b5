// HTTP transfers on a worker thread through the transfer library: asking an
// address for its response headers only, and downloading an address into a
// file with progress. Every transfer has timeouts and can be cancelled, so
// a worker never blocks for good; nothing here touches a window or theApp.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/httpheaders.h"
#include "platform/cstring.h"

struct SHttpOptions {
    long connectTimeoutMs = 5000;
    long totalTimeoutMs = 15000;
    // A transfer slower than 1 byte a second for this long ends (0: no bound).
    long stallSeconds = 0;
    // When set and turned true, a transfer under way ends within about a second.
    const std::atomic<bool>* cancel = nullptr;
};

// Asks for the address and reads the headers only (the body is not read).
// False when no final response arrived or the request could not be made;
// `error` then says why.
bool RequestHeaders(const std::string& url, const SHttpOptions& options, SHttpHeaders& headers, std::string& error);

struct SHttpDownload {
    bool ok = false;       // a 2xx answer whose whole body is in the file
    long status = 0;
    int64_t bytes = 0;     // body bytes written
    int64_t total = -1;    // the announced Content-Length, -1 when none
    std::string error;
};

// Called after each block written: bytes so far and the announced total
// (-1 when none).
using HttpProgress = std::function<void(int64_t bytes, int64_t total)>;

// Downloads the address into a new file at `path` (replacing one there). A
// download that fails (no answer, an error status, a broken or cancelled
// transfer, more than maxBytes) leaves no file behind.
SHttpDownload DownloadToFile(const std::string& url, const CString& path, const SHttpOptions& options,
                             const HttpProgress& progress, int64_t maxBytes);
