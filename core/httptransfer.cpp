#include "core/httptransfer.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/file.h"
#include "core/curlapi.h"
#include "core/curloptions.h"

namespace {

constexpr long kMaxRedirects = 5;

// A header request needs no more than the final answer's headers: it ends at
// their blank line rather than waiting for a body that may come late or
// never (redirects and interim 1xx answers go on).
size_t OnHeaderLineUntilFinal(char* data, size_t size, size_t count, void* user)
{
    const size_t length = OnHttpHeaderLine(data, size, count, user);
    const SHttpHeaders& headers = *static_cast<SHttpHeaders*>(user);
    const bool redirect = headers.status >= 300 && headers.status < 400 && headers.hasLocation;
    return headers.complete && headers.status >= 200 && !redirect ? 0 : length;
}

} // namespace

namespace {

// Only the headers are wanted: the first byte of the body ends the transfer.
size_t DiscardBody(char*, size_t, size_t, void*) { return 0; }

// One transfer handle with the options every request takes; the caller adds
// its body handling and performs it.
class CTransfer {
public:
    CTransfer(const std::string& url, const SHttpOptions& options, SHttpHeaders& headers)
        : m_api(Curl()), m_curl(m_api ? m_api->easy_init() : nullptr)
    {
        if (!m_api) {
            m_error = "no transfer library (libcurl.so.4 cannot be loaded)";
            return;
        }
        if (!m_curl) {
            m_error = "no transfer handle (curl_easy_init failed)";
            return;
        }
        // Always the server's answer, never a cached one.
        m_extra = m_api->slist_append(m_extra, "Cache-Control: no-cache");
        m_extra = m_api->slist_append(m_extra, "Pragma: no-cache");
        m_extra = m_api->slist_append(m_extra, "Accept: */*");
        // Each option matters (without a timeout a worker could block for
        // good), so one the library refuses fails the request before it goes.
        m_options.emplace(*m_api, m_curl);
        m_options->Set(NAMED_CURLOPT(CURLOPT_URL), url.c_str())
            .Set(NAMED_CURLOPT(CURLOPT_HTTPHEADER), m_extra)
            .Set(NAMED_CURLOPT(CURLOPT_NOSIGNAL), 1L)
            .Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "http,https")
            .Set(NAMED_CURLOPT(CURLOPT_REDIR_PROTOCOLS_STR), "http,https")
            .Set(NAMED_CURLOPT(CURLOPT_FOLLOWLOCATION), 1L)
            .Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), kMaxRedirects)
            .Set(NAMED_CURLOPT(CURLOPT_CONNECTTIMEOUT_MS), options.connectTimeoutMs)
            .Set(NAMED_CURLOPT(CURLOPT_TIMEOUT_MS), options.totalTimeoutMs)
            .Set(NAMED_CURLOPT(CURLOPT_HEADERFUNCTION), OnHttpHeaderLine)
            .Set(NAMED_CURLOPT(CURLOPT_HEADERDATA), &headers)
            .Set(NAMED_CURLOPT(CURLOPT_XFERINFOFUNCTION), OnCancelTick)
            .Set(NAMED_CURLOPT(CURLOPT_XFERINFODATA), const_cast<std::atomic<bool>*>(options.cancel))
            .Set(NAMED_CURLOPT(CURLOPT_NOPROGRESS), 0L);
        if (options.stallSeconds > 0)
            m_options->Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_LIMIT), 1L)
                .Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_TIME), options.stallSeconds);
    }
    ~CTransfer()
    {
        if (m_api) {
            m_api->slist_free_all(m_extra);
            if (m_curl)
                m_api->easy_cleanup(m_curl);
        }
    }
    CTransfer(const CTransfer&) = delete;
    CTransfer& operator=(const CTransfer&) = delete;

    template <class TValue>
    CTransfer& Set(CURLoption option, const char* name, TValue value)
    {
        if (m_options)
            m_options->Set(option, name, value);
        return *this;
    }
    // False, with the reason in Error(), when the request could not be made.
    bool Ready()
    {
        if (m_options && !m_options->Ok())
            m_error = m_options->Error();
        return m_error.empty();
    }
    CURLcode Perform() { return m_api->easy_perform(m_curl); }
    const std::string& Error() const { return m_error; }
    const char* Describe(CURLcode code) const { return m_api->easy_strerror(code); }

private:
    const SCurlApi* m_api;
    CURL* m_curl;
    curl_slist* m_extra = nullptr;
    std::optional<CCurlOptions> m_options;
    std::string m_error;
};

struct SDownloadSink {
    FILE* file = nullptr;
    int64_t bytes = 0;
    int64_t maxBytes = 0;
    const SHttpHeaders* headers = nullptr;
    const HttpProgress* progress = nullptr;
    bool writeFailed = false;
    bool tooLarge = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<SDownloadSink*>(user);
    const size_t length = size * count;
    // An error page is not the file that was asked for.
    if (sink->headers->status < 200 || sink->headers->status >= 300)
        return 0;
    if (sink->bytes + static_cast<int64_t>(length) > sink->maxBytes) {
        sink->tooLarge = true;
        return 0;
    }
    if (std::fwrite(data, 1, length, sink->file) != length) {
        sink->writeFailed = true;
        return 0;
    }
    sink->bytes += static_cast<int64_t>(length);
    if (*sink->progress) {
        (*sink->progress)(sink->bytes, ContentLengthOf(*sink->headers));
    }
    return length;
}

} // namespace

bool RequestHeaders(const std::string& url, const SHttpOptions& options, SHttpHeaders& headers, std::string& error)
{
    CTransfer transfer(url, options, headers);
    transfer.Set(NAMED_CURLOPT(CURLOPT_WRITEFUNCTION), DiscardBody)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERFUNCTION), OnHeaderLineUntilFinal);
    if (!transfer.Ready()) {
        error = transfer.Error();
        return false;
    }
    // The transfer ends with an error once the body starts; what counts is
    // whether the last response's headers arrived whole and are not a
    // redirect still to follow.
    const CURLcode code = transfer.Perform();
    const bool redirect = headers.status >= 300 && headers.status < 400 && headers.hasLocation;
    const bool answered = headers.complete && headers.status > 0 && !redirect;
    if (!answered)
        error = transfer.Describe(code);
    return answered;
}

SHttpDownload DownloadToFile(const std::string& url, const CString& path, const SHttpOptions& options,
                             const HttpProgress& progress, int64_t maxBytes)
{
    SHttpDownload result;
    SHttpHeaders headers;
    CTransfer transfer(url, options, headers);
    // The old file goes and a new one is made exclusively ("x": O_EXCL): a
    // FIFO or a link put in its place in between fails the download instead
    // of blocking it or writing elsewhere.
    DeleteFile(path);
    FILE* file = std::fopen(ToFsPath(path).c_str(), "wbxe");
    if (file == nullptr) {
        result.error = "cannot create " + ToFsPath(path);
        return result;
    }
    SDownloadSink sink;
    sink.file = file;
    sink.maxBytes = maxBytes;
    sink.headers = &headers;
    sink.progress = &progress;
    transfer.Set(NAMED_CURLOPT(CURLOPT_WRITEFUNCTION), WriteBody).Set(NAMED_CURLOPT(CURLOPT_WRITEDATA), &sink);
    CURLcode code = CURLE_OK;
    if (transfer.Ready())
        code = transfer.Perform();
    else
        result.error = transfer.Error();
    const bool closed = std::fclose(file) == 0;

    result.status = headers.status;
    result.bytes = sink.bytes;
    result.total = ContentLengthOf(headers);
    const bool success = result.error.empty() && code == CURLE_OK && closed && headers.status >= 200 &&
                         headers.status < 300 && (result.total < 0 || result.total == result.bytes);
    if (!success) {
        if (result.error.empty())
            result.error = sink.tooLarge ? "more than the allowed size"
                           : sink.writeFailed ? "cannot write " + ToFsPath(path)
                           : code != CURLE_OK ? transfer.Describe(code)
                                              : "status " + std::to_string(headers.status);
        DeleteFile(path);
        return result;
    }
    result.ok = true;
    return result;
}
