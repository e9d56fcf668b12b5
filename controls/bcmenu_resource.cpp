// Building a menu from a menu template, lining up the accelerator texts of a
// level, keeping the top level of a loaded menu in plain text, rebuilding
// the records after the toolkit menu changed behind the menu's back, and
// choosing an item by a typed character.
#include "controls/bcmenu.h"

#include <algorithm>

#include <wx/dcmemory.h>

#include "controls/resources.h"

namespace {

// One item of a template as read: option flags, command id, text.
struct STemplateEntry {
    UINT flags = 0;
    UINT id = 0;
    std::wstring text;
};

// Reads the items of a template, level by level as the stack of open levels
// walks them; false for a template that ends before its last item.
bool ReadTemplate(const std::vector<uint8_t>& bytes, std::vector<STemplateEntry>& entries)
{
    size_t at = 0;
    const auto word = [&bytes, &at](UINT& value) {
        if (at + 2 > bytes.size())
            return false;
        value = static_cast<UINT>(bytes[at] | bytes[at + 1] << 8);
        at += 2;
        return true;
    };
    UINT version = 0;
    UINT offset = 0;
    if (!word(version) || !word(offset))
        return false;
    at += offset;
    std::vector<bool> finished{false};
    while (!finished.empty()) {
        STemplateEntry entry;
        if (!word(entry.flags) || (!(entry.flags & BCMenu::MF_POPUP) && !word(entry.id)))
            return false;
        for (UINT unit = 0;;) {
            if (!word(unit))
                return false;
            if (unit == 0)
                break;
            UINT low = 0;
            if (unit >= 0xD800 && unit < 0xDC00 && at + 2 <= bytes.size() && word(low))
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            entry.text += static_cast<wchar_t>(unit);
        }
        const bool end = (entry.flags & BCMenu::MF_END) != 0;
        if (entry.flags & BCMenu::MF_POPUP) {
            if (end)
                finished.back() = true;
            finished.push_back(false);
        } else {
            if (end)
                finished.back() = true;
            while (!finished.empty() && finished.back())
                finished.pop_back();
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

} // namespace

BOOL BCMenu::LoadMenu(UINT resourceId)
{
    return LoadMenu(ResourceName(resourceId));
}

BOOL BCMenu::LoadMenu(const char* name)
{
    const std::vector<uint8_t>* bytes = name ? FindResource(EResourceType::Menu, name) : nullptr;
    std::vector<STemplateEntry> entries;
    // A missing or broken template leaves the menu as it was.
    if (!bytes || !ReadTemplate(*bytes, entries))
        return FALSE;
    DestroyMenu();
    if (!CreateMenu())
        return FALSE;

    struct SLevel {
        BCMenu* menu;
        bool finished;
    };
    std::vector<SLevel> levels{{this, false}};
    for (const STemplateEntry& entry : entries) {
        if (levels.empty())
            break;
        const UINT flags = entry.flags & ~MF_END;
        const bool end = (entry.flags & MF_END) != 0;
        if (entry.flags & MF_POPUP) {
            if (end)
                levels.back().finished = true;
            BCMenu* parent = levels.back().menu;
            BCMenu* sub = parent->NewOwnedSubMenu();
            parent->AppendItem(entry.text.c_str(), flags, HandleId(sub->GetMenu()), -1);
            levels.push_back({sub, false});
            continue;
        }
        levels.back().menu->AppendItem(entry.text.c_str(), flags, entry.id, -1);
        if (end)
            levels.back().finished = true;
        while (!levels.empty() && levels.back().finished) {
            levels.back().menu->PadAccelerators();
            levels.pop_back();
        }
    }

    // The top level keeps plain text items; the levels below are drawn by
    // the menu.
    for (int i = 0; i < GetMenuItemCount(); ++i) {
        BCMenuData* record = GetRecord(i);
        if (!record)
            continue;
        const CString text = record->GetText();
        if (wxMenu* sub = GetSubMenu(i)) {
            record->m_flags = MF_POPUP | MF_BYPOSITION;
            BaseModifyMenu(static_cast<uintptr_t>(i), MF_BYPOSITION | MF_POPUP | MF_STRING, HandleId(sub), nullptr,
                           text);
        } else {
            record->m_flags = MF_BYPOSITION;
            BaseModifyMenu(static_cast<uintptr_t>(i), MF_BYPOSITION | MF_STRING, record->m_commandId, nullptr, text);
        }
    }
    m_loadedFromResource = TRUE;
    return TRUE;
}

void BCMenu::PadLabels(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& measure)
{
    // No label is padded by more than this many spaces.
    constexpr int kMostSpaces = 256;
    int widest = 0;
    for (const std::wstring& text : texts)
        widest = std::max(widest, measure(text.substr(0, text.find(L'\t')) + L" "));
    for (std::wstring& text : texts) {
        const size_t tab = text.find(L'\t');
        if (tab == std::wstring::npos)
            continue;
        std::wstring label = text.substr(0, tab);
        int width = measure(label);
        for (int spaces = 0; width < widest && spaces < kMostSpaces; ++spaces) {
            label += L' ';
            const int wider = measure(label);
            if (wider <= width)
                break;
            width = wider;
        }
        text = label + text.substr(tab);
    }
}

void BCMenu::PadAccelerators()
{
    wxBitmap one(1, 1);
    wxMemoryDC dc(one);
    dc.SetFont(GetMenuFont());
    std::vector<std::wstring> texts;
    const int count = std::min(GetMenuItemCount(), GetRecordCount());
    for (int i = 0; i < count; ++i) {
        const wchar_t* text = GetRecord(i)->GetTextW();
        texts.emplace_back(text ? text : L"");
    }
    PadLabels(texts, [&dc](const std::wstring& text) { return dc.GetTextExtent(wxString(text)).x; });
    for (int i = 0; i < count; ++i) {
        BCMenuData* record = GetRecord(i);
        if (record->GetTextW() && texts[static_cast<size_t>(i)] != record->GetTextW())
            record->SetTextW(texts[static_cast<size_t>(i)].c_str());
    }
}

int BCMenu::TopLevelOffset() const
{
    if (!m_loadedFromResource)
        return 0;
    for (int position = 0; position < GetMenuItemCount(); ++position) {
        const CString text = GetMenuString(static_cast<uintptr_t>(position), MF_BYPOSITION);
        if (text.IsEmpty())
            continue;
        for (int index = 0; index < GetRecordCount(); ++index) {
            if (GetRecord(index)->GetText() == text)
                return position >= index ? position - index : 0;
        }
    }
    return 0;
}

void BCMenu::RestoreTopLevelText()
{
    const int count = GetMenuItemCount();
    for (int i = TopLevelOffset(), j = 0; i < count && j < GetRecordCount(); ++i, ++j) {
        wxMenu* sub = GetSubMenu(i);
        if (!sub)
            continue;
        BCMenuData* record = GetRecord(j);
        record->m_flags = MF_POPUP | MF_BYPOSITION;
        BaseModifyMenu(static_cast<uintptr_t>(i), MF_BYPOSITION | MF_POPUP | MF_STRING, HandleId(sub), nullptr,
                       record->GetText());
    }
}

// ---- Synchronisation ----

BCMenuData* BCMenu::TakeRecord(uintptr_t id)
{
    for (const auto& record : m_itemRecords) {
        if (record && !record->m_syncMark && record->m_commandId == id) {
            record->m_syncMark = TRUE;
            return record.get();
        }
    }
    return nullptr;
}

void BCMenu::MarkAllRecords(BOOL value)
{
    for (const auto& record : m_itemRecords) {
        if (record)
            record->m_syncMark = value;
    }
}

void BCMenu::DeleteUnmarkedRecords()
{
    m_itemRecords.erase(std::remove_if(m_itemRecords.begin(), m_itemRecords.end(),
                                       [](const std::unique_ptr<BCMenuData>& record) {
                                           return !record || !record->m_syncMark;
                                       }),
                        m_itemRecords.end());
}

BCMenuData* BCMenu::ReplaceItemRecord(UINT position, UINT flags, uintptr_t id, const CString& text)
{
    auto record = std::make_unique<BCMenuData>();
    record->SetTextA(text);
    record->m_flags = flags;
    record->m_commandId = id;
    // Marked: it belongs to the rebuilt list.
    record->m_syncMark = TRUE;
    BCMenuData* made = record.get();
    m_itemRecords.push_back(std::move(record));
    BaseModifyMenu(position, flags | MF_BYPOSITION, id, (flags & MF_OWNERDRAW) ? made : nullptr,
                   (flags & MF_OWNERDRAW) ? CString() : text);
    return made;
}

void BCMenu::SynchronizeRecords()
{
    MarkAllRecords(FALSE);
    std::vector<BCMenuData*> order;
    uintptr_t remembered = 0;
    const int count = GetMenuItemCount();
    for (int j = 0; j < count; ++j) {
        const auto position = static_cast<uintptr_t>(j);
        const UINT state = GetMenuState(position, MF_BYPOSITION);
        BCMenuData* record = nullptr;
        if (state & MF_POPUP) {
            const uintptr_t handle = HandleId(GetSubMenu(j));
            record = TakeRecord(handle);
            const CString text = GetMenuString(position, MF_BYPOSITION);
            if (!record)
                record = ReplaceItemRecord(static_cast<UINT>(j), (state & 0xFF) | MF_BYPOSITION | MF_POPUP | MF_OWNERDRAW,
                                           handle, text);
            else if (!text.IsEmpty())
                record->SetTextA(text);
        } else if (state & MF_SEPARATOR) {
            record = TakeRecord(0);
            if (record)
                BaseModifyMenu(position, record->m_flags | MF_BYPOSITION, remembered, record);
            else
                record = ReplaceItemRecord(static_cast<UINT>(j), state | MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW,
                                           0, CString());
        } else {
            remembered = GetMenuItemID(j);
            record = TakeRecord(remembered);
            const CString text = GetMenuString(position, MF_BYPOSITION);
            if (record) {
                record->m_flags = state | MF_BYPOSITION | MF_OWNERDRAW;
                if (!text.IsEmpty())
                    record->SetTextA(text);
                BaseModifyMenu(position, record->m_flags, remembered, record);
            } else {
                record = ReplaceItemRecord(static_cast<UINT>(j), state | MF_BYPOSITION | MF_OWNERDRAW, remembered, text);
            }
        }
        order.push_back(record);
    }
    DeleteUnmarkedRecords();
    // The records in the order of the positions.
    std::vector<std::unique_ptr<BCMenuData>> rebuilt;
    for (BCMenuData* record : order) {
        const auto found = std::find_if(m_itemRecords.begin(), m_itemRecords.end(),
                                        [record](const std::unique_ptr<BCMenuData>& r) { return r.get() == record; });
        if (found != m_itemRecords.end())
            rebuilt.push_back(std::move(*found));
    }
    m_itemRecords = std::move(rebuilt);
}

void BCMenu::Synchronize(wxMenu* menu)
{
    if (BCMenu* owner = FromHandle(menu))
        owner->SynchronizeRecords();
}

long BCMenu::FindMenuChar(UINT character, UINT flags, wxMenu* menu)
{
    BCMenu* owner = FromHandle(menu);
    if (!owner || !(flags & MF_POPUP))
        return 0;
    CString key("&");
    key += static_cast<char>(character & 0xFF);
    key.MakeLower();
    if (owner->GetMenuItemCount() != owner->GetRecordCount())
        owner->SynchronizeRecords();
    for (int i = 0; i < owner->GetMenuItemCount(); ++i) {
        CString text;
        if (!owner->GetItemText(static_cast<UINT>(i), text, MF_BYPOSITION))
            continue;
        text.MakeLower();
        if (text.Find(key) >= 0)
            return static_cast<long>(MNC_EXECUTE) << 16 | i;
    }
    return 0;
}
