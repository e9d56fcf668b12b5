#include "downloader/updatedownload.h"

#include <cstdio>
#include <cstdlib>

#include "downloader/transferlimits.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/percentencode.h"
#include "core/httptransfer.h"
#include "core/productsettingsfile.h"
#include "core/hostaddress.h"
#include "core/updateresult.h"

namespace {

constexpr int kDefaultPort = 80;
constexpr int64_t kMaxIdFileBytes = 4096;

CString ProductId(const SDownloaderPaths& paths, const std::map<CString, CString>& settings)
{
    std::string bytes;
    if (ReadRegularFile(paths.productIdFile, bytes, kMaxIdFileBytes) == EFileReadResult::Read) {
        CString id(bytes.substr(0, bytes.find_first_of("\r\n")));
        if (!id.Trim().IsEmpty())
            return id;
    }
    const auto it = settings.find("ProductId");
    return it == settings.end() ? CString() : it->second;
}

} // namespace

std::string UpdateAddress(const SDownloaderPaths& paths, std::string& why)
{
    const std::map<CString, CString> settings = ReadProductSettings(paths.productSettings);
    const auto host = settings.find("UpdateServerHost");
    const CString address = host == settings.end() ? CString() : ResolveHostIPv4(host->second);
    if (address.IsEmpty()) {
        why = "no update server address";
        return std::string();
    }
    const CString id = ProductId(paths, settings);
    if (id.IsEmpty()) {
        why = "no product id";
        return std::string();
    }
    int port = kDefaultPort;
    if (const auto it = settings.find("UpdateServerPort"); it != settings.end() && !it->second.IsEmpty()) {
        char* end = nullptr;
        const long number = std::strtol(it->second, &end, 10);
        if (*end == '\0' && number > 0 && number < 65536)
            port = static_cast<int>(number);
    }
    // The id is one path segment: its UTF-8 bytes, escaped as the check escapes them.
    return "http://" + address.str() + ":" + std::to_string(port) + "/update/" +
           PercentEncode(AnsiToUtf8Bytes(id.view()), "!$&'()*+,;=:@") + "/update.data";
}

namespace {

// Why a transfer failed, as the learner is told.
CString FailureCause(const SHttpDownload& result, bool cancelled)
{
    CString cause;
    if (cancelled)
        cause = "下载程序已停止";
    else if (result.status >= 400)
        cause.Format("服务器回答 %ld", result.status);
    else if (result.bytes > 0)
        cause.Format("传输中断（已收到%lld字节）", static_cast<long long>(result.bytes));
    else
        cause = "无法连接服务器";
    return cause;
}

void Report(const SDownloaderPaths& paths, bool done, const CString& cause)
{
    const CString path = UpdateResultPath(paths.programFolder);
    if (!WriteUpdateResult(path, SUpdateDownloadEnd {done, cause}))
        std::fprintf(stderr, "HalvikSoftDownloader: cannot write %s\n", path.GetString());
}

} // namespace

void DownloadUpdate(const SDownloaderPaths& paths, const std::atomic<bool>& cancel)
{
    // The program waits for this file to tell the learner how the update went.
    std::string why;
    const std::string url = UpdateAddress(paths, why);
    if (url.empty()) {
        std::fprintf(stderr, "HalvikSoftDownloader: no update: %s\n", why.c_str());
        Report(paths, false, "没有更新服务器的地址或产品ID");
        return;
    }
    const int slash = paths.updateFile.ReverseFind('/');
    CreateFolders(paths.updateFile.Left(slash));
    const CString partial = paths.updateFile + ".part";
    const SHttpDownload result = DownloadToFile(url, partial, DownloadOptions(cancel), {}, kMaxDownloadBytes);
    if (!result.ok) {
        std::fprintf(stderr, "HalvikSoftDownloader: update %s: %s (status %ld)\n", url.c_str(), result.error.c_str(),
                     result.status);
        Report(paths, false, FailureCause(result, cancel));
        return;
    }
    if (!MoveFile(partial, paths.updateFile)) {
        std::fprintf(stderr, "HalvikSoftDownloader: cannot move the update into place\n");
        DeleteFile(partial);
        Report(paths, false, "无法保存更新文件");
        return;
    }
    Report(paths, true, CString());
}
