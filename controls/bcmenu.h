// A menu whose items the program draws itself. Every item has a record
// (text, flags, command, image references) beside the toolkit menu; the menu
// measures and draws its items in two looks (an XP style with a tinted image
// bar and a light selection frame, a classic style with image boxes and a
// solid highlight), takes item images from bitmap and toolbar resources,
// appends, inserts, modifies and removes items keeping the records in step
// with the toolkit menu, loads itself from a menu template and picks an item
// by a typed character.
//
// A BCMenu wraps one toolkit menu (its handle). It owns that menu: destroying
// the BCMenu destroys it, and a menu that sits inside a parent menu is taken
// out of the parent first, so every toolkit menu is deleted exactly once.
// Sub-menus made with CreateSubMenu, AppendPopup or LoadMenu are BCMenu
// objects on the heap that the parent deletes in DestroyMenu.
//
// The toolkit (GTK) draws its menus itself and never asks a program to
// measure or draw an item, so MeasureItem and DrawItem are called by whoever
// paints a menu into a device context of its own (MakeDrawRequest builds the
// request the way a menu's owner hands it over). The look is chosen as on a
// Windows NT version the menu does not know (WK_NT3): classic, unless
// SetDrawMode chose the XP style.
//
// Command ids of the program reach above the toolkit's id range (ids must
// not exceed kLargestToolkitId, core/commandids.h); ItemIdForCommand
// and CommandForItemId map between the two, and a record keeps the
// program's command id.
//
// Operations that take text come in a wide form (wchar_t) and an ANSI form
// (the program's code page, GB18030) that converts and calls the wide one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class wxDC;
class wxFont;
class BCMenuToolBar;
struct SBitmapInfoHeader;

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

// What a menu's owner hands to MeasureItem: the item's record; the menu
// fills in the size.
struct SMenuMeasureItem {
    BCMenuData* itemData = nullptr;
    UINT itemWidth = 0;
    UINT itemHeight = 0;
};

// What a menu's owner hands to DrawItem: where to draw, the item's state
// (ODS_* bits), its command id and its record.
struct SMenuDrawItem {
    wxDC* dc = nullptr;
    CRect rcItem;
    UINT itemState = 0;
    UINT itemID = 0;
    BCMenuData* itemData = nullptr;
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

    // Item flags (BCMenuData::m_flags, the flags of the item operations and
    // of menu templates) and the answer of GetMenuState.
    static constexpr UINT MF_STRING = 0x0000;
    static constexpr UINT MF_BYCOMMAND = 0x0000;
    static constexpr UINT MF_GRAYED = 0x0001;
    static constexpr UINT MF_DISABLED = 0x0002;
    static constexpr UINT MF_CHECKED = 0x0008;
    static constexpr UINT MF_POPUP = 0x0010;
    static constexpr UINT MF_END = 0x0080;
    static constexpr UINT MF_OWNERDRAW = 0x0100;
    static constexpr UINT MFT_RADIOCHECK = 0x0200;   // a radio item: a dot in place of the check mark
    static constexpr UINT MF_BYPOSITION = 0x0400;
    static constexpr UINT MF_SEPARATOR = 0x0800;
    static constexpr UINT kStateNotFound = 0xFFFFFFFF;
    // Item states of a draw request.
    static constexpr UINT ODS_SELECTED = 0x0001;
    static constexpr UINT ODS_GRAYED = 0x0002;
    static constexpr UINT ODS_CHECKED = 0x0008;
    // The high word of FindMenuChar's answer: choose the item.
    static constexpr UINT MNC_EXECUTE = 2;
    // Hatch styles of colour swatches (-1: solid).
    enum { HS_HORIZONTAL = 0, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS };

    BCMenu() = default;
    virtual ~BCMenu();
    BCMenu(const BCMenu&) = delete;
    BCMenu& operator=(const BCMenu&) = delete;

    // ---- The menu handle ----
    // Creates an empty menu for this object; FALSE when it already has one.
    BOOL CreatePopupMenu();
    // The same: the top level of a menu is a toolkit menu whose items open
    // the sub-menus, as a menu bar's do.
    BOOL CreateMenu() { return CreatePopupMenu(); }
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
    // A sub-menu handle as an item id (the id of a pop-up item) and back.
    static uintptr_t HandleId(const wxMenu* menu) { return reinterpret_cast<uintptr_t>(menu); }
    static wxMenu* IdHandle(uintptr_t id) { return reinterpret_cast<wxMenu*>(id); }

    // ---- The toolkit menu's state ----
    // MF_* state bits of an item by command (searching the sub-menus too) or
    // by position: MF_SEPARATOR, MF_POPUP (the sub-menu's item count in bits
    // 8 to 15), MF_CHECKED, MF_GRAYED | MF_DISABLED, MF_OWNERDRAW;
    // kStateNotFound for no such item.
    UINT GetMenuState(uintptr_t idOrPosition, UINT flags) const;
    // The command of the item at a position: 0 for a separator, 0xFFFFFFFF
    // for a pop-up or no item.
    UINT GetMenuItemID(int position) const;
    // The text the toolkit menu holds for an item; owner-drawn items hold
    // none (their text is the record's).
    CString GetMenuString(uintptr_t idOrPosition, UINT flags) const;

    // ---- Lifecycle ----
    // Builds the menu from a menu template (EResourceType::Menu): the top
    // level keeps plain text items, every level below is owner-drawn and
    // its accelerator texts padded. FALSE for a missing or broken template
    // (the menu stays as it was).
    virtual BOOL LoadMenu(const char* name);
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
    // The record at an index, or null.
    BCMenuData* GetRecord(int index) const;
    int GetSubMenuCount() const { return static_cast<int>(m_subMenuHandles.size()); }
    const wxImageList* GetCheckImages() const { return m_checkImages; }

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
    // Whether images carry faded and shadow copies (3-D XP style).
    static BOOL Is3DImageStyle();
    // Whether the XP style draws images raised, with faded and shadow copies
    // (on from start-up); images added from then on follow it.
    static void SetXP3DImages(BOOL raised) { s_xp3DImages = raised; }

    // ---- Look-ups ----
    // The toolkit sub-menu at a position, or null.
    wxMenu* GetSubMenu(int position) const;
    // The menu (this one or a BCMenu sub-menu, depth first) that holds an
    // item of the command, and the item's position there; null and -1 when
    // none does.
    BCMenu* FindItemMenu(UINT id, int& position);
    // The same, passing over the (menu, position) pairs already found.
    BCMenu* FindNextItemMenu(UINT id, int& position, const std::vector<BCMenu*>& menus,
                             const std::vector<int>& positions);
    // The first record whose text equals the text exactly, searching the
    // BCMenu sub-menus first where they stand; null when none.
    BCMenuData* FindRecordByText(const wchar_t* text);
    // The first record of the command: this menu's own, else the one of the
    // sub-menu holding the command; null when none.
    BCMenuData* FindRecord(UINT id);
    // The BCMenu sub-menu whose item has the text; null when none.
    BCMenu* GetSubMenuByText(const wchar_t* text);
    BCMenu* GetSubMenuByText(const char* text);
    // The sub-menu of the first item whose toolkit text is the name.
    wxMenu* GetSubMenuByCaption(const char* name) const;
    // The index of the first record with the text; -1 when none, and for a
    // menu whose items all open sub-menus.
    int GetItemPosition(const wchar_t* text) const;
    int GetItemPosition(const char* text) const;
    // The text of a record by position (MF_BYPOSITION) or command; FALSE
    // when there is none.
    BOOL GetItemText(UINT id, CString& text, UINT flags);
    // Replaces the text of a record by position or command; only the record
    // changes, the next drawing shows it. FALSE when there is none.
    BOOL SetItemText(UINT id, const CString& text, UINT flags);

    // ---- Measuring and drawing ----
    void MeasureItem(SMenuMeasureItem* request);
    void DrawItem(SMenuDrawItem* request);
    void DrawItemClassic(SMenuDrawItem* request);
    void DrawItemXP(SMenuDrawItem* request);
    // The check box of a checked item without image; a dot for a radio
    // item, else a check mark. TRUE.
    BOOL DrawClassicCheck(wxDC& dc, const CRect& rect, BOOL selected, BOOL radio);
    BOOL DrawXPCheck(wxDC& dc, const CRect& rect, BOOL radio, COLORREF highlight);
    // A 6 x 6 dot; a check mark of seven 3-pixel strokes, 7 x 7 pixels.
    static void DrawRadioDot(wxDC& dc, int x, int y, COLORREF colour);
    static void DrawCheckGlyph(wxDC& dc, int x, int y, COLORREF colour);
    // The draw request for the item at a position, with the state the
    // toolkit menu holds for it (grayed, checked) and selected as given.
    SMenuDrawItem MakeDrawRequest(int position, wxDC& dc, const CRect& rect, bool selected) const;
    // The record the toolkit item at a position carries (its item data);
    // null for an item made elsewhere.
    BCMenuData* GetItemData(int position) const;
    // The font menus are drawn and measured in.
    static wxFont GetMenuFont();
    // The height of a menu item of the system (the toolkit has no menu
    // metrics: the menu font's height and a margin unless set).
    static int GetSystemMenuHeight();
    static void SetSystemMenuHeight(int height);   // 0: measure again

    // ---- Images ----
    // Adds the images of a bitmap resource (one per image width) to a list,
    // masked with the mask colour; in 3-D XP style also a faded and a shadow
    // copy of the list's first image. FALSE when nothing could be added.
    BOOL AddResourceImage(wxImageList* list, UINT resource);
    // A bitmap resource of exactly 16 colours, its greys, black and white
    // turned into the system's button colours; invalid for anything else.
    static wxBitmap LoadSysColourBitmap(UINT resource);
    // The picture with black, grey (128), light grey (192) and white turned
    // into the system's button text, shadow, face and highlight colours.
    static wxBitmap MapSysColours(const wxImage& image);
    static COLORREF MapSysColour(COLORREF colour);
    static uint16_t BitmapColourCount(const SBitmapInfoHeader& header);
    // The list's image over the button-face colour, in a bitmap of the
    // menu's image size. TRUE.
    BOOL RenderListImage(wxImageList* list, int index, wxBitmap& bitmap);
    void FadeBitmap(wxBitmap& bitmap);
    void ShadowBitmap(wxBitmap& bitmap);
    // An item's own list of one image of a caller's list (at that list's
    // size), with the 3-D copies in 3-D XP style. FALSE for a missing list or
    // a negative index.
    BOOL CopyListImage(wxImageList* source, int index, wxImageList* target);
    // The command's image in the shared list: added, or replaced in place
    // when the command has one (with its 3-D copies); the shared index, or -1.
    int AddSharedImage(wxImageList* list, int index, int commandId);
    static int SharedImageIndex(int commandId);
    static BOOL HasSharedVariants(int index);
    static const wxImageList* GetSharedImages() { return s_sharedImages.get(); }
    static int GetSharedImageIdCount() { return static_cast<int>(s_sharedImageIds.size()); }
    // The image number of the command's button in a toolbar resource; FALSE
    // (image unchanged) when the toolbar cannot be loaded or lacks the command.
    BOOL FindToolbarImage(UINT commandId, UINT toolbar, int& image);
    // A colour swatch of the swatch size, centred in an image of the image
    // size over the menu background; hatchStyle -1 fills solid.
    void FillColourBitmap(wxBitmap& bitmap, CSize swatch, CSize image, COLORREF fill, COLORREF border,
                          int hatchStyle);
    // The check images (unselected, selected) from two bitmap resources.
    void SetCheckImages(int unselectedResource, int selectedResource);
    // The embossed image of a disabled item: the shape of the bitmap's part
    // at (srcX, srcY) in the shadow colour with a highlight edge one pixel
    // down and right, on the background colour. DrawDisabledImage takes as
    // the shape what is neither button face nor button highlight;
    // DrawDisabledImageMono what is nearer black than white.
    void DrawDisabledImage(wxDC& dest, int x, int y, int width, int height, const wxBitmap& bitmap, int srcX,
                           int srcY, COLORREF background);
    void DrawDisabledImageMono(wxDC& dest, int x, int y, int width, int height, const wxBitmap& bitmap, int srcX,
                               int srcY, COLORREF background);
    // Each channel moves by factor x its distance to 255 (to 0), cut towards
    // zero; a factor outside (0, 1] returns the colour unchanged.
    static COLORREF LightenColour(COLORREF colour, double factor);
    static COLORREF DarkenColour(COLORREF colour, double factor);

    // ---- Item operations ----
    // Id 0 makes a separator; MF_POPUP means the id is a sub-menu handle
    // (HandleId) and registers it. The image resource attaches the command's
    // image from the shared list (a toolbar resource of that number picks the
    // command's button); below 0 takes the image the command already shares.
    BOOL AppendItem(const wchar_t* text, UINT flags, uintptr_t id, int imageResource = -1);
    BOOL AppendItem(const char* text, UINT flags, uintptr_t id, int imageResource = -1);
    // The item's own image, copied from a caller's list.
    BOOL AppendItem(const wchar_t* text, UINT flags, uintptr_t id, wxImageList* list, int imageIndex);
    BOOL AppendItem(const char* text, UINT flags, uintptr_t id, wxImageList* list, int imageIndex);
    BOOL AppendMenu(UINT flags, uintptr_t id, const wchar_t* text = nullptr, int imageResource = -1);
    BOOL AppendMenu(UINT flags, uintptr_t id, const char* text, int imageResource = -1);
    BOOL AppendMenu(UINT flags, uintptr_t id, const wchar_t* text, wxImageList* list, int imageIndex);
    BOOL AppendMenu(UINT flags, uintptr_t id, const char* text, wxImageList* list, int imageIndex);
    BOOL AppendMenu(UINT flags, uintptr_t id, const wchar_t* text, const wxBitmap* bitmap);
    BOOL AppendMenu(UINT flags, uintptr_t id, const char* text, const wxBitmap* bitmap);
    // A new BCMenu sub-menu at the end, owned by this menu.
    BCMenu* AppendPopup(const wchar_t* text);
    BCMenu* AppendPopup(const char* text);
    // Without MF_BYPOSITION the position is a command id: the item goes
    // before that item, in whichever menu holds it. Position -1: the end.
    BOOL InsertItem(UINT position, const wchar_t* text, UINT flags, uintptr_t id, int imageResource = -1);
    BOOL InsertItem(UINT position, const char* text, UINT flags, uintptr_t id, int imageResource = -1);
    BOOL InsertItem(UINT position, const wchar_t* text, UINT flags, uintptr_t id, wxImageList* list,
                    int imageIndex);
    BOOL InsertItem(UINT position, const char* text, UINT flags, uintptr_t id, wxImageList* list, int imageIndex);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text = nullptr, int imageResource = -1);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, int imageResource = -1);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text, wxImageList* list,
                    int imageIndex);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, wxImageList* list, int imageIndex);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text, const wxBitmap* bitmap);
    BOOL InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, const wxBitmap* bitmap);
    // Every item of the command gets the text (null: kept) and the image
    // and becomes owner-drawn. A command that no item carries gets a record
    // of this menu and FALSE.
    BOOL ModifyItem(const wchar_t* text, UINT id, int imageResource = -1);
    BOOL ModifyItem(const char* text, UINT id, int imageResource = -1);
    BOOL ModifyItem(const wchar_t* text, UINT id, wxImageList* list, int imageIndex);
    BOOL ModifyItem(const char* text, UINT id, wxImageList* list, int imageIndex);
    BOOL ModifyItem(const wchar_t* text, UINT id, const wxBitmap* bitmap);
    BOOL ModifyItem(const char* text, UINT id, const wxBitmap* bitmap);
    // A colour swatch (of the image size when no size is given).
    BOOL ModifyItem(const wchar_t* text, UINT id, COLORREF fill, COLORREF border, int hatchStyle = -1,
                    const CSize* swatch = nullptr);
    BOOL ModifyItem(const char* text, UINT id, COLORREF fill, COLORREF border, int hatchStyle = -1,
                    const CSize* swatch = nullptr);
    // The record with the old text gets the text (null: kept) and its own
    // image from a resource; the toolkit menu is not touched.
    BOOL ModifyItemByText(const wchar_t* text, const wchar_t* oldText, int imageResource = -1);
    BOOL ModifyItemByText(const char* text, const char* oldText, int imageResource = -1);
    // The images of a toolbar resource for every item whose command has a
    // button; the menu's image size grows to the toolbar's.
    BOOL LoadToolbarImages(UINT toolbarResource);
    BOOL LoadToolbarsImages(const UINT* toolbarResources, int count);
    // Own images from a bitmap resource for the items of a toolbar's
    // commands; the toolbar's button count.
    int AddToolbarImages(const BCMenuToolBar& toolbar, int imageResource);
    // By position (MF_BYPOSITION) or command (in whichever menu holds it),
    // with the records, and for a pop-up its sub-menu and registrations.
    // RemoveMenu gives a sub-menu that another BCMenu holds back to it;
    // DeleteMenu deletes it.
    BOOL RemoveMenu(UINT idOrPosition, UINT flags);
    BOOL DeleteMenu(UINT idOrPosition, UINT flags);
    // The first item with the text, and separators next to it: kind 1 and
    // 2 the one before, 3 the ones before and after. The position found, or
    // -1 (nothing removed).
    int RemoveMenu(const std::wstring& text, int separatorKind);
    int RemoveMenu(const CString& text, int separatorKind);
    int DeleteMenu(const std::wstring& text, int separatorKind);
    int DeleteMenu(const CString& text, int separatorKind);

    // ---- Resources, synchronisation, keyboard ----
    // Pads the label of every text with an accelerator with spaces, so the
    // accelerators of the level line up.
    void PadAccelerators();
    // The padding itself, with a measure of text widths: each label before
    // a tab grows by spaces until it is at least as wide as the widest label
    // of the texts plus one space. A space that does not widen the label
    // ends its padding (a font may measure a space as nothing).
    static void PadLabels(std::vector<std::wstring>& texts, const std::function<int(const std::wstring&)>& measure);
    // How many toolkit items stand before the records (a menu loaded from a
    // template whose toolkit menu gained items at its front).
    int TopLevelOffset() const;
    // Gives the top-level pop-up items of a loaded menu their plain text back.
    void RestoreTopLevelText();
    // Rebuilds the records from the toolkit menu after it changed behind the
    // menu's back: one record per position, records kept where they match.
    void SynchronizeRecords();
    static void Synchronize(wxMenu* menu);
    // The position of the first item whose text holds "&" and the character
    // (either case), in the low word, MNC_EXECUTE in the high word; 0 for
    // other menus, a menu bar (flags without MF_POPUP) or no match.
    static long FindMenuChar(UINT character, UINT flags, wxMenu* menu);

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
    // ---- The toolkit menu's own operations (item data: the record) ----
    // An owner-drawn item shows the record's label in the toolkit menu and
    // reports no text; other items carry the given text. FALSE for no such
    // item, or a pop-up whose sub-menu is missing or sits in another menu.
    BOOL BaseAppendMenu(UINT flags, uintptr_t id, BCMenuData* record, const CString& text = CString());
    BOOL BaseInsertMenu(UINT position, UINT flags, uintptr_t id, BCMenuData* record,
                        const CString& text = CString());
    BOOL BaseModifyMenu(uintptr_t idOrPosition, UINT flags, uintptr_t id, BCMenuData* record,
                        const CString& text = CString());
    // RemoveMenu keeps a sub-menu alive (detached); DeleteMenu deletes it.
    BOOL BaseRemoveMenu(UINT position, UINT flags, bool deleteSubMenu);

    BCMenuData* TakeRecord(uintptr_t id);
    void MarkAllRecords(BOOL value);
    void DeleteUnmarkedRecords();
    BCMenuData* ReplaceItemRecord(UINT position, UINT flags, uintptr_t id, const CString& text);

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
    static int s_systemMenuHeight;

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
    // A new sub-menu object with this menu's check images, owned by this
    // menu but not yet registered.
    BCMenu* NewOwnedSubMenu();
    // Deletes the sub-menu object this menu owns for a handle; false when it
    // owns none.
    bool DeleteOwnedSubMenu(const wxMenu* handle);
    // Registers a pop-up's handle (appended, or inserted at an index).
    void RegisterSubMenu(wxMenu* handle, int insertAt = -1);
    static bool IsUsableSubMenu(uintptr_t handle);
    // Clears the records the items of a toolkit menu (and its sub-menus)
    // carry: a menu given away keeps no pointer to this menu's records.
    static void ForgetItemData(wxMenu* menu);
    // The flags of a new item: id 0 makes a separator.
    static UINT NewItemFlags(UINT flags, uintptr_t id, bool insert);
    // The start of every append and insert: the item's flags, a pop-up's
    // sub-menu checked and registered (at the position for an insert), and
    // the new record with text, flags and command. Null when refused (a
    // pop-up whose sub-menu is missing or held by another menu); nothing
    // has changed then.
    std::unique_ptr<BCMenuData> NewItemRecord(const wchar_t* text, UINT& flags, uintptr_t id, bool insert,
                                              UINT position = static_cast<UINT>(-1));
    // The record at the end of the list, its item at the end of the menu.
    BOOL AppendRecord(std::unique_ptr<BCMenuData> record);
    // The record at index position - offset of the list, its item at the
    // position (-1 or past the end: the end).
    BOOL InsertRecord(std::unique_ptr<BCMenuData> record, UINT position, int offset);
    // Where an insert goes: this menu for a position, else the menu holding
    // the command, with the position found (flags then by position); null
    // when no item carries the command.
    BCMenu* InsertPlace(UINT& position, UINT& flags);
    // The record's shared image from an image resource.
    void AttachSharedImage(BCMenuData& record, UINT id, int imageResource);
    // A list of the menu's image size holding one bitmap, masked.
    std::unique_ptr<wxImageList> ListOfBitmap(const wxBitmap& bitmap);
    std::unique_ptr<wxImageList> NewImageList() const;
    COLORREF MaskColour() const;
    // Adds a bitmap resource's images to a list with the mask colour; the
    // first index added, or -1.
    int AddResourcePieces(wxImageList* list, UINT resource);
    // The faded and the shadow copy of a list's image.
    void MakeVariants(wxImageList* list, int index, wxBitmap& faded, wxBitmap& shadow);
    // In 3-D XP style, adds the faded and the shadow copy of the list's
    // first image after its images.
    void AddVariantsOfFirst(wxImageList* list);
    // The steps of ModifyItem for every item of the command; attachImage
    // gives a record its image.
    BOOL ModifyEachItem(const wchar_t* text, UINT id, const std::function<void(BCMenuData&)>& attachImage);
    BOOL RemoveOrDelete(UINT idOrPosition, UINT flags, bool deleteMenu);
    int RemoveOrDeleteByText(const std::wstring& text, int separatorKind, bool deleteMenu);
    // The image list, index and marker the drawing uses for a record.
    struct SItemImage {
        wxImageList* list = nullptr;
        int index = -1;
        int marker = -1;
    };
    SItemImage ResolveImage(const BCMenuData* record, bool xpStyle) const;
    bool IsRadioItem(UINT id) const;
    static void DrawMark(wxDC& dc, BOOL radio, CPoint dot, CPoint glyph);
};
