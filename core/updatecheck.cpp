#include "core/updatecheck.h"

#include <cstdlib>
#include <string>

#include "platform/percentencode.h"
#include "platform/codepage.h"
#include "core/hostaddress.h"
#include "core/httptransfer.h"
#include "platform/file.h"
#include "core/productsettings.h"
#include "core/quenlow.h"

const char* const kUpdateDownloaderCommand = "HalvikSoftUpdate: ";
const char* const kAutoUpdateNotice =
    "检测到有新版本软件可用，如果您想更新软件，请点击[配置]页里面的[更新软件]按钮。";

namespace {

constexpr int kDefaultPort = 80;

struct SUpdateNotice {
    EUpdateCheckResult result;
    int kind;
    const char* message;
};

constexpr SUpdateNotice kUpdateNotices[] = {
    {EUpdateCheckResult::Offline, kMessageError, "您的电脑没有联网，不能更新！"},
    {EUpdateCheckResult::NewVersion, kMessageInfo, "检测到软件有可更新项，正在更新......"},
    {EUpdateCheckResult::UpToDate, kMessageInfo, "您的软件不需要更新。"},
    {EUpdateCheckResult::NoServerAddress, kMessageError, "获取服务器IP失败，请稍后再更新！"},
    {EUpdateCheckResult::NoProductId, kMessageError, "获取产品ID失败，不能更新！"},
    {EUpdateCheckResult::NoConnection, kMessageError, "无法建立与服务器连接，不能更新！"},
};

SUpdateCheckOutcome& SetNotice(SUpdateCheckOutcome& outcome, EUpdateCheckResult result)
{
    outcome.result = result;
    outcome.messageSeconds = 5;
    for (const SUpdateNotice& notice : kUpdateNotices) {
        if (notice.result == result) {
            outcome.messageKind = notice.kind;
            outcome.message = notice.message;
        }
    }
    return outcome;
}

// A path segment of the request address: the product id's UTF-8 bytes, with
// every byte that may not stand in a segment written as %XX.
std::string EscapePathSegment(const std::string& bytes) { return PercentEncode(bytes, "!$&'()*+,;=:@"); }

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

SUpdateCheckOutcome CheckForUpdate(const SUpdateCheckRequest& request)
{
    SUpdateCheckOutcome outcome;

    // The stored size: the local copy's length as decimal text, empty when
    // there is no local copy (so any answer counts as a new version).
    if (FileExists(request.localUpdateFile)) {
        const int64_t length = GetFileSize(request.localUpdateFile);
        outcome.storedSize.Format("%lld", static_cast<long long>(length > 0 ? length : 0));
    }

    // Without any network the name would only wait for the resolver.
    if (request.isConnected && !request.isConnected())
        return SetNotice(outcome, EUpdateCheckResult::Offline);

    outcome.serverAddress = ResolveHostIPv4(request.serverHost);
    if (request.cancel && *request.cancel)
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    if (outcome.serverAddress.Find('.') < 0)
        return SetNotice(outcome, EUpdateCheckResult::NoServerAddress);
    if (request.productId.IsEmpty())
        return SetNotice(outcome, EUpdateCheckResult::NoProductId);

    // The downloader reads the product id from this file when it updates.
    // The check itself goes on without it.
    (void)WriteFileAtomically(request.productIdFile, request.productId.str() + "\r\n");

    const std::string url = "http://" + outcome.serverAddress.str() + ":" + std::to_string(request.serverPort) +
                            "/update/" + EscapePathSegment(AnsiToUtf8Bytes(request.productId.view())) +
                            "/update.data";
    outcome.url = CString(url);

    SHttpOptions options;
    options.connectTimeoutMs = request.connectTimeoutMs;
    options.totalTimeoutMs = request.totalTimeoutMs;
    options.cancel = request.cancel;
    SHttpHeaders headers;
    std::string requestError;
    if (!RequestHeaders(url, options, headers, requestError)) {
        outcome.requestError = CString(requestError);
        outcome.httpStatus = headers.status;
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    }
    outcome.httpStatus = headers.status;
    outcome.contentLength = CString(headers.contentLength);
    if (headers.status >= 400)
        return SetNotice(outcome, EUpdateCheckResult::NoConnection);
    return SetNotice(outcome, outcome.contentLength == outcome.storedSize ? EUpdateCheckResult::UpToDate
                                                                          : EUpdateCheckResult::NewVersion);
}

EAutoUpdateResult AutomaticUpdateVerdict(const SUpdateCheckOutcome& outcome)
{
    if (outcome.result == EUpdateCheckResult::NoServerAddress || outcome.result == EUpdateCheckResult::NoProductId)
        return EAutoUpdateResult::NoCheck;
    // An answer below 400 that still failed never arrived whole.
    const long status = outcome.httpStatus;
    if (status == 0 || (outcome.result == EUpdateCheckResult::NoConnection && status < 400))
        return EAutoUpdateResult::NoCheck;
    if ((status >= 400 && status < 420) || (status >= 500 && status < 510))
        return EAutoUpdateResult::NoCheck;
    return outcome.contentLength == outcome.storedSize ? EAutoUpdateResult::UpToDate : EAutoUpdateResult::NewVersion;
}

void PostUpdateCheckMessage(const SUpdateCheckOutcome& outcome)
{
    theApp.SetMessage(outcome.messageKind, outcome.message, outcome.messageSeconds);
}
