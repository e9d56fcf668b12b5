// A menu whose items the program draws itself. This file holds what every
// such menu is made of: one record per item (text, flags, command, image
// references), the settings and lists that all of them share, and the life
// of a menu and of the sub-menus it creates. Measuring and drawing, item
// images, the item operations and loading from menu resources build on it.
//
// A BCMenu wraps one toolkit menu (its handle). It owns that menu: destroying
// the BCMenu destroys it, and a menu that sits inside a parent menu is taken
// out of the parent first, so every toolkit menu is deleted exactly once.
// Sub-menus made with CreateSubMenu are BCMenu objects on the heap that the
// parent deletes in DestroyMenu.
//
// Command ids of the program reach above the toolkit's id range (ids must
// not exceed kLargestToolkitId, shell/core/commandids.h); ItemIdForCommand
// and CommandForItemId map between the two, and a record keeps the
// program's command id.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

// The record of one menu item; owned by the menu that lists it.
class BCMenuData {
public:
    BCMenuData() = default;
    ~BCMenuData();
    BCMenuData(const BCMenuData&) = delete;
    BCMenuData& operator=(const BCMenuData&) = delete;

    // The text in the program's code page (GB18030); "" without text.
    CString GetText() const;
    // Replace the text; a null pointer leaves the record without text.
    void SetTextW(const wchar_t* text);
    void SetTextA(const char* text);
    // The wide text, or null without text.
    const wchar_t* GetTextW() const { return m_text ? m_text->c_str() : nullptr; }

    // Label and accelerator text, separated by a tab.
    std::optional<std::wstring> m_text;
    int m_ownImageIndex = -1;      // image in m_ownImages; -1 none
    int m_sharedImageIndex = -1;   // command image in the shared list; -1 none
    int m_imageResource = -1;      // -1: no own image; 0 or more: has one
    UINT m_flags = 0;              // MF_* flags of the item
    uintptr_t m_commandId = 0;     // command id; for a pop-up item the sub-menu's handle
    BOOL m_syncMark = FALSE;       // used while the records are rebuilt
    std::unique_ptr<wxImageList> m_ownImages;
};

class BCMenu {
public:
    // The kind of Windows the look was chosen by. The program runs on
    // Linux, which counts as an NT version not listed (WK_NT3): the classic
    // look unless SetDrawMode chose the XP style.
    enum WindowsKind {
        WK_WIN32S = 0,
        WK_NT3 = 1,
        WK_95 = 2,
        WK_98 = 3,
        WK_ME = 4,
        WK_NT4 = 5,
        WK_2000 = 6,
        WK_XP = 7,
    };

    // Item flags kept in BCMenuData::m_flags.
    static constexpr UINT MF_BYPOSITION = 0x0400;
    static constexpr UINT MF_SEPARATOR = 0x0800;
    static constexpr UINT MF_POPUP = 0x0010;
    static constexpr UINT MF_OWNERDRAW = 0x0100;

    BCMenu() = default;
    virtual ~BCMenu();
    BCMenu(const BCMenu&) = delete;
    BCMenu& operator=(const BCMenu&) = delete;

    // ---- The menu handle ----
    // Creates an empty menu for this object; FALSE when it already has one.
    BOOL CreatePopupMenu();
    // Takes over a menu built elsewhere (the object then owns it); FALSE for
    // a null menu, a menu that another BCMenu holds, or when this one
    // already has a menu.
    BOOL Attach(wxMenu* menu);
    // Gives the menu up without destroying it; the caller owns it then.
    wxMenu* Detach();
    wxMenu* GetMenu() const { return m_hMenu; }
    int GetMenuItemCount() const;
    // The menu object that holds a toolkit menu, or null.
    static BCMenu* FromHandle(const wxMenu* menu);

    // ---- Lifecycle ----
    // Loads a menu resource. The program has no menu resources for these
    // menus; the loader comes with them. FALSE: nothing loaded.
    virtual BOOL LoadMenu(UINT resourceId);
    // Deletes the sub-menus this menu created, the records and the check
    // images it owns, then the toolkit menu. FALSE when there was no menu
    // (the lists are emptied all the same). May be called again at any time.
    virtual BOOL DestroyMenu();
    // A new, empty sub-menu that this menu owns and deletes in DestroyMenu:
    // registered in the list of all sub-menus and in this menu's own list,
    // with this menu's check images (shared, not deleted with the sub-menu).
    // The caller puts its handle into the toolkit menu (AppendSubMenu). Null
    // when this menu has no handle.
    BCMenu* CreateSubMenu();

    // ---- Settings ----
    void SetImageSize(int width, int height);
    void SetTransparentColour(COLORREF colour);
    void ClearTransparentColour() { m_useTransparentColour = FALSE; }
    void SetMonoDisabledImages() { m_monoDisabledImages = TRUE; }
    void ClearMonoDisabledImages() { m_monoDisabledImages = FALSE; }
    BOOL GetMonoDisabledImages() const { return m_monoDisabledImages; }
    int GetImageWidth() const { return m_imageWidth; }
    int GetImageHeight() const { return m_imageHeight; }
    COLORREF GetTransparentColour() const { return m_transparentColour; }
    BOOL GetUseTransparentColour() const { return m_useTransparentColour; }
    int GetRecordCount() const { return static_cast<int>(m_itemRecords.size()); }
    int GetSubMenuCount() const { return static_cast<int>(m_subMenuHandles.size()); }

    // Both drawing modes (XP themed and other) at once; 1 is the XP style.
    static void SetDrawMode(UINT mode);
    // Whether the menu is a sub-menu some BCMenu registered.
    static BOOL IsOwnSubMenu(const wxMenu* menu);
    static BOOL IsOwnSubMenu(const BCMenu* menu);

    // ---- Platform and style ----
    static WindowsKind DetectWindowsKind();
    static BOOL IsNewShell();
    // Computed once; there is no classic theme to detect here, so FALSE.
    static BOOL IsClassicTheme();
    static BOOL IsXPThemed();
    static UINT GetDrawMode();
    static BOOL IsXPStyleActive();
    static BOOL GetSelectDisabled();

    // ---- Look-ups ----
    // The toolkit sub-menu at a position, or null.
    wxMenu* GetSubMenu(int position) const;

    // ---- Command ids and toolkit item ids ----
    // Commands up to kLargestToolkitId are their own item id; larger ones get
    // a toolkit id of their own, the same for the whole run.
    static int ItemIdForCommand(UINT command);
    // The command of a toolkit item id (the id itself when it was not mapped).
    static UINT CommandForItemId(int itemId);

    // Frees the shared image list; the program's exit calls it while the
    // toolkit still runs.
    static void ReleaseSharedImages();

protected:
    std::vector<std::unique_ptr<BCMenuData>> m_itemRecords;
    std::vector<wxMenu*> m_subMenuHandles;
    int m_imageWidth = 16;
    int m_imageHeight = 15;
    COLORREF m_transparentColour = RGB(192, 192, 192);
    BOOL m_useTransparentColour = FALSE;
    BOOL m_monoDisabledImages = FALSE;
    // The check images in use: the menu's own (m_ownCheckImages) or, for a
    // sub-menu, its parent's, which outlive it.
    wxImageList* m_checkImages = nullptr;
    std::unique_ptr<wxImageList> m_ownCheckImages;
    int m_selectedCheckId = -1;
    int m_unselectedCheckId = -1;
    BOOL m_imagesAreIcons = FALSE;
    BOOL m_loadedFromResource = FALSE;

    // The toolkit menu this object holds (null: none). A weak reference: a
    // menu that the toolkit deleted behind the object's back is never
    // deleted a second time.
    wxWeakRef<wxMenu> m_hMenu;

    // Shared by all menus for the whole run.
    static std::unique_ptr<wxImageList> s_sharedImages;   // created on first use
    static std::vector<int> s_sharedImageIds;             // command of each shared image
    static std::vector<wxMenu*> s_allSubMenus;            // every registered sub-menu
    static WindowsKind s_windowsKind;
    static UINT s_themedDrawMode;
    static UINT s_otherDrawMode;
    static BOOL s_selectDisabledClassic;
    static BOOL s_selectDisabledXP;
    static BOOL s_xp3DImages;
    static BOOL s_classicThemeChecked;
    static BOOL s_classicTheme;

    // The handle this object registered in the handle map (kept apart from
    // m_hMenu, which clears itself when the toolkit deletes the menu).
    const wxMenu* m_registeredHandle = nullptr;
    // The sub-menu objects this menu created and deletes.
    std::vector<std::unique_ptr<BCMenu>> m_ownedSubMenus;

private:
    void SetHandle(wxMenu* menu);
    void ReleaseHandle();
    static void RemoveFromAllSubMenus(const wxMenu* menu);
    // Takes the toolkit menu out of whatever holds it and deletes it.
    static void DeleteToolkitMenu(wxMenu* menu);
};
