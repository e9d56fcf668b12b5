#include "controls/bitwnd.h"

#include <wx/dcbuffer.h>
#include <wx/utils.h>

#include "controls/bititem.h"

CBitWnd::~CBitWnd() = default;

BOOL CBitWnd::CreateWnd(long style, wxWindow* parent, int id)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxWindow::Create(parent, id, wxPoint(0, 0), wxSize(0, 0), style | wxFULL_REPAINT_ON_RESIZE))
        return FALSE;
    SetBackgroundColour(*wxBLACK);
    Bind(wxEVT_PAINT, &CBitWnd::OnPaint, this);
    Bind(wxEVT_MOTION, [this](wxMouseEvent& event) { OnMouseMove(event); });
    Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent&) { OnMouseLeave(); });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        OnLButtonDown(event);
        event.Skip();
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
        OnLButtonUp(event);
        event.Skip();
    });
    return TRUE;
}

void CBitWnd::SetItem(CBitItem* item)
{
    m_pItem = item;
    m_pOwnItem.reset();
    Resize();
}

void CBitWnd::LoadItem(const CString& fileName, UINT frameWidth, UINT frameHeight)
{
    m_pOwnItem = std::make_unique<CBitItem>(fileName, frameWidth, frameHeight, FALSE);
    m_pItem = m_pOwnItem.get();
    Resize();
}

void CBitWnd::Resize()
{
    if (!GetHandle())
        return;
    // A strip without frames leaves a window of no size: nothing to show.
    const bool shown = m_pItem && m_pItem->GetFrameCount() > 0;
    const int width = shown ? static_cast<int>(m_pItem->GetFrameWidth()) : 0;
    const int height = shown ? static_cast<int>(m_pItem->GetFrameHeight()) : 0;
    SetSize(0, 0, width, height);
    Refresh();
}

int CBitWnd::FrameCount() const
{
    return m_pItem ? m_pItem->GetFrameCount() : 0;
}

void CBitWnd::Paint(wxDC& dc)
{
    const wxSize client = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(*wxBLACK_BRUSH);
    dc.DrawRectangle(0, 0, client.GetWidth(), client.GetHeight());
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
    if (m_pItem)
        m_pItem->DrawFrame(&dc, m_nState, FALSE, nullptr);
}

void CBitWnd::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Paint(dc);
}

void CBitWnd::OnMouseMove(const wxMouseEvent& event)
{
    // The toolkit reports the leave by itself; the first move after the
    // pointer came in stands for the hover.
    if (!m_bTracking) {
        m_bTracking = TRUE;
        OnMouseHover();
    }
    if (m_bForwardMouse)
        Forward(event);
}

void CBitWnd::OnMouseHover()
{
    m_nState = FrameCount() > 1 ? 1 : 0;
    if (m_bChecked)
        m_nState = 2;
    Refresh();
}

void CBitWnd::OnMouseLeave()
{
    m_nState = m_bChecked ? 2 : 0;
    if (FrameCount() <= 1)
        m_nState = 0;
    m_bTracking = FALSE;
    Refresh();
}

void CBitWnd::OnLButtonDown(const wxMouseEvent& event)
{
    m_nState = FrameCount() > 2 ? 2 : 0;
    if (m_bChecked)
        m_nState = 0;
    if (m_bToggle)
        m_bChecked = !m_bChecked;
    Refresh();
    if (m_bCommandOnPress)
        SendCommand();
    if (m_bForwardMouse)
        Forward(event);
}

void CBitWnd::OnLButtonUp(const wxMouseEvent& event)
{
    if (!m_bChecked) {
        m_nState = FrameCount() > 1 ? 1 : 0;
        Refresh();
    }
    if (!m_bCommandOnPress)
        SendCommand();
    if (m_bForwardMouse)
        Forward(event);
}

void CBitWnd::SyncWithPointer()
{
    const wxPoint at = ScreenToClient(wxGetMousePosition());
    if (wxRect(GetClientSize()).Contains(at)) {
        m_bTracking = TRUE;
        OnMouseHover();
    } else {
        OnMouseLeave();
    }
}

// The parent sees the event as its own, at the same place in its client area.
void CBitWnd::Forward(const wxMouseEvent& event)
{
    wxWindow* parent = GetParent();
    if (!parent)
        return;
    wxMouseEvent forwarded(event);
    forwarded.SetPosition(event.GetPosition() + GetPosition());
    forwarded.SetEventObject(parent);
    forwarded.SetId(parent->GetId());
    parent->GetEventHandler()->ProcessEvent(forwarded);
}

// The parent only: the command does not travel further up the window chain.
void CBitWnd::SendCommand()
{
    wxWindow* parent = GetParent();
    if (!parent)
        return;
    wxCommandEvent command(wxEVT_BUTTON, GetId());
    command.SetEventObject(this);
    command.StopPropagation();
    parent->GetEventHandler()->ProcessEvent(command);
}
