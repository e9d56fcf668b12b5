#include "downloader/talkdownloads.h"

#include <algorithm>
#include <cstdio>

#include "downloader/address.h"
#include "downloader/resumerule.h"
#include "platform/codepage.h"
#include "platform/file.h"

namespace {

constexpr std::string_view kKeyword = "HalvikSoftDL:";

// The learner reads the cause in the failure message: what went wrong in
// words, and the transfer's own reason for those who look further.
CString FailureCause(const SFetchResult& result, int64_t written, int64_t total, int retries)
{
    CString cause;
    if (result.status >= 400) {
        cause.Format("服务器回答 %ld", result.status);
        return cause;
    }
    const CString reason = Utf8BytesToAnsi(result.error);
    if (written == 0 && result.status == 0)
        cause.Format("无法连接服务器：%s", reason.str().c_str());
    else
        cause.Format("传输中断：%s；已从断点重试%d次，收到%s%%", reason.str().c_str(), retries,
                     PercentText(written, total, false).str().c_str());
    return cause;
}

} // namespace

std::vector<std::string> TalkAddresses(std::string_view text)
{
    std::vector<std::string> addresses;
    for (size_t at = text.find(kKeyword); at != std::string_view::npos;) {
        const size_t start = at + kKeyword.size();
        const size_t next = text.find(kKeyword, start);
        std::string_view address = text.substr(start, next == std::string_view::npos ? next : next - start);
        const size_t first = address.find_first_not_of(' ');
        address = first == std::string_view::npos ? std::string_view() : address.substr(first);
        address = address.substr(0, std::min(address.find("  "), address.find_first_of("\t\r\n")));
        while (!address.empty() && address.back() == ' ')
            address.remove_suffix(1);
        if (!address.empty())
            addresses.emplace_back(address);
        at = next;
    }
    return addresses;
}

CString TalkFileName(const std::string& address)
{
    if (TransferAddress(address).empty())
        return CString();
    return Utf8BytesToAnsi(FileNameOfAddress(address));
}

void DownloadTalk(const std::string& address, const CString& playlistFolder, const STalkFetchRules& rules,
                  CTalkReports& reports, const std::atomic<bool>& cancel)
{
    const std::string url = TransferAddress(address);
    const CString fileName = TalkFileName(address);
    if (fileName.IsEmpty()) {
        std::fprintf(stderr, "HalvikSoftDownloader: refused talk address (%zu bytes)\n", address.size());
        return;
    }
    if (!reports.Begin(fileName))
        return;   // dropped while it waited
    const CString target = playlistFolder + fileName;
    if (FileExists(target)) {
        std::fprintf(stderr, "HalvikSoftDownloader: %s is there already\n", fileName.str().c_str());
        reports.Done();
        return;
    }
    CreateFolders(playlistFolder);
    const CString partial = playlistFolder + "." + fileName + ".part";
    int64_t offset = 0;
    CResumeTries tries({rules.retries, rules.retryPause});
    int64_t total = -1;
    for (;;) {
        const SFetchResult result = FetchFrom(url, partial, offset, rules.limits, cancel,
                                              [&reports](int64_t bytes, int64_t length) {
                                                  reports.Progress(bytes, length);
                                              });
        if (result.complete) {
            if (MoveFile(partial, target)) {
                reports.Done();
            } else {
                DeleteFile(partial);
                reports.Failed("无法保存到播放列表文件夹");
            }
            return;
        }
        std::fprintf(stderr, "HalvikSoftDownloader: %s: %s (status %ld, %lld bytes)\n", url.c_str(),
                     result.error.c_str(), result.status, static_cast<long long>(result.written));
        // An error answer (a missing talk) is the server's last word; a
        // broken or stalled transfer is taken up again where it stopped.
        const int64_t from = offset;
        if (result.wrote)
            offset = result.written;
        if (result.total > 0)
            total = result.total;
        if (!tries.Again(result, from, cancel)) {
            DeleteFile(partial);
            reports.Failed(cancel ? CString(kTalkCancelledCause) : FailureCause(result, offset, total, tries.retries()));
            return;
        }
        reports.Retrying(offset);
    }
}
