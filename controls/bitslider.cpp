#include "controls/bitslider.h"

#include <algorithm>
#include <climits>

#include <wx/dcbuffer.h>
#include <wx/slider.h>
#include <wx/utils.h>

#include "controls/bititem.h"
#include "controls/bitwnd.h"
#include "ui/wxtext.h"
#include "core/mediatime.h"

namespace {

// The slider's own thumb length when no thumb strip gives one.
constexpr int kDefaultThumbLength = 11;
// Height (width, vertical) of the nominal groove the channel rectangle spans.
constexpr int kGrooveThickness = 4;

bool HasFrames(const CBitItem* item)
{
    return item && item->GetFrameCount() > 0;
}

} // namespace

CBitSlider::~CBitSlider()
{
    if (HasCapture())
        ReleaseMouse();
    FreeItems();
}

bool CBitSlider::Create(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, long style)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!(style & wxBORDER_MASK))
        style |= wxBORDER_NONE;
    if (!wxControl::Create(parent, id, pos, size, style | wxFULL_REPAINT_ON_RESIZE))
        return false;
    Bind(wxEVT_PAINT, &CBitSlider::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CBitSlider::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CBitSlider::OnLeftDown, this);
    Bind(wxEVT_MOTION, &CBitSlider::OnMotion, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) { OnLButtonUp(CPoint(event.GetX(), event.GetY())); });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CBitSlider::OnCaptureLost, this);
    // The wheel never moves the seek bar.
    Bind(wxEVT_MOUSEWHEEL, [](wxMouseEvent&) {});
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        PlaceThumb();
        Refresh();
        event.Skip();
    });
    return true;
}

void CBitSlider::FreeItems()
{
    m_pItemBefore = nullptr;
    m_pItemAfter = nullptr;
    m_pOwnItemBefore.reset();
    m_pOwnItemAfter.reset();
}

// ---- Range and position ----

void CBitSlider::SetRange(int minimum, int maximum, BOOL redraw)
{
    m_nMin = minimum;
    m_nMax = std::max(minimum, maximum);
    m_nPos = std::clamp(m_nPos, m_nMin, m_nMax);
    PlaceThumb();
    if (redraw)
        Refresh();
}

void CBitSlider::SetPos(int position)
{
    position = std::clamp(position, m_nMin, m_nMax);
    if (position == m_nPos)
        return;
    m_nPos = position;
    PlaceThumb();
    Refresh();
}

// ---- Geometry ----

int CBitSlider::ThumbLength() const
{
    const CBitItem* item = m_wndThumb ? m_wndThumb->GetItem() : nullptr;
    if (!HasFrames(item))
        return kDefaultThumbLength;
    return static_cast<int>(IsVertical() ? item->GetFrameHeight() : item->GetFrameWidth());
}

void CBitSlider::GetChannelRect(CRect* rect) const
{
    if (!rect)
        return;
    const wxSize client = GetClientSize();
    const int length = ThumbLength();
    const int along = IsVertical() ? client.GetHeight() : client.GetWidth();
    const int across = IsVertical() ? client.GetWidth() : client.GetHeight();
    const int start = length / 2;
    const int end = std::max(start, along - (length - length / 2));
    const int grooveStart = std::max(0, across / 2 - kGrooveThickness / 2);
    const int grooveEnd = grooveStart + std::min(kGrooveThickness, std::max(0, across - grooveStart));
    *rect = IsVertical() ? CRect(grooveStart, start, grooveEnd, end) : CRect(start, grooveStart, end, grooveEnd);
}

int CBitSlider::PixelFromPos(int position) const
{
    CRect channel;
    GetChannelRect(&channel);
    const int start = IsVertical() ? channel.top : channel.left;
    const int length = IsVertical() ? channel.Height() : channel.Width();
    const int64_t span = static_cast<int64_t>(m_nMax) - m_nMin;
    if (span <= 0)
        return start;
    return start + static_cast<int>((static_cast<int64_t>(position) - m_nMin) * length / span);
}

int CBitSlider::PosFromPixel(int pixel) const
{
    CRect channel;
    GetChannelRect(&channel);
    const int start = IsVertical() ? channel.top : channel.left;
    const int length = IsVertical() ? channel.Height() : channel.Width();
    const int64_t span = static_cast<int64_t>(m_nMax) - m_nMin;
    if (length <= 0 || span <= 0)
        return m_nPos;
    // Rounded to the nearest position, so a drag lands where the thumb is.
    const int64_t scaled = (static_cast<int64_t>(pixel) - start) * span;
    const int64_t offset = scaled >= 0 ? (scaled + length / 2) / length : -((-scaled + length / 2) / length);
    return static_cast<int>(std::clamp<int64_t>(m_nMin + offset, m_nMin, m_nMax));
}

void CBitSlider::GetThumbRect(CRect* rect) const
{
    if (!rect)
        return;
    const wxSize client = GetClientSize();
    const int length = ThumbLength();
    const int first = PixelFromPos(m_nPos) - length / 2;
    *rect = IsVertical() ? CRect(0, first, client.GetWidth(), first + length)
                         : CRect(first, 0, first + length, client.GetHeight());
}

void CBitSlider::GetBitmapThumbRect(CRect* rect) const
{
    if (!rect)
        return;
    const wxSize thumb = m_wndThumb ? m_wndThumb->GetClientSize() : wxSize(0, 0);
    const int tw = thumb.GetWidth();
    const int th = thumb.GetHeight();
    CRect own;
    GetThumbRect(&own);
    if (IsVertical()) {
        const int top = own.top + (th - own.Height()) / 2;
        *rect = CRect(m_nThumbOffset, top, m_nThumbOffset + tw, top + th);
    } else {
        const int left = own.left + (tw - own.Width()) / 2;
        *rect = CRect(left, m_nThumbOffset, left + tw, m_nThumbOffset + th);
    }
}

void CBitSlider::PlaceThumb()
{
    if (!m_wndThumb || !m_wndThumb->GetHandle())
        return;
    CRect target;
    GetBitmapThumbRect(&target);
    const wxRect now = m_wndThumb->GetRect();
    if (now != wxRect(target.left, target.top, target.Width(), target.Height())) {
        m_wndThumb->SetSize(target.left, target.top, target.Width(), target.Height());
        m_wndThumb->Refresh();
    }
}

// ---- Strips ----

bool CBitSlider::CreateThumb()
{
    if (m_wndThumb || !GetHandle())
        return false;
    auto* thumb = new CBitWnd;
    if (!thumb->CreateWnd(0, this, 0)) {
        delete thumb;
        return false;
    }
    m_wndThumb = thumb;
    m_wndThumb->SetForwardMouse(TRUE);
    if (GetCursor().IsOk())
        m_wndThumb->SetCursor(GetCursor());
    return true;
}

void CBitSlider::FinishThumb()
{
    UpdateTimeTooltip();
    PlaceThumb();
    Refresh();
}

void CBitSlider::SetThumbItem(CBitItem* item)
{
    if (!item || m_wndThumb || !CreateThumb())
        return;
    m_wndThumb->SetItem(item);
    FinishThumb();
}

void CBitSlider::LoadThumbBitmap(const CString& fileName, UINT frameWidth, UINT frameHeight)
{
    if (m_wndThumb || !CreateThumb())
        return;
    m_wndThumb->LoadItem(fileName, frameWidth, frameHeight);
    FinishThumb();
}

void CBitSlider::SetChannelItems(CBitItem* after, CBitItem* before)
{
    if (!GetHandle() || !after || !before)
        return;
    FreeItems();
    m_pItemAfter = after;
    m_pItemBefore = before;
    if (HasFrames(before))
        SetSize(wxSize(static_cast<int>(before->GetFrameWidth()), static_cast<int>(before->GetFrameHeight())));
    PlaceThumb();
    Refresh();
}

void CBitSlider::LoadChannelBitmaps(const CString& afterFile, const CString& beforeFile)
{
    if (!GetHandle())
        return;
    FreeItems();
    m_pOwnItemAfter = std::make_unique<CBitItem>(afterFile, 0, 0, FALSE);
    m_pOwnItemBefore = std::make_unique<CBitItem>(beforeFile, 0, 0, FALSE);
    m_pItemAfter = m_pOwnItemAfter.get();
    m_pItemBefore = m_pOwnItemBefore.get();
    if (HasFrames(m_pItemBefore))
        SetSize(wxSize(m_pItemBefore->GetWidth(), m_pItemBefore->GetHeight()));
    PlaceThumb();
    Refresh();
}

void CBitSlider::SetThumbOffset(int pixels)
{
    m_nThumbOffset = pixels;
    PlaceThumb();
}

bool CBitSlider::SetCursor(const wxCursor& cursor)
{
    const bool changed = wxControl::SetCursor(cursor);
    if (m_wndThumb)
        m_wndThumb->SetCursor(cursor);
    return changed;
}

// ---- Painting ----

void CBitSlider::PaintChannel(wxDC& dc, BOOL full)
{
    if (!m_wndThumb || !HasFrames(m_pItemBefore) || !HasFrames(m_pItemAfter))
        return;
    const wxSize client = GetClientSize();
    CRect thumb;
    GetBitmapThumbRect(&thumb);

    // A part of no length draws nothing (a length of 0 would mean the whole
    // strip to the strip's Draw).
    if (IsVertical()) {
        const int beforeEnd = full ? thumb.bottom : thumb.top;
        const int afterLength = client.GetHeight() - thumb.bottom;
        if (beforeEnd > 0 && client.GetWidth() > 0)
            m_pItemBefore->Draw(&dc, 0, 0, client.GetWidth(), beforeEnd, 0, 0);
        if (afterLength > 0 && client.GetWidth() > 0)
            m_pItemAfter->Draw(&dc, 0, thumb.bottom, client.GetWidth(), afterLength, 0, thumb.bottom);
    } else {
        const int beforeEnd = full ? thumb.right : thumb.left;
        const int afterLength = client.GetWidth() - thumb.right;
        if (beforeEnd > 0 && client.GetHeight() > 0)
            m_pItemBefore->Draw(&dc, 0, 0, beforeEnd, client.GetHeight(), 0, 0);
        if (afterLength > 0 && client.GetHeight() > 0)
            m_pItemAfter->Draw(&dc, thumb.right, 0, afterLength, client.GetHeight(), thumb.right, 0);
    }
    if (full)
        PlaceThumb();
}

void CBitSlider::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    const wxSize client = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(GetBackgroundColour()));
    dc.DrawRectangle(0, 0, client.GetWidth(), client.GetHeight());
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
    PaintChannel(dc, TRUE);
}

wxSize CBitSlider::DoGetBestSize() const
{
    if (HasFrames(m_pItemBefore))
        return wxSize(static_cast<int>(m_pItemBefore->GetFrameWidth()),
                      static_cast<int>(m_pItemBefore->GetFrameHeight()));
    return IsVertical() ? wxSize(12, 200) : wxSize(200, 12);
}

// ---- Mouse ----

void CBitSlider::OnLeftDown(wxMouseEvent& event)
{
    if (!HasCapture())
        CaptureMouse();
    m_bCaptured = true;
    CRect thumb;
    GetThumbRect(&thumb);
    const CPoint at(event.GetX(), event.GetY());
    if (thumb.PtInRect(at)) {
        m_bDragging = true;
        m_nDragOffset = (IsVertical() ? at.y : at.x) - PixelFromPos(m_nPos);
    }
}

void CBitSlider::OnMotion(wxMouseEvent& event)
{
    if (m_bDragging) {
        const int pixel = (IsVertical() ? event.GetY() : event.GetX()) - m_nDragOffset;
        const int position = PosFromPixel(pixel);
        if (position != m_nPos) {
            SetPos(position);
            SendScroll(wxEVT_SCROLL_THUMBTRACK);
        }
    }
    UpdateTimeTooltip();
    event.Skip();
}

void CBitSlider::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    m_bCaptured = false;
    m_bDragging = false;
}

void CBitSlider::OnLButtonUp(CPoint point)
{
    // Without a screen size there is no time to seek to; the press ends
    // without a position and without notifications.
    if (m_nScreenWidth == 0) {
        EndDrag(false);
        return;
    }
    CRect channel;
    GetChannelRect(&channel);
    const int64_t width = IsVertical() ? channel.Height() : channel.Width();
    const int64_t along = IsVertical() ? point.y - channel.top : point.x - channel.left;
    const int64_t maximum = m_nMax;
    if (width > 0 && maximum != 0) {
        // ((along + c - 1) / c) with c = width / maximum, in exact integer
        // arithmetic: (along * maximum + width - maximum) / width, truncated
        // toward zero. Single precision would give 495 where 496 is meant.
        const int64_t exact = (along * maximum + width - maximum) / width;
        const int position = static_cast<int>(std::clamp<int64_t>(exact, INT_MIN, INT_MAX));
        SetPos(position);
        if (m_onSeek)
            m_onSeek(position);
        Refresh();
        UpdateTimeTooltip();
    }
    EndDrag(true);
}

void CBitSlider::EndDrag(bool notify)
{
    const bool wasDragging = m_bDragging;
    const bool wasCaptured = m_bCaptured;
    m_bDragging = false;
    m_bCaptured = false;
    if (HasCapture())
        ReleaseMouse();
    if (wasCaptured && m_wndThumb)
        m_wndThumb->SyncWithPointer();
    if (!notify)
        return;
    if (wasDragging)
        SendScroll(wxEVT_SCROLL_THUMBRELEASE);
    SendScroll(wxEVT_SCROLL_CHANGED);
}

void CBitSlider::SendScroll(wxEventType type)
{
    wxScrollEvent event(type, GetId(), m_nPos, IsVertical() ? wxVERTICAL : wxHORIZONTAL);
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

// ---- Time tooltip ----

BOOL CBitSlider::ComputeTimeTip(int64_t screenX, int64_t mediaLength, int screenWidth, CString& text)
{
    if (mediaLength < 1000 || screenWidth <= 0)
        return FALSE;
    const int64_t perPixel = mediaLength / screenWidth;
    // A screen left of the first one has negative x: no time before 00:00
    // (the formatter would read a negative time as a huge unsigned one).
    text = FormatMinSec(std::max<int64_t>(0, screenX * perPixel));
    return TRUE;
}

void CBitSlider::UpdateTimeTooltip()
{
    CString text;
    if (!ComputeTimeTip(wxGetMousePosition().x, m_nMediaLength, m_nScreenWidth, text) || text == m_strTip)
        return;
    m_strTip = text;
    SetToolTip(ToWx(text));
    if (m_wndThumb)
        m_wndThumb->SetToolTip(ToWx(text));
}
