// The player dialog over time and under the mouse and keyboard: single click
// pauses or resumes, double click switches full screen, the full-screen
// control bar and cursor hide after five quiet seconds, keys pause, skip and
// leave full screen, and a once-a-second refresh keeps the bar's texts and
// the seek bar in step.
#include <cstdlib>

#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "controls/bitslider.h"
#include "controls/btnst.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "core/quenlow.h"

namespace {

// The screen size the layout and the click band use.
wxSize ScreenSize()
{
    if (theApp.m_nScreenWidth > 0 && theApp.m_nScreenHeight > 0)
        return wxSize(theApp.m_nScreenWidth, theApp.m_nScreenHeight);
    return wxGetDisplaySize();
}

// The buttons the control bar shows, in the order they are hidden.
const int kBarButtons[] = {
    CPlayerDlg::IDC_BTN_OPEN,         CPlayerDlg::IDC_BTN_STOP,      CPlayerDlg::IDC_BTN_PLAYPAUSE,
    CPlayerDlg::IDC_BTN_RESET,        CPlayerDlg::IDC_BTN_MUTE,      CPlayerDlg::IDC_BTN_VOLUMEUP,
    CPlayerDlg::IDC_BTN_VOLUMEDOWN,   CPlayerDlg::IDC_BTN_PLAYSTATE, CPlayerDlg::IDC_BTN_DOWNLOADINFO,
    CPlayerDlg::IDC_BTN_PROGRESSINFO, CPlayerDlg::IDC_BTN_PREV,      CPlayerDlg::IDC_BTN_NEXT,
};

constexpr int kPlaying = 3;
constexpr int kPaused = 4;

} // namespace

// Clicks count in the video area only: above the band of 110 pixels at the
// bottom of the screen that holds the full-screen bar, and with media loaded.
bool CPlayerDlg::ClickCounts(const wxPoint& screen) const
{
    return ScreenSize().y - screen.y > 110 && MediaLoaded();
}

void CPlayerDlg::OnVideoLeftDown(const wxPoint& screen)
{
    if (ClickCounts(screen))
        m_timers.SetTimer(kTimerClick, 500);
}

void CPlayerDlg::OnVideoDoubleClick(const wxPoint& screen)
{
    if (theApp.m_nCaptionCountdown > 0)
        theApp.m_nCaptionCountdown = 0;
    m_bDblClick = true;
    if (!ClickCounts(screen))
        return;
    m_timers.SetTimer(kTimerDoubleClick, 1000);
    if (!m_player->IsFullscreen())
        EnterFullScreen();
    else
        LeaveFullScreen();
    HideControlBar();
}

void CPlayerDlg::OnVideoMouseMove(const wxPoint& screen)
{
    m_ptCursor = screen;
    if (ScreenSize().y - m_ptCursor.y < 100 && m_player->IsFullscreen())
        ShowControlBar();
}

wxPoint CPlayerDlg::PointerPosition() const { return m_cursorSource ? m_cursorSource() : wxGetMousePosition(); }

bool CPlayerDlg::OnKeyDown(int keyCode)
{
    switch (keyCode) {
    case WXK_SPACE: {
        const int state = m_player->GetState();
        if (state == kPlaying)
            Post("HalvikSoftPlayerPause:");
        else if (state == kPaused)
            Post("HalvikSoftPlayerPlay:");
        else
            return false;
        return true;
    }
    case WXK_RIGHT:
        if (m_player->GetState() != kPlaying)
            return false;
        OnSkipForward();
        return true;
    case WXK_LEFT:
        if (m_player->GetState() != kPlaying)
            return false;
        OnSkipBackward();
        return true;
    case WXK_ESCAPE:
        // Swallowed in the pane as well, so it never closes anything there.
        if (m_player->IsFullscreen()) {
            LeaveFullScreen();
            HideControlBar();
        }
        return true;
    default:
        return false;
    }
}

// ---- Full screen ----

void CPlayerDlg::EnterFullScreen()
{
    if (m_frameFull)
        return;
    if (theApp.m_bWindowFullScreen)
        theApp.m_strMainWindowState = "Normal";
    theApp.m_nTopMostState = 0;
    m_timers.SetTimer(kTimerEnterFullScreen, 500);
    m_player->SetFullscreen(true);
    theApp.m_bVideoFullScreen = 1;

    m_pOldParent = GetParent();
    m_rcDocked = GetRect();
    if (m_pOldParent && m_pOldParent->GetSizer())
        m_pOldParent->GetSizer()->Detach(this);
    m_frameFull = new wxFrame(nullptr, wxID_ANY, ToWx("播放器"), wxPoint(0, 0), ScreenSize(),
                              wxDEFAULT_FRAME_STYLE | wxSTAY_ON_TOP);
    m_frameFull->SetBackgroundColour(*wxBLACK);
    // Closing the frame from the window manager returns to the pane.
    m_frameFull->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto())
            event.Veto();
        if (m_player->IsFullscreen()) {
            LeaveFullScreen();
            HideControlBar();
        }
    });
    Reparent(m_frameFull);
    SetSize(m_frameFull->GetClientSize());
    m_frameFull->ShowFullScreen(true);
    m_frameFull->Raise();
    m_video.Reattach(m_staticVideo);
    m_pLastTopLevel = m_frameFull;
    m_staticVideo->SetFocus();
    m_timers.SetTimer(kTimerPointerWatch, 200);
}

void CPlayerDlg::LeaveFullScreen()
{
    m_timers.KillTimer(kTimerPointerWatch);
    theApp.m_bVideoFullScreen = 0;
    m_player->SetFullscreen(false);
    if (!m_frameFull)
        return;
    wxFrame* frame = m_frameFull;
    m_frameFull = nullptr;
    if (m_pOldParent) {
        Reparent(m_pOldParent);
        if (m_pOldParent->GetSizer())
            m_pOldParent->GetSizer()->Add(this, 1, wxEXPAND);
        SetSize(m_rcDocked);
        m_pOldParent->Layout();
    }
    m_video.Reattach(m_staticVideo);
    m_pLastTopLevel = wxGetTopLevelParent(this);
    frame->Hide();
    frame->Destroy();
    m_timers.SetTimer(kTimerLeaveFullScreen, 500);
}

// Floating or docking the pane moves the dialog to another top-level window,
// whose realisation re-creates the video panel's X window.
void CPlayerDlg::FollowTopLevel()
{
    wxWindow* top = wxGetTopLevelParent(this);
    if (top == m_pLastTopLevel)
        return;
    m_pLastTopLevel = top;
    m_video.Reattach(m_staticVideo);
}

void CPlayerDlg::ShowCursor(bool show)
{
    const wxCursor cursor = show ? wxNullCursor : wxCursor(wxCURSOR_BLANK);
    SetCursor(cursor);
    m_staticVideo->SetCursor(cursor);
    if (m_frameFull)
        m_frameFull->SetCursor(cursor);
}

// ---- Control bar ----

void CPlayerDlg::ShowControlBar()
{
    if (!m_player->IsFullscreen())
        return;
    const wxSize screen = ScreenSize();
    const int w = screen.x, h = screen.y;
    const int x = w / 2 - 128;
    struct SPlace {
        wxWindow* window;
        wxRect rect;
    };
    const SPlace places[] = {
        {m_staticVideo, wxRect(0, 0, w, h - 65)},
        {m_sliderSeek, wxRect(0, h - 65, w, 15)},
        {m_staticBarBack, wxRect(0, h - 50, w, 50)},
        {GetButton(IDC_BTN_PLAYSTATE), wxRect(10, h - 46, 100, 32)},
        {GetButton(IDC_BTN_OPEN), wxRect(x, h - 46, 32, 32)},
        {GetButton(IDC_BTN_STOP), wxRect(x + 32, h - 46, 32, 32)},
        {GetButton(IDC_BTN_PREV), wxRect(x + 64, h - 46, 32, 32)},
        {GetButton(IDC_BTN_PLAYPAUSE), wxRect(x + 96, h - 46, 32, 32)},
        {GetButton(IDC_BTN_NEXT), wxRect(x + 128, h - 46, 32, 32)},
        {GetButton(IDC_BTN_RESET), wxRect(x + 160, h - 46, 32, 32)},
        {GetButton(IDC_BTN_MUTE), wxRect(x + 192, h - 46, 32, 32)},
        {GetButton(IDC_BTN_VOLUMEUP), wxRect(x + 224, h - 46, 16, 16)},
        {GetButton(IDC_BTN_VOLUMEDOWN), wxRect(x + 224, h - 30, 16, 16)},
        {GetButton(IDC_BTN_PROGRESSINFO), wxRect(w - 135, h - 46, 125, 32)},
        {GetButton(IDC_BTN_DOWNLOADINFO), wxRect(w - 375, h - 46, 240, 32)},
    };
    // The keys go to the seek bar while the bar is up.
    const bool barWasHidden = m_sliderSeek && !m_sliderSeek->IsShown();
    // Mouse moves near the bottom call this often: only changes go to the
    // windows.
    for (const SPlace& place : places) {
        if (!place.window)
            continue;
        if (place.window->GetRect() != place.rect)
            place.window->SetSize(place.rect);
        if (!place.window->IsShown())
            place.window->Show();
    }
    if (barWasHidden)
        m_sliderSeek->SetFocus();
}

void CPlayerDlg::HideControlBar()
{
    const wxRect video = m_player->IsFullscreen() ? wxRect(wxPoint(0, 0), ScreenSize())
                                                  : wxRect(wxPoint(0, 0), m_sizeClient);
    if (m_staticVideo && m_staticVideo->GetRect() != video)
        m_staticVideo->SetSize(video);
    // The keys (Esc, Space) go to the video again, not to a hidden seek bar.
    if (m_sliderSeek && m_sliderSeek->HasFocus() && m_staticVideo)
        m_staticVideo->SetFocus();
    if (m_sliderSeek)
        m_sliderSeek->Hide();
    if (m_staticBarBack)
        m_staticBarBack->Hide();
    for (int id : kBarButtons)
        if (CButtonST* button = GetButton(id))
            button->Hide();
}

// ---- Timers ----

void CPlayerDlg::OnTimer(int id)
{
    switch (id) {
    case kTimerClick:
        m_timers.KillTimer(kTimerClick);
        if (!m_bDblClick) {
            const int state = m_player->GetState();
            if (state == kPlaying)
                Post("HalvikSoftPlayerPause:");
            else if (state == kPaused)
                Post("HalvikSoftPlayerPlay:");
        }
        break;
    case kTimerDoubleClick:
        m_timers.KillTimer(kTimerDoubleClick);
        m_bDblClick = false;
        break;
    case kTimerBarCountdown:
        --m_nBarCountdown;
        if (m_nBarCountdown < 0 && theApp.m_bPlayerBarShown && m_player->IsFullscreen()) {
            theApp.m_bPlayerBarShown = 0;
            PostBarShow();
        }
        if (m_nBarCountdown < 0)
            m_nBarCountdown = 5;
        break;
    case kTimerMouseWatch: {
        m_ptCursor = PointerPosition();
        const bool moved =
            std::abs(m_ptCursor.x - m_ptLastCursor.x) >= 10 || std::abs(m_ptCursor.y - m_ptLastCursor.y) >= 10;
        if (moved && m_ptLastCursor.x > 0 && (theApp.m_bPlayerBarShown == 0 || m_nBarCountdown < 0)) {
            theApp.m_bPlayerBarShown = 1;
            PostBarShow();
            m_nBarCountdown = 5;
        }
        m_ptLastCursor = m_ptCursor;
        if (ScreenSize().y - m_ptCursor.y < 100 && m_player->IsFullscreen())
            m_nBarCountdown = 5;
        break;
    }
    case kTimerPointerWatch:
        // Near the bottom the bar comes up and its countdown starts again.
        OnVideoMouseMove(PointerPosition());
        if (ScreenSize().y - m_ptCursor.y < 100 && m_player->IsFullscreen())
            m_nBarCountdown = 5;
        break;
    case kTimerRefresh:
        GiveSeekBarScale();
        SetTextIfChanged(GetButton(IDC_BTN_PROGRESSINFO), theApp.m_strTimeText);
        SetTextIfChanged(GetButton(IDC_BTN_DOWNLOADINFO), theApp.m_strDownloadStatusText);
        if (theApp.m_nSeekRequest > 0) {
            theApp.m_nPlayProgress = m_sliderSeek->GetPos();
            Post("HalvikSoftPlayerPlayProgress:");
            theApp.m_nSeekRequest = 0;
        } else {
            m_sliderSeek->SetPos(theApp.m_nPlayProgress);   // repaints only when it moved
        }
        SetTextIfChanged(GetButton(IDC_BTN_PLAYSTATE), theApp.m_strPlayStateText);
        break;
    case kTimerEnterFullScreen:
        m_timers.KillTimer(kTimerEnterFullScreen);
        Post("MainFrameMiniMize:");
        break;
    case kTimerLeaveFullScreen:
        m_timers.KillTimer(kTimerLeaveFullScreen);
        m_nBarCountdown = 5;
        Show();
        m_staticVideo->Show();
        Post("MainFrameMormalMize:");
        break;
    default:
        break;
    }
}
