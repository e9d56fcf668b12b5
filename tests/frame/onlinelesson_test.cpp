// A media without a lesson beside it, whose lesson is looked up on the
// subtitle host (a loopback server): the media plays at once whatever the
// host does, a lesson that comes late is put in while it plays, the host is
// asked once a run for a media, and a hostile package never stops the window.
// Real frame, real media engine (dummy outputs), timers running for real.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include <wx/timer.h>

#include "online/core/subtitlestore.h"
#include "online/core/zipwriter.h"
#include "online/updatedlg.h"
#include "core/quenlow.h"
#include "frame/mainfrm.h"
#include "platform/file.h"
#include "playback/vlcplayer.h"
#include "tests/appstateguard.h"
#include "tests/lessonmedia.h"
#include "tests/loopbackserver.h"
#include "tests/online/core/lessonbytes.h"
#include "tests/online/core/overlappingzip.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kPlaying = 3;   // the engine's state while it plays

class OnlineLessonTest : public testsupport::PlayingFrameTest {
protected:
    void SetUp() override
    {
        PlayingFrameTest::SetUp();
        if (HasFatalFailure())
            return;
        KeepMessagesForTheTest();
        testsupport::TakeMessage();
    }
    // The caption bar would take the messages this test reads.
    void KeepMessagesForTheTest()
    {
        frame->KillTimer(CMainFrame::kTimerSecondWork);
        frame->KillTimer(CMainFrame::kTimerMessageSlot);
    }

    // A clip of its own length: clips of different lengths differ in their
    // first bytes, so each has a digest of its own.
    CString Clip(const std::string& name, int seconds)
    {
        const std::string path = program.path() + name;
        testsupport::MakeClip(path, seconds);
        return CString(path.c_str());
    }
    // A zip package holding a two-sentence lesson.
    std::string LessonPackage()
    {
        const CString lesson = program.ansi() + "packaged.script";
        testsupport::MakeLesson(lesson);
        const std::string package = testzip::WriterPackage({{"lesson.script", testsupport::ReadBytes(lesson.str())}});
        DeleteFile(lesson);
        return package;
    }
    void PointSubtitleHostAt(const CLoopbackServer& server)
    {
        program.write("AppData/CommonData/Product.cfg",
                      "SubtitleHost=127.0.0.1:" + std::to_string(server.port()) + "\n");
    }
    void RequestPlay(const CString& media)
    {
        theApp.m_arrPlayList.RemoveAll();
        theApp.m_arrPlayList.Add(media);
        theApp.m_nPlayIndex = 0;
        frame->DispatchCommand("HalvikSoftPlayerPlayLocalFile:");
    }
    bool Playing(const CString& media)
    {
        return Player().GetState() == kPlaying && theApp.m_strMediaPath == media;
    }
    ESubtitleJobEnd LookUp() const { return frame->m_dlgUpdate->JobEnd(frame->m_nLessonJobId); }
    // Runs the window until `text` is the message of the caption slot.
    bool MessageComes(const CString& text, std::chrono::milliseconds timeout)
    {
        return testsupport::RunLoopUntil([&] { return testsupport::TakeMessage() == text; }, timeout);
    }
};

// A host that never answers, and one that sends its package at 20 bytes a
// second: the media plays while the host is still being asked, the learner
// hears why no lesson came, and playing the media again asks nobody.
TEST_F(OnlineLessonTest, TheMediaPlaysAtOnceAndTheHostIsAskedOncePerRun)
{
    frame->m_dlgUpdate->m_checkOptions.totalTimeoutMs = 4000;
    frame->m_dlgUpdate->m_downloadOptions.totalTimeoutMs = 4000;
    const std::string package = LessonPackage();
    SReply crawling = Body(package);
    crawling.pieces = static_cast<int>(package.size() / 20);
    crawling.pieceGap = 1s;
    struct Case {
        const char* what;
        SReply reply;
        int seconds;
    };
    const Case cases[] = {{"a silent host", NoAnswer(), 20}, {"a host sending 20 bytes a second", crawling, 21}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLoopbackServer server([&](const std::string&) { return c.reply; }, 8, 30s);
        PointSubtitleHostAt(server);
        const CString media = Clip(std::string("clip") + std::to_string(c.seconds) + ".mp4", c.seconds);

        RequestPlay(media);
        ASSERT_TRUE(testsupport::RunLoopUntil([&] { return Playing(media); }, 4s));
        EXPECT_EQ(LookUp(), ESubtitleJobEnd::Running);
        EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strBlankScriptPath);

        EXPECT_TRUE(MessageComes("下载字幕文件失败！", 10s));
        EXPECT_TRUE(Playing(media));
        const size_t asked = server.requests().size();
        EXPECT_GE(asked, 1u);

        // Sequential play of the same file: no look-up, no wait.
        ASSERT_TRUE(testsupport::RunLoopUntil([] { return theApp.m_strPlaybackStarted == "true"; }, 4s));
        RequestPlay(media);
        EXPECT_EQ(testsupport::TakeMessage(), "没有匹配到字幕文件！");
        ASSERT_TRUE(testsupport::RunLoopUntil([&] { return Playing(media); }, 4s));
        testsupport::RunLoopFor(500ms);
        EXPECT_EQ(server.requests().size(), asked);
        Player().Stop();
    }
}

// The package comes after the lesson timer has run well past its own ticks:
// it is still put in, while the media plays on.
TEST_F(OnlineLessonTest, ALateLessonIsPutInWhileTheMediaPlays)
{
    const std::string package = LessonPackage();
    SReply late = Body(package);
    late.pieces = 2;
    late.pieceGap = 3s;
    CLoopbackServer server([&](const std::string&) { return late; }, 8, 30s);
    PointSubtitleHostAt(server);
    const CString media = Clip("late.mp4", 30);

    RequestPlay(media);
    // Twelve seconds of the lesson timer, at once.
    for (int tick = 0; tick < 12 && frame->IsTimerRunning(CMainFrame::kTimerLessonOpen); ++tick)
        frame->OnTimer(CMainFrame::kTimerLessonOpen);
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return Playing(media); }, 4s));
    EXPECT_EQ(theApp.m_nSentenceCount, 0);

    ASSERT_TRUE(testsupport::RunLoopUntil([] { return theApp.m_nSentenceCount == 2; }, 10s));
    EXPECT_EQ(theApp.m_strScriptPath, theApp.m_strTmpScriptPath);
    EXPECT_EQ(theApp.m_bScriptLoaded, 1);
    EXPECT_TRUE(Playing(media));
    EXPECT_TRUE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, theApp.m_strMediaSha1));
    Player().Stop();
}

// A package whose directory lists one 64 MiB member 150 times with a wrong
// CRC: downloading and unpacking it through the look-up leaves the window's
// timers on time, ends within a second, and keeps nothing.
TEST_F(OnlineLessonTest, AHostilePackageNeverStopsTheWindow)
{
    const std::string hostile = testzip::OverlappingEntriesPackage(150);
    CLoopbackServer server([&](const std::string&) { return Body(hostile); }, 8, 30s);
    PointSubtitleHostAt(server);
    const CString media = Clip("hostile.mp4", 10);

    // A 20 ms timer of the test: the longest time between two of its ticks
    // is how long the window stopped answering.
    wxTimer beat;
    Clock::time_point last = Clock::now();
    Clock::duration longestGap {};
    beat.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });

    // The frame's own start-up step, done before the measurement.
    if (frame->IsTimerRunning(CMainFrame::kTimerDelayedStartup))
        frame->OnTimer(CMainFrame::kTimerDelayedStartup);
    testsupport::RunLoopFor(300ms);
    KeepMessagesForTheTest();

    const Clock::time_point start = Clock::now();
    RequestPlay(media);
    // The media is opened after the package's end, so the gap measured is
    // the package's alone (opening a media takes the window a moment).
    ASSERT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerLessonOpen));
    frame->KillTimer(CMainFrame::kTimerLessonOpen);
    last = Clock::now();
    beat.Start(20);
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return LookUp() == ESubtitleJobEnd::Failed; }, 5s));
    const Clock::duration took = Clock::now() - start;
    // A stop of the window shows at the beat after it.
    testsupport::RunLoopFor(100ms);
    beat.Stop();
    EXPECT_LT(took, 1s);
    EXPECT_LT(longestGap, 200ms);
    EXPECT_EQ(testsupport::TakeMessage(), "字幕库文件已经破损!");
    EXPECT_FALSE(IsInSubtitleLibrary(theApp.m_strSubtitleDir, theApp.m_strMediaSha1));
    frame->OnTimer(CMainFrame::kTimerLessonOpen);
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return Playing(media); }, 4s));
    Player().Stop();
}

// Packages a hostile host could have planted in the store under a media's
// digest. Opening that media reads the store off the interface thread, and
// a lesson package holds a handful of members, so none of them stops the
// window; each is removed from the store and the host asked again, whose
// lesson then comes. No message names the program's staging files.
TEST_F(OnlineLessonTest, AStoredHostilePackageStopsNoWindowAndIsReplaced)
{
    const std::string lesson = testzip::LessonBytes("from the host");
    const std::string fresh = testzip::WriterPackage({{"lesson.script", lesson}});
    CLoopbackServer server([&](const std::string&) { return Body(fresh); }, 16, 60s);
    PointSubtitleHostAt(server);
    struct Case {
        const char* what;
        std::string package;
        int seconds;   // of the clip, which gives it a digest of its own
    };
    const Case cases[] = {
        {"zip64, 250,000 entries over one 64 MiB member",
         testzip::RepeatedEntriesPackage({{"a", std::string(static_cast<size_t>(kZipMaxMemberBytes), 'a')}}, 250'000,
                                         true),
         11},
        {"zip64, 250,000 broken entries, then a good lesson",
         testzip::RepeatedEntriesPackage({{"b", "broken"}, {"lesson.script", testzip::LessonBytes("planted")}},
                                         250'000, true),
         12},
        {"60,000 entries of a picture", testzip::RepeatedEntriesPackage({{"c", "\x89PNG picture"}}, 60'000, false), 13},
    };
    if (frame->IsTimerRunning(CMainFrame::kTimerDelayedStartup))
        frame->OnTimer(CMainFrame::kTimerDelayedStartup);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CString media = Clip("stored" + std::to_string(c.seconds) + ".mp4", c.seconds);
        const CString digest =
            frame->m_fileSha1.GetFileSha1(media, theApp.m_strSha1TmpPath, theApp.m_strSha1TmpPath2);
        ASSERT_FALSE(digest.IsEmpty());
        program.write("planted.zip", c.package);
        ASSERT_TRUE(StoreSubtitlePackage(theApp.m_strSubtitleStorePath, digest, program.ansi() + "planted.zip"));
        testsupport::RunLoopFor(300ms);
        KeepMessagesForTheTest();
        testsupport::TakeMessage();

        // A 20 ms timer of the test: the longest time between two of its
        // ticks is how long the window stopped answering.
        wxTimer beat;
        Clock::time_point last = Clock::now();
        Clock::duration longestGap {};
        beat.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            const Clock::time_point now = Clock::now();
            longestGap = std::max(longestGap, now - last);
            last = now;
        });
        beat.Start(20);
        testsupport::RunLoopFor(100ms);
        RequestPlay(media);
        // The media is opened once the look-up has ended, so the gap is the
        // package's alone (opening a media takes the window a moment).
        frame->KillTimer(CMainFrame::kTimerLessonOpen);
        ASSERT_TRUE(testsupport::RunLoopUntil([&] { return LookUp() == ESubtitleJobEnd::Fetched; }, 20s))
            << static_cast<int>(LookUp());
        testsupport::RunLoopFor(100ms);
        beat.Stop();
        std::printf("longest stop of the window, %s: %lld ms\n", c.what,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(longestGap).count()));
        EXPECT_LT(longestGap, 200ms);

        frame->OnTimer(CMainFrame::kTimerLessonOpen);
        ASSERT_TRUE(testsupport::RunLoopUntil([] { return theApp.m_nSentenceCount == 1; }, 6s));
        EXPECT_EQ(testzip::FirstSentence(theApp.m_strScriptPath), "from the host");
        for (CString message = testsupport::TakeMessage(); !message.IsEmpty(); message = testsupport::TakeMessage()) {
            EXPECT_LT(message.Find("AppData"), 0) << message.str();
            EXPECT_LT(message.Find("tmpscript"), 0) << message.str();
        }
        Player().Stop();
    }
}

} // namespace
