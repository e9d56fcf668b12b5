// The main window's status bar with the player controls: text panes, icon
// elements and two sliders, left to right as the layout table gives them.
//
// Clicking an icon element, and letting go of a slider (after a drag or a
// click), sends wxEVT_MENU with the element's id to the top-level window.
// The element ids are command ids beyond the toolkit's window-id range, so
// each element keeps its id as a member and asks the frame's update-UI
// handlers with it; Enable(false) greys the element.
#pragma once

#include <vector>

#include <wx/panel.h>

#include "platform/cstring.h"

enum class EStatusElementKind {
    Pane,    // text and/or icon
    Slider,
};

struct SStatusBarElement {
    EStatusElementKind kind = EStatusElementKind::Pane;
    int id = 0;
    int icon = 0;            // resource id of the icon; 0: text only
    const char* label = "";  // the element's name (not shown)
    const char* text = "";   // initial text; the pane keeps the width it needs
    const char* toolTip = "";  // description, then "\n" and the short title
    bool separator = false;  // a separator follows the element
    // Sliders.
    int width = 0;
    int rangeMin = 0;
    int rangeMax = 0;
    int pos = 0;
    bool zoomButtons = false;
};

// The elements in order, left to right.
const std::vector<SStatusBarElement>& GetStatusBarLayout();

// A text or icon element of the status bar.
class CStatusBarPane : public wxWindow {
public:
    CStatusBarPane(wxWindow* parent, const SStatusBarElement& element);

    void SetText(const CString& text);
    CString GetText() const { return m_text; }
    // "description\nshort title"; the description becomes the tool tip.
    void SetToolTipText(const CString& text);
    CString GetToolTipText() const { return m_toolTip; }
    // Repaints at once (after SetText, for texts that change every second).
    void Redraw();

    int GetCommandId() const { return m_commandId; }
    CString GetElementLabel() const { return m_label; }
    int GetIconId() const { return m_icon; }
    bool IsClickable() const { return m_icon != 0; }

    void Draw(wxDC& dc) const;
    bool Enable(bool enable = true) override;
    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnEnterLeave(wxMouseEvent& event);

    int m_commandId;
    int m_icon;
    CString m_label;
    CString m_text;
    CString m_toolTip;
    bool m_hover = false;
    bool m_pressed = false;
};

// A horizontal slider of the status bar.
class CRibbonSlider : public wxWindow {
public:
    CRibbonSlider(wxWindow* parent, const SStatusBarElement& element);

    void SetRange(int minimum, int maximum);
    // Clamped to the range. While the learner drags the thumb, positions set
    // in code are kept for later and the thumb stays under the mouse.
    void SetPos(int pos);
    int GetPos() const { return m_dragging ? m_dragPos : m_pos; }
    int GetRangeMin() const { return m_min; }
    int GetRangeMax() const { return m_max; }
    bool HasZoomButtons() const { return m_zoomButtons; }
    int GetCommandId() const { return m_commandId; }

    // The track's end points in client coordinates, and their positions.
    int TrackLeft() const;
    int TrackRight() const;
    int PosFromX(int x) const;
    int XFromPos(int pos) const;

    void Draw(wxDC& dc) const;
    bool Enable(bool enable = true) override;
    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void EndDrag(bool issue);

    int m_commandId;
    int m_min;
    int m_max;
    int m_pos;
    bool m_zoomButtons;
    bool m_dragging = false;
    int m_dragPos = 0;
};

class CRibbonStatusBar : public wxPanel {
public:
    CRibbonStatusBar() = default;
    // `id` is the bar's own id; one beyond the window-id range (the frame's
    // 0xE801) is kept as GetBarId() and the window gets an automatic id.
    bool Create(wxWindow* parent, int id);
    int GetBarId() const { return m_barId; }

    // The text or icon element with this id; null for sliders and unknown ids.
    CStatusBarPane* FindElement(int id);
    CRibbonSlider* FindSlider(int id);
    // Element ids, left to right.
    std::vector<int> GetElementIds() const;

private:
    int m_barId = 0;
    std::vector<wxWindow*> m_elements;
};

// Asks the frame's update-UI handlers about `commandId` on behalf of
// `window` and applies Enable (and Show) to it.
void UpdateElementUI(wxWindow* window, int commandId);
