// The main lesson player's window inside the player pane: the video area in
// which the media engine draws, and a control bar (seek bar, icon buttons,
// background strip) shown only while the video is full screen.
//
// Most actions are keyword commands posted to the main frame, whose
// dispatcher performs them (playing, pausing, stopping, seeking, volume,
// previous and next all go through the same code whatever window asks).
// Mute, skipping 10 seconds, full screen and the subtitle and track choices
// of the context menu call the facade directly.
//
// Full screen moves this window into a top-level frame of its own covering
// the screen; the video's X window follows it (CVideoWindow::Reattach).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <wx/event.h>
#include <wx/panel.h>

#include "platform/cstring.h"
#include "playback/videowindow.h"
#include "playback/vlcplayer.h"
#include "ui/windowtimers.h"
#include "core/commandids.h"

class CBitItem;
class CBitSlider;
class CButtonST;
class wxFrame;
class wxMenu;

// Posted to the command target after theApp.m_bPlayerBarShown changed: the
// receiver shows or hides the cursor by it (CPlayerDlg::ShowCursor) and, when
// it is 0, calls CPlayerDlg::HideControlBar.
wxDECLARE_EVENT(EVT_PLAYERBARSHOW, wxCommandEvent);

class CPlayerDlg : public wxPanel {
public:
    enum {
        IDD = 310,
        IDC_SLIDER_SEEK = 1016,
        IDC_BTN_NEXT = 1094,
        IDC_STATIC_VIDEO = 1105,
        IDC_BTN_PLAYSTATE = 1112,
        IDC_BTN_DOWNLOADINFO = 1113,
        IDC_BTN_PROGRESSINFO = 1114,
        IDC_BTN_OPEN = 1115,
        IDC_BTN_STOP = 1116,
        IDC_BTN_PREV = 1117,
        IDC_BTN_PLAYPAUSE = 1118,
        IDC_BTN_SPARE = 1119,
        IDC_BTN_RESET = 1120,
        IDC_BTN_MUTE = 1121,
        IDC_BTN_VOLUMEUP = 1122,
        IDC_BTN_VOLUMEDOWN = 1123,
        IDC_STATIC_BARBACK = 1124,
    };

    // Timer ids.
    enum EPlayerDlgTimer {
        kTimerClick = 100,
        kTimerDoubleClick = 200,
        kTimerBarCountdown = 300,
        kTimerMouseWatch = 400,
        kTimerRefresh = 500,
        kTimerEnterFullScreen = 600,
        kTimerLeaveFullScreen = 700,
        // While full screen: the pointer's position, read every 200 ms, shows
        // the control bar near the bottom of the screen. The engine's video
        // window covers the screen and takes the mouse moves, so they never
        // reach the dialog.
        kTimerPointerWatch = 450,
    };

    // What a file dialog is asked for; the chooser answers the chosen paths
    // (none on Cancel).
    struct SFileRequest {
        wxWindow* parent = nullptr;
        CString title;
        CString folder;
        CString wildcard;
        bool multiple = false;
    };
    using FileChooser = std::function<std::vector<CString>(const SFileRequest&)>;

    CPlayerDlg();
    ~CPlayerDlg() override;
    CPlayerDlg(const CPlayerDlg&) = delete;
    CPlayerDlg& operator=(const CPlayerDlg&) = delete;

    // Creates the window, binds the player to the video and starts the timers.
    bool Create(wxWindow* parent, int id = IDD);

    // ---- Seams for tests ----
    // Where keyword commands and EVT_PLAYERBARSHOW go (the main frame by default).
    void SetCommandTarget(wxEvtHandler* target) { m_pCommandTarget = target; }
    void SetFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // The cursor's screen position as the mouse watch reads it.
    void SetCursorSource(std::function<wxPoint()> source) { m_cursorSource = std::move(source); }
    CWindowTimers& GetTimers() { return m_timers; }

    // ---- Operations other windows call ----
    // Prepares a local media file (UTF-8 path); playback is not started.
    // False when the engine refused it (see CVlcPlayer::OpenFile).
    bool OpenMedia(const char* utf8Path);
    // Stops the player without waiting on the engine
    // (CVlcPlayer::StopWithoutWaiting).
    void StopPlayer();
    void ShowControlBar();
    void HideControlBar();
    // Shows (true) or hides the cursor over the player's windows.
    void ShowCursor(bool show);
    bool IsVideoFullScreen() const { return m_frameFull != nullptr; }
    wxFrame* GetFullScreenFrame() const { return m_frameFull; }

    // ---- Buttons and transport commands ----
    void OnOpenLocalMedia();
    void OnBnClickedStop();
    void OnBnClickedPlayPause();
    void OnBnClickedPrevMedia();
    void OnBnClickedNextMedia();
    void OnBnClickedReset();
    void OnBnClickedMute();
    void OnBnClickedVolumeUp();
    void OnBnClickedVolumeDown();
    void OnOpenDownloader();
    void OnSkipForward();
    void OnSkipBackward();
    void OnOpenNetMedia();
    void OnPlayOrder(int order);
    void OnCompactMode();

    // ---- Context menu, tracks and video subtitles ----
    // A track's name as the menus show it: the engine's English placeholders
    // under the C locale ("Disable", "Track 2") in Chinese, other names as
    // they are.
    static CString ShownTrackName(const CString& name, bool audio);
    // The context menu as it would open now (track lists refilled from the
    // engine); its items carry the command ids above.
    std::unique_ptr<wxMenu> BuildContextMenu();
    void ShowContextMenu();
    // Runs a command id of the dialog's menus or buttons; false when unknown.
    bool DoCommand(int id);
    void OnSubtitleBoth();
    void OnSubtitleEnglish();
    void OnSubtitleChinese();
    void OnSubtitleTrack(int position);
    void OnAudioTrack(int position);
    void OnSubtitleChnFirst();
    void OnSubtitleEngFirst();
    void OnSubtitleStyle(int id);
    void OnSubtitleOff();
    void OnLoadSubtitle();
    // Gives a subtitle or lesson file to the open media, as "载入字幕" does
    // with the file chosen there (also used for a dropped subtitle file).
    void LoadSubtitle(const CString& path);

    // ---- Mouse, keys and timers (screen coordinates) ----
    void OnVideoLeftDown(const wxPoint& screen);
    void OnVideoDoubleClick(const wxPoint& screen);
    void OnVideoMouseMove(const wxPoint& screen);
    // True when the key was consumed.
    bool OnKeyDown(int keyCode);
    void OnTimer(int id);

    CButtonST* GetButton(int id) const;
    CBitSlider* GetSeekBar() const { return m_sliderSeek; }

    // The video surface: a panel whose X window holds the engine's window.
    wxPanel* m_staticVideo = nullptr;
    // Declared before the player: the player stops drawing before the
    // window it draws into goes.
    CVideoWindow m_video;
    // The main lesson player.
    std::unique_ptr<CVlcPlayer> m_player = std::make_unique<CVlcPlayer>();

    // The subtitle file last given to the engine (program text).
    CString m_strGivenSubtitle;
    // Whether the mute button has switched the sound off.
    int m_bPlayerMuted = 0;
    bool m_bDblClick = false;
    int m_nBarCountdown = 5;
    wxPoint m_ptCursor;
    wxPoint m_ptLastCursor;
    wxSize m_sizeClient;

private:
    // The cursor's screen position (the test seam's when one is set).
    wxPoint PointerPosition() const;
    void Post(const CString& keyword);
    void PostBarShow();
    bool ClickCounts(const wxPoint& screen) const;
    bool MediaLoaded() const;
    bool NetworkWait() const;
    // Whether the engine shows the video's own subtitle track at this
    // position of theApp's listed tracks.
    bool ShowsListedSubtitle(int position) const;
    void EnterFullScreen();
    void LeaveFullScreen();
    void InitSeekBar();
    // Gives the seek bar the screen width and media length of theApp.
    void GiveSeekBarScale();
    bool CreateButtons();   // false when a button cannot be created
    void SetButtonIcons(int id, const char* hot, const char* normal);
    void SetTextIfChanged(wxWindow* window, const CString& text);
    void ReloadLessonSubtitles();
    void GiveSubtitleFile(const CString& ansiPath);
    void FollowTopLevel();
    void OnUpdateUI(wxUpdateUIEvent& event);
    void OnMenu(wxCommandEvent& event);
    void OnButton(wxCommandEvent& event);
    void BindMouse(wxWindow* window);
    std::vector<CString> ChooseFiles(const SFileRequest& request);

    wxEvtHandler* CommandTarget() const;

    CWindowTimers m_timers;
    wxEvtHandler* m_pCommandTarget = nullptr;
    FileChooser m_fileChooser;
    std::function<wxPoint()> m_cursorSource;

    wxWindow* m_pOldParent = nullptr;
    wxFrame* m_frameFull = nullptr;
    wxRect m_rcDocked;   // the dialog's place in its parent before full screen
    wxWindow* m_pLastTopLevel = nullptr;

    std::unique_ptr<CBitItem> m_pItemThumb;
    std::unique_ptr<CBitItem> m_pItemPlayed;
    std::unique_ptr<CBitItem> m_pItemRemaining;
    CBitSlider* m_sliderSeek = nullptr;
    wxWindow* m_staticBarBack = nullptr;
    std::vector<std::pair<int, CButtonST*>> m_buttons;
};
