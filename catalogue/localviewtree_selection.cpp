// The local media tree's multi-selection: Ctrl toggles one item, Shift
// selects the range from an anchor, Shift with Up or Down extends it; any
// other key or a plain click starts afresh.
#include "catalogue/localviewtree.h"

namespace {

// Selects or unselects one item without moving the caret (the toolkit's
// selection call also makes a newly selected item the focused one).
void SetSelected(CLocalViewTree& tree, wxTreeItemId item, bool selected)
{
    if (!item.IsOk() || tree.IsSelected(item) == selected)
        return;
    const wxTreeItemId caret = tree.GetFocusedItem();
    tree.SelectItem(item, selected);
    if (caret.IsOk() && tree.GetFocusedItem() != caret)
        tree.SetCaret(caret);
}

} // namespace

void CLocalViewTree::SetCaret(wxTreeItemId item)
{
    if (!item.IsOk())
        return;
    // The toolkit moves its focused item only when it selects an item:
    // select it, then give it back its own state.
    const bool selected = IsSelected(item);
    if (selected)
        SelectItem(item, false);
    SelectItem(item, true);
    if (!selected)
        SelectItem(item, false);
}

wxTreeItemId CLocalViewTree::FirstShownItem() const
{
    wxTreeItemIdValue cookie;
    return GetFirstChild(GetRootItem(), cookie);
}

wxTreeItemId CLocalViewTree::NextShownItem(wxTreeItemId item) const
{
    if (!item.IsOk())
        return wxTreeItemId();
    if (ItemHasChildren(item) && IsExpanded(item)) {
        wxTreeItemIdValue cookie;
        const wxTreeItemId child = GetFirstChild(item, cookie);
        if (child.IsOk())
            return child;
    }
    const wxTreeItemId root = GetRootItem();
    for (wxTreeItemId level = item; level.IsOk() && level != root; level = GetItemParent(level)) {
        const wxTreeItemId sibling = GetNextSibling(level);
        if (sibling.IsOk())
            return sibling;
    }
    return wxTreeItemId();
}

wxTreeItemId CLocalViewTree::LastShownDescendant(wxTreeItemId item) const
{
    while (ItemHasChildren(item) && IsExpanded(item)) {
        const wxTreeItemId last = GetLastChild(item);
        if (!last.IsOk())
            break;
        item = last;
    }
    return item;
}

wxTreeItemId CLocalViewTree::PrevShownItem(wxTreeItemId item) const
{
    if (!item.IsOk())
        return wxTreeItemId();
    const wxTreeItemId sibling = GetPrevSibling(item);
    if (sibling.IsOk())
        return LastShownDescendant(sibling);
    const wxTreeItemId parent = GetItemParent(item);
    return parent.IsOk() && parent != GetRootItem() ? parent : wxTreeItemId();
}

void CLocalViewTree::ClearSelection()
{
    for (wxTreeItemId item = FirstShownItem(); item.IsOk(); item = NextShownItem(item))
        SetSelected(*this, item, false);
}

bool CLocalViewTree::SelectItems(wxTreeItemId from, wxTreeItemId to)
{
    wxTreeItemId item = FirstShownItem();
    for (; item.IsOk() && item != from && item != to; item = NextShownItem(item))
        SetSelected(*this, item, false);
    if (!item.IsOk())
        return false;
    const wxTreeItemId otherEnd = item == from ? to : from;
    SetCaret(to);
    for (;; item = NextShownItem(item)) {
        SetSelected(*this, item, true);
        if (item == otherEnd || !NextShownItem(item).IsOk())
            break;
    }
    for (item = NextShownItem(item); item.IsOk(); item = NextShownItem(item))
        SetSelected(*this, item, false);
    return true;
}

wxTreeItemId CLocalViewTree::GetFirstSelectedItem() const
{
    for (wxTreeItemId item = FirstShownItem(); item.IsOk(); item = NextShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

wxTreeItemId CLocalViewTree::GetNextSelectedItem(wxTreeItemId item) const
{
    for (item = NextShownItem(item); item.IsOk(); item = NextShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

wxTreeItemId CLocalViewTree::GetPrevSelectedItem(wxTreeItemId item) const
{
    for (item = PrevShownItem(item); item.IsOk(); item = PrevShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

std::vector<wxTreeItemId> CLocalViewTree::GetSelectedShownItems() const
{
    std::vector<wxTreeItemId> items;
    for (wxTreeItemId item = GetFirstSelectedItem(); item.IsOk(); item = GetNextSelectedItem(item))
        items.push_back(item);
    return items;
}

void CLocalViewTree::MoveCaret(wxTreeItemId item)
{
    // Moving the caret takes the selection with it, as a single click would.
    const wxTreeItemId old = GetFocusedItem();
    if (old.IsOk() && old != item)
        SetSelected(*this, old, false);
    SetSelected(*this, item, true);
    SetCaret(item);
}

bool CLocalViewTree::OnLeftButtonDown(const wxPoint& point, bool ctrl, bool shift)
{
    int flags = 0;
    const wxTreeItemId hit = HitTest(point, flags);
    const bool onItem = hit.IsOk() && (flags & (wxTREE_HITTEST_ONITEMICON | wxTREE_HITTEST_ONITEMLABEL |
                                                wxTREE_HITTEST_ONITEMINDENT | wxTREE_HITTEST_ONITEMRIGHT)) != 0;
    if (ctrl) {
        if (!onItem)
            return true;
        // The clicked item turns over; the caret moves to it and every other
        // item keeps its state.
        const bool selected = !IsSelected(hit);
        SetSelected(*this, hit, selected);
        SetCaret(hit);
        m_hItemFirstSel = wxTreeItemId();
        SetFocus();
        return false;
    }
    if (shift) {
        if (!m_hItemFirstSel.IsOk())
            m_hItemFirstSel = GetFocusedItem();
        if (!m_hItemFirstSel.IsOk() || !onItem)
            return true;
        SelectItems(m_hItemFirstSel, hit);
        SetFocus();
        return false;
    }
    ClearSelection();
    m_hItemFirstSel = wxTreeItemId();
    return true;
}

bool CLocalViewTree::OnKeyDown(int keyCode, bool shift)
{
    const bool arrow = keyCode == WXK_UP || keyCode == WXK_DOWN;
    if (arrow && shift) {
        const wxTreeItemId caret = GetFocusedItem();
        if (!m_hItemFirstSel.IsOk()) {
            m_hItemFirstSel = caret;
            ClearSelection();
        }
        const wxTreeItemId next = keyCode == WXK_UP ? PrevShownItem(caret) : NextShownItem(caret);
        if (!next.IsOk())
            return false;
        // Moving onto an unselected item extends the range (the item left
        // stays selected); moving onto a selected one shrinks it.
        const bool nextWasSelected = IsSelected(next);
        MoveCaret(next);
        if (!nextWasSelected)
            SetSelected(*this, caret, true);
        EnsureVisible(next);
        return false;
    }
    if (arrow || keyCode >= WXK_SPACE) {
        m_hItemFirstSel = wxTreeItemId();
        ClearSelection();
    }
    return true;
}
