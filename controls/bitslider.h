// A slider painted entirely from bitmap strips: the channel before the thumb
// from one strip, the channel after it from another (each showing its own
// pixels at their place, so the two strips line up), and the thumb a CBitWnd
// that shows its strip's frames by the mouse. A tooltip on the slider and
// its thumb shows the media time under the pointer. The player's seek bar.
//
// The slider keeps its own range and position and handles the mouse itself:
// a press on the thumb drags it, and every release sets the position from
// the release point and hands it to the seek handler. It sends the
// toolkit's scroll events: wxEVT_SCROLL_THUMBTRACK while the thumb is
// dragged, wxEVT_SCROLL_THUMBRELEASE when a drag ends, and
// wxEVT_SCROLL_CHANGED after every release that set a position. The mouse
// wheel does nothing, and the slider takes no keyboard focus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <wx/control.h>
#include <wx/slider.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CBitItem;
class CBitWnd;

class CBitSlider : public wxControl {
public:
    CBitSlider() = default;
    ~CBitSlider() override;
    CBitSlider(const CBitSlider&) = delete;
    CBitSlider& operator=(const CBitSlider&) = delete;

    // style: wxSL_HORIZONTAL (the default) or wxSL_VERTICAL, plus window
    // styles; the slider has no border of its own.
    bool Create(wxWindow* parent, int id, const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = wxSL_HORIZONTAL);

    // ---- Range and position ----
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE);
    int GetRangeMin() const { return m_nMin; }
    int GetRangeMax() const { return m_nMax; }
    // Clamped to the range; moves the thumb and repaints.
    void SetPos(int position);
    int GetPos() const { return m_nPos; }
    bool IsVertical() const { return HasFlag(wxSL_VERTICAL); }

    // ---- Geometry (client coordinates) ----
    // The channel: the span the thumb's centre travels, inset from both ends
    // by half the thumb's length (the thumb strip's frame along the slider,
    // or 11 pixels without one). Empty when the slider is shorter than that.
    void GetChannelRect(CRect* rect) const;
    // The slider's own thumb: the thumb length wide, the slider's full height
    // (width for a vertical slider), centred on the position's pixel.
    void GetThumbRect(CRect* rect) const;
    // The thumb window's rectangle: one thumb frame, centred on the slider's
    // own thumb along the slider and SetThumbOffset pixels from the top (from
    // the left for a vertical slider).
    void GetBitmapThumbRect(CRect* rect) const;

    // ---- Strips ----
    // Creates the thumb window (once) showing a strip owned by the caller,
    // with the time tooltip. Nothing for a null strip or when the thumb exists.
    void SetThumbItem(CBitItem* item);
    // Channel strips owned by the caller: after the thumb, before it. Both
    // must be given; the slider takes the frame size of the strip before the
    // thumb unless that strip has no frames (then it keeps its size).
    void SetChannelItems(CBitItem* after, CBitItem* before);
    // The same with strips loaded from res/ that the slider owns.
    void LoadChannelBitmaps(const CString& afterFile, const CString& beforeFile);
    void LoadThumbBitmap(const CString& fileName, UINT frameWidth, UINT frameHeight);
    // The pointer over the slider and over its thumb.
    bool SetCursor(const wxCursor& cursor) override;
    // Moves the thumb window at once.
    void SetThumbOffset(int pixels);
    int GetThumbOffset() const { return m_nThumbOffset; }
    CBitWnd* GetThumbWnd() const { return m_wndThumb; }

    // ---- Painting ----
    // Paints the channel into dc: the strip before the thumb from the
    // slider's start to the thumb's far edge (full) or its near edge (not
    // full), the strip after it from the thumb's far edge to the end. With
    // full the thumb window is moved to GetBitmapThumbRect as well. Nothing
    // without the thumb, or when a channel strip is missing or has no frames.
    void PaintChannel(wxDC& dc, BOOL full);

    // ---- What the pointer means (given by the owner) ----
    // The screen's width in pixels: the time tooltip maps the whole screen
    // onto the media, and without a width (0) a release seeks nowhere.
    void SetScreenWidth(int pixels) { m_nScreenWidth = pixels; }
    // The media's length in milliseconds, for the time tooltip.
    void SetMediaLength(int64_t milliseconds) { m_nMediaLength = milliseconds; }
    // Called with the position of every release that set one (unclamped).
    using SeekHandler = std::function<void(int position)>;
    void SetSeekHandler(SeekHandler onSeek) { m_onSeek = std::move(onSeek); }

    // ---- Mouse and time tooltip ----
    // A release at point (client coordinates): unless the screen width is 0,
    // the position becomes ((x - channel left) + c - 1) / c with
    // c = channel width / range maximum, computed in single precision and
    // truncated toward zero; the slider clamps it to the range, and the seek
    // handler receives it unclamped. Then the drag ends and the scroll events
    // go out. A channel without width or a range maximum of 0 keeps the
    // position and requests no seek.
    void OnLButtonUp(CPoint point);
    // The tip text of both tools from the pointer's screen x.
    void UpdateTimeTooltip();
    // The tip text for a pointer at screen x: x times (mediaLength /
    // screenWidth), the division first in 64-bit integers, as minutes and
    // seconds ("MM:SS", minutes above 99 with all their digits). FALSE, text
    // untouched, when the media is shorter than 1000 ms or the screen width
    // is not positive.
    static BOOL ComputeTimeTip(int64_t screenX, int64_t mediaLength, int screenWidth, CString& text);
    // The current tip text ("" before the first update).
    CString GetTooltipText() const { return m_strTip; }

    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void FreeItems();
    bool CreateThumb();
    void FinishThumb();
    int ThumbLength() const;
    // Pixel of the position along the channel, and back.
    int PixelFromPos(int position) const;
    int PosFromPixel(int pixel) const;
    void PlaceThumb();
    void EndDrag(bool notify);
    void SendScroll(wxEventType type);

    CBitWnd* m_wndThumb = nullptr;
    // The channel strips shown: the caller's, or m_pOwnItemBefore and m_pOwnItemAfter when
    // the slider loaded them.
    CBitItem* m_pItemBefore = nullptr;
    CBitItem* m_pItemAfter = nullptr;
    std::unique_ptr<CBitItem> m_pOwnItemBefore;
    std::unique_ptr<CBitItem> m_pOwnItemAfter;
    int m_nThumbOffset = 0;
    CString m_strTip;
    int m_nScreenWidth = 0;
    int64_t m_nMediaLength = 0;
    SeekHandler m_onSeek;

    int m_nMin = 0;
    int m_nMax = 100;
    int m_nPos = 0;
    bool m_bCaptured = false;
    bool m_bDragging = false;
    int m_nDragOffset = 0;
};
