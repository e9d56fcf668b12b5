// The manual update check: asks the update server for the size of this
// product's update file and compares it with the size of the local copy.
//
// The request goes to "http://<address>:<port>/update/<product id>/update.data"
// on the server's resolved IPv4 address; only the response headers are read.
// A different size (or no local copy) means a new version, which the frame
// hands to the downloader with kUpdateDownloaderCommand.
//
// Nothing here touches a window or theApp's shared state except
// MakeUpdateCheckRequest and PostUpdateCheckMessage, so CheckForUpdate can run
// on a worker thread; the frame hands the outcome back to the user-interface
// thread and writes the notice there.
#pragma once

#include <atomic>
#include <functional>

#include "platform/cstring.h"

// The downloader command that performs the update (with its trailing blank).
extern const char* const kUpdateDownloaderCommand;   // "HalvikSoftUpdate: "

struct SUpdateCheckRequest {
    CString serverHost;        // name or dotted address of the update server
    int serverPort = 80;
    CString productId;
    CString productIdFile;     // rewritten with the product id before each request
    CString localUpdateFile;   // the local copy whose length is compared
    long connectTimeoutMs = 5000;
    long totalTimeoutMs = 15000;
    // When set and turned true, a request under way ends within about a
    // second and the check reports NoConnection (the frame stops its worker).
    const std::atomic<bool>* cancel = nullptr;
    // Asked first, before any name is resolved: false ends the check as
    // Offline. Empty: not asked.
    std::function<bool()> isConnected;
};

enum class EUpdateCheckResult {
    Offline,           // "您的电脑没有联网，不能更新！" (the machine has no network)
    NewVersion,        // "检测到软件有可更新项，正在更新......"
    UpToDate,          // "您的软件不需要更新。"
    NoServerAddress,   // "获取服务器IP失败，请稍后再更新！"
    NoProductId,       // "获取产品ID失败，不能更新！"
    NoConnection,      // "无法建立与服务器连接，不能更新！" (no answer, or a status of 400 or more)
};

struct SUpdateCheckOutcome {
    EUpdateCheckResult result = EUpdateCheckResult::NoConnection;
    // The notice for the show-message slot: kind 1 error, 3 information.
    int messageKind = 1;
    CString message;
    int messageSeconds = 5;
    // What was compared (for the log and the tests).
    CString serverAddress;   // resolved dotted address
    CString url;             // the request address
    long httpStatus = 0;     // 0 when no response arrived
    CString contentLength;   // the trimmed header value, empty when absent
    CString storedSize;      // length of the local copy, empty when it is missing
    // Why the request could not be made (an option the transfer library
    // refused, or no transfer handle); empty when it was sent.
    CString requestError;
};

// The request for this installation: host and port from the product settings
// ("UpdateServerHost", "UpdateServerPort", default 80), the product id and
// data paths from theApp. Call on the user-interface thread.
SUpdateCheckRequest MakeUpdateCheckRequest();

// Runs the whole check and blocks until it is done (at most the resolver's
// time plus totalTimeoutMs): meant for a worker thread.
SUpdateCheckOutcome CheckForUpdate(const SUpdateCheckRequest& request);

// The automatic check after start-up reads the same answer differently: it
// says nothing unless there is a new version, and it compares lengths also
// for answers the manual check counts as failures (42x to 49x, 51x and up).
enum class EAutoUpdateResult {
    UpToDate = 0,     // the lengths are equal
    NewVersion = 1,   // they differ: kAutoUpdateNotice is shown
    NoCheck = 2,      // no address or product id, no answer, or 40x, 41x or 50x
};
extern const char* const kAutoUpdateNotice;
EAutoUpdateResult AutomaticUpdateVerdict(const SUpdateCheckOutcome& outcome);

// Puts the outcome's notice into theApp's show-message slot (any thread).
void PostUpdateCheckMessage(const SUpdateCheckOutcome& outcome);
