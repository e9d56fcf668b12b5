// The main frame's side of the exchange with the downloader program.
//
// Downloads are made by a separate program in the "Downloader" folder. The
// player talks to it through two command files below
// "AppData/CommandExchange/": "Player2Downloader/command.data" carries one
// command to the downloader, and the empty "commandcopy.data" beside it says
// that the command file is complete. The downloader takes the command and
// deletes both files; only then is the next command written. In the other
// direction the downloader may leave "Downloader2Player/command.data", which
// the player takes away unread.
//
// This class holds the outgoing queue and performs every file step; it owns
// no window and no timer. The frame calls it from its timers:
//   timer 1300 (every second): ReadDownloaderCommand() first in the tick,
//                              HandOver() last in the tick;
//   timer 900 (start-up):      BeginReplacement() (start timer 3200 with
//                              kDownloaderReplaceDelayMs when it returns true),
//                              then CleanUpExchangeFiles();
//   timer 3200 (one-shot):     FinishReplacement().
// Commands are queued with SendCommand() from anywhere on the user-interface
// thread.
#pragma once

#include <functional>

#include "platform/cstring.h"

class CQuenlowApp;
extern CQuenlowApp theApp;

// The commands the downloader accepts (each keyword is followed by its blanks).
constexpr const char* kCmdStopAllDownloadTask = "StopAllDownloadTask: ";
constexpr const char* kCmdShowDownloader = "ShowHalvikSoftDownloader: ";
constexpr const char* kCmdRestartDownloader = "RestartHalvikSoftDownloader: ";
constexpr const char* kCmdDeleteDownloaderTask = "Delete0N1DownloaderTask: ";
constexpr const char* kCmdUpdate = "HalvikSoftUpdate: ";
// Download-and-play: keyword, address, download folder and target file name,
// separated by four blanks (see ComposeDlAndPlayCommand).
constexpr const char* kCmdDlAndPlayKeyword = "HalvikSoftDlAndPlay:";
constexpr const char* kDlAndPlayTargetName = "halviksoft.mp4";

// Timer 3200 replaces the downloader this long after timer 900 stopped it.
constexpr int kDownloaderReplaceTimer = 3200;
constexpr int kDownloaderReplaceDelayMs = 6000;

// "HalvikSoftDlAndPlay:    <address>    <folder>    halviksoft.mp4".
CString ComposeDlAndPlayCommand(const CString& address, const CString& downloadFolder);

class CDownloaderExchange {
public:
    // Works on the paths of `app` (m_strDownloaderPath, the four exchange
    // paths) and reports failures in its show-message slot.
    explicit CDownloaderExchange(CQuenlowApp& app = theApp);

    // ---- Seams for the process layer (tests put stand-ins here) ----
    // Whether the downloader of this program folder (the program file
    // m_strDownloaderPath) runs; a downloader of another folder does not count.
    std::function<bool()> isDownloaderRunning;
    // Whether another instance of this program runs.
    std::function<bool()> isAnotherInstanceRunning;
    // Starts the program hidden and detached; false when it could not start.
    std::function<bool(const CString& program)> startProgram;
    // Ends this program folder's downloader (no other process is signalled).
    std::function<void()> stopDownloader;
    // Renames a file over another in one step (MoveFile).
    std::function<bool(const CString& from, const CString& to)> renameFile;

    // Makes sure the downloader runs, then queues the command. When no
    // downloader runs, a command pair still waiting in the outbox belongs to a
    // downloader that is gone: it is deleted before the program is started.
    // When the program file is missing or cannot be started, an error goes
    // to the show-message slot (a missing program once, until it appears),
    // nothing is queued and false is returned, so the caller can stop
    // waiting for a download that will never come.
    bool SendCommand(const CString& command);
    // Starts the downloader when it does not run; false, with the error in
    // the show-message slot, when it cannot be started.
    bool EnsureDownloaderRuns();

    // Timer 1300, first step: takes the downloader's own command file away
    // (its first line is kept in InboxLine()). True when a file was taken;
    // anything but a small regular file is left unread (see exchangefile.h).
    bool ReadDownloaderCommand();

    // Timer 1300, last step: when the outbox is free (neither file present),
    // writes the first queued command into "command.data" and then the marker.
    // After the last command has gone, one empty command is written and the
    // queue is emptied. A command that cannot be written stays first in the
    // queue and is tried again next second (the failure is reported once).
    // True when a command pair was written.
    bool HandOver();
    // Whether the command is still on its way: queued, or written to the
    // outbox and not yet taken by the downloader.
    bool IsWaiting(const CString& command) const;

    // Timer 900: when a newer downloader copy waits at newDownloaderPath, stops
    // the running downloader; true means "start timer 3200".
    bool BeginReplacement(const CString& newDownloaderPath);
    // Timer 3200: renames the newer copy over the downloader in one step. On
    // failure the old program stays in place and false is returned.
    bool FinishReplacement(const CString& newDownloaderPath);

    // Timer 900, last step: deletes the first-start marker and the exchange
    // files left from the previous run, where they exist. While another
    // instance of the program runs the exchange files are its own (a command
    // it has not handed over yet) and stay.
    void CleanUpExchangeFiles(const CString& firstStartPath);

    // Empties the queue (the frame does so when it sets up its paths).
    void ClearQueue() { m_arrQueue.RemoveAll(); }

    // Handed-over entries are kept as empty texts until the queue drains.
    const CStringArray& Queue() const { return m_arrQueue; }
    // The text last written to (or being written to) the outbox.
    const CString& OutboxCommand() const { return m_strOutboxCommand; }
    // The first line of the last command file taken from the downloader.
    const CString& InboxLine() const { return m_strInboxLine; }

private:
    bool WriteOutboxPair(const CString& command);

    CQuenlowApp& m_app;
    CStringArray m_arrQueue;
    CString m_strOutboxCommand;
    CString m_strInboxLine;
    bool m_bWriteFailureShown = false;
    bool m_bMissingShown = false;   // the missing program was reported
};
