#include "controls/viewtree.h"

namespace {

// Keys that leave the selection alone: those below the blank, and the ones
// that Windows numbers below it but the toolkit numbers higher (the
// modifiers, Pause, Caps Lock, Clear), so holding Ctrl or Shift before a
// click keeps what is selected.
bool KeepsSelection(int keyCode)
{
    switch (keyCode) {
    case WXK_SHIFT:
    case WXK_CONTROL:
    case WXK_ALT:
    case WXK_PAUSE:
    case WXK_CAPITAL:
    case WXK_CLEAR:
        return true;
    default:
        return keyCode < WXK_SPACE;
    }
}

} // namespace

CViewTree::CViewTree()
{
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        // An item's expander opens or closes it through the toolkit alone.
        int flags = 0;
        HitTest(event.GetPosition(), flags);
        if (flags & wxTREE_HITTEST_ONITEMBUTTON) {
            event.Skip();
            return;
        }
        if (!OnLButtonDown(event.GetPosition(), event.ControlDown(), event.ShiftDown()))
            return;
        event.Skip();
        if (!event.ControlDown() && !event.ShiftDown())
            OnPlainClick();
    });
    Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
        if (OnKeyDown(event.GetKeyCode(), event.ShiftDown()))
            event.Skip();
    });
    // The handle of a deleted item must not be used again.
    Bind(wxEVT_TREE_DELETE_ITEM, [this](wxTreeEvent& event) {
        event.Skip();
        if (event.GetItem() == m_hRangeAnchor)
            m_hRangeAnchor = wxTreeItemId();
    });
}

CViewTree::~CViewTree()
{
    // The items go while the anchor still stands: their deletion events
    // reach the handler above.
    DeleteAllItems();
}

bool CViewTree::Create(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size, long style)
{
    return wxTreeCtrl::Create(parent, id, pos, size, style | wxTR_MULTIPLE);
}

void CViewTree::SetSelected(wxTreeItemId item, bool selected)
{
    if (!item.IsOk() || IsSelected(item) == selected)
        return;
    // The toolkit's selection call also makes a newly selected item the
    // focused one: the caret goes back where it was.
    const wxTreeItemId caret = GetFocusedItem();
    SelectItem(item, selected);
    if (caret.IsOk() && GetFocusedItem() != caret)
        SetCaret(caret);
}

void CViewTree::SetCaret(wxTreeItemId item)
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

wxTreeItemId CViewTree::FirstShownItem() const
{
    const wxTreeItemId root = GetRootItem();
    if (!root.IsOk() || !HasFlag(wxTR_HIDE_ROOT))
        return root;
    wxTreeItemIdValue cookie;
    return GetFirstChild(root, cookie);
}

wxTreeItemId CViewTree::NextShownItem(wxTreeItemId item) const
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

wxTreeItemId CViewTree::LastShownDescendant(wxTreeItemId item) const
{
    while (ItemHasChildren(item) && IsExpanded(item)) {
        const wxTreeItemId last = GetLastChild(item);
        if (!last.IsOk())
            break;
        item = last;
    }
    return item;
}

wxTreeItemId CViewTree::PrevShownItem(wxTreeItemId item) const
{
    if (!item.IsOk())
        return wxTreeItemId();
    const wxTreeItemId sibling = GetPrevSibling(item);
    if (sibling.IsOk())
        return LastShownDescendant(sibling);
    const wxTreeItemId parent = GetItemParent(item);
    if (!parent.IsOk() || (parent == GetRootItem() && HasFlag(wxTR_HIDE_ROOT)))
        return wxTreeItemId();
    return parent;
}

void CViewTree::ClearSelection()
{
    for (wxTreeItemId item = FirstShownItem(); item.IsOk(); item = NextShownItem(item))
        SetSelected(item, false);
}

bool CViewTree::SelectRange(wxTreeItemId from, wxTreeItemId to)
{
    wxTreeItemId item = FirstShownItem();
    while (item.IsOk() && item != from && item != to)
        item = NextShownItem(item);
    if (!item.IsOk())
        return false;
    // Everything shown before the first end loses the selection.
    for (wxTreeItemId before = FirstShownItem(); before != item; before = NextShownItem(before))
        SetSelected(before, false);
    const wxTreeItemId otherEnd = item == from ? to : from;
    SetCaret(to);
    for (;; item = NextShownItem(item)) {
        SetSelected(item, true);
        if (item == otherEnd || !NextShownItem(item).IsOk())
            break;
    }
    for (item = NextShownItem(item); item.IsOk(); item = NextShownItem(item))
        SetSelected(item, false);
    return true;
}

wxTreeItemId CViewTree::GetFirstSelected() const
{
    for (wxTreeItemId item = FirstShownItem(); item.IsOk(); item = NextShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

wxTreeItemId CViewTree::GetNextSelected(wxTreeItemId item) const
{
    for (item = NextShownItem(item); item.IsOk(); item = NextShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

wxTreeItemId CViewTree::GetPrevSelected(wxTreeItemId item) const
{
    for (item = PrevShownItem(item); item.IsOk(); item = PrevShownItem(item))
        if (IsSelected(item))
            return item;
    return wxTreeItemId();
}

std::vector<wxTreeItemId> CViewTree::GetSelectedShownItems() const
{
    std::vector<wxTreeItemId> items;
    for (wxTreeItemId item = GetFirstSelected(); item.IsOk(); item = GetNextSelected(item))
        items.push_back(item);
    return items;
}

void CViewTree::MoveCaret(wxTreeItemId item)
{
    // Moving the caret takes the selection with it, as a single click would.
    const wxTreeItemId old = GetFocusedItem();
    if (old.IsOk() && old != item)
        SetSelected(old, false);
    SetSelected(item, true);
    SetCaret(item);
}

bool CViewTree::OnLButtonDown(const wxPoint& point, bool ctrl, bool shift)
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
        SetSelected(hit, !IsSelected(hit));
        SetCaret(hit);
        m_hRangeAnchor = wxTreeItemId();
        SetFocus();
        return false;
    }
    if (shift) {
        if (!m_hRangeAnchor.IsOk())
            m_hRangeAnchor = GetFocusedItem();
        if (!m_hRangeAnchor.IsOk() || !onItem)
            return true;
        SelectRange(m_hRangeAnchor, hit);
        SetFocus();
        return false;
    }
    ClearSelection();
    m_hRangeAnchor = wxTreeItemId();
    return true;
}

bool CViewTree::OnKeyDown(int keyCode, bool shift)
{
    const bool arrow = keyCode == WXK_UP || keyCode == WXK_DOWN;
    if (arrow && shift) {
        const wxTreeItemId caret = GetFocusedItem();
        if (!m_hRangeAnchor.IsOk()) {
            m_hRangeAnchor = caret;
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
            SetSelected(caret, true);
        EnsureVisible(next);
        return false;
    }
    if (!KeepsSelection(keyCode)) {
        m_hRangeAnchor = wxTreeItemId();
        ClearSelection();
    }
    return true;
}
