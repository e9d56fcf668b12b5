// A bitmap cut into a strip of equal frames (left to right, or top to bottom
// when the bitmap is taller than wide), drawn frame by frame or in parts. The
// seek bar paints its channel and its thumb from such strips.
//
// A strip whose image cannot be loaded, or whose frame is larger than the
// image, has no frames: it reports 0 frames and every drawing operation
// draws nothing and answers FALSE.
#pragma once

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CBitItem {
public:
    // Loads res/<fileName> (see GetResourcePath). A frame width or height of 0
    // stands for the image's whole width or height. With copy set the strip
    // keeps a second, working copy of the image that RestoreCopy and
    // CopyFrameFrom change and Draw reads.
    CBitItem(const CString& fileName, UINT frameWidth, UINT frameHeight, BOOL copy = FALSE);
    // The same with an image made by the caller.
    CBitItem(const wxBitmap& bitmap, UINT frameWidth, UINT frameHeight, BOOL copy = FALSE);
    ~CBitItem();
    CBitItem(const CBitItem&) = delete;
    CBitItem& operator=(const CBitItem&) = delete;

    // Copies a part of the image to target at (x, y). cx or cy 0 stand for
    // the image's width or height. centre: x becomes 0 when cx is below the
    // image width, else (cx - width) / 2, and y likewise. stretch: the whole
    // image from (srcX, srcY) is stretched into (x, y, cx, cy), where a
    // positive x sets cx and a positive y sets cy to the image's size; without
    // it cx x cy pixels are copied from (srcX, srcY). FALSE for a null target
    // or a strip without frames.
    BOOL Draw(wxDC* target, int x, int y, int cx, int cy, int srcX = 0, int srcY = 0, BOOL stretch = FALSE,
              BOOL centre = FALSE);
    // Draw into a rectangle's position and size.
    BOOL DrawInRect(wxDC* target, const CRect& rect, int srcX = 0, int srcY = 0, BOOL stretch = FALSE,
                    BOOL centre = FALSE);
    // Draws one frame at the origin (the given one, else (0, 0)), shifted by
    // the frame's own place in the strip when atFramePosition is set. FALSE
    // for a null target or a frame number that is not below the frame count.
    BOOL DrawFrame(wxDC* target, int frame, BOOL atFramePosition = FALSE, const CPoint* origin = nullptr);
    // The rectangle of a frame: in the image when source is set, else moved
    // by the origin. FALSE for a null result or a frame out of range.
    BOOL GetFrameRect(CRect* result, int frame, BOOL source = FALSE, const CPoint* origin = nullptr) const;
    // Whether the point lies in frame 0's rectangle at the origin.
    BOOL HitTest(CPoint point, const CPoint* origin = nullptr) const;
    // The whole image's rectangle at the origin.
    CRect GetItemRect(const CPoint* origin = nullptr) const;
    // Copies the whole image into the working copy; FALSE without a copy.
    BOOL RestoreCopy();
    // Copies frame `frame` of another strip (one without a copy, with the
    // same frame size) into the same frame place of this strip's working copy.
    BOOL CopyFrameFrom(CBitItem& other, int frame);

    int GetFrameCount() const { return m_nFrameCount; }
    UINT GetFrameWidth() const { return m_nFrameWidth; }
    UINT GetFrameHeight() const { return m_nFrameHeight; }
    int GetWidth() const { return m_bmInfo.width; }
    int GetHeight() const { return m_bmInfo.height; }
    BOOL HasCopy() const { return m_bHasCopy; }
    BOOL IsVertical() const { return m_bVertical; }
    // The memory context that holds the image (the source of DrawFrame).
    wxMemoryDC* GetMemDC() { return &m_dcMem; }

private:
    struct SBitmapInfo {
        int width = 0;
        int height = 0;
    };

    void Init(const wxBitmap& bitmap, BOOL copy);
    CPoint Origin(const CPoint* origin) const { return origin ? *origin : m_ptOrigin; }

    int m_nFrameCount = 0;
    UINT m_nFrameWidth = 0;
    UINT m_nFrameHeight = 0;
    BOOL m_bHasCopy = FALSE;
    BOOL m_bVertical = FALSE;
    CPoint m_ptOrigin;
    SBitmapInfo m_bmInfo;
    wxBitmap m_bitmap;
    wxBitmap m_bitmapCopy;
    wxMemoryDC m_dcMem;
    wxMemoryDC m_dcCopy;
};
