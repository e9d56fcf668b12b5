#include "ui/textprogressctrl.h"

#include <algorithm>
#include <cstdint>

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>

#include "ui/wxcolour.h"
#include "ui/wxtext.h"

namespace {

COLORREF SystemColour(wxSystemColour index)
{
    const wxColour colour = wxSystemSettings::GetColour(index);
    return RGB(colour.Red(), colour.Green(), colour.Blue());
}

// The bar shows one line: line breaks in the own text are not honoured.
wxString SingleLine(const CString& text)
{
    wxString line = ToWx(text);
    line.Replace("\r", "");
    line.Replace("\n", "");
    return line;
}

} // namespace

CTextProgressCtrl::CTextProgressCtrl()
    : m_crBar(SystemColour(wxSYS_COLOUR_HIGHLIGHT)),
      m_crBack(SystemColour(wxSYS_COLOUR_WINDOW)),
      m_crTextOnBack(SystemColour(wxSYS_COLOUR_HIGHLIGHT)),
      m_crTextOnBar(SystemColour(wxSYS_COLOUR_WINDOW))
{
}

CTextProgressCtrl::~CTextProgressCtrl() = default;

bool CTextProgressCtrl::Create(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, long style)
{
    // The paint covers every pixel, so the background is never erased first.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE))
        return false;
    Bind(wxEVT_PAINT, &CTextProgressCtrl::OnPaint, this);
    Bind(wxEVT_SIZE, &CTextProgressCtrl::OnSize, this);
    return true;
}

void CTextProgressCtrl::SetRange(int lower, int upper)
{
    m_nLower = lower;
    m_nUpper = upper;
}

int CTextProgressCtrl::SetPos(int position)
{
    if (!GetHandle())
        return -1;
    const int previous = m_nPosition;
    m_nPosition = position;
    const int filled = ComputeFilledWidth(GetClientSize().GetWidth());
    if (filled != m_nFilledWidth) {
        m_nFilledWidth = filled;
        ++m_nPosRepaints;
        RepaintNow();
    }
    return previous;
}

int CTextProgressCtrl::StepIt()
{
    return SetPos(m_nPosition + m_nStep);
}

int CTextProgressCtrl::OffsetPos(int delta)
{
    return SetPos(m_nPosition + delta);
}

int CTextProgressCtrl::SetStep(int step)
{
    m_nStep = step;
    return step;
}

void CTextProgressCtrl::SetShowText(BOOL show)
{
    if (GetHandle() && show != m_bShowText)
        Refresh();
    m_bShowText = show;
}

void CTextProgressCtrl::SetWindowText(const CString& text)
{
    if (text == m_strOwnText)
        return;
    m_strOwnText = text;
    if (GetHandle())
        Refresh();
}

void CTextProgressCtrl::SetLabel(const wxString& label)
{
    SetWindowText(FromWx(label));
}

wxString CTextProgressCtrl::GetLabel() const
{
    return ToWx(m_strOwnText);
}

// The share and the width are computed exactly in integers: in floating
// point 29 of 100 would come out as 28.999... and show "28%".
int CTextProgressCtrl::ComputeFilledWidth(int clientWidth) const
{
    if (m_nLower >= m_nUpper)
        return 0;
    const int64_t span = static_cast<int64_t>(m_nUpper) - m_nLower;
    const int64_t done = static_cast<int64_t>(m_nPosition) - m_nLower;
    return static_cast<int>(static_cast<int64_t>(clientWidth) * done / span);
}

CString CTextProgressCtrl::GetDisplayedText() const
{
    if (!m_bShowText || m_nLower >= m_nUpper)
        return CString();
    if (!m_strOwnText.IsEmpty())
        return m_strOwnText;
    const int64_t span = static_cast<int64_t>(m_nUpper) - m_nLower;
    const int64_t done = static_cast<int64_t>(m_nPosition) - m_nLower;
    CString percent;
    percent.Format("%d%%", static_cast<int>(done * 100 / span));
    return percent;
}

void CTextProgressCtrl::Draw(wxDC& dc, const wxSize& client)
{
    if (m_nLower >= m_nUpper)
        return;

    // A position outside the range is not clamped: the percentage may read
    // below 0 or above 100, while the bar shows empty or full.
    const int width = client.GetWidth();
    const int split = std::clamp(ComputeFilledWidth(width), 0, std::max(width, 0));
    const wxRect whole(0, 0, width, client.GetHeight());
    const wxRect filled(0, 0, split, client.GetHeight());
    const wxRect unfilled(split, 0, width - split, client.GetHeight());

    dc.SetPen(*wxTRANSPARENT_PEN);
    if (!filled.IsEmpty()) {
        dc.SetBrush(wxBrush(ToWxColour(m_crBar)));
        dc.DrawRectangle(filled);
    }
    if (!unfilled.IsEmpty()) {
        dc.SetBrush(wxBrush(ToWxColour(m_crBack)));
        dc.DrawRectangle(unfilled);
    }
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);

    const CString text = GetDisplayedText();
    if (text.IsEmpty())
        return;
    const wxString line = SingleLine(text);
    dc.SetFont(GetFont().IsOk() ? GetFont() : *wxNORMAL_FONT);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxSize extent = dc.GetTextExtent(line);
    const wxPoint at(whole.x + (whole.width - extent.x) / 2, whole.y + (whole.height - extent.y) / 2);

    // The same text twice, each time clipped to one part of the bar.
    const struct {
        const wxRect& rect;
        COLORREF colour;
    } passes[] = {{filled, m_crTextOnBar}, {unfilled, m_crTextOnBack}};
    for (const auto& pass : passes) {
        if (pass.rect.IsEmpty())
            continue;
        dc.SetClippingRegion(pass.rect);
        dc.SetTextForeground(ToWxColour(pass.colour));
        dc.DrawText(line, at);
        dc.DestroyClippingRegion();
    }
}

wxSize CTextProgressCtrl::DoGetBestSize() const
{
    return FromDIP(wxSize(150, 20));
}

void CTextProgressCtrl::OnPaint(wxPaintEvent&)
{
    // Creating the paint context validates the window even when the range
    // is empty and nothing is drawn.
    wxAutoBufferedPaintDC dc(this);
    Draw(dc, GetClientSize());
    ++m_nPaints;
}

void CTextProgressCtrl::OnSize(wxSizeEvent& event)
{
    // The next SetPos repaints, even if the share is unchanged.
    m_nFilledWidth = -1;
    event.Skip();
}

// The callers drive the bar from long loops on the user-interface thread, so
// the paint cannot wait for the event loop. Nor may it run the loop: the
// toolkit's timers fire inside any yield, whatever events it is limited to,
// and the frame's timers must not run in the middle of the caller's work.
// Update() paints the invalidated bar at once without running the loop;
// when the toolkit holds the paint back (a compositor that has not shown the
// last frame yet), the bar is drawn straight onto its window through an
// off-screen bitmap, and the queued paint follows later.
void CTextProgressCtrl::RepaintNow()
{
    Refresh();
    const int paintsBefore = m_nPaints;
    Update();
    // An empty range draws nothing, which would copy an uninitialised buffer.
    if (m_nPaints != paintsBefore || !IsShownOnScreen() || m_nLower >= m_nUpper)
        return;
    wxClientDC client(this);
    wxBufferedDC buffered(&client, GetClientSize());
    Draw(buffered, GetClientSize());
}
