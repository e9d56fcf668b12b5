// Appending, inserting, modifying and removing owner-drawn items, keeping
// one record per item beside the toolkit menu, and giving items the images
// of toolbar resources.
#include "controls/bcmenu.h"

#include <algorithm>

#include "controls/bcmenutext.h"
#include "controls/bcmenutoolbar.h"

UINT BCMenu::NewItemFlags(UINT flags, uintptr_t id, bool insert)
{
    if (id == 0)
        return MF_SEPARATOR | MF_OWNERDRAW | (insert || (flags & MF_BYPOSITION) ? MF_BYPOSITION : 0);
    return flags | MF_OWNERDRAW;
}

void BCMenu::AttachSharedImage(BCMenuData& record, UINT id, int imageResource)
{
    if (imageResource < 0) {
        record.m_sharedImageIndex = SharedImageIndex(static_cast<int>(id));
        return;
    }
    // A toolbar resource of the same number picks the command's button in
    // its bitmap; otherwise the bitmap's first image.
    int index = 0;
    FindToolbarImage(id, static_cast<UINT>(imageResource), index);
    record.m_ownImages.reset();
    const std::unique_ptr<wxImageList> images = NewImageList();
    record.m_sharedImageIndex = AddResourceImage(images.get(), static_cast<UINT>(imageResource))
                                    ? AddSharedImage(images.get(), index, static_cast<int>(id))
                                    : -1;
}

std::unique_ptr<wxImageList> BCMenu::ListOfBitmap(const wxBitmap& bitmap)
{
    std::unique_ptr<wxImageList> list = NewImageList();
    wxImage image = bitmap.ConvertToImage();
    if (image.GetSize() != list->GetSize())
        image.Rescale(m_imageWidth, m_imageHeight);
    const COLORREF mask = MaskColour();
    image.SetMaskColour(GetRValue(mask), GetGValue(mask), GetBValue(mask));
    list->Add(wxBitmap(image));
    return list;
}

// ---- Appending ----

std::unique_ptr<BCMenuData> BCMenu::NewItemRecord(const wchar_t* text, UINT& flags, uintptr_t id, bool insert,
                                                  UINT position)
{
    flags = NewItemFlags(flags, id, insert);
    // A pop-up must bring a sub-menu that no other menu holds; checked
    // first, so a refused item leaves nothing behind.
    if (!m_hMenu || ((flags & MF_POPUP) && !IsUsableSubMenu(id)))
        return nullptr;
    if (flags & MF_POPUP)
        RegisterSubMenu(IdHandle(id), position == static_cast<UINT>(-1) ? -1 : static_cast<int>(position));
    auto record = std::make_unique<BCMenuData>();
    record->SetTextW(text);
    record->m_flags = flags;
    record->m_commandId = id;
    return record;
}

BOOL BCMenu::AppendRecord(std::unique_ptr<BCMenuData> record)
{
    BCMenuData* added = record.get();
    m_itemRecords.push_back(std::move(record));
    return BaseAppendMenu(added->m_flags, added->m_commandId, added);
}

BOOL BCMenu::AppendItem(const wchar_t* text, UINT flags, uintptr_t id, int imageResource)
{
    std::unique_ptr<BCMenuData> record = NewItemRecord(text, flags, id, false);
    if (!record)
        return FALSE;
    AttachSharedImage(*record, static_cast<UINT>(id), imageResource);
    const BOOL result = AppendRecord(std::move(record));
    if (m_loadedFromResource)
        RestoreTopLevelText();
    return result;
}

BOOL BCMenu::AppendItem(const char* text, UINT flags, uintptr_t id, int imageResource)
{
    return AppendItem(CWideText(text).get(), flags, id, imageResource);
}

BOOL BCMenu::AppendItem(const wchar_t* text, UINT flags, uintptr_t id, wxImageList* list, int imageIndex)
{
    std::unique_ptr<BCMenuData> record = NewItemRecord(text, flags, id, false);
    if (!record)
        return FALSE;
    if (list) {
        record->m_imageResource = 0;
        record->m_ownImageIndex = 0;
        record->m_ownImages = std::make_unique<wxImageList>();
        CopyListImage(list, imageIndex, record->m_ownImages.get());
    }
    return AppendRecord(std::move(record));
}

BOOL BCMenu::AppendItem(const char* text, UINT flags, uintptr_t id, wxImageList* list, int imageIndex)
{
    return AppendItem(CWideText(text).get(), flags, id, list, imageIndex);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const wchar_t* text, int imageResource)
{
    return AppendItem(text, flags, id, imageResource);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const char* text, int imageResource)
{
    return AppendItem(text, flags, id, imageResource);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const wchar_t* text, wxImageList* list, int imageIndex)
{
    return AppendItem(text, flags, id, list, imageIndex);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const char* text, wxImageList* list, int imageIndex)
{
    return AppendItem(text, flags, id, list, imageIndex);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const wchar_t* text, const wxBitmap* bitmap)
{
    if (!bitmap || !bitmap->IsOk())
        return AppendItem(text, flags, id, nullptr, 0);
    const std::unique_ptr<wxImageList> list = ListOfBitmap(*bitmap);
    return AppendItem(text, flags, id, list.get(), 0);
}

BOOL BCMenu::AppendMenu(UINT flags, uintptr_t id, const char* text, const wxBitmap* bitmap)
{
    return AppendMenu(flags, id, CWideText(text).get(), bitmap);
}

BCMenu* BCMenu::AppendPopup(const wchar_t* text)
{
    if (!m_hMenu)
        return nullptr;
    BCMenu* sub = NewOwnedSubMenu();
    AppendItem(text, MF_POPUP, HandleId(sub->GetMenu()), -1);
    return sub;
}

BCMenu* BCMenu::AppendPopup(const char* text)
{
    return AppendPopup(CWideText(text).get());
}

// ---- Inserting ----

BCMenu* BCMenu::InsertPlace(UINT& position, UINT& flags)
{
    if (flags & MF_BYPOSITION)
        return this;
    int found = -1;
    BCMenu* holder = FindItemMenu(position, found);
    if (!holder)
        return nullptr;
    position = static_cast<UINT>(found);
    flags |= MF_BYPOSITION;
    return holder;
}

BOOL BCMenu::InsertRecord(std::unique_ptr<BCMenuData> record, UINT position, int offset)
{
    const int count = GetMenuItemCount();
    if (position == static_cast<UINT>(-1) || position > static_cast<UINT>(count))
        position = static_cast<UINT>(count);
    BCMenuData* added = record.get();
    // Within the list: an index past the records would leave holes.
    const int at = std::clamp(static_cast<int>(position) - offset, 0, GetRecordCount());
    m_itemRecords.insert(m_itemRecords.begin() + at, std::move(record));
    return BaseInsertMenu(position, added->m_flags, added->m_commandId, added);
}

BOOL BCMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, uintptr_t id, int imageResource)
{
    BCMenu* place = InsertPlace(position, flags);
    if (place != this)
        return place ? place->InsertItem(position, text, flags, id, imageResource) : FALSE;
    std::unique_ptr<BCMenuData> record = NewItemRecord(text, flags, id, true, position);
    if (!record)
        return FALSE;
    // A pop-up of a loaded menu whose toolkit menu has items before the
    // records' first goes that much further up the list.
    int offset = 0;
    if ((flags & MF_POPUP) && m_loadedFromResource) {
        offset = TopLevelOffset();
        if (position < static_cast<UINT>(offset))
            offset = 0;
    }
    // The image goes to the shared list and shows as it does for an
    // appended item.
    AttachSharedImage(*record, static_cast<UINT>(id), imageResource);
    const BOOL result = InsertRecord(std::move(record), position, offset);
    if (m_loadedFromResource)
        RestoreTopLevelText();
    return result;
}

BOOL BCMenu::InsertItem(UINT position, const char* text, UINT flags, uintptr_t id, int imageResource)
{
    return InsertItem(position, CWideText(text).get(), flags, id, imageResource);
}

BOOL BCMenu::InsertItem(UINT position, const wchar_t* text, UINT flags, uintptr_t id, wxImageList* list,
                        int imageIndex)
{
    BCMenu* place = InsertPlace(position, flags);
    if (place != this)
        return place ? place->InsertItem(position, text, flags, id, list, imageIndex) : FALSE;
    std::unique_ptr<BCMenuData> record = NewItemRecord(text, flags, id, true, position);
    if (!record)
        return FALSE;
    if (list)
        record->m_sharedImageIndex = AddSharedImage(list, imageIndex, static_cast<int>(id));
    return InsertRecord(std::move(record), position, 0);
}

BOOL BCMenu::InsertItem(UINT position, const char* text, UINT flags, uintptr_t id, wxImageList* list,
                        int imageIndex)
{
    return InsertItem(position, CWideText(text).get(), flags, id, list, imageIndex);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text, int imageResource)
{
    return InsertItem(position, text, flags, id, imageResource);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, int imageResource)
{
    return InsertItem(position, text, flags, id, imageResource);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text, wxImageList* list,
                        int imageIndex)
{
    return InsertItem(position, text, flags, id, list, imageIndex);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, wxImageList* list, int imageIndex)
{
    return InsertItem(position, text, flags, id, list, imageIndex);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const wchar_t* text, const wxBitmap* bitmap)
{
    if (!bitmap || !bitmap->IsOk())
        return InsertItem(position, text, flags, id, nullptr, 0);
    const std::unique_ptr<wxImageList> list = ListOfBitmap(*bitmap);
    return InsertItem(position, text, flags, id, list.get(), 0);
}

BOOL BCMenu::InsertMenu(UINT position, UINT flags, uintptr_t id, const char* text, const wxBitmap* bitmap)
{
    return InsertMenu(position, flags, id, CWideText(text).get(), bitmap);
}

// ---- Modifying ----

namespace {

// The check, enabled and radio state an item has now, which a change of
// its text or image keeps.
constexpr UINT kKeptState = BCMenu::MF_CHECKED | BCMenu::MF_GRAYED | BCMenu::MF_DISABLED | BCMenu::MFT_RADIOCHECK;

} // namespace

BOOL BCMenu::ModifyItem(const wchar_t* text, UINT id, int imageResource)
{
    return ModifyEachItem(text, id, [this, id, imageResource](BCMenuData& record) {
        AttachSharedImage(record, id, imageResource);
    });
}

BOOL BCMenu::ModifyItem(const char* text, UINT id, int imageResource)
{
    return ModifyItem(CWideText(text).get(), id, imageResource);
}

BOOL BCMenu::ModifyItem(const wchar_t* text, UINT id, wxImageList* list, int imageIndex)
{
    return ModifyEachItem(text, id, [this, id, list, imageIndex](BCMenuData& record) {
        // Without a list the shared image stays as it is.
        if (!list)
            return;
        record.m_ownImages.reset();
        record.m_sharedImageIndex = AddSharedImage(list, imageIndex, static_cast<int>(id));
    });
}

BOOL BCMenu::ModifyItem(const char* text, UINT id, wxImageList* list, int imageIndex)
{
    return ModifyItem(CWideText(text).get(), id, list, imageIndex);
}

BOOL BCMenu::ModifyItem(const wchar_t* text, UINT id, const wxBitmap* bitmap)
{
    if (!bitmap || !bitmap->IsOk())
        return ModifyItem(text, id, static_cast<wxImageList*>(nullptr), 0);
    const std::unique_ptr<wxImageList> list = ListOfBitmap(*bitmap);
    return ModifyItem(text, id, list.get(), 0);
}

BOOL BCMenu::ModifyItem(const char* text, UINT id, const wxBitmap* bitmap)
{
    return ModifyItem(CWideText(text).get(), id, bitmap);
}

BOOL BCMenu::ModifyItem(const wchar_t* text, UINT id, COLORREF fill, COLORREF border, int hatchStyle,
                        const CSize* swatch)
{
    const CSize image(m_imageWidth, m_imageHeight);
    wxBitmap bitmap;
    FillColourBitmap(bitmap, swatch ? *swatch : image, image, fill, border, hatchStyle);
    return ModifyItem(text, id, &bitmap);
}

BOOL BCMenu::ModifyItem(const char* text, UINT id, COLORREF fill, COLORREF border, int hatchStyle,
                        const CSize* swatch)
{
    return ModifyItem(CWideText(text).get(), id, fill, border, hatchStyle, swatch);
}

BOOL BCMenu::ModifyEachItem(const wchar_t* text, UINT id, const std::function<void(BCMenuData&)>& attachImage)
{
    std::vector<BCMenu*> menus;
    std::vector<int> positions;
    int position = -1;
    BCMenu* found = FindItemMenu(id, position);
    BOOL result = FALSE;
    do {
        BCMenuData* record = found ? found->GetRecord(position) : nullptr;
        if (found && !record) {
            // An item the toolkit menu gained behind the records' back.
            found->SynchronizeRecords();
            record = found->GetRecord(position);
        }
        if (!record) {
            m_itemRecords.push_back(std::make_unique<BCMenuData>());
            record = m_itemRecords.back().get();
        }
        if (text)
            record->SetTextW(text);
        record->m_imageResource = -1;
        record->m_ownImageIndex = -1;
        attachImage(*record);
        record->m_flags = (record->m_flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
        record->m_commandId = id;
        // Each item gets the record of its own menu as its item data.
        if (found) {
            const UINT state = found->GetMenuState(static_cast<uintptr_t>(position), MF_BYPOSITION);
            const UINT flags = (record->m_flags & ~kKeptState) | (state & kKeptState) | MF_BYPOSITION;
            result = found->BaseModifyMenu(static_cast<uintptr_t>(position), flags, id, record);
        } else {
            result = BaseModifyMenu(id, record->m_flags, id, record);
        }
        menus.push_back(found);
        positions.push_back(position);
        if (!found)
            break;
        found = FindNextItemMenu(id, position, menus, positions);
    } while (found);
    return result;
}

BOOL BCMenu::ModifyItemByText(const wchar_t* text, const wchar_t* oldText, int imageResource)
{
    BCMenuData* record = FindRecordByText(oldText);
    if (!record)
        return FALSE;
    if (text)
        record->SetTextW(text);
    record->m_imageResource = imageResource;
    record->m_ownImageIndex = -1;
    if (imageResource >= 0) {
        record->m_ownImageIndex = 0;
        record->m_ownImages = NewImageList();
        if (!AddResourceImage(record->m_ownImages.get(), static_cast<UINT>(imageResource))) {
            record->m_ownImages.reset();
            record->m_imageResource = -1;
            record->m_ownImageIndex = -1;
        }
    }
    return TRUE;
}

BOOL BCMenu::ModifyItemByText(const char* text, const char* oldText, int imageResource)
{
    return ModifyItemByText(CWideText(text).get(), CWideText(oldText).get(), imageResource);
}

// ---- Toolbar images ----

BOOL BCMenu::LoadToolbarImages(UINT toolbarResource)
{
    BCMenuToolBar bar;
    if (!bar.LoadToolBar(toolbarResource))
        return FALSE;
    int width = 0;
    int height = 0;
    bar.GetImageSize(width, height);
    m_imageWidth = std::max(m_imageWidth, width);
    m_imageHeight = std::max(m_imageHeight, height);
    const std::unique_ptr<wxImageList> images = NewImageList();
    if (!AddResourceImage(images.get(), toolbarResource))
        return FALSE;
    for (int i = 0; i < bar.GetButtonCount(); ++i) {
        const UINT id = bar.GetItemID(i);
        if (id == 0 || GetMenuState(id, MF_BYCOMMAND) == kStateNotFound)
            continue;
        // The bitmap holds images for the buttons only: a button's image is
        // its image number, whatever separators stand before it.
        ModifyItem(static_cast<const wchar_t*>(nullptr), id, images.get(), bar.GetButtonImage(i));
    }
    return TRUE;
}

BOOL BCMenu::LoadToolbarsImages(const UINT* toolbarResources, int count)
{
    BOOL result = TRUE;
    for (int i = 0; i < count && toolbarResources; ++i) {
        if (!LoadToolbarImages(toolbarResources[i]))
            result = FALSE;
    }
    return result;
}

int BCMenu::AddToolbarImages(const BCMenuToolBar& toolbar, int imageResource)
{
    for (int i = 0; i < toolbar.GetButtonCount(); ++i) {
        const UINT id = toolbar.GetItemID(i);
        if (id == 0 || GetMenuState(id, MF_BYCOMMAND) == kStateNotFound)
            continue;
        int position = -1;
        BCMenu* holder = FindItemMenu(id, position);
        BCMenuData* record = holder ? holder->GetRecord(position) : nullptr;
        if (!record) {
            m_itemRecords.push_back(std::make_unique<BCMenuData>());
            record = m_itemRecords.back().get();
        }
        record->m_imageResource = imageResource;
        record->m_commandId = id;
        record->m_flags = MF_OWNERDRAW;
        record->m_ownImageIndex = toolbar.GetButtonImage(i);
        record->m_ownImages = NewImageList();
        if (!AddResourceImage(record->m_ownImages.get(), static_cast<UINT>(imageResource))) {
            record->m_ownImages.reset();
            record->m_imageResource = -1;
            record->m_ownImageIndex = -1;
        }
        if (holder)
            holder->BaseModifyMenu(static_cast<uintptr_t>(position), MF_OWNERDRAW | MF_BYPOSITION, id, record);
        else
            BaseModifyMenu(id, MF_OWNERDRAW, id, record);
    }
    return toolbar.GetButtonCount();
}

// ---- Removing ----

BOOL BCMenu::RemoveMenu(UINT idOrPosition, UINT flags)
{
    return RemoveOrDelete(idOrPosition, flags, false);
}

BOOL BCMenu::DeleteMenu(UINT idOrPosition, UINT flags)
{
    return RemoveOrDelete(idOrPosition, flags, true);
}

BOOL BCMenu::RemoveOrDelete(UINT idOrPosition, UINT flags, bool deleteMenu)
{
    if (!(flags & MF_BYPOSITION)) {
        int position = -1;
        BCMenu* holder = FindItemMenu(idOrPosition, position);
        if (holder)
            return holder->RemoveOrDelete(static_cast<UINT>(position), flags | MF_BYPOSITION, deleteMenu);
        return BaseRemoveMenu(idOrPosition, flags, deleteMenu);
    }
    const UINT state = GetMenuState(idOrPosition, MF_BYPOSITION);
    if (state == kStateNotFound)
        return FALSE;
    const int position = static_cast<int>(idOrPosition);
    if (!(state & MF_SEPARATOR) || (state & MF_POPUP)) {
        if (wxMenu* sub = GetSubMenu(position)) {
            for (size_t i = m_subMenuHandles.size(); i-- > 0;) {
                if (m_subMenuHandles[i] == sub) {
                    RemoveFromAllSubMenus(sub);
                    m_subMenuHandles.erase(m_subMenuHandles.begin() + static_cast<std::ptrdiff_t>(i));
                }
            }
            if (BCMenu* subMenu = FromHandle(sub)) {
                for (int p = subMenu->GetMenuItemCount() - 1; p >= 0; --p)
                    subMenu->RemoveOrDelete(static_cast<UINT>(p), MF_BYPOSITION, deleteMenu);
            }
            for (size_t i = m_itemRecords.size(); i-- > 0;) {
                if (m_itemRecords[i] && m_itemRecords[i]->m_commandId == HandleId(sub)) {
                    m_itemRecords.erase(m_itemRecords.begin() + static_cast<std::ptrdiff_t>(i));
                    break;
                }
            }
            // The toolkit item goes first, so deleting the sub-menu object
            // cannot take another item with it.
            const BOOL result = BaseRemoveMenu(idOrPosition, MF_BYPOSITION, deleteMenu);
            DeleteOwnedSubMenu(sub);
            return result;
        }
        const UINT id = GetMenuItemID(position);
        for (auto it = m_itemRecords.begin(); it != m_itemRecords.end(); ++it) {
            if (*it && (*it)->m_commandId == id) {
                m_itemRecords.erase(it);
                break;
            }
        }
    } else if (position < GetRecordCount()) {
        const BCMenuData* record = GetRecord(position);
        if (!deleteMenu || !record || record->GetText().IsEmpty())
            m_itemRecords.erase(m_itemRecords.begin() + position);
    }
    return BaseRemoveMenu(idOrPosition, MF_BYPOSITION, deleteMenu);
}

int BCMenu::RemoveOrDeleteByText(const std::wstring& text, int separatorKind, bool deleteMenu)
{
    const int position = GetItemPosition(text.c_str());
    // A text that is not found removes nothing, separators included.
    if (position < 0)
        return -1;
    RemoveOrDelete(static_cast<UINT>(position), MF_BYPOSITION, deleteMenu);
    const int before = position - 1;
    const int times = separatorKind == 1 || separatorKind == 2 ? 1 : separatorKind == 3 ? 2 : 0;
    for (int i = 0; i < times && before >= 0; ++i)
        RemoveOrDelete(static_cast<UINT>(before), MF_BYPOSITION, deleteMenu);
    return position;
}

int BCMenu::RemoveMenu(const std::wstring& text, int separatorKind)
{
    return RemoveOrDeleteByText(text, separatorKind, false);
}

int BCMenu::RemoveMenu(const CString& text, int separatorKind)
{
    return RemoveOrDeleteByText(CWideText(text).get(), separatorKind, false);
}

int BCMenu::DeleteMenu(const std::wstring& text, int separatorKind)
{
    return RemoveOrDeleteByText(text, separatorKind, true);
}

int BCMenu::DeleteMenu(const CString& text, int separatorKind)
{
    return RemoveOrDeleteByText(CWideText(text).get(), separatorKind, true);
}
