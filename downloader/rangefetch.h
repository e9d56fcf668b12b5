// A download that can go on where an earlier one stopped: the bytes of the
// file from a given offset are asked for with an HTTP Range request, and
// whatever arrived stays in the file when the transfer breaks, so a player
// may read the growing file while it is fetched.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/cstring.h"
#include "downloader/transferlimits.h"

struct SFetchLimits {
    long connectTimeoutMs = 10000;
    // Less than one byte a second for this long ends the transfer.
    long stallSeconds = 30;
    // A file announced or grown larger than this is refused.
    int64_t maxBytes = kMaxDownloadBytes;
};

// Why a fetch is not complete, in the learner's terms.
enum class EFetchFailure {
    None,
    NoTransfer,     // the transfer library is missing or refused the request
    NoConnection,   // no server reached (no such host, refused, no login)
    Status,         // an error answer (HTTP status, FTP refusal, no such file)
    WrongPart,      // the server sent another part of the file than asked for
    TooLarge,       // larger than the bound
    CannotWrite,    // the target cannot be written
    Stalled,        // no data came for too long
    Broken,         // the transfer broke off, or the answer ended short
    Stopped,        // cancelled
};

struct SFetchResult {
    bool complete = false;   // every byte of the file is there
    bool wrote = false;      // the target was created or written to
    long status = 0;         // of the last answer; 0 when none arrived (FTP: a 5xx refusal, else 0)
    int64_t total = -1;      // the file's length, -1 when unknown
    int64_t written = 0;     // bytes in the target, from its start
    std::string error;       // why it is not complete (English, for the log)
    EFetchFailure failure = EFetchFailure::None;
};

// Called after each block written: bytes in the target and the total.
using FetchProgress = std::function<void(int64_t written, int64_t total)>;

// Fetches the address (http://, https:// or ftp://) into the target from
// byte `offset` on. An FTP server is asked to restart at the offset (REST);
// its permanent refusals (5xx) count as an error status.
//  offset 0:  the target is replaced by a new file once a successful answer
//             starts (a player holding the old file keeps it); an error
//             answer leaves the target alone.
//  offset >0: the target holds the first `offset` bytes. A 206 answer that
//             starts there is appended; a 200 answer (a server that ignores
//             ranges) is read from the start and its first `offset` bytes
//             are skipped; a 416 answer whose length is `offset` says the
//             file is already whole.
// `cancel` turned true ends the transfer within about a second.
SFetchResult FetchFrom(const std::string& url, const CString& target, int64_t offset, const SFetchLimits& limits,
                       const std::atomic<bool>& cancel, const FetchProgress& progress);
