#include "downloader/rangefetch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/file.h"
#include "core/curlapi.h"
#include "core/curloptions.h"

namespace {

constexpr long kMaxRedirects = 5;

struct SAnswer {
    long status = 0;
    int64_t contentLength = -1;
    std::string contentRange;   // the value, e.g. "bytes 100-199/200"
};

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Each status line starts a new answer, so after followed redirects the
// record describes the last one.
size_t OnHeaderLine(char* data, size_t size, size_t count, void* user)
{
    auto* answer = static_cast<SAnswer*>(user);
    const size_t length = size * count;
    const std::string line(data, length);
    if (line.rfind("HTTP/", 0) == 0) {
        *answer = SAnswer();
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            answer->status = std::strtol(line.c_str() + space + 1, nullptr, 10);
        return length;
    }
    const size_t colon = line.find(':');
    if (colon == std::string::npos)
        return length;
    std::string name = Trimmed(line.substr(0, colon));
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const std::string value = Trimmed(line.substr(colon + 1));
    if (name == "content-length" && !value.empty())
        answer->contentLength = std::strtoll(value.c_str(), nullptr, 10);
    else if (name == "content-range")
        answer->contentRange = value;
    return length;
}

// "bytes <first>-<last>/<length>" or "bytes */<length>"; -1 for a part that
// is missing or "*".
void ParseContentRange(const std::string& value, int64_t& first, int64_t& length)
{
    first = -1;
    length = -1;
    if (value.rfind("bytes ", 0) != 0)
        return;
    const std::string range = value.substr(6);
    if (!range.empty() && range[0] >= '0' && range[0] <= '9')
        first = std::strtoll(range.c_str(), nullptr, 10);
    const size_t slash = range.find('/');
    if (slash != std::string::npos && slash + 1 < range.size() && range[slash + 1] >= '0' && range[slash + 1] <= '9')
        length = std::strtoll(range.c_str() + slash + 1, nullptr, 10);
}

int OnTransferTick(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

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

// Where the body goes. The first block decides what the answer means and
// opens the target accordingly.
struct SSink {
    std::string path;        // file-system path of the target
    int64_t offset = 0;
    const SAnswer* answer = nullptr;
    const FetchProgress* progress = nullptr;
    int fd = -1;
    bool decided = false;
    int64_t skip = 0;        // body bytes the target already holds
    int64_t written = 0;
    int64_t total = -1;
    int64_t maxBytes = 0;
    std::string error;

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
            error = "cannot write " + path;
        return fd >= 0;
    }

    // Whether the answer is one whose body belongs in the target.
    bool Decide()
    {
        decided = true;
        const long status = answer->status;
        if (status < 200 || status >= 300) {
            error = "status " + std::to_string(status);
            return false;
        }
        if (status == 206) {
            int64_t first = -1;
            ParseContentRange(answer->contentRange, first, total);
            if (first != offset) {
                error = "the server's part does not start at byte " + std::to_string(offset);
                return false;
            }
            if (total < 0 && answer->contentLength >= 0)
                total = offset + answer->contentLength;
        } else {
            skip = offset;   // the whole file again: the first bytes are there already
            total = answer->contentLength;
        }
        written = offset;
        if (total > maxBytes) {
            error = "the file is larger than " + std::to_string(maxBytes) + " bytes";
            return false;
        }
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
        if (written + static_cast<int64_t>(length - skipped) > maxBytes) {
            error = "the file is larger than " + std::to_string(maxBytes) + " bytes";
            return false;
        }
        if (!WriteAll(fd, data + skipped, length - skipped)) {
            error = "cannot write " + path;
            return false;
        }
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
        return result;
    }
    SAnswer answer;
    SSink sink;
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
    if (offset > 0)
        headers = api->slist_append(headers, range.c_str());

    CCurlOptions options(*api, curl);
    options.Set(NAMED_CURLOPT(CURLOPT_URL), url.c_str())
        .Set(NAMED_CURLOPT(CURLOPT_HTTPHEADER), headers)
        .Set(NAMED_CURLOPT(CURLOPT_NOSIGNAL), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "http,https")
        .Set(NAMED_CURLOPT(CURLOPT_REDIR_PROTOCOLS_STR), "http,https")
        .Set(NAMED_CURLOPT(CURLOPT_FOLLOWLOCATION), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), kMaxRedirects)
        .Set(NAMED_CURLOPT(CURLOPT_CONNECTTIMEOUT_MS), limits.connectTimeoutMs)
        .Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_LIMIT), 1L)
        .Set(NAMED_CURLOPT(CURLOPT_LOW_SPEED_TIME), limits.stallSeconds)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERFUNCTION), OnHeaderLine)
        .Set(NAMED_CURLOPT(CURLOPT_HEADERDATA), &answer)
        .Set(NAMED_CURLOPT(CURLOPT_WRITEFUNCTION), WriteBody)
        .Set(NAMED_CURLOPT(CURLOPT_WRITEDATA), &sink)
        .Set(NAMED_CURLOPT(CURLOPT_XFERINFOFUNCTION), OnTransferTick)
        .Set(NAMED_CURLOPT(CURLOPT_XFERINFODATA), const_cast<std::atomic<bool>*>(&cancel))
        .Set(NAMED_CURLOPT(CURLOPT_NOPROGRESS), 0L);
    CURLcode code = CURLE_OK;
    if (options.Ok())
        code = api->easy_perform(curl);
    else
        result.error = options.Error();
    api->easy_cleanup(curl);
    api->slist_free_all(headers);

    result.status = answer.status;
    const bool transferred = result.error.empty() && code == CURLE_OK;
    if (transferred && !sink.decided && answer.status >= 200 && answer.status < 300) {
        // A successful answer without a body: the file is empty, or (from an
        // offset) has no more bytes.
        if (sink.Decide())
            result.wrote = true;
    }
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
        if (!result.complete)
            result.error = "the answer ended after " + std::to_string(result.written) + " of " +
                           std::to_string(result.total) + " bytes";
        return result;
    }
    if (result.error.empty())
        result.error = !sink.error.empty()                 ? sink.error
                       : code == CURLE_ABORTED_BY_CALLBACK ? std::string("stopped")
                       : code != CURLE_OK                  ? std::string(api->easy_strerror(code))
                                                           : "status " + std::to_string(answer.status);
    return result;
}
