#include "controls/bcmenu.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include <wx/imaglist.h>
#include <wx/windowid.h>

#include "controls/bcmenutext.h"
#include "ui/wxtext.h"
#include "core/commandids.h"

namespace {

// Which BCMenu holds which toolkit menu (the framework's handle map).
std::unordered_map<const wxMenu*, BCMenu*>& HandleMap()
{
    static std::unordered_map<const wxMenu*, BCMenu*> map;
    return map;
}

// Program command ids above the toolkit's range and the ids they got.
std::map<UINT, int>& CommandToItem()
{
    static std::map<UINT, int> map;
    return map;
}

std::map<int, UINT>& ItemToCommand()
{
    static std::map<int, UINT> map;
    return map;
}

} // namespace

// ---- BCMenuData ----

BCMenuData::~BCMenuData() = default;

CString BCMenuData::GetText() const
{
    if (!m_text)
        return CString();
    return FromWx(wxString(*m_text));
}

void BCMenuData::SetTextW(const wchar_t* text)
{
    if (text)
        m_text = std::wstring(text);
    else
        m_text.reset();
}

void BCMenuData::SetTextA(const char* text)
{
    SetTextW(CWideText(text).get());
}

// ---- Shared settings and lists ----

std::unique_ptr<wxImageList> BCMenu::s_sharedImages;
std::vector<int> BCMenu::s_sharedImageIds;
std::vector<wxMenu*> BCMenu::s_allSubMenus;
BCMenu::WindowsKind BCMenu::s_windowsKind = BCMenu::DetectWindowsKind();
UINT BCMenu::s_themedDrawMode = 1;
UINT BCMenu::s_otherDrawMode = 0;
BOOL BCMenu::s_selectDisabledClassic = TRUE;
BOOL BCMenu::s_selectDisabledXP = FALSE;
BOOL BCMenu::s_xp3DImages = TRUE;
BOOL BCMenu::s_classicThemeChecked = FALSE;
BOOL BCMenu::s_classicTheme = FALSE;
int BCMenu::s_systemMenuHeight = 0;

void BCMenu::ReleaseSharedImages()
{
    s_sharedImages.reset();
    s_sharedImageIds.clear();
}

BCMenu::WindowsKind BCMenu::DetectWindowsKind()
{
    return WK_NT3;
}

BOOL BCMenu::IsNewShell()
{
    return s_windowsKind >= WK_95 ? TRUE : FALSE;
}

BOOL BCMenu::IsClassicTheme()
{
    if (!s_classicThemeChecked) {
        s_classicThemeChecked = TRUE;
        s_classicTheme = FALSE;
    }
    return s_classicTheme;
}

BOOL BCMenu::IsXPThemed()
{
    return s_windowsKind == WK_XP && !IsClassicTheme() ? TRUE : FALSE;
}

UINT BCMenu::GetDrawMode()
{
    return IsXPThemed() ? s_themedDrawMode : s_otherDrawMode;
}

BOOL BCMenu::IsXPStyleActive()
{
    return GetDrawMode() == 1 ? TRUE : FALSE;
}

BOOL BCMenu::Is3DImageStyle()
{
    return IsXPStyleActive() && s_xp3DImages ? TRUE : FALSE;
}

BOOL BCMenu::GetSelectDisabled()
{
    return IsXPStyleActive() ? s_selectDisabledXP : s_selectDisabledClassic;
}

void BCMenu::SetDrawMode(UINT mode)
{
    s_themedDrawMode = mode;
    s_otherDrawMode = mode;
}

BOOL BCMenu::IsOwnSubMenu(const wxMenu* menu)
{
    if (!menu)
        return FALSE;
    return std::find(s_allSubMenus.begin(), s_allSubMenus.end(), menu) != s_allSubMenus.end() ? TRUE : FALSE;
}

BOOL BCMenu::IsOwnSubMenu(const BCMenu* menu)
{
    return menu ? IsOwnSubMenu(menu->GetMenu()) : FALSE;
}

void BCMenu::RemoveFromAllSubMenus(const wxMenu* menu)
{
    // Every entry, walking from the last to the first.
    for (size_t i = s_allSubMenus.size(); i-- > 0;) {
        if (s_allSubMenus[i] == menu)
            s_allSubMenus.erase(s_allSubMenus.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

// ---- Command ids ----

int BCMenu::ItemIdForCommand(UINT command)
{
    if (command <= static_cast<UINT>(kLargestToolkitId))
        return static_cast<int>(command);
    auto found = CommandToItem().find(command);
    if (found != CommandToItem().end())
        return found->second;
    // An id of the toolkit's own pool, kept for the whole run.
    const int id = wxIdManager::ReserveId(1);
    CommandToItem()[command] = id;
    ItemToCommand()[id] = command;
    return id;
}

UINT BCMenu::CommandForItemId(int itemId)
{
    auto found = ItemToCommand().find(itemId);
    if (found != ItemToCommand().end())
        return found->second;
    return itemId >= 0 ? static_cast<UINT>(itemId) : 0;
}

// ---- The menu handle ----

BCMenu::~BCMenu()
{
    DestroyMenu();
}

void BCMenu::SetHandle(wxMenu* menu)
{
    m_hMenu = menu;
    m_registeredHandle = menu;
    HandleMap()[menu] = this;
}

void BCMenu::ReleaseHandle()
{
    if (m_registeredHandle) {
        auto found = HandleMap().find(m_registeredHandle);
        if (found != HandleMap().end() && found->second == this)
            HandleMap().erase(found);
    }
    m_registeredHandle = nullptr;
    m_hMenu = nullptr;
}

BCMenu* BCMenu::FromHandle(const wxMenu* menu)
{
    if (!menu)
        return nullptr;
    auto found = HandleMap().find(menu);
    // An entry whose menu the toolkit deleted (and whose address a new menu
    // may have taken) is no match.
    if (found == HandleMap().end() || found->second->GetMenu() != menu)
        return nullptr;
    return found->second;
}

BOOL BCMenu::CreatePopupMenu()
{
    if (m_hMenu)
        return FALSE;
    SetHandle(new wxMenu);
    return TRUE;
}

BOOL BCMenu::Attach(wxMenu* menu)
{
    if (!menu || m_hMenu || FromHandle(menu))
        return FALSE;
    SetHandle(menu);
    return TRUE;
}

wxMenu* BCMenu::Detach()
{
    wxMenu* menu = m_hMenu;
    ForgetItemData(menu);
    ReleaseHandle();
    return menu;
}

int BCMenu::GetMenuItemCount() const
{
    return m_hMenu ? static_cast<int>(m_hMenu->GetMenuItemCount()) : 0;
}

BCMenuData* BCMenu::GetRecord(int index) const
{
    if (index < 0 || index >= GetRecordCount())
        return nullptr;
    return m_itemRecords[static_cast<size_t>(index)].get();
}

wxMenu* BCMenu::GetSubMenu(int position) const
{
    if (!m_hMenu || position < 0 || position >= GetMenuItemCount())
        return nullptr;
    const wxMenuItem* item = m_hMenu->FindItemByPosition(static_cast<size_t>(position));
    return item ? item->GetSubMenu() : nullptr;
}

// ---- Lifecycle ----

BCMenu* BCMenu::NewOwnedSubMenu()
{
    auto sub = std::make_unique<BCMenu>();
    sub->CreatePopupMenu();
    sub->m_selectedCheckId = m_selectedCheckId;
    sub->m_unselectedCheckId = m_unselectedCheckId;
    sub->m_checkImages = m_checkImages;
    m_ownedSubMenus.push_back(std::move(sub));
    return m_ownedSubMenus.back().get();
}

bool BCMenu::DeleteOwnedSubMenu(const wxMenu* handle)
{
    for (auto it = m_ownedSubMenus.begin(); it != m_ownedSubMenus.end(); ++it) {
        if ((*it)->m_registeredHandle == handle) {
            const std::unique_ptr<BCMenu> sub = std::move(*it);
            m_ownedSubMenus.erase(it);
            return true;
        }
    }
    return false;
}

void BCMenu::RegisterSubMenu(wxMenu* handle, int insertAt)
{
    s_allSubMenus.push_back(handle);
    if (insertAt < 0 || insertAt >= static_cast<int>(m_subMenuHandles.size()))
        m_subMenuHandles.push_back(handle);
    else
        m_subMenuHandles.insert(m_subMenuHandles.begin() + insertAt, handle);
}

BCMenu* BCMenu::CreateSubMenu()
{
    if (!m_hMenu)
        return nullptr;
    BCMenu* sub = NewOwnedSubMenu();
    RegisterSubMenu(sub->m_hMenu);
    return sub;
}

void BCMenu::DeleteToolkitMenu(wxMenu* menu)
{
    if (wxMenu* parent = menu->GetParent()) {
        // The parent's item owns the sub-menu: destroying the item deletes it.
        for (wxMenuItem* item : parent->GetMenuItems()) {
            if (item->GetSubMenu() == menu) {
                parent->Destroy(item);
                return;
            }
        }
    } else if (wxMenuBar* bar = menu->GetMenuBar()) {
        for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
            if (bar->GetMenu(i) == menu) {
                bar->Remove(i);
                break;
            }
        }
    }
    delete menu;
}

BOOL BCMenu::DestroyMenu()
{
    if (m_registeredHandle)
        RemoveFromAllSubMenus(m_registeredHandle);

    // The sub-menus this menu created, last first; each takes its own
    // sub-menus with it and its toolkit menu out of this one. The objects
    // are deleted from the list of created ones, not looked up by handle, so
    // one whose toolkit menu is already gone is still deleted.
    for (size_t i = m_subMenuHandles.size(); i-- > 0;)
        RemoveFromAllSubMenus(m_subMenuHandles[i]);
    m_subMenuHandles.clear();
    while (!m_ownedSubMenus.empty()) {
        const std::unique_ptr<BCMenu> sub = std::move(m_ownedSubMenus.back());
        m_ownedSubMenus.pop_back();
    }
    m_itemRecords.clear();
    m_checkImages = nullptr;
    m_ownCheckImages.reset();

    wxMenu* menu = m_hMenu;
    ReleaseHandle();
    if (!menu)
        return FALSE;
    DeleteToolkitMenu(menu);
    return TRUE;
}

// ---- Settings ----

void BCMenu::SetImageSize(int width, int height)
{
    m_imageWidth = width;
    m_imageHeight = height;
}

void BCMenu::SetTransparentColour(COLORREF colour)
{
    m_transparentColour = colour;
    m_useTransparentColour = TRUE;
}
