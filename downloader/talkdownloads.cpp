#include "downloader/talkdownloads.h"

#include <algorithm>
#include <cstdio>

#include "downloader/address.h"
#include "downloader/resumerule.h"
#include "platform/codepage.h"
#include "platform/file.h"

namespace {

constexpr std::string_view kKeyword = "HalvikSoftDL:";

// What went wrong, in the learner's words.
const char* FailureText(EFetchFailure failure)
{
    switch (failure) {
    case EFetchFailure::NoTransfer:
        return "无法启动下载";
    case EFetchFailure::NoConnection:
        return "无法连接服务器";
    case EFetchFailure::Status:
        return "服务器拒绝提供文件";
    case EFetchFailure::WrongPart:
        return "服务器不支持断点续传";
    case EFetchFailure::TooLarge:
        return "文件太大";
    case EFetchFailure::CannotWrite:
        return "无法写入播放列表文件夹";
    case EFetchFailure::Stalled:
        return "长时间没有收到数据";
    case EFetchFailure::Stopped:
        return kTalkCancelledCause;
    case EFetchFailure::None:
    case EFetchFailure::Broken:
        break;
    }
    return "传输中断";
}

// The learner reads the cause in the failure message, in Chinese only; the
// transfer's own (English) reason goes to the log.
CString FailureCause(const SFetchResult& result, int64_t written, int64_t total, int retries)
{
    CString cause;
    if (result.status >= 400) {
        cause.Format("服务器回答 %ld", result.status);
        return cause;
    }
    // Nothing came and there was nothing to take up again.
    if (written == 0 && result.failure != EFetchFailure::Broken && result.failure != EFetchFailure::Stalled)
        return FailureText(result.failure);
    cause.Format("%s；已从断点重试%d次，收到%s%%", FailureText(result.failure), retries,
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
