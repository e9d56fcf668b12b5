#include "shell/core/updatecheck.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstdlib>
#include <string>

#include "platform/percentencode.h"
#include "shell/core/curlapi.h"
#include "platform/codepage.h"
#include "shell/core/curloptions.h"
#include "platform/file.h"
#include "shell/core/productsettings.h"
#include "shell/core/quenlow.h"

const char* const kUpdateDownloaderCommand = "HalvikSoftUpdate: ";

namespace {

constexpr int kDefaultPort = 80;
constexpr long kMaxRedirects = 5;

SUpdateCheckOutcome& SetNotice(SUpdateCheckOutcome& outcome, EUpdateCheckResult result)
{
    outcome.result = result;
    outcome.messageSeconds = 5;
    switch (result) {
    case EUpdateCheckResult::NewVersion:
        outcome.messageKind = 3;
        outcome.message = "检测到软件有可更新项，正在更新......";
        break;
    case EUpdateCheckResult::UpToDate:
        outcome.messageKind = 3;
        outcome.message = "您的软件不需要更新。";
        break;
    case EUpdateCheckResult::NoServerAddress:
        outcome.messageKind = 1;
        outcome.message = "获取服务器IP失败，请稍后再更新！";
        break;
    case EUpdateCheckResult::NoProductId:
        outcome.messageKind = 1;
        outcome.message = "获取产品ID失败，不能更新！";
        break;
    case EUpdateCheckResult::NoConnection:
        outcome.messageKind = 1;
        outcome.message = "无法建立与服务器连接，不能更新！";
        break;
    }
    return outcome;
}

std::string TrimBlanks(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A path segment of the request address: the product id's UTF-8 bytes, with
// every byte that may not stand in a segment written as %XX.
std::string EscapePathSegment(const std::string& bytes) { return PercentEncode(bytes, "!$&'()*+,;=:@"); }

// The headers of the latest response. Each status line starts a new record,
// so after followed redirects it describes the last response only.
struct SResponseHeaders {
    long status = 0;
    std::string contentLength;
    bool hasLocation = false;
    bool complete = false;   // the blank line that ends the headers arrived
};

size_t OnHeaderLine(char* data, size_t size, size_t count, void* user)
{
    auto* headers = static_cast<SResponseHeaders*>(user);
    const size_t length = size * count;
    const std::string line(data, length);
    if (line.rfind("HTTP/", 0) == 0) {
        *headers = SResponseHeaders();
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            headers->status = std::strtol(line.c_str() + space + 1, nullptr, 10);
        return length;
    }
    if (TrimBlanks(line).empty()) {
        headers->complete = true;
        return length;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return length;
    std::string name = TrimBlanks(line.substr(0, colon));
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (name == "content-length")
        headers->contentLength = TrimBlanks(line.substr(colon + 1));
    else if (name == "location")
        headers->hasLocation = true;
    return length;
}

// Only the headers are wanted: the first byte of the body ends the transfer.
size_t OnBody(char*, size_t, size_t, void*) { return 0; }

// A non-zero answer aborts the transfer; curl asks at least once a second.
int OnProgress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

// Asks for the address and fills status and content length. False when no
// final response arrived (no connection, a timeout before the headers ended,
// too many redirects) or the request could not be made: then `error` says
// why and nothing was sent.
bool RequestHeaders(const std::string& url, const SUpdateCheckRequest& request, SResponseHeaders& headers,
                    std::string& error)
{
    const SCurlApi* api = Curl();
    if (!api) {
        error = "no transfer library (libcurl.so.4 cannot be loaded)";
        return false;
    }
    CURL* curl = api->easy_init();
    if (!curl) {
        error = "no transfer handle (curl_easy_init failed)";
        return false;
    }
    curl_slist* extra = nullptr;
    // Always the server's answer, never a cached one.
    extra = api->slist_append(extra, "Cache-Control: no-cache");
    extra = api->slist_append(extra, "Pragma: no-cache");

    // Each option matters (no timeout could block the worker for good), so
    // one the library refuses fails the request before it is sent.
    CCurlOptions options(*api, curl);
    options.Set(NAMED_CURLOPT(CURLOPT_URL), url.c_str())
        .Set(NAMED_CURLOPT(CURLOPT_HTTPHEADER), extra)
        .Set(NAMED_CURLOPT(CURLOPT_NOSIGNAL), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "http,https")
        .Set(NAMED_CURLOPT(CURLOPT_REDIR_PROTOCOLS_STR), "http,https")
        .Set(NAMED_CURLOPT(CURLOPT_FOLLOWLOCATION), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), kMaxRedirects)
        .Set(NAMED_CURLOPT(CURLOPT_CONNECTTIMEOUT_MS), request.connectTimeoutMs)
        .Set(NAMED_CURLOPT(CURLOPT_TIMEOUT_MS), request.totalTimeoutMs)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERFUNCTION), OnHeaderLine)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERDATA), &headers)
        .Set(NAMED_CURLOPT(CURLOPT_WRITEFUNCTION), OnBody);
    if (request.cancel) {
        options.Set(NAMED_CURLOPT(CURLOPT_XFERINFOFUNCTION), OnProgress)
            .Set(NAMED_CURLOPT(CURLOPT_XFERINFODATA), const_cast<std::atomic<bool>*>(request.cancel))
            .Set(NAMED_CURLOPT(CURLOPT_NOPROGRESS), 0L);
    }
    if (!options.Ok()) {
        error = options.Error();
        api->slist_free_all(extra);
        api->easy_cleanup(curl);
        return false;
    }

    // The transfer ends with an error once the body starts (or when a server
    // announces a length and sends less); what counts is whether the last
    // response's headers arrived whole and are not a redirect still to follow.
    api->easy_perform(curl);
    api->slist_free_all(extra);
    api->easy_cleanup(curl);

    const bool redirect = headers.status >= 300 && headers.status < 400 && headers.hasLocation;
    return headers.complete && headers.status > 0 && !redirect;
}

} // namespace

SUpdateCheckRequest MakeUpdateCheckRequest()
{
    SUpdateCheckRequest request;
    request.serverHost = GetProductSetting("UpdateServerHost", theApp.m_strUpdateServerHost);
    const CString port = GetProductSetting("UpdateServerPort");
    char* end = nullptr;
    const long number = std::strtol(port, &end, 10);
    request.serverPort = (!port.IsEmpty() && *end == '\0' && number > 0 && number < 65536)
                             ? static_cast<int>(number)
                             : kDefaultPort;
    request.productId = theApp.m_strProductId;
    request.productIdFile = theApp.m_strProductIdFilePath;
    request.localUpdateFile = theApp.m_strUpdateDataPath;
    return request;
}

CString ResolveHostIPv4(const CString& host)
{
    if (host.IsEmpty())
        return CString();
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(AnsiToUtf8Bytes(host.view()).c_str(), nullptr, &hints, &found) != 0 || !found)
        return CString();
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    return ok ? CString(text) : CString();
}

SUpdateCheckOutcome CheckForUpdate(const SUpdateCheckRequest& request)
{
    SUpdateCheckOutcome outcome;

    // The stored size: the local copy's length as decimal text, empty when
    // there is no local copy (so any answer counts as a new version).
    if (FileExists(request.localUpdateFile)) {
        const int64_t length = GetFileSize(request.localUpdateFile);
        outcome.storedSize.Format("%lld", static_cast<long long>(length > 0 ? length : 0));
    }

    outcome.serverAddress = ResolveHostIPv4(request.serverHost);
    if (request.cancel && *request.cancel)
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    if (outcome.serverAddress.Find('.') < 0)
        return SetNotice(outcome, EUpdateCheckResult::NoServerAddress);
    if (request.productId.IsEmpty())
        return SetNotice(outcome, EUpdateCheckResult::NoProductId);

    // The downloader reads the product id from this file when it updates.
    CStdioFile idFile;
    if (idFile.Open(request.productIdFile, CFile::modeCreate | CFile::modeWrite | CFile::typeText)) {
        idFile.WriteString(request.productId + "\n");
        idFile.Close();
    }

    const std::string url = "http://" + outcome.serverAddress.str() + ":" + std::to_string(request.serverPort) +
                            "/update/" + EscapePathSegment(AnsiToUtf8Bytes(request.productId.view())) +
                            "/update.data";
    outcome.url = CString(url);

    SResponseHeaders headers;
    std::string requestError;
    if (!RequestHeaders(url, request, headers, requestError)) {
        outcome.requestError = CString(requestError);
        outcome.httpStatus = headers.status;
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    }
    outcome.httpStatus = headers.status;
    if (headers.status >= 400)
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    outcome.contentLength = CString(headers.contentLength);
    return SetNotice(outcome, outcome.contentLength == outcome.storedSize ? EUpdateCheckResult::UpToDate
                                                                          : EUpdateCheckResult::NewVersion);
}

void PostUpdateCheckMessage(const SUpdateCheckOutcome& outcome)
{
    theApp.SetMessage(outcome.messageKind, outcome.message, outcome.messageSeconds);
}
