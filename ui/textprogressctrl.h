// A progress bar that paints itself: the filled part in one colour, the rest
// in another, and over both a centred text, the bar's own text or, when it
// has none, the filled share as a percentage. The text is drawn twice through
// two clip regions, so each part of a glyph takes the colour that stays
// readable on the part of the bar it lies over.
//
// Long operations drive the bar on the user-interface thread without
// returning to the event loop; SetPos therefore paints at once, but only when
// the filled width in pixels changes.
#pragma once

#include <wx/window.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CTextProgressCtrl : public wxWindow {
public:
    // Reads the system colours; the window comes with Create.
    CTextProgressCtrl();
    CTextProgressCtrl(const CTextProgressCtrl&) = delete;
    CTextProgressCtrl& operator=(const CTextProgressCtrl&) = delete;
    ~CTextProgressCtrl() override;

    bool Create(wxWindow* parent, int id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxBORDER_SIMPLE);

    // Range and position are the bar's own; SetRange does not repaint.
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const { lower = m_nLower; upper = m_nUpper; }
    int GetPos() const { return m_nPosition; }
    // Returns the previous position, or -1 with nothing changed when the bar
    // has no window yet. Paints at once when the filled width changes.
    int SetPos(int position);
    int StepIt();                  // SetPos(position + step)
    int OffsetPos(int delta);      // SetPos(position + delta)
    int SetStep(int step);         // returns the step given

    // Colours of the filled part, the unfilled part, the text over the
    // unfilled part and the text over the filled part. None repaints.
    void SetBarColor(COLORREF colour) { m_crBar = colour; }
    void SetBgColor(COLORREF colour) { m_crBack = colour; }
    void SetTextColor(COLORREF colour) { m_crTextOnBack = colour; }
    void SetTextOnBarColor(COLORREF colour) { m_crTextOnBar = colour; }
    COLORREF GetBarColor() const { return m_crBar; }
    COLORREF GetBgColor() const { return m_crBack; }
    COLORREF GetTextColor() const { return m_crTextOnBack; }
    COLORREF GetTextOnBarColor() const { return m_crTextOnBar; }

    void SetShowText(BOOL show);
    BOOL GetShowText() const { return m_bShowText; }

    // The bar's own text; an empty text brings the percentage back. A changed
    // text is painted at the next paint, not at once.
    void SetWindowText(const CString& text);
    CString GetWindowText() const { return m_strOwnText; }
    // The toolkit's label is the same text.
    void SetLabel(const wxString& label) override;
    wxString GetLabel() const override;

    // The text that a paint would draw: the own text, else "<share>%" with
    // the share truncated; empty when the text is switched off or the range
    // is empty.
    CString GetDisplayedText() const;
    // Width of the filled part for a client width (the share is not clamped,
    // so a position outside the range gives a negative or too large width).
    int ComputeFilledWidth(int clientWidth) const;

    // Paints the whole bar into dc for a client area of the given size.
    // Nothing is drawn when the lower end is not below the upper end.
    void Draw(wxDC& dc, const wxSize& client);

    // Filled width of the last repaint that SetPos caused (-1 = none since
    // creation or the last size change), how many such repaints there were,
    // and how many paint events the bar handled.
    int GetFilledWidth() const { return m_nFilledWidth; }
    int GetPosRepaintCount() const { return m_nPosRepaints; }
    int GetPaintCount() const { return m_nPaints; }

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    double Share() const;
    // Invalidates the bar and paints it before returning.
    void RepaintNow();

    int m_nPosition = 0;
    int m_nStep = 1;
    int m_nUpper = 100;
    int m_nLower = 0;
    CString m_strOwnText;
    BOOL m_bShowText = TRUE;
    int m_nFilledWidth = -1;
    COLORREF m_crBar;
    COLORREF m_crBack;
    COLORREF m_crTextOnBack;
    COLORREF m_crTextOnBar;
    int m_nPosRepaints = 0;
    int m_nPaints = 0;
};
