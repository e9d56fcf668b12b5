// The network-address bar: a borderless, always-on-top bar with an address
// box and two icon buttons. The main frame creates it hidden at start-up,
// lays it out for the screen width and shows it where the learner asked for
// it; it hides itself after six idle seconds.
#pragma once

#include <memory>

#include <wx/dialog.h>

#include "platform/cstring.h"
#include "ui/windowtimers.h"

class wxBitmapButton;
class wxMouseEvent;
class wxTextCtrl;

class CInputNetAdressDlg : public wxDialog {
public:
    enum {
        IDC_EDIT_ADDRESS = 1109,
        IDC_BTN_PLAY = 1110,
        IDC_BTN_CLOSE = 1111,
    };
    // Timers of the bar: the one-second auto-hide timer runs as long as the
    // bar exists.
    enum EInputNetAdressDlgTimer { kIdleTimer = 100 };   // 1 s, only while the bar is shown
    bool IsIdleTimerRunning() const;
    // Seconds of idleness after which a shown bar hides itself.
    static constexpr int kIdleSeconds = 6;

    CInputNetAdressDlg();
    ~CInputNetAdressDlg() override;

    // Creates the bar hidden (no parent makes it a top-level window of its own).
    bool Create(wxWindow* parent);
    // Edit box at (0, 0), w/2 wide and 25 high; the buttons 25 x 25 right of it.
    void LayoutForScreenWidth(int w);
    // Restarts the idle countdown, moves the bar to the point and shows it.
    void ShowAt(const wxPoint& position);

    void OnTimer(int id);

    // An address the downloader takes: after trimming, it begins with
    // "http://", "https://" or "ftp://" (in small letters) and is at most
    // kMaxAddressBytes long.
    static bool IsValidAddress(const CString& address);
    static constexpr int kMaxAddressBytes = 8192;
    // Confirm (the button or Enter): a valid address becomes a
    // download-and-play command for the frame, and the bar hides; an address
    // without "scheme://" gets "http://" in front first; another text gets
    // "非法网络地址！" and stays.
    void OnBnClickedConfirm();
    void OnBnClickedGiveUp();
    // Where the command goes (the frame's; tests set their own).
    wxEvtHandler* m_pCommandTarget = nullptr;

    int m_nIdleCountdown = 0;
    wxTextCtrl* m_editAddress = nullptr;
    wxBitmapButton* m_btnPlay = nullptr;
    wxBitmapButton* m_btnClose = nullptr;

private:
    void OnMouseMove(wxMouseEvent& event);

    std::unique_ptr<CWindowTimers> m_timers;
};
