// The program's one main window: the ribbon, the status bar with the player
// controls, the caption bar for short messages, four dockable panes and the
// central view that follows the ribbon category.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/treebase.h>

#include "online/core/filesha1.h"
#include "platform/cstring.h"
#include "platform/wintypes.h"
#include "core/commandids.h"
#include "core/downloaderexchange.h"
#include "core/downloadprogress.h"
#include "core/playbackwatch.h"
#include "core/talkdownloadwatch.h"
#include "frame/panemanager.h"
#include "ui/frameworker.h"
#include "ui/mainframehost.h"
#include "ui/windowtimers.h"

class CDetailWordPane;
class CInputNetAdressDlg;
class CLocalViewTree;
class CMainRibbon;
class CMyCaptionBar;
class CPlayFromPanPane;
class CPlayListPane;
class CPlayerCommandEvent;
class CPlayerPane;
class CRibbonSlider;
class CRibbonStatusBar;
class CSearchDlg;
class CSpeechFormView;
class CUpdateDlg;
class CView;
class CVlcPlayer;
class CDockablePane;
class CQuenlowDoc;
class wxRibbonBarEvent;
class wxKeyEvent;

// Child ids of the central views.
enum ECentralViewId {
    kViewLesson = 501,
    kViewWordBook = 378,
    kViewSpeech = 417,
    kViewHelp = 424,
    kViewBilingual = 374,
    kViewDictionaryForm = 422,
    kViewWebPage = 503,
    // kViewEmptyHelp and kViewEmptyEscapeDuty: core/commandids.h.
};

class CMainFrame : public wxFrame, public IMainFrameHost {
public:
    // The frame's timers; OnTimer (mainfrm_timers.cpp) runs each one's step
    // and names every id in its switch, so no two timers can share an id.
    enum EMainFrameTimer {
        // Start-up, the second's work, messages, the media tree.
        kTimerDelayedStartup = 900,
        kTimerSecondWork = 1300,
        kTimerCaptionCountdown = 2400,
        kTimerTreeRefresh = 2500,
        kTimerMessageSlot = 5000,
        // Lesson opening and playback (mainfrm_transport.cpp).
        kTimerAssFiles = 200,           // subtitle files for the video
        kTimerTimeDisplay = 300,
        kTimerSubtitleSoon = 400,       // hands over to kTimerSubtitleToPlayer
        kTimerSubtitleToPlayer = 500,   // subtitle file and audio track to the player
        kTimerPlaybackBegun = 600,
        kTimerLessonOpen = 2300,
        // Frame commands, mailboxes and the update check (mainfrm_work.cpp,
        // mainfrm_framecommands.cpp).
        kTimerSearchBox = 700,
        kTimerUpdateCheck = 1800,
        kTimerUpdateDownloadWatch = 1900,   // until the downloader tells how the update went
        kTimerSubtitlePackageWait = 2600,
        kTimerBatchSubtitleStep = 3300,
        kTimerBatchSubtitleWait = 3400,
        kTimerShowPlayerPane = 3500,
        kTimerSubtitleOffset = 6000,
        // Timers the frame runs for core objects, under their ids: the
        // download watches of m_downloadProgress and the downloader's
        // replacement.
        kTimerDlAndPlayWatch = kDlTimerDlAndPlayWatch,
        kTimerBufferingWait = kDlTimerBufferingWait,
        kTimerRestartRearm = kDlTimerRestartRearm,
        kTimerSecondDelete = kDlTimerSecondDelete,
        kTimerReopenWait = kDlTimerReopenWait,
        kTimerDownloaderReplace = kDownloaderReplaceTimer,
    };

    // programFolder: where the data tree lives; empty means the folder of the
    // running program (tests pass a temporary one).
    explicit CMainFrame(const CString& programFolder = CString());
    ~CMainFrame() override;

    // Creates the window and runs the whole start-up of the frame; false when
    // a part of the window could not be made.
    bool Create(CQuenlowDoc* document);

    // ---- What the subsystems' windows ask of the frame (mainfrm_host.cpp) ----
    wxEvtHandler* CommandTarget() override;
    CVlcPlayer* MainPlayer() override;
    void Play() override;
    void Pause() override;
    void HidePlayerPane() override;
    void ShowSentenceCounter() override;
    void OpenDroppedFiles(const std::vector<CString>& paths) override { OnDropFiles(paths); }
    bool IsDictionaryPaneVisible() override;
    void ShowDictionaryPane() override;
    void LookUpWordInPane(const CString& word) override;
    void ShowDictionaryPopup(const CString& address, int x, int y, int width, int height) override;
    using IMainFrameHost::ShowDictionaryPopup;
    void HideDictionaryPopup() override;
    void PrepareDictionaryPopup() override;
    bool IsInDictionaryPopup(int x, int y) override;
    void NavigateDictionaryPane(const CString& address) override;
    CString GetComboText(int commandId) override;
    void SetComboText(int commandId, const CString& text) override;
    bool ComboHasFocus(int commandId) override;
    bool ComboListHas(int commandId, const CString& text) override;
    COLORREF GetColorButtonColor(int commandId) override;
    void ApplyPlaylistColors() override;

    // ---- Creation and layout ----
    int OnCreate();
    bool CreateStatusBar();
    bool CreateCaptionBar();
    bool CreateDockingPanes();
    void GetProgramFolder();
    bool InitPaths();   // false when a window the frame needs cannot be created
    void LoadUiSettings();
    // The font combos and colour buttons show the lesson text's settings.
    void ShowTextSettingsOnRibbon();
    void SaveUiSettings();
    void OnApplicationLook(UINT id);
    void ApplyLookColors(UINT id);
    void UpdateTitle();
    // The size the window takes out of maximised when it has none of its own:
    // four fifths of the work area, centred in it.
    static wxRect RestoredRect(const wxRect& workArea);
    // Below this the window is not usable (the compact player's size).
    static wxSize SmallestUsableSize();
    // The window manager maximised (true) or restored (false) the window.
    void OnMaximizedChanged(bool maximized);
    // Whether the window is maximised; tests stand in for a window manager.
    std::function<bool()> m_fnIsMaximized;

    // ---- Messages in the caption bar ----
    // Shows one message; during full-screen video the latest one is held.
    void ShowCaptionMessage(int kind, const CString& text, int seconds);
    // The message held back by full-screen video, once the video has left it
    // (the message-slot timer asks every second).
    void ShowHeldCaptionMessage();
    void ShowCaptionBar(bool show);
    bool IsCaptionBarShown() const;

    // ---- Central views ----
    void SwitchView(int id);
    // Shows a central view (an ECentralViewId) and records it in
    // theApp.m_strActiveView under the name the views' own code reads.
    void ShowCentralView(int kind);
    // The kind of central view theApp.m_strActiveView records (0: another).
    int ActiveViewKind() const;
    // Command kCmdBilingualListView: the bilingual list in place of the
    // lesson text and back; usable while either is the central view and a
    // lesson has been shown.
    void OnBilingualView();
    bool CanShowBilingualList() const;
    void OnChangeRibbonCategory();
    // The per-media flags of a media about to open: the exercises and speech
    // practice prepare themselves again, and the learner's recordings are
    // kept only while the same media opens again.
    void NoteMediaOpening(const CString& mediaPath);
    // Speech practice for the lesson loaded: the practice text is built; the
    // recordings in the temporary folder are deleted when they were made
    // with another media (or are left from an earlier run).
    void PrepareSpeechPractice(CSpeechFormView& speech);
    void ResumeLessonAfterOtherView();
    void OnStatusbarProgressPane();
    bool IsRealLessonLoaded() const;
    int LessonPlayerPaneWidth() const;
    int DictionaryPaneWidth();
    // A window made narrow leaves the player pane at most half of it.
    void KeepLessonTextInSight();
    CView* GetActiveView() const { return m_pActiveView; }
    CView* FindView(int id) const;

    // The main lesson player (the player dialog's facade in the player pane).
    CVlcPlayer* GetMainPlayer() const;

    // ---- Lesson opening, transport and keyword commands ----
    // (mainfrm_transport.cpp, mainfrm_dispatch.cpp)
    // Timers of this group: kTimerAssFiles to kTimerLessonOpen and the
    // download watches of m_downloadProgress (EMainFrameTimer).
    void OnStop();
    // Empties the status bar's time and sentence counter and the progress
    // slider when the media playing goes for another one, so nothing of the
    // old lesson shows while the next opens or buffers.
    void ClearPlayPosition();
    void OnRestartDownloader();
    void PlayFromResumeTime();
    // The main player's time becomes the resume point; the media is reopened
    // and plays on from it.
    void OnReloadAndResume();
    // Opens a media file with the lesson beside it (the word book's play-talk).
    void PlayMediaWithScript(const CString& mediaPath) override;
    // kTimerLessonOpen's load of m_strScriptPath into the lesson view.
    void LoadPendingLesson();
    // Chooses the lesson for a media file (".script", ".srt", ".ass", ".lrc"
    // beside it, else the blank lesson) and starts kTimerLessonOpen.
    void FindSubtitleFile(const CString& mediaPath);
    // No lesson beside the media: the store's package of its digest, else
    // the subtitle host's (downloaded by the update dialog). The host is
    // asked once a run for a media: the media plays at once with the blank
    // lesson, and the lesson is put in when its package arrives.
    void FetchOnlineSubtitle();
    // An online lesson arrived for the media playing: it replaces the blank
    // lesson without stopping playback.
    void AdoptArrivedLesson();
    void ReplaySentence();
    void OnUseOnlineDict();
    void OnUseLocalDict();
    // Program text to UTF-8 for the media engine.
    CString ToUtf8(const CString& text) const;
    // "MM:SS" of a time; minutes are not wrapped into hours.
    static CString FormatPlayTime(int64_t ms);
    // Status element kStatusPlayStateElement and m_strPlayStateText.
    void SetPlayStateText(const CString& text);
    // Sets theApp.m_strPlayState; "OnPlay" wakes the lesson view's following.
    void SetPlayState(const char* state);
    // Queues a command for the downloader program (started when needed).
    bool SendDownloaderCommand(const CString& command);

    // The keyword dispatcher and the operations only it uses.
    void OnPlayerCommand(CPlayerCommandEvent& event);
    void DispatchCommand(const CString& keyword);
    void PlayPrevious();
    void PlayNext();
    // "HalvikSoftPlayerPlayLocalFile:"; false ends the dispatch.
    bool PlayLocalFile();
    void SetMiniStyle(bool compact);
    // Binds the keyword event and the transport commands (called by OnCreate).
    void BindTransportCommands();
    // One tick of a timer of this group; false for another id.
    bool OnTransportTimer(int id);
    void OnLessonOpenTick();
    void OnPlaybackBegunTick();
    void OnAssFilesTick();
    void OnSubtitleToPlayerTick();
    void OnTimeDisplayTick();
    // The status bar's play state and time of what the practice plays on the
    // main player (speech practice shows its clips there).
    void ShowPracticePlayback(CVlcPlayer& player);
    static constexpr int kPracticeStatusInterval = 250;
    // Starts the watch of a playback the window now shows as playing.
    void WatchPlaybackStart();
    // The time display's look at the engine (m_playbackWatch): a start that
    // never gets going or an engine error opens the media again once, then
    // ends in ReportUnplayable. True when the tick has nothing more to show.
    bool CheckPlayback(CVlcPlayer& player);
    // The engine cannot play the media: the player stops, its picture goes,
    // and the caption bar names the file.
    void ReportUnplayable();
    // kTimerLessonOpen's last step: the requested media opened, played and recorded.
    void OpenPendingMedia();
    // A lesson was opened and its playback has not begun yet (kTimerLessonOpen or
    // kTimerPlaybackBegun still waits); play requests are refused meanwhile.
    bool PlaybackStartPending() const;

    CString m_strRequestedFile;
    // The media the recordings in the temporary folder were made with;
    // empty when unknown or another media was opened since.
    CString m_strRecordingsMedia;
    // Gives the playing mark to `item` and its own image back to the item
    // that had it, and scrolls to it: only one item shows the mark.
    CView* m_pLessonView = nullptr;
    int m_nLessonOpenAttempts = 0;
    int m_nPlaybackWaitTicks = 0;     // kTimerPlaybackBegun ticks since the media was opened
    int64_t m_nStoredSeekTime = 0;    // where PlayFromResumeTime seeks when m_bSeekOnPlay is set
    CDownloaderExchange m_downloaderExchange;
    CDownloadProgress m_downloadProgress;
    CPlaybackWatch m_playbackWatch;
    CTalkDownloadWatch m_talkDownloads;

    // ---- Timers' work, mailboxes, frame commands, update check, keys, drops ----
    // (mainfrm_work.cpp, mainfrm_framecommands.cpp)
    // Ticks a batch entry's package wait lasts before the batch goes on.
    static constexpr int kSubtitleWaitLimit = 60;

    // Binds the frame commands, the playback keys and the file drop target.
    void BindWork();
    void BindFrameCommands();
    // The steps of the timers (mainfrm_work.cpp).
    void OnDelayedStartupTick();
    void OnSecondWorkTick();
    void OnSearchBoxTick();
    void OnUpdateCheckTick();
    void OnUpdateDownloadWatchTick();
    void OnSubtitlePackageWaitTick();
    void OnBatchSubtitleStepTick();
    void OnBatchSubtitleWaitTick();
    void OnSubtitleOffsetTick();
    void ShowMessageSlot();
    // A talk download's progress in the download pane; the talk list again
    // when a talk arrived and the list shows downloaded or missing talks.
    void ShowTalkDownloads(const STalkDownloadNews& news);
    // kTimerDelayedStartup resolves the update server on m_worker; the address comes back here.
    void OnUpdateHostResolved(const CString& address);

    // Mailboxes and the local media tree.
    void PollPendingCommand();
    void PlayDownloadingNetFile();
    // Opens the download-and-play file again at the resume time and starts
    // the check that it plays (m_downloadProgress asks for it).
    void ReopenNetFile();
    void ShowNetAddressBar();
    void ShowLookupHistoryEntry(int direction);
    void RefreshLocalMediaTree();
    void FetchListSubtitle(const CString& mediaPath);
    // Waits for the update dialog's job `jobId`, the online look-up of the
    // current media; the job's own time limits bound the wait.
    void StartSubtitlePackageWait(int jobId);
    static bool IsDirectory(const CString& path);

    // The manual update check: runs on m_worker, its outcome comes back to
    // OnUpdateCheckDone on the user-interface thread.
    void StartManualUpdateCheck();
    void OnUpdateCheckDone(int result, int messageKind, const CString& message, int messageSeconds);
    // The caption shown while the check waits for the server.
    static constexpr const char* kUpdateCheckRunningText = "正在检查软件更新，请稍候......";
    bool IsUpdateCheckRunning() const { return m_bUpdateCheckRunning; }

    // Playback keys (wxEVT_CHAR_HOOK): Space, the arrows and Esc act on the
    // player and stop there, unless the focus is in a box being typed into.
    void OnPlaybackKey(wxKeyEvent& event);
    // Whether the focused window takes typed text (an editable text box or
    // combo box), so the keys are its own.
    static bool IsTypingTarget(wxWindow* focus);
    // Files dropped on the window (program text paths, in drop order).
    void OnDropFiles(const std::vector<CString>& paths);

    // Frame commands (mainfrm_framecommands.cpp).
    void OnPlaylist();
    void ShowPlayListPane();
    void OnOpendict();
    void OnPlayFromPan();
    void OnOpenPlaylistFolder();
    void OnToggleRibbonPanels();
    void OnSubtitleOffsetStep(int step);
    // The number typed into the offset box, on Enter or when the box loses
    // the focus; anything else puts the offset in force back with a message.
    void OnSubtitleOffsetTyped();
    // Puts the offset in force for the current media, shows it in the box
    // and rewrites the video's subtitle files a second later.
    void SetSubtitleOffset(int offset);
    void OnSearchCommand();
    // The pane's title (its window text).
    void SetPaneCaption(CDockablePane* pane, const CString& text);
    void RefillTalkList(const CString& category, const CString& sortField, bool showPane);
    void OnProgressSlider();
    void OnVolumePane();
    void ApplyVolumeToPlayers();
    void OnVolumeSlider();
    void ShowDownloader();
    void LookUpClipboardText() override;
    // The online dictionary page of a word (its UTF-8 bytes percent-encoded).
    static CString MakeOnlineDictionaryUrl(const CString& word);

    int m_nSubtitleFetchIndex = 0;
    CString m_strFetchDigest;
    int m_nBatchJobId = 0;          // the update dialog's job of the batch entry
    int m_nBatchFetched = 0;        // packages the batch has fetched
    CString m_strSubtitleWaitMedia;
    int m_nLessonJobId = 0;         // the update dialog's job of the media's own look-up
    // The media digests asked of the subtitle host this run, with the job
    // that asked.
    std::map<std::string, int> m_onlineLookups;
    int m_nBatchWaitTicks = 0;
    CString m_strClipText;
    CString m_strLastClipText;
    // Player access of the playback keys; tests replace them.
    std::function<int()> m_fnKeyPlayerState;
    std::function<bool()> m_fnKeyPlayerFullscreen;
    std::function<void(int64_t deltaMs)> m_fnKeySkip;
    bool m_bUpdateHostPending = false;
    bool m_bUpdateCheckRunning = false;
    // Seconds the update download's watch has seen no downloader; after
    // kUpdateWatchIdleLimit the download counts as failed.
    int m_nUpdateWatchIdleTicks = 0;
    static constexpr int kUpdateWatchIdleLimit = 5;
    // Whether the machine has a network, asked before the manual update
    // check; empty: IsNetworkConnected. Tests replace it.
    std::function<bool()> m_fnNetworkConnected;
    // The frame's background work (name resolution, the update check); it is
    // stopped and joined when the frame closes or goes.
    CFrameWorker m_worker {this};
    bool m_bWorkBound = false;

    // ---- Transport commands the category change uses ----
    void OnPlay();
    void OnPause();

    // ---- Panes ----
    void ShowPane(CDockablePane* pane, bool show);
    bool IsPaneVisible(CDockablePane* pane);
    void DockPane(CDockablePane* pane);
    void SetPaneSize(CDockablePane* pane, int size);
    void SetDetailWordPaneSize(int size);
    void SetPlayListPaneSize(int size);
    void SetPlayerPaneSize(int size);
    void SetPlayFromPanPaneSize(int size);

    CPaneManager& GetPaneManager() { return m_auiManager; }

    // ---- Timers: one handler keyed by id ----
    void OnTimer(int id);
    void SetTimer(int id, int milliseconds) { m_timers.SetTimer(id, milliseconds); }
    void KillTimer(int id) { m_timers.KillTimer(id); }
    bool IsTimerRunning(int id) const { return m_timers.IsRunning(id); }

    // ---- Closing ----
    // Stops the players and the worker, saves the layout and destroys the
    // application's parentless windows (DestroyAppWindows), so the program
    // ends with the frame.
    void OnClose(wxCloseEvent& event);
    // The parentless windows the frame made: the update and the address
    // windows, and the lesson view's caption window. Destroyed and nulled.
    void DestroyOwnTopLevelWindows();

    // ---- Owned windows and objects ----
    CUpdateDlg* m_dlgUpdate = nullptr;
    CFileSha1 m_fileSha1;
    CInputNetAdressDlg* m_dlgNetAddress = nullptr;
    CSearchDlg* m_dlgSearch = nullptr;

    CString m_strModulePath;
    CString m_strAppFolder;
    CString m_strPlaylistFolder;
    CString m_strNewDownloaderPath;
    CString m_strFirstStartPath;
    CString m_strSearchText;
    CString m_strPrevSearchText;
    CString m_strPanelsShown;
    CString m_strClipboardText;
    CString m_strPrevClipboardText;
    CString m_strMailboxText;

    CStringArray m_arrFoundFiles;
    CStringArray m_arrDownloaderQueue;
    CStringArray m_arrProgressLines;

    int m_nSearchPollCount = 0;
    int m_nProgressReadCountdown = 0;
    CRect m_rcPlayerPane;

    CMainRibbon* m_wndRibbonBar = nullptr;
    CMainRibbon* m_pRibbonBar = nullptr;
    CRibbonStatusBar* m_wndStatusBar = nullptr;
    CRibbonSlider* m_pProgressSlider = nullptr;
    CRibbonSlider* m_pVolumeSlider = nullptr;
    CMyCaptionBar* m_wndCaptionBar = nullptr;
    CPlayListPane* m_wndPlayListPane = nullptr;
    CDetailWordPane* m_wndDetailWordPane = nullptr;
    CPlayFromPanPane* m_wndPlayFromPanPane = nullptr;
    CPlayerPane* m_wndPlayerPane = nullptr;
    CView* m_pOldView = nullptr;
    CView* m_pNewView = nullptr;
    int m_nActiveCategory = 0;   // an ERibbonCategory

protected:
    // Commands go to the central view first, then to the frame.
    bool TryBefore(wxEvent& event) override;
    // A ribbon or status-bar command that nobody handles is shown disabled.
    bool TryAfter(wxEvent& event) override;

private:
    CView* CreateViewForId(int id);
    void BindCommands();
    void OnSize(wxSizeEvent& event);
    void OnRibbonPageChanged(wxRibbonBarEvent& event);
    void OnCommand(wxCommandEvent& event);
    // The player's full-screen bar came or went: cursor and control bar follow.
    void OnShowPlayerBar(wxCommandEvent& event);
    void OnUpdateApplicationLook(wxUpdateUIEvent& event);
    void HideOtherPanes(CDockablePane* keep);
    void StopPlayers();
    bool DictionaryPageHasFocus() const;

    CString m_strProgramFolderOverride;
    CQuenlowDoc* m_pDocument = nullptr;
    CPaneManager m_auiManager;
    wxWindow* m_pDockHost = nullptr;
    wxWindow* m_pViewHost = nullptr;
    CView* m_pActiveView = nullptr;
    std::map<int, CView*> m_views;
    CWindowTimers m_timers;
    void FollowWindowState();
    bool m_bWasMaximized = false;
    bool m_bRestoredOnce = false;
    wxRect m_rcRestored;   // where the window goes out of maximised
    bool m_bRoutingToView = false;
    bool m_bHandlingCategory = false;
    struct SHeldCaption {
        int kind;
        CString text;
        int seconds;
    };
    std::optional<SHeldCaption> m_heldCaption;
};

// The main window, or null before it exists.
CMainFrame* GetMainFrame();
