// The main frame's caption bar: the one-line message bar along the bottom of
// the frame. Its background is one plain fill of its own colour, so the frame
// can colour the whole bar by the kind of message it shows; over it come an
// optional icon at the left and the text. Between messages the bar keeps its
// place in the layout and shows an empty strip of its parent's colour, so a
// message never moves the windows above it.
#pragma once

#include <wx/bitmap.h>
#include <wx/panel.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CMyCaptionBar : public wxPanel {
public:
    CMyCaptionBar();

    // Creates the bar at the height of its 20-pixel font plus the margins.
    bool Create(wxWindow* parent, int id);

    void SetText(const CString& text);
    const CString& GetText() const { return m_strText; }
    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_crText; }
    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_crBack; }
    // Shown at the left end; an invalid bitmap removes the icon.
    void SetIcon(const wxBitmap& icon);
    // Whether the message is shown (true from creation) or the bar is an
    // empty strip.
    void ShowMessage(bool show);
    bool IsMessageShown() const { return m_bMessageShown; }

    // Plain fill of the background colour: no gradient, no border.
    void OnDrawBackground(wxDC& dc, const wxRect& rect);
    // The whole bar: background, icon, text.
    void Draw(wxDC& dc, const wxSize& client);

    static constexpr int kFontHeight = 20;
    static constexpr int kMargin = 4;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    wxFont BarFont() const;

    CString m_strText;
    COLORREF m_crText;
    COLORREF m_crBack;
    wxBitmap m_icon;
    bool m_bMessageShown = true;
};
