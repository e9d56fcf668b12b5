#include "controls/bititem.h"

#include "ui/resourceimage.h"

CBitItem::CBitItem(const CString& fileName, UINT frameWidth, UINT frameHeight, BOOL copy)
    : m_nFrameWidth(frameWidth), m_nFrameHeight(frameHeight)
{
    Init(LoadResourceBitmap(fileName), copy);
}

CBitItem::CBitItem(const wxBitmap& bitmap, UINT frameWidth, UINT frameHeight, BOOL copy)
    : m_nFrameWidth(frameWidth), m_nFrameHeight(frameHeight)
{
    Init(bitmap, copy);
}

CBitItem::~CBitItem()
{
    if (m_dcMem.IsOk())
        m_dcMem.SelectObject(wxNullBitmap);
    if (m_dcCopy.IsOk())
        m_dcCopy.SelectObject(wxNullBitmap);
}

void CBitItem::Init(const wxBitmap& bitmap, BOOL copy)
{
    if (!bitmap.IsOk() || bitmap.GetWidth() < 1 || bitmap.GetHeight() < 1)
        return;
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();

    // Own pixels: a drawing into the working copy must never reach the
    // caller's bitmap or the loaded image through shared data.
    m_bitmap = bitmap.GetSubBitmap(wxRect(0, 0, width, height));
    m_dcMem.SelectObject(m_bitmap);
    if (copy) {
        m_bitmapCopy = bitmap.GetSubBitmap(wxRect(0, 0, width, height));
        m_dcCopy.SelectObject(m_bitmapCopy);
        m_bHasCopy = TRUE;
    }

    m_bmInfo.width = width;
    m_bmInfo.height = height;
    m_bVertical = width < height;
    if (m_nFrameWidth == 0)
        m_nFrameWidth = static_cast<UINT>(width);
    if (m_nFrameHeight == 0)
        m_nFrameHeight = static_cast<UINT>(height);
    // A frame larger than the image along the strip leaves no frame at all.
    m_nFrameCount = m_bVertical ? static_cast<int>(static_cast<UINT>(height) / m_nFrameHeight)
                                : static_cast<int>(static_cast<UINT>(width) / m_nFrameWidth);
}

BOOL CBitItem::Draw(wxDC* target, int x, int y, int cx, int cy, int srcX, int srcY, BOOL stretch, BOOL centre)
{
    if (!target || m_nFrameCount < 1)
        return FALSE;
    wxMemoryDC& source = m_bHasCopy ? m_dcCopy : m_dcMem;
    const int width = m_bmInfo.width;
    const int height = m_bmInfo.height;
    if (cx == 0)
        cx = width;
    if (cy == 0)
        cy = height;
    if (centre) {
        x = cx < width ? 0 : (cx - width) / 2;
        y = cy < height ? 0 : (cy - height) / 2;
    }
    if (stretch) {
        if (x > 0)
            cx = width;
        if (y > 0)
            cy = height;
        return target->StretchBlit(x, y, cx, cy, &source, srcX, srcY, width, height, wxCOPY) ? TRUE : FALSE;
    }
    return target->Blit(x, y, cx, cy, &source, srcX, srcY, wxCOPY) ? TRUE : FALSE;
}

BOOL CBitItem::DrawInRect(wxDC* target, const CRect& rect, int srcX, int srcY, BOOL stretch, BOOL centre)
{
    return Draw(target, rect.left, rect.top, rect.Width(), rect.Height(), srcX, srcY, stretch, centre);
}

BOOL CBitItem::DrawFrame(wxDC* target, int frame, BOOL atFramePosition, const CPoint* origin)
{
    CRect source;
    if (!target || !GetFrameRect(&source, frame, TRUE))
        return FALSE;
    const CPoint at = Origin(origin);
    const int x = (atFramePosition ? source.left : 0) + at.x;
    const int y = (atFramePosition ? source.top : 0) + at.y;
    return target->Blit(x, y, source.Width(), source.Height(), &m_dcMem, source.left, source.top, wxCOPY) ? TRUE
                                                                                                          : FALSE;
}

BOOL CBitItem::GetFrameRect(CRect* result, int frame, BOOL source, const CPoint* origin) const
{
    if (!result || frame < 0 || frame >= m_nFrameCount)
        return FALSE;
    const int frameWidth = static_cast<int>(m_nFrameWidth);
    const int frameHeight = static_cast<int>(m_nFrameHeight);
    int left = m_bVertical ? 0 : frame * frameWidth;
    int top = m_bVertical ? frame * frameHeight : 0;
    if (!source) {
        const CPoint at = Origin(origin);
        left += at.x;
        top += at.y;
    }
    *result = CRect(left, top, left + frameWidth, top + frameHeight);
    return TRUE;
}

BOOL CBitItem::HitTest(CPoint point, const CPoint* origin) const
{
    CRect frame;
    return GetFrameRect(&frame, 0, FALSE, origin) && frame.PtInRect(point) ? TRUE : FALSE;
}

CRect CBitItem::GetItemRect(const CPoint* origin) const
{
    const CPoint at = Origin(origin);
    return CRect(at.x, at.y, at.x + m_bmInfo.width, at.y + m_bmInfo.height);
}

BOOL CBitItem::RestoreCopy()
{
    if (!m_bHasCopy)
        return FALSE;
    return m_dcCopy.Blit(0, 0, m_bmInfo.width, m_bmInfo.height, &m_dcMem, 0, 0, wxCOPY) ? TRUE : FALSE;
}

BOOL CBitItem::CopyFrameFrom(CBitItem& other, int frame)
{
    CRect from;
    CRect to;
    if (!m_bHasCopy || !other.GetFrameRect(&from, frame, TRUE) || !GetFrameRect(&to, frame, TRUE))
        return FALSE;
    return m_dcCopy.Blit(to.left, to.top, from.Width(), from.Height(), &other.m_dcMem, from.left, from.top, wxCOPY)
               ? TRUE
               : FALSE;
}
