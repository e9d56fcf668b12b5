#include "ui/mybutton.h"

#include <string_view>

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

// One ring of a 3-D edge: topLeft on the top and left lines, bottomRight on
// the bottom and right lines (which take the corners they share), all inside
// rect. Drawn as one-pixel rectangles: line end points differ between DCs.
void DrawEdgeRing(wxDC& dc, const wxRect& rect, const wxColour& topLeft, const wxColour& bottomRight)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(topLeft));
    dc.DrawRectangle(rect.x, rect.y, rect.width - 1, 1);
    dc.DrawRectangle(rect.x, rect.y, 1, rect.height - 1);
    dc.SetBrush(wxBrush(bottomRight));
    dc.DrawRectangle(rect.x, rect.y + rect.height - 1, rect.width, 1);
    dc.DrawRectangle(rect.x + rect.width - 1, rect.y, 1, rect.height);
    dc.SetBrush(wxNullBrush);
}

} // namespace

CMyButton::CMyButton() : m_crText(RGB(220, 0, 0)), m_crFill(SystemColour(wxSYS_COLOUR_BTNFACE))
{
}

CMyButton::CMyButton(wxWindow* parent, int id, const wxString& label, const wxPoint& pos, const wxSize& size)
    : CMyButton()
{
    Create(parent, id, label, pos, size);
}

bool CMyButton::Create(wxWindow* parent, int id, const wxString& label, const wxPoint& pos, const wxSize& size,
                       long style)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE))
        return false;
    wxControl::SetLabel(label);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &CMyButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CMyButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CMyButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &CMyButton::OnLeftUp, this);
    Bind(wxEVT_MOTION, &CMyButton::OnMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CMyButton::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &CMyButton::OnKeyDown, this);
    Bind(wxEVT_KEY_UP, &CMyButton::OnKeyUp, this);
    return true;
}

void CMyButton::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    Refresh();
}

void CMyButton::SetBkColor(COLORREF colour)
{
    m_crFill = colour;
    Refresh();
}

void CMyButton::SetLabel(const wxString& label)
{
    wxControl::SetLabel(label);
    Refresh();
}

// The caption is read into a 260-byte buffer: at most 259 bytes of program
// text, here cut at a character boundary rather than inside a character.
wxString CMyButton::CaptionToDraw() const
{
    const CString caption = FromWx(GetLabel());
    const std::string_view bytes = caption.view();
    size_t end = 0;
    while (end < bytes.size()) {
        const size_t length = static_cast<size_t>(CharLengthAt(bytes, end));
        if (end + length > static_cast<size_t>(kMaxCaptionBytes))
            break;
        end += length;
    }
    // "&" marks a mnemonic ("&&" is a literal "&"); line breaks are not honoured.
    wxString line = wxControl::RemoveMnemonics(ToWx(CString(bytes.substr(0, end))));
    line.Replace("\r", "");
    line.Replace("\n", "");
    return line;
}

void CMyButton::DrawItem(wxDC& dc, const wxRect& rect, bool pressed)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWxColour(m_crFill)));
    dc.DrawRectangle(rect);
    dc.SetBrush(wxNullBrush);

    // Two rings: a raised edge is light at the top left and dark at the
    // bottom right, a sunken one the other way round.
    const wxColour light = wxSystemSettings::GetColour(wxSYS_COLOUR_3DLIGHT);
    const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNHIGHLIGHT);
    const wxColour shadow = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW);
    const wxColour darkShadow = wxSystemSettings::GetColour(wxSYS_COLOUR_3DDKSHADOW);
    wxRect inner = rect;
    inner.Deflate(1);
    if (pressed) {
        DrawEdgeRing(dc, rect, shadow, highlight);
        DrawEdgeRing(dc, inner, darkShadow, light);
    } else {
        DrawEdgeRing(dc, rect, light, darkShadow);
        DrawEdgeRing(dc, inner, highlight, shadow);
    }
    dc.SetPen(wxNullPen);
    const wxString caption = CaptionToDraw();
    if (caption.empty() || rect.IsEmpty())
        return;
    dc.SetFont(GetFont().IsOk() ? GetFont() : *wxNORMAL_FONT);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(ToWxColour(m_crText));
    const wxSize extent = dc.GetTextExtent(caption);
    dc.SetClippingRegion(rect);
    dc.DrawText(caption, rect.x + (rect.width - extent.x) / 2, rect.y + (rect.height - extent.y) / 2);
    dc.DestroyClippingRegion();
}

wxSize CMyButton::DoGetBestSize() const
{
    wxClientDC dc(const_cast<CMyButton*>(this));
    dc.SetFont(GetFont());
    const wxSize extent = dc.GetTextExtent(CaptionToDraw());
    return wxSize(std::max(extent.x + 16, 40), std::max(extent.y + 10, 24));
}

void CMyButton::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    DrawItem(dc, wxRect(GetClientSize()), m_bPressed);
}

void CMyButton::SetPressed(bool pressed)
{
    if (pressed == m_bPressed)
        return;
    m_bPressed = pressed;
    Refresh();
}

void CMyButton::Click()
{
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    HandleWindowEvent(event);
}

void CMyButton::OnLeftDown(wxMouseEvent&)
{
    if (!IsEnabled())
        return;
    SetFocus();
    if (!HasCapture())
        CaptureMouse();
    m_bTracking = true;
    SetPressed(true);
}

void CMyButton::OnMotion(wxMouseEvent& event)
{
    if (m_bTracking)
        SetPressed(wxRect(GetClientSize()).Contains(event.GetPosition()));
    event.Skip();
}

void CMyButton::OnLeftUp(wxMouseEvent& event)
{
    if (!m_bTracking)
        return;
    m_bTracking = false;
    if (HasCapture())
        ReleaseMouse();
    const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
    SetPressed(false);
    if (inside)
        Click();
}

void CMyButton::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_bTracking = false;
    SetPressed(false);
}

void CMyButton::OnKeyDown(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_SPACE) {
        SetPressed(true);
        return;
    }
    if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER) {
        Click();
        return;
    }
    event.Skip();
}

void CMyButton::OnKeyUp(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_SPACE && m_bPressed) {
        SetPressed(false);
        Click();
        return;
    }
    event.Skip();
}
