// Drawing steps that the self-drawn controls share: system colours as
// COLORREF values, and pixel-exact fills, frames and lines (the toolkit's own
// lines and outlines may be smoothed; these fill whole pixels).
#pragma once

#include <wx/dc.h>
#include <wx/settings.h>

#include "platform/wintypes.h"

COLORREF SystemColour(wxSystemColour index);

void FillSolidRect(wxDC& dc, int x, int y, int cx, int cy, COLORREF colour);
inline void FillSolidRect(wxDC& dc, const CRect& rect, COLORREF colour)
{
    FillSolidRect(dc, rect.left, rect.top, rect.Width(), rect.Height(), colour);
}

// A one-pixel frame on the rectangle's edge: top and left in one colour,
// bottom and right (with the corners they share) in the other.
void Draw3dRect(wxDC& dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
inline void FrameRect(wxDC& dc, const CRect& rect, COLORREF colour) { Draw3dRect(dc, rect, colour, colour); }

// An axis-parallel line from `from` up to, but not including, `to`.
void Line(wxDC& dc, CPoint from, CPoint to, COLORREF colour);
