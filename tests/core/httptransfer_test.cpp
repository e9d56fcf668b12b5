// Downloads into a file against a small HTTP server on 127.0.0.1: what
// arrives whole is kept, anything else leaves no file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "core/httptransfer.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string Address(const CLoopbackServer& server, const char* path = "/file.zip")
{
    return "http://127.0.0.1:" + std::to_string(server.port()) + path;
}

SHttpOptions QuickOptions()
{
    SHttpOptions options;
    options.connectTimeoutMs = 1000;
    options.totalTimeoutMs = 3000;
    return options;
}

TEST(HttpDownloadTest, AWholeAnswerIsKeptWithItsProgress)
{
    testsupport::TempFolder tmp;
    const std::string body(50000, 'z');
    CLoopbackServer server([&](const std::string&) { return Page(body); });
    std::vector<int64_t> seen;
    int64_t announced = 0;
    const SHttpDownload result = DownloadToFile(Address(server), tmp.ansi() + "out.zip", QuickOptions(),
                                                [&](int64_t bytes, int64_t total) {
                                                    seen.push_back(bytes);
                                                    announced = total;
                                                },
                                                1 << 20);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.status, 200);
    EXPECT_EQ(result.bytes, 50000);
    EXPECT_EQ(result.total, 50000);
    EXPECT_EQ(announced, 50000);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 50000);
    EXPECT_EQ(testsupport::ReadBytes(tmp.path() + "out.zip"), body);
}

TEST(HttpDownloadTest, FailuresLeaveNoFile)
{
    struct Case {
        const char* what;
        SReply reply;
        int64_t maxBytes;
    };
    SReply errorPage = Page("<html>not here</html>");
    errorPage.status = 404;
    const Case cases[] = {
        {"an error status with a page", errorPage, 1 << 20},
        {"fewer bytes than announced", Reply(200, "1000"), 1 << 20},
        {"more than allowed", Page(std::string(5000, 'a')), 1000},
        {"no answer in time", NoAnswer(), 1 << 20},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder tmp;
        tmp.write("out.zip", "an earlier file");
        CLoopbackServer server([&](const std::string&) { return c.reply; }, 1);
        const auto start = Clock::now();
        const SHttpDownload result =
            DownloadToFile(Address(server), tmp.ansi() + "out.zip", QuickOptions(), {}, c.maxBytes);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_FALSE(result.error.empty()) << c.what;
        EXPECT_FALSE(std::filesystem::exists(tmp.path() + "out.zip")) << c.what;
        EXPECT_LT(Clock::now() - start, 5s) << c.what;
    }
}

TEST(HttpDownloadTest, CancellingEndsATransferQuickly)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return NoAnswer(); }, 1);
    std::atomic<bool> cancel {false};
    SHttpOptions options;
    options.totalTimeoutMs = 60000;
    options.cancel = &cancel;
    std::thread stopper([&] {
        std::this_thread::sleep_for(200ms);
        cancel = true;
    });
    const auto start = Clock::now();
    const SHttpDownload result = DownloadToFile(Address(server), tmp.ansi() + "out.zip", options, {}, 1 << 20);
    stopper.join();
    EXPECT_FALSE(result.ok);
    EXPECT_LT(Clock::now() - start, 3s);
}

} // namespace

namespace {

// The one reader of response headers: what a status line, a length and a
// range answer give, and what hostile values give instead of a wrong number.
TEST(HttpHeadersTest, TheReaderTakesOnlyWhatTheHeadersSay)
{
    struct Case {
        const char* why;
        std::string text;
        long status;
        int64_t length;        // ContentLengthOf
        int64_t rangeFirst;    // ParseContentRange of the Content-Range value
        int64_t rangeLength;
    };
    const Case cases[] = {
        {"a range answer", "HTTP/1.1 206 Partial\r\nContent-Range: bytes 100-199/200\r\nContent-Length: 100\r\n\r\n",
         206, 100, 100, 200},
        {"past the end", "HTTP/1.1 416 No\r\ncontent-range:bytes */5000\r\n\r\n", 416, -1, -1, 5000},
        {"a redirect, then the file", "HTTP/1.1 302 Found\r\nContent-Length: 5\r\nContent-Range: bytes 0-4/5\r\n\r\n"
                                      "HTTP/2 200\r\nContent-Length: 7\r\n\r\n",
         200, 7, -1, -1},
        {"lengths past 18 digits", "HTTP/1.1 206 x\r\nContent-Length: 9999999999999999999\r\n"
                                   "Content-Range: bytes 9999999999999999999-1/99999999999999999999\r\n\r\n",
         206, -1, -1, -1},
        {"no numbers", "HTTP/1.1 abc\r\nContent-Length: -5\r\nContent-Range: bytes -/x\r\n\r\n", 0, -1, -1, -1},
        {"another unit", "HTTP/1.1 206 x\r\nContent-Range: items 1-2/3\r\n\r\n", 206, -1, -1, -1},
        {"a four-digit status", "HTTP/1.1 2000 x\r\n\r\n", 0, -1, -1, -1},
        {"blanks around values", "HTTP/1.0 200 OK\r\nContent-Length:\t 42 \r\n\r\n", 200, 42, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        SHttpHeaders headers;
        for (size_t start = 0; start < c.text.size();) {
            const size_t end = c.text.find('\n', start);
            const size_t next = end == std::string::npos ? c.text.size() : end + 1;
            ReadHeaderLine(std::string_view(c.text).substr(start, next - start), headers);
            start = next;
        }
        EXPECT_TRUE(headers.complete);
        EXPECT_EQ(headers.status, c.status);
        EXPECT_EQ(ContentLengthOf(headers), c.length);
        int64_t first = 0;
        int64_t length = 0;
        ParseContentRange(headers.contentRange, first, length);
        EXPECT_EQ(first, c.rangeFirst);
        EXPECT_EQ(length, c.rangeLength);
    }
}

} // namespace
