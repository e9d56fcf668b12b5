// An off-screen surface over a rectangle of a target device context: what
// is drawn on it, in the target's coordinates, lands in a bitmap that is
// copied to the target when the surface goes, so the target never shows a
// half-drawn item. A printer context is drawn on directly.
#pragma once

#include <memory>

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>

#include "platform/wintypes.h"

class BCMenuMemDC {
public:
    BCMenuMemDC(wxDC& target, const CRect& rect);
    ~BCMenuMemDC();
    BCMenuMemDC(const BCMenuMemDC&) = delete;
    BCMenuMemDC& operator=(const BCMenuMemDC&) = delete;

    // The context to draw on: the surface, or the target itself.
    wxDC& GetDC() { return m_memDC ? *m_memDC : m_target; }
    bool IsOffScreen() const { return m_memDC != nullptr; }

private:
    wxDC& m_target;
    CRect m_rect;
    wxBitmap m_bitmap;
    std::unique_ptr<wxMemoryDC> m_memDC;
};
