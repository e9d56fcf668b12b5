// The toolkit menu under a BCMenu: its items' state and text, and the
// append, insert, modify and remove steps that the item operations end
// with. A toolkit item made here carries its record (the item data) and
// whether it is owner-drawn; items made elsewhere carry neither.
#include "controls/bcmenu.h"

#include <algorithm>

#include "ui/wxtext.h"

namespace {

class BCMenuItem : public wxMenuItem {
public:
    BCMenuItem(wxMenu* parent, int id, const wxString& label, wxItemKind kind, wxMenu* subMenu, BCMenuData* record,
               bool ownerDraw)
        : wxMenuItem(parent, id, label, wxEmptyString, kind, subMenu), m_record(record), m_ownerDraw(ownerDraw)
    {
    }
    BCMenuData* m_record;
    bool m_ownerDraw;
};

const BCMenuItem* AsOwnItem(const wxMenuItem* item) { return dynamic_cast<const BCMenuItem*>(item); }

// Where an item stands: the toolkit menu holding it and its position there.
struct SItemPlace {
    wxMenu* menu = nullptr;
    wxMenuItem* item = nullptr;
    size_t position = 0;
};

// Depth first, as the toolkit menus of Windows search by command.
SItemPlace FindByCommand(wxMenu* menu, UINT command)
{
    size_t position = 0;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (wxMenu* sub = item->GetSubMenu()) {
            const SItemPlace found = FindByCommand(sub, command);
            if (found.item)
                return found;
        } else if (!item->IsSeparator() && BCMenu::CommandForItemId(item->GetId()) == command) {
            return {menu, item, position};
        }
        ++position;
    }
    return {};
}

SItemPlace FindItem(wxMenu* menu, uintptr_t idOrPosition, UINT flags)
{
    if (!menu)
        return {};
    if (flags & BCMenu::MF_BYPOSITION) {
        if (idOrPosition >= menu->GetMenuItemCount())
            return {};
        return {menu, menu->FindItemByPosition(idOrPosition), idOrPosition};
    }
    return FindByCommand(menu, static_cast<UINT>(idOrPosition));
}

// The toolkit shows an owner-drawn item with its record's label (the text
// before a tab: the toolkit would take the rest as a shortcut of its own).
wxString ItemLabel(UINT flags, const BCMenuData* record, const CString& text)
{
    wxString label;
    if (flags & BCMenu::MF_OWNERDRAW) {
        if (record && record->GetTextW())
            label = wxString(record->GetTextW()).BeforeFirst('\t');
    } else {
        label = ToWx(text);
    }
    // The toolkit takes no item without a label.
    return label.empty() ? wxString(" ") : label;
}

wxMenuItem* MakeItem(wxMenu* menu, UINT flags, uintptr_t id, BCMenuData* record, const CString& text)
{
    const bool ownerDraw = (flags & BCMenu::MF_OWNERDRAW) != 0;
    if (flags & BCMenu::MF_SEPARATOR)
        return new BCMenuItem(menu, wxID_SEPARATOR, wxEmptyString, wxITEM_SEPARATOR, nullptr, record, ownerDraw);
    const wxString label = ItemLabel(flags, record, text);
    if (flags & BCMenu::MF_POPUP)
        return new BCMenuItem(menu, wxID_ANY, label, wxITEM_NORMAL, BCMenu::IdHandle(id), record, ownerDraw);
    wxItemKind kind = wxITEM_NORMAL;
    if (flags & BCMenu::MFT_RADIOCHECK)
        kind = wxITEM_RADIO;
    else if (flags & BCMenu::MF_CHECKED)
        kind = wxITEM_CHECK;
    return new BCMenuItem(menu, BCMenu::ItemIdForCommand(static_cast<UINT>(id)), label, kind, nullptr, record,
                          ownerDraw);
}

// The check and enabled state goes onto an item once it is in its menu.
void ApplyState(wxMenuItem* item, UINT flags)
{
    if (item->IsCheckable())
        item->Check((flags & BCMenu::MF_CHECKED) != 0);
    if (flags & (BCMenu::MF_GRAYED | BCMenu::MF_DISABLED))
        item->Enable(false);
}

// Takes an item out of its menu and deletes it; its sub-menu is kept
// (given back) when keepSubMenu, else deleted with it.
wxMenu* DropItem(wxMenu* menu, wxMenuItem* item, bool keepSubMenu)
{
    menu->Remove(item);
    wxMenu* sub = item->GetSubMenu();
    if (keepSubMenu)
        item->SetSubMenu(nullptr);
    delete item;
    return keepSubMenu ? sub : nullptr;
}

} // namespace

void BCMenu::ForgetItemData(wxMenu* menu)
{
    if (!menu)
        return;
    for (wxMenuItem* item : menu->GetMenuItems()) {
        if (auto* own = dynamic_cast<BCMenuItem*>(item))
            own->m_record = nullptr;
        ForgetItemData(item->GetSubMenu());
    }
}

bool BCMenu::IsUsableSubMenu(uintptr_t handle)
{
    const wxMenu* menu = IdHandle(handle);
    return menu && !menu->GetParent() && !menu->GetMenuBar();
}

UINT BCMenu::GetMenuState(uintptr_t idOrPosition, UINT flags) const
{
    const SItemPlace place = FindItem(m_hMenu, idOrPosition, flags);
    if (!place.item)
        return kStateNotFound;
    const wxMenuItem* item = place.item;
    UINT state = 0;
    if (item->IsSeparator())
        state |= MF_SEPARATOR;
    if (item->IsCheckable() && item->IsChecked())
        state |= MF_CHECKED;
    if (item->IsRadio())
        state |= MFT_RADIOCHECK;
    if (!item->IsEnabled())
        state |= MF_GRAYED | MF_DISABLED;
    if (const BCMenuItem* own = AsOwnItem(item); own && own->m_ownerDraw)
        state |= MF_OWNERDRAW;
    if (const wxMenu* sub = item->GetSubMenu())
        state = (state & 0xFF) | MF_POPUP | static_cast<UINT>(sub->GetMenuItemCount() & 0xFF) << 8;
    return state;
}

UINT BCMenu::GetMenuItemID(int position) const
{
    if (!m_hMenu || position < 0 || position >= GetMenuItemCount())
        return kStateNotFound;
    const wxMenuItem* item = m_hMenu->FindItemByPosition(static_cast<size_t>(position));
    if (item->IsSeparator())
        return 0;
    if (item->IsSubMenu())
        return kStateNotFound;
    return CommandForItemId(item->GetId());
}

CString BCMenu::GetMenuString(uintptr_t idOrPosition, UINT flags) const
{
    const SItemPlace place = FindItem(m_hMenu, idOrPosition, flags);
    if (!place.item || place.item->IsSeparator())
        return CString();
    if (const BCMenuItem* own = AsOwnItem(place.item); own && own->m_ownerDraw)
        return CString();
    return FromWx(place.item->GetItemLabel());
}

bool BCMenu::IsRadioItem(UINT id) const
{
    const SItemPlace place = FindItem(m_hMenu, id, MF_BYCOMMAND);
    return place.item && place.item->IsRadio();
}

SMenuDrawItem BCMenu::MakeDrawRequest(int position, wxDC& dc, const CRect& rect, bool selected) const
{
    SMenuDrawItem request;
    request.dc = &dc;
    request.rcItem = rect;
    request.itemState = selected ? ODS_SELECTED : 0;
    const SItemPlace place = FindItem(m_hMenu, static_cast<uintptr_t>(position), MF_BYPOSITION);
    if (!place.item)
        return request;
    if (!place.item->IsEnabled())
        request.itemState |= ODS_GRAYED;
    if (place.item->IsCheckable() && place.item->IsChecked())
        request.itemState |= ODS_CHECKED;
    request.itemID = GetMenuItemID(position);
    request.itemData = GetItemData(position);
    return request;
}

BCMenuData* BCMenu::GetItemData(int position) const
{
    const SItemPlace place = FindItem(m_hMenu, static_cast<uintptr_t>(position), MF_BYPOSITION);
    const BCMenuItem* own = AsOwnItem(place.item);
    return own ? own->m_record : nullptr;
}

BOOL BCMenu::BaseAppendMenu(UINT flags, uintptr_t id, BCMenuData* record, const CString& text)
{
    return BaseInsertMenu(static_cast<UINT>(-1), flags | MF_BYPOSITION, id, record, text);
}

BOOL BCMenu::BaseInsertMenu(UINT position, UINT flags, uintptr_t id, BCMenuData* record, const CString& text)
{
    if (!m_hMenu || ((flags & MF_POPUP) && !IsUsableSubMenu(id)))
        return FALSE;
    SItemPlace place;
    if (flags & MF_BYPOSITION) {
        place.menu = m_hMenu;
        place.position = std::min<size_t>(position, m_hMenu->GetMenuItemCount());
    } else {
        place = FindByCommand(m_hMenu, position);
        if (!place.item)
            return FALSE;
    }
    wxMenuItem* item = MakeItem(place.menu, flags, id, record, text);
    place.menu->Insert(place.position, item);
    ApplyState(item, flags);
    return TRUE;
}

BOOL BCMenu::BaseModifyMenu(uintptr_t idOrPosition, UINT flags, uintptr_t id, BCMenuData* record,
                            const CString& text)
{
    const SItemPlace place = FindItem(m_hMenu, idOrPosition, flags);
    if (!place.item)
        return FALSE;
    const wxMenu* oldSub = place.item->GetSubMenu();
    const bool keepSub = (flags & MF_POPUP) && oldSub && IdHandle(id) == oldSub;
    if ((flags & MF_POPUP) && !keepSub && !IsUsableSubMenu(id))
        return FALSE;
    // The old item goes; a sub-menu that the new item does not open goes
    // with it, as the toolkit of Windows destroys it.
    DropItem(place.menu, place.item, keepSub);
    wxMenuItem* item = MakeItem(place.menu, flags, id, record, text);
    place.menu->Insert(place.position, item);
    ApplyState(item, flags);
    return TRUE;
}

BOOL BCMenu::BaseRemoveMenu(UINT position, UINT flags, bool deleteSubMenu)
{
    const SItemPlace place = FindItem(m_hMenu, position, flags);
    if (!place.item)
        return FALSE;
    wxMenu* sub = DropItem(place.menu, place.item, true);
    // A sub-menu stays alive only for a BCMenu that holds it; no one else
    // could ever delete it.
    if (sub && (deleteSubMenu || !FromHandle(sub)))
        delete sub;
    return TRUE;
}
