// The ribbon area of the main window: an application button at the left and
// a ribbon bar with the five categories of the layout tables
// (frame/ribbonlayout.h).
//
// Every command the ribbon issues - a button, a drop-down item, a combo
// choice, a colour choice, Enter in the edit box, an application-menu item -
// reaches the top-level window as one wxEVT_MENU event with the command id,
// so the frame handles ribbon, menu and status-bar commands alike. Update-UI
// events for the buttons and the stand-in controls travel up to the frame
// too; Enable and Check from the frame's handlers act on the elements.
// Command ids are not window ids (the toolkit's window ids end at
// kLargestToolkitId, core/commandids.h):
// the ribbon's windows have automatic ids and are found by command id.
// Category changes by the user arrive at the frame as the ribbon bar's own
// wxEVT_RIBBONBAR_PAGE_CHANGED (once per click); changes made in code
// (SetActiveCategory) raise no event.
#pragma once

#include <initializer_list>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"
#include "ui/commandmenu.h"
#include "frame/ribbonlayout.h"

class wxBitmapButton;
class wxComboBox;
class wxTextCtrl;

// The ribbon bar; it only adds access to the tab rectangles, so that a click
// on a tab can be reproduced.
class CMainRibbonBar : public wxRibbonBar {
public:
    using wxRibbonBar::wxRibbonBar;
    // The tab of page `index` in client coordinates (empty when hidden).
    wxRect GetTabRect(int index) const;
};

// A button bar of one ribbon panel. It remembers the enabled and checked state
// it was given (the toolkit offers no query) and asks the frame for the state
// of every button when the window's user interface is updated.
class CRibbonCommandBar : public wxRibbonButtonBar {
public:
    CRibbonCommandBar(wxWindow* parent, wxWindowID id = wxID_ANY);

    // Adds the button of a Button or Hybrid element.
    void AddElement(const SRibbonElement& element);

    bool HasButton(int id) const { return m_states.count(id) != 0; }
    bool IsButtonEnabled(int id) const;
    bool IsButtonChecked(int id) const;
    // The label shown (an update handler may have changed it).
    CString GetButtonText(int id) const;
    const SRibbonElement* FindElement(int id) const;

    void EnableButton(int button_id, bool enable = true) override;
    void ToggleButton(int button_id, bool checked) override;
    // Sends one wxUpdateUIEvent per button on to the owning ribbon (and so to
    // the frame) and applies Enable, Check and SetText.
    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

    // The window that update-UI events start from: the ribbon, so that they
    // reach the frame even while this bar sits in an expanded panel.
    void SetUpdateTarget(wxWindow* target) { m_updateTarget = target; }

    // A bar that shares its panel with other controls is laid out by the
    // panel's sizer, which would give it its smallest layout; such a bar
    // asks for its full size instead.
    void KeepFullSize() { m_fullSize = true; }
    wxSize GetMinSize() const override;

private:
    struct SState {
        bool enabled = true;
        bool checked = false;
        bool shownChecked = false;  // the highlighted image of a drop-down button
        CString text;               // the label shown
    };
    std::map<int, SState> m_states;
    std::vector<SRibbonElement> m_elements;
    wxWindow* m_updateTarget = nullptr;
    bool m_fullSize = false;
};

// The colour buttons kCmdFontColor and kCmdBackColor: the left part issues the command with
// the current colour, the arrow opens a palette with the automatic colour
// "常用颜色" at the top, the standard colours and "添加颜色" for the colour
// dialog. Choosing a colour sets it and issues the command.
class CRibbonColorButton : public wxWindow {
public:
    CRibbonColorButton(wxWindow* parent, const SRibbonElement& element);

    int GetCommandId() const { return m_commandId; }
    COLORREF GetColor() const { return m_color; }
    // Sets the colour without a command.
    void SetColor(COLORREF color);
    // The colour the automatic button of the palette gives.
    COLORREF GetAutomaticColor() const { return m_automatic; }
    // A choice from the palette: sets the colour and issues the command.
    void SelectColor(COLORREF color);
    const CString& GetText() const { return m_text; }

    void Draw(wxDC& dc) const;
    bool Enable(bool enable = true) override;

    // The palette's standard colours, row by row.
    static const std::vector<COLORREF>& GetStandardColors();

private:
    int ArrowWidth() const;
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnEnterLeave(wxMouseEvent& event);
    void ShowPalette();
    void ChooseOtherColor();

    int m_commandId;
    CString m_text;
    COLORREF m_color;
    COLORREF m_automatic;
    bool m_hover = false;
    bool m_pressed = false;
};

class CMainRibbon : public wxPanel {
public:
    CMainRibbon() = default;
    // The categories listed in `hidden` are hidden from the start: laying
    // the ribbon out once costs some 30 ms, and hiding one later lays it out
    // again.
    bool Create(wxWindow* parent, std::initializer_list<int> hidden = {});

    wxRibbonBar* GetRibbonBar() { return m_ribbonBar; }

    // Categories, by index in layout order (hidden ones keep their index).
    int GetCategoryCount();
    CString GetCategoryName(int index);
    int GetActiveCategory();
    CString GetActiveCategoryName();
    void SetActiveCategory(int index);
    void ShowCategory(int index, bool show);
    bool IsCategoryVisible(int index);

    // The controls that stand in for the element kinds the ribbon bar lacks:
    // kCmdFontName, kCmdFontSize (wxComboBox), kCmdFontColor, kCmdBackColor
    // (CRibbonColorButton), kCmdOffsetEdit (wxTextCtrl). Null for any other id.
    wxWindow* FindStandIn(int id);
    COLORREF GetColorButtonColor(int id);
    CString GetComboText(int id);
    void SetComboText(int id, const CString& text);
    CString GetEditText(int id);
    void SetEditText(int id, const CString& text);

    // The button bar that holds button `id`, in `category` or in the first
    // category that has it (-1); the categories looked in get their panels.
    CRibbonCommandBar* FindButtonBar(int id, int category = -1);
    wxBitmapButton* GetApplicationButton() { return m_appButton; }

    // The menus the ribbon pops up, built from the layout tables.
    std::unique_ptr<CCommandMenu> CreateApplicationMenu() const;
    // The drop-down menu of a hybrid button; null for any other id.
    std::unique_ptr<CCommandMenu> CreateDropDownMenu(int buttonId) const;

    // The stand-ins' update-UI: their command ids lie beyond the toolkit's
    // window ids, so the ribbon asks the frame for each of them.
    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

private:
    struct SBuiltBar {
        int category;
        CRibbonCommandBar* bar;
    };

    // Makes the panels of a category once.
    void FillCategory(int index);
    void FillAllCategories();
    void BuildPanel(int category, wxWindow* page, const SRibbonPanel& panel);
    wxWindow* CreateStandIn(wxWindow* parent, const SRibbonElement& element);
    void PopupForButton(CRibbonCommandBar* bar, int buttonId);
    void ShowApplicationMenu();
    // Pops `menu` up at `position` of `owner` and issues the chosen command.
    void PopupAndIssue(wxWindow* owner, CCommandMenu& menu, const wxPoint& position);

    void OnButtonClicked(wxRibbonButtonBarEvent& event);
    void OnDropDownClicked(wxRibbonButtonBarEvent& event);

    CMainRibbonBar* m_ribbonBar = nullptr;
    wxBitmapButton* m_appButton = nullptr;
    std::vector<SBuiltBar> m_bars;
    struct SCategoryPage {
        wxRibbonPage* page;
        bool filled;
    };
    std::vector<SCategoryPage> m_pages;
    bool m_bRealized = false;
    std::map<int, wxWindow*> m_standIns;
    // Boxes whose text the learner typed and has not yet applied: leaving
    // the box applies it as Enter does.
    std::set<int> m_typedStandIns;
};
