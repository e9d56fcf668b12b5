// Figures of one playing facade: start-up time, memory and CPU while paused.
// Printed, not checked; scripts/bench runs it under Xvfb.
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <vlc/vlc.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include "playback/videowindow.h"
#include "playback/vlcplayer.h"
#include "tests/playback/mediafixtures.h"
#include "tests/testsupport.h"

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::PumpUntil;

using testsupport::CpuSeconds;
using testsupport::ResidentKiB;

namespace {

void Measure(const char* name, mediafixtures::Outputs outputs, unsigned long xWindow)
{
    mediafixtures::EngineFolderScope folder(outputs);
    std::vector<double> startMs;
    std::vector<double> openMs;
    long rssBefore = 0, rssPlaying = 0;
    for (int run = 0; run < 5; ++run) {
        if (run == 0)
            rssBefore = ResidentKiB();
        const auto created = std::chrono::steady_clock::now();
        CVlcPlayer player;
        const auto opened = std::chrono::steady_clock::now();
        if (xWindow)
            player.SetHwnd(xWindow);
        player.OpenFile(GetMedia().clip.c_str());
        player.Play();
        PumpUntil([&] { return player.GetState() == 3; }, 5s);
        const auto playing = std::chrono::steady_clock::now();
        startMs.push_back(std::chrono::duration<double, std::milli>(opened - created).count());
        openMs.push_back(std::chrono::duration<double, std::milli>(playing - opened).count());
        if (run == 0) {
            PumpUntil([] { return false; }, 1s);
            rssPlaying = ResidentKiB();
            player.Pause();
            PumpUntil([&] { return player.GetState() == 4; }, 3s);
            const double cpuBefore = CpuSeconds();
            PumpUntil([] { return false; }, 5s);
            const double cpuPaused = CpuSeconds() - cpuBefore;
            std::printf("%s: resident memory %ld KiB before, %ld KiB playing (+%ld KiB); CPU while paused 5 s: %.0f ms\n",
                        name, rssBefore, rssPlaying, rssPlaying - rssBefore, cpuPaused * 1000);
        }
        // Subtitles off before the player goes: a stop while the engine
        // holds an undrawn subtitle waits 6 s for the video output.
        player.SetSpu(-1);
        PumpUntil([] { return false; }, 150ms);
    }
    const double firstStart = startMs[0], firstOpen = openMs[0];
    std::sort(startMs.begin(), startMs.end());
    std::sort(openMs.begin(), openMs.end());
    std::printf("%s: engine creation first %.1f ms, median %.1f ms; OpenFile to playing first %.1f ms, median %.1f ms, "
                "max %.1f ms\n",
                name, firstStart, startMs[2], firstOpen, openMs[2], openMs[4]);
}

TEST(PlaybackFigures, OnePlayingFacade)
{
    GetMedia();
    const double idleBefore = CpuSeconds();
    PumpUntil([] { return false; }, 5s);
    std::printf("no player: CPU of the waiting loop itself in 5 s: %.0f ms\n", (CpuSeconds() - idleBefore) * 1000);
    Measure("dummy outputs", mediafixtures::Outputs::Dummy, 0);

    auto* frame = new wxFrame(nullptr, wxID_ANY, "figures", wxPoint(0, 0), wxSize(640, 480));
    auto* panel = new wxPanel(frame);
    frame->Show();
    {
        CVideoWindow video;
        ASSERT_TRUE(video.Create(panel));
        PumpUntil([] { return false; }, 200ms);
        Measure("plain X11 video output in a panel", mediafixtures::Outputs::X11, video.GetXWindow());
        Measure("engine's own video output (OpenGL) in a panel", mediafixtures::Outputs::AnyVideo, video.GetXWindow());
    }
    frame->Destroy();
}

} // namespace
