#include "ui/mycaptionbar.h"

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

} // namespace

CMyCaptionBar::CMyCaptionBar()
    : m_crText(SystemColour(wxSYS_COLOUR_BTNTEXT)), m_crBack(SystemColour(wxSYS_COLOUR_BTNFACE))
{
}

bool CMyCaptionBar::Create(wxWindow* parent, int id)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
        return false;
    SetFont(BarFont());
    const wxSize best = GetBestSize();
    SetMinSize(wxSize(-1, best.GetHeight()));
    SetSize(best);
    Bind(wxEVT_PAINT, &CMyCaptionBar::OnPaint, this);
    return true;
}

wxFont CMyCaptionBar::BarFont() const
{
    return wxFont(wxFontInfo(wxSize(0, kFontHeight)));
}

wxSize CMyCaptionBar::DoGetBestSize() const
{
    int height = kFontHeight;
    if (GetHandle()) {
        wxClientDC dc(const_cast<CMyCaptionBar*>(this));
        dc.SetFont(GetFont());
        height = std::max(height, dc.GetCharHeight());
    }
    if (m_icon.IsOk())
        height = std::max(height, m_icon.GetHeight());
    return wxSize(200, height + 2 * kMargin);
}

void CMyCaptionBar::SetText(const CString& text)
{
    m_strText = text;
    Refresh();
}

void CMyCaptionBar::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    Refresh();
}

void CMyCaptionBar::SetBackColor(COLORREF colour)
{
    m_crBack = colour;
    Refresh();
}

void CMyCaptionBar::SetIcon(const wxBitmap& icon)
{
    m_icon = icon;
    Refresh();
}

void CMyCaptionBar::ShowMessage(bool show)
{
    if (m_bMessageShown == show)
        return;
    m_bMessageShown = show;
    Refresh();
}

void CMyCaptionBar::OnDrawBackground(wxDC& dc, const wxRect& rect)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWxColour(m_crBack)));
    dc.DrawRectangle(rect);
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
}

void CMyCaptionBar::Draw(wxDC& dc, const wxSize& client)
{
    const wxRect whole(wxPoint(0, 0), client);
    if (!m_bMessageShown) {
        const wxColour idle = GetParent() ? GetParent()->GetBackgroundColour() : wxColour();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(idle.IsOk() ? idle : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
        dc.DrawRectangle(whole);
        dc.SetBrush(wxNullBrush);
        dc.SetPen(wxNullPen);
        return;
    }
    OnDrawBackground(dc, whole);

    int x = kMargin;
    if (m_icon.IsOk()) {
        dc.DrawBitmap(m_icon, x, (client.GetHeight() - m_icon.GetHeight()) / 2, true);
        x += m_icon.GetWidth() + kMargin;
    }
    if (m_strText.IsEmpty())
        return;

    // One line, vertically centred, cut off at the right end of the bar.
    wxString line = ToWx(m_strText);
    line.Replace("\r", "");
    line.Replace("\n", " ");
    dc.SetFont(GetFont().IsOk() ? GetFont() : BarFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(ToWxColour(m_crText));
    const wxRect textRect(x, 0, std::max(client.GetWidth() - x - kMargin, 0), client.GetHeight());
    if (textRect.IsEmpty())
        return;
    const int textHeight = dc.GetTextExtent(line).GetHeight();
    dc.SetClippingRegion(textRect);
    dc.DrawText(line, textRect.x, textRect.y + (textRect.height - textHeight) / 2);
    dc.DestroyClippingRegion();
}

void CMyCaptionBar::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc, GetClientSize());
}
