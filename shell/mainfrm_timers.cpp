// The main frame's timers. Each is a plain step keyed by its id, so tests
// drive them tick by tick.

#include "catalogue/playlistpane.h"
#include "shell/mainfrm.h"
#include "shell/mycaptionbar.h"
#include "shell/quenlow.h"
#include "shell/ribbonstatusbar.h"

void CMainFrame::OnTimer(int id)
{
    switch (id) {
    case kTimerMessageSlot:
    case kTimerSecondWork: {
        int kind = 0;
        int seconds = 0;
        CString text;
        if (theApp.TakeMessage(kind, text, seconds))
            ShowCaptionMessage(kind, text, seconds);
        break;
    }
    case kTimerCaptionCountdown:
        if (theApp.m_nCaptionCountdown > 0)
            --theApp.m_nCaptionCountdown;
        if (theApp.m_nCaptionCountdown <= 0)
            ShowCaptionBar(false);
        break;
    case kTimerDelayedStartup:
        // One second after creation: the playlist pane comes up docked and
        // the volume slider shows the stored volume.
        KillTimer(kTimerDelayedStartup);
        ShowPane(m_wndPlayListPane, true);
        DockPane(m_wndPlayListPane);
        m_pVolumeSlider->SetPos(theApp.m_nVolume);
        theApp.m_strStartupDone = "true";
        break;
    case kTimerTreeRefresh:
        KillTimer(kTimerTreeRefresh);
        break;
    default:
        break;
    }
}
