// Small value types the program's windows and settings share: colours in the
// 0x00BBGGRR form that the stored settings files hold, and integer geometry.
#pragma once

#include <algorithm>
#include <cstdint>

typedef uint32_t COLORREF;
typedef unsigned int UINT;
typedef unsigned char BYTE;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

struct CPoint {
    int x = 0;
    int y = 0;
    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}
    friend constexpr bool operator==(const CPoint&, const CPoint&) = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    constexpr CSize() = default;
    constexpr CSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const CSize&, const CSize&) = default;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    constexpr bool PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr CPoint TopLeft() const { return {left, top}; }
    constexpr CPoint BottomRight() const { return {right, bottom}; }
    constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    constexpr void DeflateRect(int dx, int dy) { left += dx; right -= dx; top += dy; bottom -= dy; }
    constexpr void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }
    friend constexpr bool operator==(const CRect&, const CRect&) = default;
};
