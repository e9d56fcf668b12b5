#include "ui/showmsgdlg.h"

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/font.h>
#include <wx/frame.h>

#include "ui/wxcolour.h"
#include "ui/wxtext.h"
#include "ui/windowtimers.h"

namespace {

// Mouse moves and clicks over the text are swallowed, so the text cannot be
// selected by dragging.
void SwallowMouse(wxWindow* window)
{
    auto swallow = [](wxMouseEvent&) {};
    window->Bind(wxEVT_MOTION, swallow);
    window->Bind(wxEVT_LEFT_DOWN, swallow);
    window->Bind(wxEVT_LEFT_DCLICK, swallow);
}

} // namespace

void ApplyRichTextFormat(wxTextCtrl& text, const SRichTextFormat& format, COLORREF backColour)
{
    // A size of zero (no lesson font loaded yet) keeps the default size.
    wxFontInfo info = format.heightTwips > 0 ? wxFontInfo(format.heightTwips / 20.0) : wxFontInfo();
    if (format.bold)
        info.Bold();
    if (!format.face.IsEmpty())
        info.FaceName(ToWx(format.face));
    const wxFont font(info);
    const wxColour foreground = ToWxColour(format.textColour);
    const wxColour background = ToWxColour(backColour);

    // The control's own font and colours cover text set with SetValue; the
    // default style covers text written later, and SetStyle the text present.
    text.SetBackgroundColour(background);
    text.SetForegroundColour(foreground);
    text.SetFont(font);
    const wxTextAttr attr(foreground, background, font);
    text.SetDefaultStyle(attr);
    if (text.GetLastPosition() > 0)
        text.SetStyle(0, text.GetLastPosition(), attr);
    text.SetEditable(false);
    text.Refresh();
}

CShowMsgDlg::CShowMsgDlg() = default;

CShowMsgDlg::~CShowMsgDlg() = default;

bool CShowMsgDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                          wxBORDER_NONE | wxFRAME_NO_TASKBAR))
        return false;
    SetClientSize(ConvertDialogToPixels(wxSize(480, 61)));

    m_richMessage = new wxTextCtrl(this, IDC_MESSAGE, wxString(), ConvertDialogToPixels(wxPoint(26, 7)),
                                   ConvertDialogToPixels(wxSize(104, 23)),
                                   wxTE_MULTILINE | wxTE_RICH2 | wxTE_READONLY | wxTE_NO_VSCROLL | wxBORDER_NONE);
    m_editFocusSink = new wxTextCtrl(this, IDC_FOCUS_SINK, wxString(), ConvertDialogToPixels(wxPoint(426, 7)),
                                     ConvertDialogToPixels(wxSize(11, 12)), wxBORDER_SIMPLE);
    // The close button shows the toolkit's close image, or a cross when the
    // theme has none.
    const wxBitmap closeImage = wxArtProvider::GetBitmap(wxART_CLOSE, wxART_BUTTON);
    const wxPoint closePos = ConvertDialogToPixels(wxPoint(405, 22));
    const wxSize closeSize = ConvertDialogToPixels(wxSize(19, 14));
    if (closeImage.IsOk())
        m_btnClose = new wxBitmapButton(this, IDC_CLOSE, closeImage, closePos, closeSize);
    else
        m_btnClose = new wxButton(this, IDC_CLOSE, wxString::FromUTF8("\xC3\x97"), closePos, closeSize, wxBU_EXACTFIT);
    m_btnClose->SetToolTip(ToWx("关闭消息框。"));
    SwallowMouse(m_richMessage);
    SwallowMouse(m_editFocusSink);

    m_timers = std::make_unique<CWindowTimers>(this, [this](int id) { OnTimer(id); });
    Bind(wxEVT_SIZE, &CShowMsgDlg::OnSize, this);
    m_btnClose->Bind(wxEVT_BUTTON, &CShowMsgDlg::OnBnClickedClose, this);
    return true;
}

void CShowMsgDlg::LayoutControls(int cx, int cy)
{
    if (m_richMessage)
        m_richMessage->SetSize(cy, 0, cx - cy, cy);
    if (m_btnClose)
        m_btnClose->SetSize(0, 0, cy, cy);
}

void CShowMsgDlg::OnSize(wxSizeEvent& event)
{
    const wxSize client = GetClientSize();
    LayoutControls(client.GetWidth(), client.GetHeight());
    event.Skip();
}

void CShowMsgDlg::OnBnClickedClose(wxCommandEvent&)
{
    Hide();
}

void CShowMsgDlg::OnTimer(int id)
{
    if (id != kHideTimer)
        return;
    m_timers->KillTimer(kHideTimer);
    Hide();
}

void CShowMsgDlg::ShowText(const CString& text, COLORREF backColour, COLORREF textColour)
{
    if (!m_richMessage)
        return;
    m_cfMessage = SRichTextFormat();
    m_cfMessage.bold = true;
    m_cfMessage.textColour = textColour;
    m_cfMessage.heightTwips = 360;
    m_richMessage->SetValue(ToWx(text));
    ApplyRichTextFormat(*m_richMessage, m_cfMessage, backColour);
    m_editFocusSink->SetFocus();
    m_editFocusSink->SetSize(0, 0, 1, 1);
}
