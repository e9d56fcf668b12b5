#include "online/inputnetadressdlg.h"

#include <functional>

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/textctrl.h>

#include "ui/wxtext.h"
#include "ui/icons.h"
#include "ui/mainframehost.h"
#include "ui/messagebox.h"
#include "ui/playercommand.h"
#include "core/downloaderexchange.h"
#include "core/quenlow.h"

namespace {

constexpr int kButtonSize = 25;
const char* const kAddressHint = "网络地址：输入媒体的网址（http://、https:// 或 ftp://），回车播放，Esc 关闭";
const wxSize kIconSize(16, 16);

void DrawPlay(wxDC& dc)
{
    const wxPoint triangle[] = {{4, 2}, {13, 8}, {4, 14}};
    dc.SetPen(wxPen(wxColour(0, 110, 0)));
    dc.SetBrush(wxBrush(wxColour(0, 150, 0)));
    dc.DrawPolygon(3, triangle);
}

void DrawClose(wxDC& dc)
{
    dc.SetPen(wxPen(wxColour(180, 0, 0), 2));
    dc.DrawLine(3, 3, 13, 13);
    dc.DrawLine(13, 3, 3, 13);
}

} // namespace

CInputNetAdressDlg::CInputNetAdressDlg() = default;

CInputNetAdressDlg::~CInputNetAdressDlg()
{
    // Stop the timer before the window's event handling goes away.
    m_timers.reset();
}

bool CInputNetAdressDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR))
        return false;
    // Enter and Esc are handled below: a dialog's own handling would end it
    // as a modal one.
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);

    // The form's own layout; the main frame replaces it in pixels.
    SetSize(ConvertDialogToPixels(wxSize(316, 182)));
    m_editAddress = new wxTextCtrl(this, IDC_EDIT_ADDRESS, wxEmptyString, ConvertDialogToPixels(wxPoint(11, 38)),
                                   ConvertDialogToPixels(wxSize(151, 20)));
    m_btnPlay = new wxBitmapButton(this, IDC_BTN_PLAY, ThemeIconOrDrawn("media-playback-start", wxART_BUTTON, kIconSize, DrawPlay),
                                   ConvertDialogToPixels(wxPoint(167, 38)), ConvertDialogToPixels(wxSize(50, 20)));
    m_btnClose = new wxBitmapButton(this, IDC_BTN_CLOSE, ThemeIconOrDrawn(wxART_CLOSE, wxART_BUTTON, kIconSize, DrawClose),
                                    ConvertDialogToPixels(wxPoint(223, 38)), ConvertDialogToPixels(wxSize(48, 20)));
    m_btnPlay->SetToolTip(ToWx("确定"));
    m_btnClose->SetToolTip(ToWx("放弃"));
    // The box says what it is for while it is empty; the bar has no room
    // for a label beside it.
    m_editAddress->SetHint(ToWx(kAddressHint));
    m_editAddress->SetToolTip(ToWx(kAddressHint));

    // Any mouse movement over the bar or its controls, and any typing,
    // restarts the idle countdown.
    for (wxWindow* window : {static_cast<wxWindow*>(this), static_cast<wxWindow*>(m_editAddress),
                             static_cast<wxWindow*>(m_btnPlay), static_cast<wxWindow*>(m_btnClose)})
        window->Bind(wxEVT_MOTION, &CInputNetAdressDlg::OnMouseMove, this);
    m_editAddress->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { m_nIdleCountdown = kIdleSeconds; });
    // Enter in the box confirms like the button; Escape anywhere in the bar
    // gives up like the close button.
    m_editAddress->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
            OnBnClickedConfirm();
        else
            event.Skip();
    });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            OnBnClickedGiveUp();
        else
            event.Skip();
    });
    m_btnPlay->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBnClickedConfirm(); });
    m_btnClose->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnBnClickedGiveUp(); });

    m_nIdleCountdown = 0;
    m_timers = std::make_unique<CWindowTimers>(this, [this](int id) { OnTimer(id); });
    Hide();
    return true;
}

void CInputNetAdressDlg::LayoutForScreenWidth(int w)
{
    const int half = w / 2;
    m_editAddress->SetSize(0, 0, half, kButtonSize);
    m_btnPlay->SetSize(half, 0, kButtonSize, kButtonSize);
    m_btnClose->SetSize(half + kButtonSize, 0, kButtonSize, kButtonSize);
    Refresh();
}

void CInputNetAdressDlg::ShowAt(const wxPoint& position)
{
    m_nIdleCountdown = kIdleSeconds;
    Move(position);
    Show();
    Raise();
    if (m_timers)
        m_timers->SetTimer(kIdleTimer, 1000);
}

bool CInputNetAdressDlg::IsIdleTimerRunning() const { return m_timers && m_timers->IsRunning(kIdleTimer); }

void CInputNetAdressDlg::OnTimer(int id)
{
    if (id != kIdleTimer)
        return;
    // A hidden bar needs no tick (however it was hidden): showing it sets
    // the count and starts the timer again.
    --m_nIdleCountdown;
    if (m_nIdleCountdown <= 0 && IsShown())
        Hide();
    if (!IsShown())
        m_timers->KillTimer(kIdleTimer);
}

void CInputNetAdressDlg::OnMouseMove(wxMouseEvent& event)
{
    m_nIdleCountdown = kIdleSeconds;
    event.Skip();
}

bool CInputNetAdressDlg::IsValidAddress(const CString& address)
{
    CString text = address;
    text.Trim();
    if (text.IsEmpty() || text.GetLength() > kMaxAddressBytes)
        return false;
    for (const char* scheme : {"http://", "https://", "ftp://"})
        if (text.Find(scheme) == 0)
            return true;
    return false;
}

void CInputNetAdressDlg::OnBnClickedConfirm()
{
    CString address = FromWx(m_editAddress->GetValue());
    address.Trim();
    // An address typed without a scheme is taken as a web address, as the
    // cloud-disk address box takes it.
    if (!address.IsEmpty() && address.Find("://") < 0)
        address = "http://" + address;
    if (!IsValidAddress(address)) {
        ShowMessageBox("非法网络地址！", CString(), wxOK, this);
        return;
    }
    theApp.m_strDownloadUrl = address;
    // The frame's exchange starts the downloader when it sends the command.
    theApp.m_nDlAndPlayState = 0;
    theApp.m_bSeekOnPlay = 0;
    theApp.m_nResumeTime = 0;
    theApp.m_strDownloadTaskId = theApp.GetPanFileId(address);
    const CString command = ComposeDlAndPlayCommand(address, theApp.m_strCacheDir);
    theApp.m_strDlAndPlayCommand = command;
    wxEvtHandler* target = m_pCommandTarget;
    if (target == nullptr) {
        IMainFrameHost* host = MainFrameHost();
        target = host != nullptr ? host->CommandTarget() : nullptr;
    }
    PostPlayerCommand(target, command, command);
    Hide();
}

void CInputNetAdressDlg::OnBnClickedGiveUp()
{
    Hide();
}
