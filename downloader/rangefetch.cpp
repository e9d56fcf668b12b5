#include "downloader/rangefetch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file.h"
#include "core/curlapi.h"
#include "core/curloptions.h"
#include "core/httpheaders.h"

namespace {

constexpr long kMaxRedirects = 5;

bool WriteAll(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool IsFtpAddress(const std::string& url)
{
    if (url.size() < 6)
        return false;
    std::string scheme = url.substr(0, 6);
    for (char& c : scheme)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return scheme == "ftp://";
}

// Where the body goes. The first block decides what the answer means and
// opens the target accordingly.
struct SSink {
    std::string path;        // file-system path of the target
    int64_t offset = 0;
    // An FTP transfer has no status line: the library has asked the size
    // (SIZE) and the offset (REST) before the first block, and an error
    // reply ends the transfer without one.
    bool ftp = false;
    bool ended = false;   // the transfer has ended: deciding after it
    const SCurlApi* api = nullptr;
    CURL* curl = nullptr;
    const SHttpHeaders* answer = nullptr;
    const FetchProgress* progress = nullptr;
    int fd = -1;
    bool decided = false;
    int64_t skip = 0;        // body bytes the target already holds
    int64_t written = 0;
    int64_t total = -1;
    int64_t maxBytes = 0;
    std::string error;
    EFetchFailure failure = EFetchFailure::None;

    bool Fail(EFetchFailure kind, std::string text)
    {
        failure = kind;
        error = std::move(text);
        return false;
    }

    ~SSink()
    {
        if (fd >= 0)
            ::close(fd);
    }

    bool Open()
    {
        if (offset == 0) {
            // A new file under the name: a player reading the old one keeps it.
            // O_EXCL: a FIFO or link put there in between fails the open
            // instead of blocking it or writing elsewhere.
            ::unlink(path.c_str());
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } else {
            // The part already fetched is continued only in a regular file;
            // the open never waits (a FIFO there would block it for good).
            fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            struct stat st;
            if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
                            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
                            ::lseek(fd, offset, SEEK_SET) != offset)) {
                ::close(fd);
                fd = -1;
            }
        }
        if (fd < 0)
            Fail(EFetchFailure::CannotWrite, "cannot write " + path);
        return fd >= 0;
    }

    // Whether the answer is one whose body belongs in the target.
    bool Decide()
    {
        decided = true;
        if (ftp)
            return DecideFtp();
        const long status = answer->status;
        if (status < 200 || status >= 300)
            return Fail(EFetchFailure::Status, "status " + std::to_string(status));
        if (status == 206) {
            int64_t first = -1;
            ParseContentRange(answer->contentRange, first, total);
            if (first != offset)
                return Fail(EFetchFailure::WrongPart,
                            "the server's part does not start at byte " + std::to_string(offset));
            if (total < 0 && ContentLengthOf(*answer) >= 0)
                total = offset + ContentLengthOf(*answer);
        } else {
            skip = offset;   // the whole file again: the first bytes are there already
            total = ContentLengthOf(*answer);
        }
        written = offset;
        if (total > maxBytes)
            return Fail(EFetchFailure::TooLarge, "the file is larger than " + std::to_string(maxBytes) + " bytes");
        return Open();
    }

    // The data of an FTP transfer is the file from the offset on; the length
    // the library learnt counts the bytes still to come. A transfer that
    // ended well without data had no more bytes to send (the library does
    // not ask for a file it already holds whole).
    bool DecideFtp()
    {
        curl_off_t remaining = 0;
        if (!ended && api->easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &remaining) != CURLE_OK)
            remaining = -1;
        total = remaining >= 0 ? offset + static_cast<int64_t>(remaining) : -1;
        written = offset;
        if (total > maxBytes)
            return Fail(EFetchFailure::TooLarge, "the file is larger than " + std::to_string(maxBytes) + " bytes");
        return Open();
    }

    bool Take(const char* data, size_t length)
    {
        if (!decided && !Decide())
            return false;
        if (fd < 0)
            return false;
        const size_t skipped = static_cast<size_t>(std::min<int64_t>(skip, static_cast<int64_t>(length)));
        skip -= static_cast<int64_t>(skipped);
        // A server that sends past what it announced, or without end.
        if (written + static_cast<int64_t>(length - skipped) > maxBytes)
            return Fail(EFetchFailure::TooLarge, "the file is larger than " + std::to_string(maxBytes) + " bytes");
        if (!WriteAll(fd, data + skipped, length - skipped))
            return Fail(EFetchFailure::CannotWrite, "cannot write " + path);
        written += static_cast<int64_t>(length - skipped);
        if (*progress)
            (*progress)(written, total);
        return true;
    }
};

size_t WriteBody(char* data, size_t size, size_t count, void* user)
{
    const size_t length = size * count;
    return static_cast<SSink*>(user)->Take(data, length) ? length : 0;
}

SFetchResult FailedWith(EFetchFailure failure, std::string error, SFetchResult result)
{
    result.failure = failure;
    result.error = std::move(error);
    return result;
}

// What a transfer library error means for the learner.
EFetchFailure FailureOf(CURLcode code)
{
    switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
        return EFetchFailure::Stopped;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_LOGIN_DENIED:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_WEIRD_SERVER_REPLY:
        return EFetchFailure::NoConnection;
    case CURLE_OPERATION_TIMEDOUT:
        return EFetchFailure::Stalled;
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return EFetchFailure::Status;
    case CURLE_WRITE_ERROR:
        return EFetchFailure::CannotWrite;
    case CURLE_FILESIZE_EXCEEDED:
        return EFetchFailure::TooLarge;
    default:
        return EFetchFailure::Broken;
    }
}

} // namespace

SFetchResult FetchFrom(const std::string& url, const CString& target, int64_t offset, const SFetchLimits& limits,
                       const std::atomic<bool>& cancel, const FetchProgress& progress)
{
    SFetchResult result;
    result.written = offset;
    const SCurlApi* api = Curl();
    CURL* curl = api ? api->easy_init() : nullptr;
    if (!curl) {
        result.error = api ? "no transfer handle" : "no transfer library (libcurl.so.4 cannot be loaded)";
        result.failure = EFetchFailure::NoTransfer;
        return result;
    }
    SHttpHeaders answer;
    SSink sink;
    sink.ftp = IsFtpAddress(url);
    sink.api = api;
    sink.curl = curl;
    sink.path = ToFsPath(target);
    sink.offset = offset;
    sink.maxBytes = limits.maxBytes;
    sink.answer = &answer;
    sink.progress = &progress;

    curl_slist* headers = nullptr;
    headers = api->slist_append(headers, "Cache-Control: no-cache");
    headers = api->slist_append(headers, "Accept: */*");
    // Sent as a plain header: the library's own range option would turn a
    // server that ignores ranges into an error, and the whole file is still
    // of use then.
    const std::string range = "Range: bytes=" + std::to_string(offset) + "-";
    if (offset > 0 && !sink.ftp)
        headers = api->slist_append(headers, range.c_str());

    CCurlOptions options(*api, curl);
    options.Set(NAMED_CURLOPT(CURLOPT_URL), url.c_str())
        .Set(NAMED_CURLOPT(CURLOPT_HTTPHEADER), headers)
        .Set(NAMED_CURLOPT(CURLOPT_NOSIGNAL), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "http,https,ftp")
        .Set(NAMED_CURLOPT(CURLOPT_REDIR_PROTOCOLS_STR), "http,https")
        .Set(NAMED_CURLOPT(CURLOPT_FOLLOWLOCATION), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), kMaxRedirects)
        .Set(NAMED_CURLOPT(CURLOPT_CONNECTTIMEOUT_MS), limits.connectTimeoutMs)
        .Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_LIMIT), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_TIME), limits.stallSeconds)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERFUNCTION), OnHttpHeaderLine)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERDATA), &answer)
        .Set(NAMED_CURLOPT(CURLOPT_WRITEFUNCTION), WriteBody)
        .Set(NAMED_CURLOPT(CURLOPT_WRITEDATA), &sink)
        .Set(NAMED_CURLOPT(CURLOPT_XFERINFOFUNCTION), OnCancelTick)
        .Set(NAMED_CURLOPT(CURLOPT_XFERINFODATA), const_cast<std::atomic<bool>*>(&cancel))
        .Set(NAMED_CURLOPT(CURLOPT_NOPROGRESS), 0L);
    if (sink.ftp && offset > 0)
        options.Set(NAMED_CURLOPT(CURLOPT_RESUME_FROM_LARGE), static_cast<curl_off_t>(offset));
    CURLcode code = CURLE_OK;
    if (options.Ok())
        code = api->easy_perform(curl);
    else
        result = FailedWith(EFetchFailure::NoTransfer, options.Error(), result);
    const bool transferred = result.error.empty() && code == CURLE_OK;
    if (sink.ftp) {
        // A permanent refusal (5xx: no such file, no access) is the server's
        // last word, as an HTTP error status is; other replies are not.
        long reply = 0;
        if (!transferred && api->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply) == CURLE_OK && reply >= 500)
            answer.status = reply;
    }
    const bool succeeded = sink.ftp ? transferred : answer.status >= 200 && answer.status < 300;
    sink.ended = true;
    if (transferred && !sink.decided && succeeded) {
        // A successful answer without a body: the file is empty, or (from an
        // offset) has no more bytes.
        if (sink.Decide())
            result.wrote = true;
    }
    api->easy_cleanup(curl);
    api->slist_free_all(headers);

    result.status = answer.status;
    if (sink.fd >= 0 || sink.written > offset)
        result.wrote = true;
    result.written = sink.decided && sink.fd >= 0 ? sink.written : offset;
    result.total = sink.total;

    if (answer.status == 416 && offset > 0) {
        int64_t first = -1;
        int64_t length = -1;
        ParseContentRange(answer.contentRange, first, length);
        if (length == offset) {
            result.total = length;
            result.complete = true;
            return result;
        }
    }
    if (transferred && sink.error.empty() && sink.fd >= 0) {
        if (result.total < 0)
            result.total = result.written;
        result.complete = result.written == result.total;
        if (!result.complete) {
            result.error = "the answer ended after " + std::to_string(result.written) + " of " +
                           std::to_string(result.total) + " bytes";
            result.failure = EFetchFailure::Broken;
        }
        return result;
    }
    if (!result.error.empty())
        return result;
    if (!sink.error.empty()) {
        result.error = sink.error;
        result.failure = sink.failure;
    } else if (code != CURLE_OK) {
        result.error = api->easy_strerror(code);
        result.failure = FailureOf(code);
    } else {
        result.error = "status " + std::to_string(answer.status);
        result.failure = EFetchFailure::Status;
    }
    return result;
}
