// The subtitle host's package address and its answer, against a small HTTP
// server on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "online/core/onlinesubtitle.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/loopbackserver.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(OnlineSubtitleTest, AddressOfADigest)
{
    EXPECT_EQ(OnlineSubtitleAddress("sub.example:8080", "ab12cd34ab12cd34ab12cd34ab12cd34ab12cd34"),
              "http://sub.example:8080/subtitles/a/ab12cd34ab12cd34ab12cd34ab12cd34ab12cd34.jpg");
    EXPECT_EQ(OnlineSubtitleAddress("", "ab12"), "");
    EXPECT_EQ(OnlineSubtitleAddress("sub.example", ""), "");
}

TEST(OnlineSubtitleTest, OnlyASuccessfulAnswerThatIsNotThePlaceholderHoldsAPackage)
{
    SReply notFound = Page("<html>404</html>");
    notFound.status = 404;
    SReply serverError = Page("<html>error</html>");
    serverError.status = 500;
    struct Case {
        const char* what;
        SReply reply;
        ERemotePackage expected;
    };
    const Case cases[] = {
        {"a package", Page(std::string(3000, 'p')), ERemotePackage::Available},
        {"the placeholder's length", Page(std::string(26808, 'p')), ERemotePackage::Missing},
        {"a 404 page", notFound, ERemotePackage::Missing},
        {"a 500 page", serverError, ERemotePackage::Missing},
        {"no answer", NoAnswer(), ERemotePackage::NoAnswer},
    };
    for (const Case& c : cases) {
        CLoopbackServer server([&](const std::string&) { return c.reply; }, 1);
        SHttpOptions options;
        options.totalTimeoutMs = 800;
        const auto start = Clock::now();
        const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/subtitles/a/a.jpg";
        EXPECT_EQ(CheckRemotePackage(url, options), c.expected) << c.what;
        EXPECT_LT(Clock::now() - start, 3s) << c.what;
    }
    EXPECT_EQ(CheckRemotePackage("", SHttpOptions()), ERemotePackage::NoAnswer);
}

// A host that sends its headers at once and the package later: the answer
// is known from the headers, without waiting for the body.
TEST(OnlineSubtitleTest, TheHeadersAnswerWithoutWaitingForTheBody)
{
    SReply late = Body(std::string(3000, 'p'));
    late.stallAfter = 0;
    CLoopbackServer server([&](const std::string&) { return late; }, 1);
    SHttpOptions options;
    options.totalTimeoutMs = 5000;
    const auto start = Clock::now();
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/subtitles/a/a.jpg";
    EXPECT_EQ(CheckRemotePackage(url, options), ERemotePackage::Available);
    EXPECT_LT(Clock::now() - start, 1s);
}

TEST(OnlineSubtitleTest, BlankLessonOutcome)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strScriptPath, &CQuenlowApp::m_strMediaPath,
                                     &CQuenlowApp::m_nSubtitleMode, &CQuenlowApp::m_bScriptLoaded,
                                     &CQuenlowApp::m_strPlayFilePath, &CQuenlowApp::m_strBlankScriptPath);
    theApp.m_strBlankScriptPath = "/p/Blank.script";
    theApp.m_strPlayFilePath = "/m/talk.mp4";
    theApp.m_bScriptLoaded = 1;
    UseBlankLesson(theApp);
    EXPECT_EQ(theApp.m_strScriptPath, "/p/Blank.script");
    EXPECT_EQ(theApp.m_strMediaPath, "/m/talk.mp4");
    EXPECT_EQ(theApp.m_nSubtitleMode, 1);
    EXPECT_EQ(theApp.m_bScriptLoaded, 0);
    int kind = 0;
    int seconds = 0;
    CString text;
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "没有匹配到字幕文件！");
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(seconds, 3);
}

} // namespace
