// Figures of the main frame's timers: the CPU they take while the program is
// idle, and the CPU that the frame's and the lesson view's timers take while
// a lesson plays (10 s with them running against 10 s with them stopped).
// Printed, not checked; scripts/bench runs it under Xvfb.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/timer.h>

#include "lesson/quenlowview.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "playback/vlcplayer.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/mainfrm.h"
#include "tests/lessonmedia.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;
using testsupport::MakeClip;
using testsupport::MakeLesson;
using testsupport::PumpUntil;

double CpuMs() { return testsupport::CpuSeconds() * 1000.0; }

// Runs the event loop for 10 s; returns the CPU milliseconds and prints them.
double RunLoopFor10s(const char* name)
{
    const double before = CpuMs();
    const auto start = std::chrono::steady_clock::now();
    wxEventLoop loop;
    wxTimer stop;
    stop.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { loop.Exit(); });
    stop.StartOnce(10000);
    loop.Run();
    const double used = CpuMs() - before;
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %.1f ms CPU over %.0f ms (%.2f %% of one core)\n", name, used, wall, 100.0 * used / wall);
    return used;
}

// The playing-frame fixture with the frame's one-time start-up work done
// before anything is measured.
class FrameTimerFigures : public testsupport::PlayingFrameTest {
protected:
    void SetUp() override
    {
        PlayingFrameTest::SetUp();
        if (HasFatalFailure())
            return;
        frame->OnTimer(CMainFrame::kTimerDelayedStartup);
        PumpUntil([&] { return !frame->m_bUpdateHostPending; }, 20s);
    }
};

TEST_F(FrameTimerFigures, IdleTimerCpu)
{
    RunLoopFor10s("idle timers");
}

TEST_F(FrameTimerFigures, TimerCpuWhileALessonPlays)
{
    const std::string mediaFs = program.path() + "lesson.mp4";
    MakeClip(mediaFs, 15);
    MakeLesson(program.ansi() + "lesson.script");
    theApp.m_arrPlayList.RemoveAll();
    theApp.m_arrPlayList.Add(FromFsPath(mediaFs));
    theApp.m_nPlayIndex = 0;
    frame->DispatchCommand("HalvikSoftPlayerPlayLocalFile:");
    // kTimerLessonOpen opens the lesson and the media.
    ASSERT_TRUE(frame->IsTimerRunning(CMainFrame::kTimerLessonOpen));
    frame->OnTimer(CMainFrame::kTimerLessonOpen);
    ASSERT_TRUE(PumpUntil([&] { return Player().GetState() == 3; }, 10s)) << Player().GetState();
    auto* view = dynamic_cast<CQuenlowView*>(frame->FindView(kViewLesson));
    ASSERT_NE(view, nullptr);

    const auto measure = [&](const char* name) {
        Player().Seek(0);
        const double used = RunLoopFor10s(name);
        std::printf("  player state %d at %lld ms\n", Player().GetState(), static_cast<long long>(Player().GetTime()));
        EXPECT_EQ(Player().GetState(), 3) << name;
        return used;
    };
    const double withTimers = measure("lesson playing, frame and view timers running");
    // Every timer id of the frame (CMainFrame::EMainFrameTimer) is a multiple
    // of 100 below 10000.
    for (int id = 100; id < 10000; id += 100)
        frame->KillTimer(id);
    view->m_timers.KillAll();
    const double without = measure("lesson playing, frame and view timers stopped");
    std::printf("frame and view timers: %.1f ms CPU per 10 s (%.2f %% of one core)\n", withTimers - without,
                (withTimers - without) / 100.0);
    Player().Stop();
}

} // namespace
