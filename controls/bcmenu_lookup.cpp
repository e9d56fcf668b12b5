// Finding items and records of a menu and its BCMenu sub-menus, and the
// records' texts by position or command.
#include "controls/bcmenu.h"

#include <cwchar>

#include "controls/bcmenutext.h"

namespace {

bool SameText(const BCMenuData& record, const wchar_t* text)
{
    return record.GetTextW() && text && std::wcscmp(record.GetTextW(), text) == 0;
}

} // namespace

BCMenu* BCMenu::FindItemMenu(UINT id, int& position)
{
    static const std::vector<BCMenu*> noMenus;
    static const std::vector<int> noPositions;
    return FindNextItemMenu(id, position, noMenus, noPositions);
}

BCMenu* BCMenu::FindNextItemMenu(UINT id, int& position, const std::vector<BCMenu*>& menus,
                                 const std::vector<int>& positions)
{
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (BCMenu* sub = FromHandle(GetSubMenu(i))) {
            if (BCMenu* found = sub->FindNextItemMenu(id, position, menus, positions))
                return found;
            continue;
        }
        if (GetMenuItemID(i) != id)
            continue;
        bool handled = false;
        for (size_t k = 0; k < menus.size() && k < positions.size(); ++k)
            handled = handled || (menus[k] == this && positions[k] == i);
        if (!handled) {
            position = i;
            return this;
        }
    }
    position = -1;
    return nullptr;
}

BCMenuData* BCMenu::FindRecordByText(const wchar_t* text)
{
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (BCMenu* sub = FromHandle(GetSubMenu(i))) {
            if (BCMenuData* found = sub->FindRecordByText(text))
                return found;
            continue;
        }
        for (const auto& record : m_itemRecords) {
            if (record && SameText(*record, text))
                return record.get();
        }
    }
    return nullptr;
}

BCMenuData* BCMenu::FindRecord(UINT id)
{
    for (const auto& record : m_itemRecords) {
        if (record && record->m_commandId == id)
            return record.get();
    }
    int position = -1;
    BCMenu* holder = FindItemMenu(id, position);
    // An item of this menu without a record of its own has none.
    return holder && holder != this ? holder->FindRecord(id) : nullptr;
}

BCMenu* BCMenu::GetSubMenuByText(const wchar_t* text)
{
    const BCMenuData* record = FindRecordByText(text);
    return record ? FromHandle(IdHandle(record->m_commandId)) : nullptr;
}

BCMenu* BCMenu::GetSubMenuByText(const char* text)
{
    return GetSubMenuByText(CWideText(text).get());
}

wxMenu* BCMenu::GetSubMenuByCaption(const char* name) const
{
    const int count = GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (name && GetMenuString(static_cast<uintptr_t>(i), MF_BYPOSITION) == name)
            return GetSubMenu(i);
    }
    return nullptr;
}

int BCMenu::GetItemPosition(const wchar_t* text) const
{
    bool hasPlainItem = false;
    for (int i = 0; i < GetMenuItemCount() && !hasPlainItem; ++i)
        hasPlainItem = GetSubMenu(i) == nullptr;
    if (!hasPlainItem)
        return -1;
    for (size_t i = 0; i < m_itemRecords.size(); ++i) {
        if (m_itemRecords[i] && SameText(*m_itemRecords[i], text))
            return static_cast<int>(i);
    }
    return -1;
}

int BCMenu::GetItemPosition(const char* text) const
{
    return GetItemPosition(CWideText(text).get());
}

BOOL BCMenu::GetItemText(UINT id, CString& text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        const BCMenuData* record = GetRecord(static_cast<int>(id));
        if (!record)
            return FALSE;
        text = record->GetText();
        return TRUE;
    }
    int position = -1;
    BCMenu* holder = FindItemMenu(id, position);
    return holder ? holder->GetItemText(static_cast<UINT>(position), text, MF_BYPOSITION) : FALSE;
}

BOOL BCMenu::SetItemText(UINT id, const CString& text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        BCMenuData* record = GetRecord(static_cast<int>(id));
        if (!record)
            return FALSE;
        record->SetTextA(text);
        return TRUE;
    }
    int position = -1;
    BCMenu* holder = FindItemMenu(id, position);
    return holder ? holder->SetItemText(static_cast<UINT>(position), text, MF_BYPOSITION) : FALSE;
}
