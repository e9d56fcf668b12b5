// The talk downloads: the program puts "HalvikSoftDL:<address>" plus two
// blanks on the clipboard for each talk the learner chose, and each address
// is fetched into the program's "Playlist/" folder under its own file name.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "downloader/rangefetch.h"
#include "downloader/talkreports.h"
#include "platform/cstring.h"

// The addresses of a clipboard text's download commands (UTF-8), in order.
// An address ends at the next command, at two blanks, or at a tab or line end.
std::vector<std::string> TalkAddresses(std::string_view text);

// The name a talk's video gets in the playlist folder (program text); "" when
// the address gives no usable file name.
CString TalkFileName(const std::string& address);

// The cause a talk download that was cancelled, or dropped before its turn,
// is reported with.
constexpr const char* kTalkCancelledCause = "下载已取消";

struct STalkFetchRules {
    SFetchLimits limits;
    // A broken transfer is taken up again from the bytes the file holds;
    // after this many tries in a row that bring no new byte, the download fails.
    int retries = 3;
    std::chrono::milliseconds retryPause {2000};
};

// Downloads one address into the folder (a job of the talk queue) and tells
// `reports` how it goes. The file appears under its name only when every
// byte the server announced is there: it is fetched under a hidden partial
// name that a failure removes. A file already there is kept and not
// fetched again. The talk must have been queued in `reports` under
// TalkFileName(address).
void DownloadTalk(const std::string& address, const CString& playlistFolder, const STalkFetchRules& rules,
                  CTalkReports& reports, const std::atomic<bool>& cancel);
