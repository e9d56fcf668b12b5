// The program's one main window: the ribbon, the status bar with the player
// controls, the caption bar for short messages, four dockable panes and the
// central view that follows the ribbon category.
#pragma once

#include <map>
#include <memory>

#include <wx/frame.h>

#include "online/filesha1.h"
#include "platform/cstring.h"
#include "platform/wintypes.h"
#include "shell/panemanager.h"
#include "shell/windowtimers.h"

class CDetailWordPane;
class CInputNetAdressDlg;
class CMainRibbon;
class CMyCaptionBar;
class CPlayFromPanPane;
class CPlayListPane;
class CPlayerPane;
class CRibbonSlider;
class CRibbonStatusBar;
class CSearchDlg;
class CUpdateDlg;
class CView;
class CVlcPlayer;
class CDockablePane;
class CQuenlowDoc;
class wxRibbonBarEvent;

// Child ids of the central views.
enum ECentralViewId {
    kViewLesson = 501,
    kViewWordBook = 378,
    kViewSpeech = 417,
    kViewHelp = 424,
    kViewBilingual = 374,
    kViewDictionaryForm = 422,
    kViewWebPage = 503,
    kViewEmptyHelp = 32892,
    kViewEmptyEscapeDuty = 32912,
};

// Timer ids of the main frame.
enum EMainFrameTimer {
    kTimerDelayedStartup = 900,
    kTimerSecondWork = 1300,
    kTimerCaptionCountdown = 2400,
    kTimerTreeRefresh = 2500,
    kTimerMessageSlot = 5000,
};

class CMainFrame : public wxFrame {
public:
    // programFolder: where the data tree lives; empty means the folder of the
    // running program (tests pass a temporary one).
    explicit CMainFrame(const CString& programFolder = CString());
    ~CMainFrame() override;

    // Creates the window and runs the whole start-up of the frame; false when
    // a part of the window could not be made.
    bool Create(CQuenlowDoc* document);

    // ---- Creation and layout ----
    int OnCreate();
    bool CreateStatusBar();
    bool CreateCaptionBar();
    bool CreateDockingPanes();
    void GetProgramFolder();
    void InitPaths();
    void LoadUiSettings();
    void SaveUiSettings();
    void OnApplicationLook(UINT id);
    void ApplyLookColors(UINT id);
    void UpdateTitle();

    // ---- Messages in the caption bar ----
    void ShowCaptionMessage(int kind, const CString& text, int seconds);
    void ShowCaptionBar(bool show);
    bool IsCaptionBarShown() const;

    // ---- Central views ----
    void SwitchView(int id);
    void OnChangeRibbonCategory();
    void OnStatusbarProgressPane();
    CView* GetActiveView() const { return m_pActiveView; }
    CView* FindView(int id) const;

    // The main lesson player (the player dialog's facade in the player pane).
    CVlcPlayer* GetMainPlayer() const;

    // ---- Lesson opening, transport and keyword commands ----
    // (mainfrm_transport.cpp, mainfrm_dispatch.cpp)

    // ---- Timers' work, mailboxes, frame commands, update check, keys, drops ----
    // (mainfrm_work.cpp, mainfrm_framecommands.cpp)

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
    void OnClose(wxCloseEvent& event);

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
    CString m_strCategoryName;
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
    int m_nActiveCategory = 0;

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
    bool m_bRoutingToView = false;
    bool m_bHandlingCategory = false;
};

// The main window, or null before it exists.
CMainFrame* GetMainFrame();
