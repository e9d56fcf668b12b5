// Download progress and the watches of a network file that plays while the
// downloader is still fetching it.
//
// The downloader reports each task in a small text file named
// "<number>.data" in "AppData/DataExchange/DownloaderData/", one value per
// line. Once a second the oldest such file is read (only when a newer one
// exists, since the newest may still be being written), its figures go to the
// application object and the status bar, and it is deleted.
//
// Around the reading stand the watches. The class owns no window, player or
// timer: it reaches them through the std::function seams below, which the
// frame connects and tests replace. The frame calls it from its timers:
//   "HalvikSoftDlAndPlay:" keyword: BeginDlAndPlay(command)  (starts 1400)
//   timer 1300, step 3:  ReadDownloadProgress()
//   timer 1300, step 7:  OnStallTick()         (may start 1500)
//   timer 300,  step 3:  OnCatchUpTick()       (may start 1500)
//   timer 1400:          OnDlAndPlayTick()     download-and-play watch
//   timer 1500:          OnBufferingTick()     buffering wait
//   timer 1600:          OnRestartRearmTick()  allow the next restart
//   timer 1700:          OnSecondDeleteTick()  second task-delete command
//   timer 1450:          OnReopenTick()        a file the engine cannot open yet
#pragma once

#include <cstdint>
#include <functional>

#include "platform/cstring.h"
#include "core/commandids.h"
#include "core/progressfileformat.h"

class CQuenlowApp;
extern CQuenlowApp theApp;

// Timer ids of the watches (timers of the main frame).
enum EDownloadWatchTimer {
    kDlTimerDlAndPlayWatch = 1400,
    kDlTimerBufferingWait = 1500,
    kDlTimerRestartRearm = 1600,
    kDlTimerSecondDelete = 1700,
    kDlTimerReopenWait = 1450,
};

class CDownloadProgress {
public:
    explicit CDownloadProgress(CQuenlowApp& app = theApp);

    // ---- Seams (a missing one acts as "nothing happens" / 0 / false) ----
    // The main player.
    std::function<int64_t()> playerTime;          // ms
    std::function<int64_t()> playerLength;        // ms
    std::function<int()> playerState;             // 3 = playing
    std::function<void()> pausePlayer;
    std::function<bool()> isPlayerFullscreen;
    // The frame's transport operations: stop (OnStop) and reopen, play and
    // seek to theApp.m_nResumeTime (PlayFromResumeTime).
    std::function<void()> stopPlayback;
    std::function<void()> playFromResumeTime;
    // Moves the mouse cursor down, so a hidden full-screen control bar shows.
    std::function<void(int pixels)> moveCursorDown;
    // The frame's timers.
    std::function<void(int id, int milliseconds)> setTimer;
    std::function<void(int id)> killTimer;
    // Queues a downloader command (CDownloaderExchange::SendCommand); false
    // when the downloader cannot run.
    std::function<bool(const CString& command)> sendCommand;
    // Shows a text in a status-bar element and redraws it.
    std::function<void(int element, const CString& text)> showStatus;
    // Whether the download-and-play command is still on its way to the
    // downloader (queued or in the outbox).
    std::function<bool()> dlAndPlayCommandWaiting;
    // Opens the media again, plays it from theApp.m_nResumeTime and checks
    // that it starts (a refusal comes back to WaitToReopen).
    std::function<void()> reopenMedia;

    // The oldest progress file when at least two exist, else "".
    CString FindProgressFile() const;
    // Timer 1300: one reading of the downloader's progress.
    void ReadDownloadProgress();

    // Starts a download-and-play (the "HalvikSoftDlAndPlay:" keyword): asks
    // the downloader to stop its tasks, sends the composed command and starts
    // the watch. When the downloader cannot run, the request is abandoned
    // (player state "stopped") and false is returned.
    bool BeginDlAndPlay(const CString& dlAndPlayCommand);
    // Timer 1400: recognises the new task, shows how much of the start has
    // arrived and asks for playback once one fiftieth of the file is there.
    void OnDlAndPlayTick();

    // Puts the player into the buffering state (paused, "正在缓冲...").
    void EnterBuffering();
    // The amount that counts as a full buffer for the stall watch.
    uint64_t GetBufferBytes() const;
    // Whether playback at time t (ms) is covered by the downloaded part.
    bool IsDownloadedUpTo(int64_t t) const;

    // Timer 1300: pauses a network file after ten seconds without progress.
    void OnStallTick();
    // Timer 300: pauses a network file whose playback caught up with the download.
    void OnCatchUpTick();
    // Timer 1500: shows the buffering percentage, asks the downloader to
    // restart (at most once per re-arm), resumes when the buffer is full.
    void OnBufferingTick();
    // Timer 1600 (one-shot): the next downloader restart may be sent.
    void OnRestartRearmTick();
    // Timer 1700 (one-shot): sends the task-delete command a second time.
    void OnSecondDeleteTick();

    // The engine refused the file being downloaded (an MP4 whose index is at
    // its end cannot start before the whole file is there). While the
    // download goes on that is no failure: the player waits with "正在缓冲..."
    // beside the download's percentage (timer 1450), and the file is opened
    // again after each further tenth (a few times at most) and once it is
    // whole. False when the file is no download in progress, or the whole
    // file was refused too: then the refusal is real.
    bool WaitToReopen();
    // Timer 1450: the wait of WaitToReopen.
    void OnReopenTick();
    // Playback of a file still being downloaded reached the end of what has
    // arrived at time t (ms): instead of ending, the player waits for more
    // (buffering) and goes on from t; a download that broke for good leaves
    // it paused there. False when the file is whole (a real end).
    bool WaitAtDownloadedEnd(int64_t t);
    // Every announced byte of the download-and-play file has arrived.
    bool IsDownloadComplete() const;

    // ---- State (frame members of the download watches) ----
    CString m_strProgressFilePath;     // the file chosen by the last reading
    CString m_strStaleTaskTag;         // the task read last before a new request
    CString m_strWatchedTaskTag;       // the task the watch took over
    bool m_bDownloadBroken = false;    // the watched task ended short (reported)
    int m_nReopenTries = 0;            // reopenings before the file was whole
    bool m_bReopenedWhole = false;     // the whole file was opened again
    uint64_t m_nReopenAtBytes = 0;     // the next reopening waits for this much
    CStringArray m_arrProgressLines;   // trimmed lines of the file being read
    CString m_strDownloadStatus;       // the status-bar download text
    int m_nIdleProgressTicks = 0;      // consecutive readings with an idle task
    CString m_strTaskTarget;           // line 0: the task's target file
    int m_nTaskActivity = 0;           // line 8: 0 means idle
    CString m_strTaskTag;              // line 9: names the task
    uint64_t m_nDownloadedBytes = 0;   // lines 10 and on: downloaded prefix
    CString m_strAcceptedTaskTag;      // task whose playback was last started
    bool m_bNetTaskAccepted = false;   // the watch has taken over the current task
    bool m_bAwaitingTask = false;      // a download-and-play was asked for and has not begun
    uint64_t m_nBufferBytes = 0;
    int m_nBufferPercent = 0;
    int m_nStallTicks = 0;
    int64_t m_nLastPlayTime = 0;
    uint64_t m_nStallDownloaded = 0;

private:
    void ShowDownloadStatus(const CString& text);
    void ShowPlayState(const CString& text);
    void StartBufferingWait();
    bool Send(const CString& command);
    void AbandonNetFile();
    void LeaveUnfinishedNetFile();
    bool IsDownloadTarget(const CString& mediaPath) const;
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    int64_t PlayerTime() const { return playerTime ? playerTime() : 0; }

    CQuenlowApp& m_app;
};
