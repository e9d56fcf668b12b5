#include "controls/dcdraw.h"

#include <wx/brush.h>
#include <wx/pen.h>

#include "ui/wxcolour.h"

COLORREF SystemColour(wxSystemColour index)
{
    return FromWxColour(wxSystemSettings::GetColour(index));
}

void FillSolidRect(wxDC& dc, int x, int y, int cx, int cy, COLORREF colour)
{
    if (cx <= 0 || cy <= 0)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ToWxColour(colour)));
    dc.DrawRectangle(x, y, cx, cy);
    dc.SetBrush(wxNullBrush);
    dc.SetPen(wxNullPen);
}

void Draw3dRect(wxDC& dc, const CRect& rect, COLORREF topLeft, COLORREF bottomRight)
{
    const int x = rect.left;
    const int y = rect.top;
    const int cx = rect.Width();
    const int cy = rect.Height();
    FillSolidRect(dc, x, y, cx - 1, 1, topLeft);
    FillSolidRect(dc, x, y, 1, cy - 1, topLeft);
    FillSolidRect(dc, x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(dc, x, y + cy - 1, cx, 1, bottomRight);
}

void Line(wxDC& dc, CPoint from, CPoint to, COLORREF colour)
{
    if (from.x == to.x) {
        const int first = to.y < from.y ? to.y + 1 : from.y;
        const int last = to.y < from.y ? from.y : to.y - 1;
        FillSolidRect(dc, from.x, first, 1, last - first + 1, colour);
    } else {
        const int first = to.x < from.x ? to.x + 1 : from.x;
        const int last = to.x < from.x ? from.x : to.x - 1;
        FillSolidRect(dc, first, from.y, last - first + 1, 1, colour);
    }
}
