// The manual update check against a small HTTP server on 127.0.0.1.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/curloptions.h"
#include "core/hostaddress.h"
#include "core/quenlow.h"
#include "core/updatecheck.h"
#include "tests/loopbackserver.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A request for the loopback server with its files in a temporary folder.
SUpdateCheckRequest MakeRequest(const testsupport::TempFolder& tmp, int port, const CString& productId = "ABC123")
{
    SUpdateCheckRequest request;
    request.serverHost = "127.0.0.1";
    request.serverPort = port;
    request.productId = productId;
    request.productIdFile = tmp.ansi() + "PrdID.data";
    request.localUpdateFile = tmp.ansi() + "update.data";
    request.totalTimeoutMs = 5000;
    return request;
}

TEST(UpdateCheckTest, NoLocalCopyMeansANewVersion)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return Reply(200, "0"); });
    const SUpdateCheckOutcome outcome = CheckForUpdate(MakeRequest(tmp, server.port()));

    EXPECT_EQ(outcome.result, EUpdateCheckResult::NewVersion);
    EXPECT_EQ(outcome.storedSize, "");
    EXPECT_EQ(outcome.contentLength, "0");
    EXPECT_EQ(server.requests(), std::vector<std::string> {"GET /update/ABC123/update.data"});
    EXPECT_EQ(testsupport::ReadBytes(tmp.path() + "PrdID.data"), "ABC123\r\n");

    // The notice goes to the show-message slot as it is.
    PostUpdateCheckMessage(outcome);
    int kind = 0, seconds = 0;
    CString text;
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(seconds, 5);
    EXPECT_EQ(text, "检测到软件有可更新项，正在更新......");
    EXPECT_STREQ(kUpdateDownloaderCommand, "HalvikSoftUpdate: ");
}

TEST(UpdateCheckTest, ComparesTheAnnouncedLengthWithTheLocalCopy)
{
    struct Case {
        std::optional<std::string> local;
        std::optional<std::string> announced;
        EUpdateCheckResult expected;
    };
    const Case cases[] = {
        {"12345", "5", EUpdateCheckResult::UpToDate},
        {"12345", " 5 ", EUpdateCheckResult::UpToDate},   // the header value is trimmed
        {"12345", "6", EUpdateCheckResult::NewVersion},
        {"", "0", EUpdateCheckResult::UpToDate},
        {std::nullopt, std::nullopt, EUpdateCheckResult::UpToDate},   // no length and no copy: both empty
        {"12345", std::nullopt, EUpdateCheckResult::NewVersion},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder tmp;
        if (c.local)
            tmp.write("update.data", *c.local);
        CLoopbackServer server([&](const std::string&) { return Reply(200, c.announced); });
        const SUpdateCheckOutcome outcome = CheckForUpdate(MakeRequest(tmp, server.port()));
        const std::string label = c.local.value_or("(none)") + " / " + c.announced.value_or("(none)");
        EXPECT_EQ(outcome.result, c.expected) << label;
        EXPECT_EQ(outcome.httpStatus, 200) << label;
        EXPECT_EQ(outcome.message, c.expected == EUpdateCheckResult::UpToDate ? "您的软件不需要更新。"
                                                                              : "检测到软件有可更新项，正在更新......")
            << label;
    }
}

TEST(UpdateCheckTest, ErrorStatusesAndRedirectsToThem)
{
    struct Case {
        int status;
        EUpdateCheckResult expected;
    };
    const Case cases[] = {
        {200, EUpdateCheckResult::NewVersion}, {400, EUpdateCheckResult::NoConnection},
        {404, EUpdateCheckResult::NoConnection}, {410, EUpdateCheckResult::NoConnection},
        {429, EUpdateCheckResult::NoConnection}, {500, EUpdateCheckResult::NoConnection},
        {503, EUpdateCheckResult::NoConnection},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder tmp;
        // The update file moved: the check follows the redirect and judges the final answer.
        CLoopbackServer server([&](const std::string& path) {
            return path == "/moved" ? Reply(c.status, "7") : Reply(302, "0", "/moved");
        });
        const SUpdateCheckOutcome outcome = CheckForUpdate(MakeRequest(tmp, server.port()));
        EXPECT_EQ(outcome.result, c.expected) << c.status;
        EXPECT_EQ(outcome.httpStatus, c.status);
        EXPECT_EQ(server.requests().size(), 2u) << c.status;
        if (c.expected == EUpdateCheckResult::NoConnection) {
            EXPECT_EQ(outcome.messageKind, 1);
            EXPECT_EQ(outcome.message, "无法建立与服务器连接，不能更新！");
        } else {
            EXPECT_EQ(outcome.contentLength, "7");
        }
    }

    // An error answered directly, without a redirect.
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return Reply(404, "5"); });
    tmp.write("update.data", "12345");
    EXPECT_EQ(CheckForUpdate(MakeRequest(tmp, server.port())).result, EUpdateCheckResult::NoConnection);
}

TEST(UpdateCheckTest, ServerThatNeverAnswersOrIsNotThereFailsInTime)
{
    testsupport::TempFolder tmp;
    {
        CLoopbackServer server([](const std::string&) { return NoAnswer(); }, 1);
        SUpdateCheckRequest request = MakeRequest(tmp, server.port());
        request.totalTimeoutMs = 700;
        const auto start = Clock::now();
        const SUpdateCheckOutcome outcome = CheckForUpdate(request);
        EXPECT_LT(Clock::now() - start, 3s);
        EXPECT_EQ(outcome.result, EUpdateCheckResult::NoConnection);
        EXPECT_EQ(outcome.httpStatus, 0);
        EXPECT_EQ(outcome.message, "无法建立与服务器连接，不能更新！");
    }

    // A port nobody listens on (taken and given back).
    int closedPort = 0;
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), length), 0);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        closedPort = ntohs(address.sin_port);
        ::close(fd);
    }
    EXPECT_EQ(CheckForUpdate(MakeRequest(tmp, closedPort)).result, EUpdateCheckResult::NoConnection);
}

// An address the transfer library refuses (longer than the 8 MB it takes
// for a text option) fails the request before anything is sent, on the usual
// failure notice, with the option named.
TEST(UpdateCheckTest, RefusedOptionFailsTheRequestUnsent)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return Reply(200, "0"); });
    const CString hugeId(std::string(8 * 1024 * 1024, 'A'));
    const SUpdateCheckOutcome outcome = CheckForUpdate(MakeRequest(tmp, server.port(), hugeId));
    EXPECT_EQ(outcome.result, EUpdateCheckResult::NoConnection);
    EXPECT_EQ(outcome.message, "无法建立与服务器连接，不能更新！");
    EXPECT_EQ(outcome.httpStatus, 0);
    EXPECT_EQ(outcome.requestError.Find("CURLOPT_URL refused: "), 0) << outcome.requestError.str();
    EXPECT_TRUE(server.requests().empty());

    // A request that goes out has no request error.
    EXPECT_TRUE(CheckForUpdate(MakeRequest(tmp, server.port())).requestError.IsEmpty());
}

// The option setter stops at the first refusal and names it; later options
// are not set, earlier ones stay set.
TEST(CurlOptionsTest, FirstRefusedOptionIsKept)
{
    struct Case {
        const char* what;
        std::function<void(CCurlOptions&)> set;
        std::string error;   // start of Error(), empty when all were taken
    };
    const Case cases[] = {
        {"all taken",
         [](CCurlOptions& o) {
             o.Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), 5L).Set(NAMED_CURLOPT(CURLOPT_TIMEOUT_MS), 100L);
         },
         ""},
        {"negative redirect count",
         [](CCurlOptions& o) { o.Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), -2L); }, "CURLOPT_MAXREDIRS refused: "},
        {"unknown protocol",
         [](CCurlOptions& o) { o.Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "http,nosuchproto"); },
         "CURLOPT_PROTOCOLS_STR refused: "},
        {"first refusal wins",
         [](CCurlOptions& o) {
             o.Set(NAMED_CURLOPT(CURLOPT_NOSIGNAL), 1L)
                 .Set(NAMED_CURLOPT(CURLOPT_PROTOCOLS_STR), "nosuchproto")
                 .Set(NAMED_CURLOPT(CURLOPT_MAXREDIRS), -2L);
         },
         "CURLOPT_PROTOCOLS_STR refused: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SCurlApi* api = Curl();
        ASSERT_NE(api, nullptr);
        CURL* curl = api->easy_init();
        ASSERT_NE(curl, nullptr);
        CCurlOptions options(*api, curl);
        c.set(options);
        EXPECT_EQ(options.Ok(), c.error.empty());
        EXPECT_EQ(options.Result() == CURLE_OK, c.error.empty());
        if (c.error.empty())
            EXPECT_EQ(options.Error(), "");
        else
            EXPECT_EQ(options.Error().rfind(c.error, 0), 0u) << options.Error();
        api->easy_cleanup(curl);
    }
}

TEST(UpdateCheckTest, NoAddressOrNoProductIdStopsBeforeAnyRequest)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return Reply(200, "5"); });

    SUpdateCheckRequest request = MakeRequest(tmp, server.port());
    request.serverHost = "";
    SUpdateCheckOutcome outcome = CheckForUpdate(request);
    EXPECT_EQ(outcome.result, EUpdateCheckResult::NoServerAddress);
    EXPECT_EQ(outcome.message, "获取服务器IP失败，请稍后再更新！");

    outcome = CheckForUpdate(MakeRequest(tmp, server.port(), ""));
    EXPECT_EQ(outcome.result, EUpdateCheckResult::NoProductId);
    EXPECT_EQ(outcome.messageKind, 1);
    EXPECT_EQ(outcome.message, "获取产品ID失败，不能更新！");

    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(std::ifstream(tmp.path() + "PrdID.data").good());
}

// Without a network the check ends before it resolves the server's name or
// writes anything; with one it goes on as usual.
TEST(UpdateCheckTest, NoNetworkStopsBeforeTheNameIsResolved)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return Reply(200, "5"); });
    SUpdateCheckRequest request = MakeRequest(tmp, server.port());
    request.serverHost = "update.invalid";   // a resolution would only fail later
    int asked = 0;
    request.isConnected = [&asked] {
        ++asked;
        return false;
    };
    const SUpdateCheckOutcome outcome = CheckForUpdate(request);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(outcome.result, EUpdateCheckResult::Offline);
    EXPECT_EQ(outcome.message, "您的电脑没有联网，不能更新！");
    EXPECT_EQ(outcome.messageKind, 1);
    EXPECT_EQ(outcome.messageSeconds, 5);
    EXPECT_TRUE(outcome.serverAddress.IsEmpty()) << "no name resolution";
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(std::ifstream(tmp.path() + "PrdID.data").good());
    EXPECT_EQ(AutomaticUpdateVerdict(outcome), EAutoUpdateResult::NoCheck);

    request = MakeRequest(tmp, server.port());
    request.isConnected = [] { return true; };
    EXPECT_EQ(CheckForUpdate(request).result, EUpdateCheckResult::NewVersion);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(UpdateCheckTest, ProductIdIsEscapedInThePathAndRewrittenEachTime)
{
    testsupport::TempFolder tmp;
    tmp.write("PrdID.data", "an older and longer identifier\r\n");
    CLoopbackServer server([](const std::string&) { return Reply(503); });
    const SUpdateCheckOutcome outcome = CheckForUpdate(MakeRequest(tmp, server.port(), "A B/产品*"));
    EXPECT_EQ(outcome.result, EUpdateCheckResult::NoConnection);
    EXPECT_EQ(server.requests(), std::vector<std::string> {"GET /update/A%20B%2F%E4%BA%A7%E5%93%81*/update.data"});
    // Written before the request, in program text, even though the server refused.
    EXPECT_EQ(testsupport::ReadBytes(tmp.path() + "PrdID.data"), std::string("A B/产品*") + "\r\n");
}

TEST(UpdateCheckTest, ResolvesTheServerByName)
{
    EXPECT_EQ(ResolveHostIPv4("localhost"), "127.0.0.1");
    EXPECT_EQ(ResolveHostIPv4("127.0.0.1"), "127.0.0.1");
    EXPECT_EQ(ResolveHostIPv4(""), "");

    testsupport::TempFolder tmp;
    tmp.write("update.data", "123");
    CLoopbackServer server([](const std::string&) { return Reply(200, "3"); });
    SUpdateCheckRequest request = MakeRequest(tmp, server.port());
    request.serverHost = "localhost";
    const SUpdateCheckOutcome outcome = CheckForUpdate(request);
    EXPECT_EQ(outcome.result, EUpdateCheckResult::UpToDate);
    EXPECT_EQ(outcome.serverAddress, "127.0.0.1");
}

TEST(UpdateCheckTest, RequestComesFromTheProductSettings)
{
    testsupport::TempFolder program;
    const testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir, &CQuenlowApp::m_strProductId);
    theApp.m_strAppDir = program.ansi();
    theApp.m_strProductId = "PID9";

    program.write("AppData/CommonData/Product.cfg", "UpdateServerHost=update.example\nUpdateServerPort=8123\n");
    SUpdateCheckRequest request = MakeUpdateCheckRequest();
    EXPECT_EQ(request.serverHost, "update.example");
    EXPECT_EQ(request.serverPort, 8123);
    EXPECT_EQ(request.productId, "PID9");
    EXPECT_EQ(request.connectTimeoutMs, 5000);
    EXPECT_EQ(request.totalTimeoutMs, 15000);

    for (const char* port : {"", "http", "0", "70000", "80x"}) {
        program.write("AppData/CommonData/Product.cfg", std::string("UpdateServerPort=") + port + "\n");
        EXPECT_EQ(MakeUpdateCheckRequest().serverPort, 80) << port;
    }
}

// The automatic check after start-up: silent unless the server's length
// differs from the local copy's; 40x, 41x and 50x end it silently, while 42x
// to 49x and 51x and up are still compared.
TEST(UpdateCheckTest, AutomaticCheckSpeaksOnlyOfANewVersion)
{
    struct Case {
        const char* what;
        int status;
        std::optional<std::string> announced;
        const char* localCopy;   // null: no local copy
        EAutoUpdateResult expected;
    };
    const Case cases[] = {
        {"no local copy, a length announced", 200, "5", nullptr, EAutoUpdateResult::NewVersion},
        {"no local copy, no length", 200, std::nullopt, nullptr, EAutoUpdateResult::UpToDate},
        {"a local copy, no length", 200, std::nullopt, "12345", EAutoUpdateResult::NewVersion},
        {"equal lengths", 200, "5", "12345", EAutoUpdateResult::UpToDate},
        {"leading zero differs", 200, "05", "12345", EAutoUpdateResult::NewVersion},
        {"404 is silent", 404, "9", "12345", EAutoUpdateResult::NoCheck},
        {"410 is silent", 410, "9", "12345", EAutoUpdateResult::NoCheck},
        {"416 is silent", 416, "9", "12345", EAutoUpdateResult::NoCheck},
        {"503 is silent", 503, "9", "12345", EAutoUpdateResult::NoCheck},
        {"429 is compared", 429, "9", "12345", EAutoUpdateResult::NewVersion},
        {"520 is compared", 520, "5", "12345", EAutoUpdateResult::UpToDate},
    };
    for (const Case& c : cases) {
        testsupport::TempFolder tmp;
        if (c.localCopy)
            tmp.write("update.data", c.localCopy);
        CLoopbackServer server([&](const std::string&) { return Reply(c.status, c.announced); });
        EXPECT_EQ(AutomaticUpdateVerdict(CheckForUpdate(MakeRequest(tmp, server.port()))), c.expected) << c.what;
    }

    // No answer in time, no product id, no server: no check.
    testsupport::TempFolder tmp;
    CLoopbackServer silent([](const std::string&) { return NoAnswer(); }, 1);
    SUpdateCheckRequest request = MakeRequest(tmp, silent.port());
    request.totalTimeoutMs = 500;
    const auto start = Clock::now();
    EXPECT_EQ(AutomaticUpdateVerdict(CheckForUpdate(request)), EAutoUpdateResult::NoCheck);
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(AutomaticUpdateVerdict(CheckForUpdate(MakeRequest(tmp, silent.port(), ""))), EAutoUpdateResult::NoCheck);
    request.serverHost = "";
    EXPECT_EQ(AutomaticUpdateVerdict(CheckForUpdate(request)), EAutoUpdateResult::NoCheck);
}

} // namespace
