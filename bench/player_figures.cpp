// Figures of the player dialog: time from open to playing, memory of one
// playing facade, and the CPU that the dialog's timers cost while playback is
// paused. Printed, not checked; scripts/bench runs it under Xvfb.
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "playback/playerdlg.h"
#include "core/quenlow.h"
#include "tests/playback/mediafixtures.h"
#include "tests/testsupport.h"

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::PumpUntil;

using testsupport::CpuSeconds;
using testsupport::ResidentKiB;

namespace {

TEST(PlayerFigures, PlayerDialog)
{
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::X11);
    GetMedia();
    theApp.m_nScreenWidth = 1280;
    theApp.m_nScreenHeight = 800;
    auto* host = new wxFrame(nullptr, wxID_ANY, "figures", wxPoint(0, 0), wxSize(640, 480));
    host->Show();
    PumpUntil([] { return false; }, 200ms);
    const long rssBefore = ResidentKiB();
    auto* dlg = new CPlayerDlg;
    ASSERT_TRUE(dlg->Create(host));
    wxEvtHandler sink;
    dlg->SetCommandTarget(&sink);
    host->SetClientSize(640, 480);
    dlg->SetSize(host->GetClientSize());
    PumpUntil([] { return false; }, 200ms);

    const auto opened = std::chrono::steady_clock::now();
    dlg->OpenMedia(GetMedia().clip.c_str());
    dlg->m_player->Play();
    ASSERT_TRUE(PumpUntil([&] { return dlg->m_player->GetState() == 3; }, 5s));
    const double openMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - opened).count();
    PumpUntil([] { return false; }, 1s);
    const long rssPlaying = ResidentKiB();
    dlg->m_player->Pause();
    PumpUntil([&] { return dlg->m_player->GetState() == 4; }, 3s);
    PumpUntil([] { return false; }, 500ms);

    // Paused, with the dialog's timers running, then with them stopped.
    double start = CpuSeconds();
    PumpUntil([] { return false; }, 10s);
    const double withTimers = CpuSeconds() - start;
    dlg->GetTimers().KillAll();
    start = CpuSeconds();
    PumpUntil([] { return false; }, 10s);
    const double withoutTimers = CpuSeconds() - start;

    // The three once-a-second ticks themselves, many times over.
    start = CpuSeconds();
    for (int i = 0; i < 1000; ++i)
        for (int id : {CPlayerDlg::kTimerBarCountdown, CPlayerDlg::kTimerMouseWatch, CPlayerDlg::kTimerRefresh})
            dlg->OnTimer(id);
    const double perSecondUs = (CpuSeconds() - start) / 1000 * 1e6;

    std::printf("open to playing: %.0f ms; resident memory +%ld KiB (dialog and playing facade)\n", openMs,
                rssPlaying - rssBefore);
    std::printf("paused 10 s: CPU %.0f ms with the timers, %.0f ms without; one second of ticks: %.1f us\n",
                withTimers * 1000, withoutTimers * 1000, perSecondUs);
    dlg->m_player->SetSpu(-1);
    PumpUntil([] { return false; }, 150ms);
    host->Destroy();
    PumpUntil([] { return false; }, 50ms);
}

} // namespace
