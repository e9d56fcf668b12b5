// Matching a lesson to a media file without one beside it, through the main
// frame: from the subtitle store by the media's digest (no network), from the
// subtitle host (a loopback server), and the batch fetch over a list.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "online/core/subtitlestore.h"
#include "online/core/zipwriter.h"
#include "online/updatedlg.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/mainfrm.h"
#include "tests/appstateguard.h"
#include "tests/loopbackserver.h"
#include "tests/online/core/lessonbytes.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {
using namespace std::chrono_literals;

class SubtitleMatchingTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = testsupport::ShowTestFrame(program.ansi(), document);
        ASSERT_NE(frame, nullptr);
        frame->m_downloaderExchange.isDownloaderRunning = [] { return true; };
        testsupport::TakeMessage();
    }
    void TearDown() override
    {
        frame->Close(true);
        testsupport::DestroyApplicationWindows();
        theApp.m_arrSubtitleFetchList.RemoveAll();
        testsupport::DrainEvents();
    }

    // A media file whose first 1000 bytes (its digest) are its own.
    CString Media(const char* name)
    {
        return CString(program.write(std::string("media/") + name, std::string(2000, name[0])).c_str());
    }
    // A zip package of one lesson member whose sentence is `sentence`,
    // written at `path`.
    static void WritePackage(const CString& path, const std::string& sentence)
    {
        const std::string lesson = testzip::LessonBytes(sentence);
        SZipHandle* zip = ZipWriterCreate(const_cast<char*>(path.GetString()), 0, kZipFromName, nullptr);
        ASSERT_NE(zip, nullptr);
        ZipWriterAddMemory(zip, "lesson.script", lesson.data(), lesson.size());
        ZipWriterClose(zip);
    }
    void PointSubtitleHostAt(const CLoopbackServer& server)
    {
        program.write("AppData/CommonData/Product.cfg", "SubtitleHost=127.0.0.1:" + std::to_string(server.port()) + "\n");
    }
    CString Digest(const CString& media)
    {
        return frame->m_fileSha1.GetFileSha1(media, CString(), CString());
    }

    testsupport::TempProgramFolder program;
    CQuenlowDoc document;
    CMainFrame* frame = nullptr;
};

TEST_F(SubtitleMatchingTest, TheStoreAnswersWithoutTheNetwork)
{
    const CString media = Media("stored.mp4");
    const CString package = program.ansi() + "package.zip";
    WritePackage(package, "stored lesson");
    ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, Digest(media), package));
    CLoopbackServer server([](const std::string&) { return Reply(404); });
    PointSubtitleHostAt(server);

    theApp.m_strPlayFilePath = media;
    frame->FindSubtitleFile(media);
    // Read off the interface thread: the lesson comes a moment later.
    ASSERT_TRUE(testsupport::RunLoopUntil([] { return theApp.m_strScriptPath == theApp.m_strTmpScriptPath; }, 4s));
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "stored lesson");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(SubtitleMatchingTest, TheHostsPackageArrivesAndIsStoredAndAMissingOneGivesTheBlankLesson)
{
    const CString media = Media("online.mp4");
    const CString package = program.ansi() + "package.zip";
    WritePackage(package, "online lesson");
    const std::string bytes = testsupport::ReadBytes(package.str());
    const CString digest = Digest(media);
    CLoopbackServer server([&](const std::string& path) {
        if (path.find(digest.str()) != std::string::npos)
            return Page(bytes);
        return Reply(404, "0");
    }, 8);
    PointSubtitleHostAt(server);

    theApp.m_strPlayFilePath = media;
    frame->FindSubtitleFile(media);
    ASSERT_TRUE(testsupport::RunLoopUntil([] { return theApp.m_strScriptPath == theApp.m_strTmpScriptPath; }, 8s));
    EXPECT_EQ(testzip::FirstSentence(theApp.m_strTmpScriptPath), "online lesson");
    EXPECT_TRUE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, digest));
    EXPECT_EQ(server.requests()[0], "GET /subtitles/" + digest.Left(1).str() + "/" + digest.str() + ".jpg");

    const CString other = Media("nothing.mp4");
    // The caption bar would take the message.
    frame->KillTimer(CMainFrame::kTimerSecondWork);
    frame->KillTimer(CMainFrame::kTimerMessageSlot);
    theApp.m_strPlayFilePath = other;
    frame->FindSubtitleFile(other);
    // It plays with the blank lesson meanwhile and keeps it.
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strBlankScriptPath);
    ASSERT_TRUE(testsupport::RunLoopUntil([] { return testsupport::TakeMessage() == "没有匹配到字幕文件！"; }, 8s));
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strBlankScriptPath);
}

TEST_F(SubtitleMatchingTest, BatchFetchReportsWhatItFetched)
{
    const CString withPackage = Media("first.mp4");
    const CString without = Media("second.mp4");
    const CString stored = Media("third.mp4");
    const CString package = program.ansi() + "package.zip";
    WritePackage(package, "a lesson");
    ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, Digest(stored), package));
    const std::string bytes = testsupport::ReadBytes(package.str());
    const CString digest = Digest(withPackage);
    CLoopbackServer server([&](const std::string& path) {
        return path.find(digest.str()) != std::string::npos ? Page(bytes) : Reply(404, "0");
    }, 8);
    PointSubtitleHostAt(server);

    theApp.m_arrSubtitleFetchList.RemoveAll();
    for (const CString& media : {withPackage, without, stored})
        theApp.m_arrSubtitleFetchList.Add(media);
    theApp.m_strSubtitleCommand = "HalvikEnglishGetNetSubtitles:";
    CString last;
    ASSERT_TRUE(testsupport::RunLoopUntil([&] {
        const CString message = testsupport::TakeMessage();
        if (!message.IsEmpty())
            last = message;
        return last.Find("字幕下载完成") == 0;
    }, 20s));
    EXPECT_EQ(last, "字幕下载完成：3个视频中获取到1个字幕。");
    EXPECT_TRUE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, digest));
    // The stored one was not asked for.
    for (const std::string& request : server.requests())
        EXPECT_EQ(request.find(Digest(stored).str()), std::string::npos) << request;
}

} // namespace
