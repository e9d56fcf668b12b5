// The hidden update dialog's subtitle downloads and its automatic update
// check, against a small HTTP server on 127.0.0.1 with the real event loop:
// a package is fetched, unpacked into the staging lesson and kept in the
// store under the digest its job started with; every failure ends the job
// in bounded time with a message.
#include <chrono>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "online/core/subtitlestore.h"
#include "online/core/zipwriter.h"
#include "online/updatedlg.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/updatecheck.h"
#include "tests/appstateguard.h"
#include "tests/loopbackserver.h"
#include "tests/online/core/lessonbytes.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* const kDigestA = "aaaa0000aaaa0000aaaa0000aaaa0000aaaa0000";
const char* const kDigestB = "bbbb0000bbbb0000bbbb0000bbbb0000bbbb0000";

class UpdateDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        CQuenlowApp paths;
        ApplyStartupDefaults(paths, program.ansi());
        ASSERT_TRUE(CreateDataFolders(paths).empty());
        guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strTmpJpgPath, &CQuenlowApp::m_strTmpScriptPath,
                                                &CQuenlowApp::m_strSubtitleStorePath,
                                                &CQuenlowApp::m_strSubtitleDir,
                                                &CQuenlowApp::m_strBlankScriptPath, &CQuenlowApp::m_strAppDir});
        guard.Keep(&CQuenlowApp::m_strPlayFilePath).Keep(&CQuenlowApp::m_strScriptPath)
            .Keep(&CQuenlowApp::m_strSubtitleFetched).Keep(&CQuenlowApp::m_strMediaPath)
            .Keep(&CQuenlowApp::m_nSubtitleMode).Keep(&CQuenlowApp::m_bScriptLoaded)
            .Keep(&CQuenlowApp::m_strProductId).Keep(&CQuenlowApp::m_strUpdateServerHost)
            .Keep(&CQuenlowApp::m_strUpdateDataPath).Keep(&CQuenlowApp::m_strProductIdFilePath)
            .Keep(&CQuenlowApp::m_strMediaSha1).Keep(&CQuenlowApp::m_strSubtitleUrl);
        theApp.m_strPlayFilePath = "/media/a.mp4";
        theApp.m_strScriptPath.Empty();
        theApp.m_strSubtitleFetched.Empty();
        testsupport::TakeMessage();
        m_dialog = new CUpdateDlg;
        ASSERT_TRUE(m_dialog->Create(nullptr));
        m_dialog->m_checkOptions.totalTimeoutMs = 1000;
        m_dialog->m_downloadOptions.totalTimeoutMs = 2000;
    }
    void TearDown() override
    {
        if (m_dialog)
            m_dialog->Destroy();
        testsupport::DrainEvents();
    }

    // A zip package of one member: a lesson whose sentence is `sentence`,
    // or with `asIs` the bytes themselves.
    std::string Package(const std::string& sentence, bool asIs = false)
    {
        const std::string lesson = asIs ? sentence : testzip::LessonBytes(sentence);
        const CString path = program.ansi() + "made.zip";
        SZipHandle* zip = ZipWriterCreate(const_cast<char*>(path.GetString()), 0, kZipFromName, nullptr);
        EXPECT_NE(zip, nullptr);
        EXPECT_EQ(ZipWriterAddMemory(zip, "lesson.script", lesson.data(), lesson.size()), 0);
        EXPECT_EQ(ZipWriterClose(zip), 0);
        return testsupport::ReadBytes(path.str());
    }
    std::string Url(const CLoopbackServer& server, const char* digest)
    {
        return "http://127.0.0.1:" + std::to_string(server.port()) + "/subtitles/x/" + digest + ".jpg";
    }
    bool WaitForEnd(int job, std::chrono::milliseconds timeout = 6s)
    {
        return testsupport::RunLoopUntil(
            [&] {
                const ESubtitleJobEnd end = m_dialog->JobEnd(job);
                return end != ESubtitleJobEnd::Queued && end != ESubtitleJobEnd::Running;
            },
            timeout);
    }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    CUpdateDlg* m_dialog = nullptr;
};

TEST_F(UpdateDlgTest, APackageBecomesTheLessonAndIsKeptInTheStore)
{
    const std::string package = Package("the lesson");
    CLoopbackServer server([&](const std::string&) { return Page(package); });
    const int job = m_dialog->StartSubtitleDownload(Url(server, kDigestA).c_str(), kDigestA, "/media/a.mp4", false);
    ASSERT_TRUE(WaitForEnd(job));
    EXPECT_EQ(m_dialog->JobEnd(job), ESubtitleJobEnd::Fetched);
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strTmpScriptPath);
    EXPECT_EQ(theApp.m_strSubtitleFetched, "true");
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "the lesson");
    EXPECT_TRUE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, kDigestA));
    // The job's own staging package is gone.
    for (const auto& entry : std::filesystem::directory_iterator(program.path() + "AppData/Temp"))
        EXPECT_EQ(entry.path().filename().string().find("tmpjpg"), std::string::npos) << entry.path();
    EXPECT_EQ(server.requests().size(), 2u);   // the check and the download
}

TEST_F(UpdateDlgTest, FailuresEndTheJobWithTheBlankLessonAndAMessage)
{
    SReply notFound = Page("<html>no such package</html>");
    notFound.status = 404;
    struct Case {
        const char* what;
        SReply reply;
        ESubtitleJobEnd end;
        const char* message;
    };
    const Case cases[] = {
        {"the host has none", notFound, ESubtitleJobEnd::Missing, "没有匹配到字幕文件！"},
        {"the host never answers", NoAnswer(), ESubtitleJobEnd::Failed, "下载字幕文件失败！"},
        {"the package is no zip", Page(std::string(500, 'x')), ESubtitleJobEnd::Failed, "字幕库文件已经破损!"},
        {"the package holds no lesson", Page(Package("<html>a page</html>", true)), ESubtitleJobEnd::Failed,
         "字幕库文件已经破损!"},
    };
    for (const Case& c : cases) {
        theApp.m_strScriptPath.Empty();
        CLoopbackServer server([&](const std::string&) { return c.reply; });
        const auto start = Clock::now();
        const int job = m_dialog->StartSubtitleDownload(Url(server, kDigestA).c_str(), kDigestA, "/media/a.mp4", false);
        ASSERT_TRUE(WaitForEnd(job)) << c.what;
        EXPECT_LT(Clock::now() - start, 5s) << c.what;
        EXPECT_EQ(m_dialog->JobEnd(job), c.end) << c.what;
        EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strBlankScriptPath) << c.what;
        EXPECT_EQ(testsupport::TakeMessage(), c.message) << c.what;
        EXPECT_FALSE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, kDigestA)) << c.what;
    }
}

// The learner moves on to another media while the first one's package is on
// its way: the package is kept under the first media's digest and does not
// become the lesson of the second; the second media's job runs after it.
TEST_F(UpdateDlgTest, SwitchingMediaDuringADownloadKeepsEachPackageWithItsDigest)
{
    const std::string packageA = Package("lesson A");
    const std::string packageB = Package("lesson B");
    CLoopbackServer server([&](const std::string& path) {
        return Page(path.find(kDigestA) != std::string::npos ? packageA : packageB);
    });
    const int jobA = m_dialog->StartSubtitleDownload(Url(server, kDigestA).c_str(), kDigestA, "/media/a.mp4", false);
    theApp.m_strPlayFilePath = "/media/b.mp4";
    const int jobB = m_dialog->StartSubtitleDownload(Url(server, kDigestB).c_str(), kDigestB, "/media/b.mp4", false);
    EXPECT_EQ(m_dialog->JobEnd(jobB), ESubtitleJobEnd::Queued);
    ASSERT_TRUE(WaitForEnd(jobA));
    EXPECT_EQ(m_dialog->JobEnd(jobA), ESubtitleJobEnd::Fetched);
    EXPECT_TRUE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, kDigestA));
    ASSERT_TRUE(WaitForEnd(jobB));
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strTmpScriptPath);
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "lesson B");

    // Each digest gives back its own lesson.
    const CString staging = program.ansi() + "check.script";
    ASSERT_EQ(LoadSubtitleFromLibrary(theApp.m_strSubtitleDir, kDigestA, program.ansi() + "p.zip", staging,
                                      theApp.m_strSubtitleStorePath),
              ELibraryLoad::Loaded);
    EXPECT_EQ(testzip::FirstSentence(staging), "lesson A");
    // One at a time: A's check and download came before B's.
    const std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_NE(requests[1].find(kDigestA), std::string::npos);
    EXPECT_NE(requests[2].find(kDigestB), std::string::npos);
}

// A look-up reads the store on the worker first: a stored lesson needs no
// host; a stored package that gives no lesson is removed and the host asked
// again, whose package then takes its place; without a host to ask, the
// job ends with the blank lesson.
TEST_F(UpdateDlgTest, ALookUpTakesAStoredLessonAndReplacesOneThatGivesNone)
{
    const std::string fresh = Package("from the host");
    CLoopbackServer server([&](const std::string&) { return Page(fresh); }, 8);
    const CString stored = program.ansi() + "stored.zip";
    theApp.m_strMediaSha1 = kDigestA;
    theApp.m_strPlayFilePath = "/media/a.mp4";
    theApp.m_strSubtitleUrl = Url(server, kDigestA).c_str();

    program.write("stored.zip", Package("stored lesson"));
    ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, kDigestA, stored));
    int job = m_dialog->StartSubtitleLookup(true);
    ASSERT_TRUE(WaitForEnd(job));
    EXPECT_EQ(m_dialog->JobEnd(job), ESubtitleJobEnd::Fetched);
    EXPECT_EQ(theApp.m_strSubtitleFetched, "true");
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "stored lesson");
    EXPECT_TRUE(server.requests().empty()) << "the store had it";

    ASSERT_TRUE(RemoveSubtitlePackage(theApp.m_strSubtitleStorePath, kDigestA));
    program.write("stored.zip", Package("\x89PNG picture", true));
    ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, kDigestA, stored));
    theApp.m_strScriptPath.Empty();
    theApp.m_strSubtitleFetched.Empty();
    job = m_dialog->StartSubtitleLookup(true);
    ASSERT_TRUE(WaitForEnd(job));
    EXPECT_EQ(m_dialog->JobEnd(job), ESubtitleJobEnd::Fetched);
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "from the host");
    EXPECT_EQ(server.requests().size(), 2u) << "the check and the download";
    const CString staging = program.ansi() + "check.script";
    EXPECT_EQ(LoadSubtitleFromLibrary(theApp.m_strSubtitleDir, kDigestA, program.ansi() + "p.zip", staging,
                                      theApp.m_strSubtitleStorePath),
              ELibraryLoad::Loaded);
    EXPECT_EQ(testzip::FirstSentence(staging), "from the host") << "the host's package took the place";

    // The store without a good package and no host to ask.
    ASSERT_TRUE(RemoveSubtitlePackage(theApp.m_strSubtitleStorePath, kDigestA));
    ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, kDigestA, stored));
    theApp.m_strScriptPath.Empty();
    job = m_dialog->StartSubtitleLookup(false);
    ASSERT_TRUE(WaitForEnd(job));
    EXPECT_EQ(m_dialog->JobEnd(job), ESubtitleJobEnd::Failed);
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strBlankScriptPath);
    EXPECT_EQ(testsupport::TakeMessage(), "字幕库文件已经破损!");
    EXPECT_FALSE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, kDigestA));
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(UpdateDlgTest, ClosingDuringADownloadEndsPromptly)
{
    CLoopbackServer server([](const std::string&) { return NoAnswer(); }, 1);
    m_dialog->m_checkOptions.totalTimeoutMs = 60000;
    m_dialog->StartSubtitleDownload(Url(server, kDigestA).c_str(), kDigestA, "/media/a.mp4", false);
    // Closed while the request waits for its answer, not before it was sent.
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return server.requests().size() == 1; }, 5s));
    const auto start = Clock::now();
    delete m_dialog;
    m_dialog = nullptr;
    EXPECT_LT(Clock::now() - start, 3s);
}

TEST_F(UpdateDlgTest, AutomaticUpdateCheckLeavesANoticeOnlyForANewVersion)
{
    CLoopbackServer server([](const std::string&) { return Reply(200, "7"); });
    program.write("AppData/CommonData/Product.cfg", "UpdateServerPort=" + std::to_string(server.port()) + "\n");
    theApp.m_strProductId = "ABC";
    theApp.m_strUpdateServerHost = "127.0.0.1";
    theApp.m_strUpdateDataPath = program.ansi() + "AppData/update.data";
    theApp.m_strProductIdFilePath = program.ansi() + "AppData/PrdID.data";
    EXPECT_EQ(m_dialog->StartUpdateCheck("", ""), 1);
    CString message;
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return !(message = testsupport::TakeMessage()).IsEmpty(); }, 5s));
    EXPECT_EQ(message, kAutoUpdateNotice);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], "GET /update/ABC/update.data");

    // Without a server address there is no check at all.
    auto* second = new CUpdateDlg;
    ASSERT_TRUE(second->Create(nullptr));
    theApp.m_strUpdateServerHost.Empty();
    second->StartUpdateCheck("", "");
    testsupport::RunLoopFor(300ms);
    EXPECT_EQ(server.requests().size(), 1u);
    second->Destroy();
}

} // namespace
