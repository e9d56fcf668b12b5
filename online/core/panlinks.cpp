#include "online/core/panlinks.h"

namespace {

// The services recognised. Service A's pages and its two download hosts,
// service B's host mark and service C's download node; the paths, ports and
// query keys are those the services use.
constexpr const char* kServiceAIndexPage = "pan.example-cloud.cn/netdisk/index.html";
constexpr const char* kServiceADownload1 = "http://d.example-cloud.cn/";
constexpr const char* kServiceADownload2 = "http://pan.example-cloud.cn/download/";
constexpr const char* kServiceBMark = "yun.example-disk.cn";
constexpr const char* kServiceCNode = "http://dl.example-box.cn:8080/cdlnode/dl/";
// One service's first server is reached through its second.
constexpr const char* kFirstServer = "http://d1.example-cloud.cn/";
constexpr const char* kSecondServer = "http://d.example-cloud.cn/";

bool BeginsWith(const CString& text, const char* start) { return text.Find(start) == 0; }
bool Contains(const CString& text, const char* part) { return text.Find(part) >= 0; }
// The first occurrence stands after the first character.
bool ContainsAfterStart(const CString& text, const char* part) { return text.Find(part) > 0; }

bool IsServiceDownload(const CString& u)
{
    if (BeginsWith(u, "http://")) {
        if (ContainsAfterStart(u, "/file/") && ContainsAfterStart(u, "expires"))
            return true;   // a signed file download
        if (ContainsAfterStart(u, "fid=") || ContainsAfterStart(u, "method=Download.downloadFile&qid") ||
            ContainsAfterStart(u, "method=Share.download&fhash") ||
            ContainsAfterStart(u, "share.php?method=Share.download&"))
            return true;
        if ((ContainsAfterStart(u, "file=") || ContainsAfterStart(u, "/files/")) && ContainsAfterStart(u, kServiceBMark))
            return true;
    }
    // Service A's index page carries the same keys without being a download.
    if (!Contains(u, kServiceAIndexPage)) {
        if ((Contains(u, kServiceADownload1) || Contains(u, kServiceADownload2)) && Contains(u, "f=") &&
            Contains(u, "h="))
            return true;
        if (Contains(u, "http://") && Contains(u, "/file/") && Contains(u, "key=") && Contains(u, "mode=download"))
            return true;
    }
    if (Contains(u, kServiceCNode))
        return true;
    return BeginsWith(u, "http://") && ContainsAfterStart(u, "cts=") && ContainsAfterStart(u, "ctk=");
}

} // namespace

bool IsPanDownloadAddress(const CString& address, const std::function<bool(const CString&)>& isMediaUrl)
{
    if (IsServiceDownload(address))
        return true;
    return isMediaUrl && isMediaUrl(address) && !Contains(address, kServiceAIndexPage);
}

CString DownloaderAddressOf(const CString& address)
{
    CString rewritten = address;
    if (Contains(rewritten, kFirstServer))
        rewritten.Replace(kFirstServer, kSecondServer);
    return rewritten;
}
