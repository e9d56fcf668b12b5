// The main frame's timers. Each is a plain step keyed by its id, so tests
// drive them tick by tick.

#include "catalogue/playlistpane.h"
#include "frame/mainfrm.h"
#include "ui/mycaptionbar.h"
#include "core/quenlow.h"
#include "frame/ribbonstatusbar.h"

void CMainFrame::OnTimer(int id)
{
    switch (id) {
    case kTimerSecondWork:
        // Downloader inbox, mailboxes, progress, messages, top-most, the
        // compact player's pane, the stall watch, the downloader outbox.
        OnSecondWorkTick();
        break;
    case kTimerMessageSlot: {
        int kind = 0;
        int seconds = 0;
        CString text;
        if (theApp.TakeMessage(kind, text, seconds))
            ShowCaptionMessage(kind, text, seconds);
        else
            ShowHeldCaptionMessage();
        break;
    }
    case kTimerCaptionCountdown:
        // A message of n seconds stays n full ticks: the tick that counts
        // down to 0 leaves it up, the next one hides it.
        if (theApp.m_nCaptionCountdown > 0)
            --theApp.m_nCaptionCountdown;
        else
            ShowCaptionBar(false);
        break;
    case kTimerDelayedStartup:
        // One second after creation: the playlist pane, the volume, the
        // desktop shortcut, the downloader's replacement, the update server.
        OnDelayedStartupTick();
        break;
    case kTimerTreeRefresh:
        KillTimer(kTimerTreeRefresh);
        RefreshLocalMediaTree();
        break;

    // ---- Timers of the frame commands, mailboxes and update check ----
    case kTimerSearchBox:
        OnSearchBoxTick();
        break;
    case kTimerUpdateCheck:
        OnUpdateCheckTick();
        break;
    case kTimerUpdateDownloadWatch:
        OnUpdateDownloadWatchTick();
        break;
    case kTimerSubtitlePackageWait:
        OnSubtitlePackageWaitTick();
        break;
    case kTimerDownloaderReplace:
        KillTimer(kTimerDownloaderReplace);
        m_downloaderExchange.FinishReplacement(m_strNewDownloaderPath);
        break;
    case kTimerBatchSubtitleStep:
        OnBatchSubtitleStepTick();
        break;
    case kTimerBatchSubtitleWait:
        OnBatchSubtitleWaitTick();
        break;
    case kTimerShowPlayerPane:
        KillTimer(kTimerShowPlayerPane);
        OnStatusbarProgressPane();
        break;
    case kTimerSubtitleOffset:
        OnSubtitleOffsetTick();
        break;

    // ---- Lesson opening, playback and the download watches ----
    // (mainfrm_transport.cpp).
    case kTimerAssFiles:
    case kTimerTimeDisplay:
    case kTimerSubtitleSoon:
    case kTimerSubtitleToPlayer:
    case kTimerPlaybackBegun:
    case kTimerLessonOpen:
    case kTimerDlAndPlayWatch:
    case kTimerBufferingWait:
    case kTimerRestartRearm:
    case kTimerSecondDelete:
    case kTimerReopenWait:
        OnTransportTimer(id);
        break;
    default:
        break;
    }
}
