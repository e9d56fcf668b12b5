// A tree control in which the user selects several items at once: Ctrl and a
// click turn one item over, Shift and a click select the shown items from an
// anchor to the clicked one, Shift and Up or Down grow or shrink that range,
// and a plain click or any other key starts afresh. The caret (the tree's
// focused item) is the focus item and the first anchor of a range.
//
// Every walk goes over the shown items only (those whose parents are all
// open, whether scrolled into the window or not), so items in closed
// branches keep whatever state they had.
//
// The toolkit's tree on GTK has no tooltip window of its own, so there is no
// tooltip to keep above other windows.
#pragma once

#include <vector>

#include <wx/treectrl.h>

class CViewTree : public wxTreeCtrl {
public:
    CViewTree();
    ~CViewTree() override;

    // Creates the tree; it always allows several selected items.
    bool Create(wxWindow* parent, int id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);

    // Moves the caret without changing what is selected.
    void SetCaret(wxTreeItemId item);
    // A left button press; false when the press is fully handled (the
    // toolkit's own handling must not run).
    bool OnLButtonDown(const wxPoint& point, bool ctrl, bool shift);
    // A key press; false when fully handled.
    bool OnKeyDown(int keyCode, bool shift);
    // Unselects every shown item.
    void ClearSelection();
    // Selects the shown items from `from` to `to` (either order) and nothing
    // else that is shown; the caret goes to `to`. False, and nothing
    // changed, when neither is shown.
    bool SelectRange(wxTreeItemId from, wxTreeItemId to);
    // The selected items among the shown ones, in display order: the first,
    // the next after an item, the nearest before it.
    wxTreeItemId GetFirstSelected() const;
    wxTreeItemId GetNextSelected(wxTreeItemId item) const;
    wxTreeItemId GetPrevSelected(wxTreeItemId item) const;
    std::vector<wxTreeItemId> GetSelectedShownItems() const;
    // Display order over the shown items.
    wxTreeItemId FirstShownItem() const;
    wxTreeItemId NextShownItem(wxTreeItemId item) const;
    wxTreeItemId PrevShownItem(wxTreeItemId item) const;

protected:
    // A plain click (no Ctrl, no Shift) that the toolkit handles next.
    virtual void OnPlainClick() {}

private:
    void SetSelected(wxTreeItemId item, bool selected);
    void MoveCaret(wxTreeItemId item);
    wxTreeItemId LastShownDescendant(wxTreeItemId item) const;

    wxTreeItemId m_hRangeAnchor;   // first end of a Shift range; unset when none
};
