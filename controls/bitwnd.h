// A child window that shows one frame of a bitmap strip by the mouse: frame 0
// normally, 1 while the pointer is over it (strips of two frames or more),
// 2 while it is pressed (strips of three frames or more). It can pass its
// mouse moves and left-button presses and releases on to its parent, which
// is how the seek bar's thumb lets the bar drag and seek.
#pragma once

#include <memory>

#include <wx/window.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CBitItem;

class CBitWnd : public wxWindow {
public:
    CBitWnd() = default;
    ~CBitWnd() override;
    CBitWnd(const CBitWnd&) = delete;
    CBitWnd& operator=(const CBitWnd&) = delete;

    // Creates the window with no size at (0, 0); SetItem gives it its size.
    // style: toolkit window styles. FALSE when the window cannot be made.
    BOOL CreateWnd(long style, wxWindow* parent, int id);

    // Shows a strip owned by the caller (kept alive while the window shows
    // it). Moves the window to (0, 0) with the size of one frame and repaints.
    void SetItem(CBitItem* item);
    // Loads a strip from res/<fileName> that the window owns and deletes.
    void LoadItem(const CString& fileName, UINT frameWidth, UINT frameHeight);
    CBitItem* GetItem() const { return m_pItem; }

    // The pointer over the window is the toolkit cursor (wxWindow::SetCursor).
    void SetForwardMouse(BOOL forward) { m_bForwardMouse = forward; }
    BOOL GetForwardMouse() const { return m_bForwardMouse; }

    // The frame shown: 0 normal, 1 pointed at, 2 pressed.
    int GetState() const { return m_nState; }

    // Paints the window: black, then frame GetState() at the top left.
    void Paint(wxDC& dc);

    // The mouse, as the window's events deliver it (points in client
    // coordinates). The first move after the pointer came in counts as the
    // hover; leaving ends it.
    void OnMouseMove(const wxMouseEvent& event);
    void OnMouseHover();
    void OnMouseLeave();
    void OnLButtonDown(const wxMouseEvent& event);
    void OnLButtonUp(const wxMouseEvent& event);

    // Sets the frame from where the pointer is now, for when a mouse capture
    // elsewhere kept the window from seeing the release or the leave.
    void SyncWithPointer();

private:
    void OnPaint(wxPaintEvent& event);
    int FrameCount() const;
    void Forward(const wxMouseEvent& event);
    void SendCommand();
    void Resize();

    int m_nState = 0;
    // The strip shown: the caller's, or m_pOwnItem when the window loaded it.
    CBitItem* m_pItem = nullptr;
    std::unique_ptr<CBitItem> m_pOwnItem;
    BOOL m_bChecked = FALSE;
    BOOL m_bToggle = FALSE;
    BOOL m_bForwardMouse = FALSE;
    BOOL m_bTracking = FALSE;
    BOOL m_bCommandOnPress = FALSE;
};
