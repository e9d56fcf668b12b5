// A push button that paints itself as a flat coloured tile with a 3-D edge
// (raised, sunken while held down) and its caption centred on one line in a
// chosen colour. The exercise dialog recolours its question and hand-in
// buttons with SetBkColor and SetTextColor. A click sends wxEVT_BUTTON.
#pragma once

#include <wx/control.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CMyButton : public wxControl {
public:
    CMyButton();
    CMyButton(wxWindow* parent, int id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize);

    bool Create(wxWindow* parent, int id, const wxString& label, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxBORDER_NONE);

    // Both repaint at the next paint.
    void SetTextColor(COLORREF colour);
    void SetBkColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBkColor() const { return m_crFill; }

    void SetLabel(const wxString& label) override;

    // Paints the button into rect: the fill, the edge (sunken when pressed)
    // and the caption. Disabled and focused buttons look the same.
    void DrawItem(wxDC& dc, const wxRect& rect, bool pressed);

    bool IsPressed() const { return m_bPressed; }
    bool AcceptsFocus() const override { return true; }

    // At most this many bytes of the caption are drawn.
    static constexpr int kMaxCaptionBytes = 259;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void SetPressed(bool pressed);
    void Click();
    wxString CaptionToDraw() const;

    COLORREF m_crText;
    COLORREF m_crFill;
    bool m_bPressed = false;
    bool m_bTracking = false;
};
