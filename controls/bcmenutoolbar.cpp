#include "controls/bcmenutoolbar.h"

#include "controls/bcmenu.h"
#include "controls/resources.h"

BOOL BCMenuToolBar::LoadToolBar(UINT resourceId)
{
    return LoadToolBar(ResourceName(resourceId));
}

BOOL BCMenuToolBar::LoadToolBar(const char* name)
{
    const std::vector<uint8_t>* bytes = name ? FindResource(EResourceType::Toolbar, name) : nullptr;
    if (!bytes || bytes->size() < 8)
        return FALSE;
    const auto word = [bytes](size_t index) {
        return static_cast<UINT>((*bytes)[index * 2] | (*bytes)[index * 2 + 1] << 8);
    };
    // Only version 1 is known; another layout would be read wrongly.
    if (word(0) != 1)
        return FALSE;
    const UINT count = word(3);
    if (bytes->size() < 8 + size_t{count} * 2)
        return FALSE;
    m_buttons.clear();
    for (UINT i = 0; i < count; ++i)
        m_buttons.push_back(word(4 + i));
    m_imageWidth = static_cast<int>(word(1));
    m_imageHeight = static_cast<int>(word(2));
    return LoadBitmap(name);
}

BOOL BCMenuToolBar::LoadBitmap(const char* name)
{
    const std::vector<uint8_t>* bytes = name ? FindResource(EResourceType::Bitmap, name) : nullptr;
    if (!bytes)
        return FALSE;
    const wxBitmap bitmap = BCMenu::MapSysColours(ReadBitmapResource(*bytes));
    if (!bitmap.IsOk())
        return FALSE;
    m_bitmap = bitmap;
    return TRUE;
}

void BCMenuToolBar::GetImageSize(int& width, int& height) const
{
    width = m_imageWidth;
    height = m_imageHeight;
}

int BCMenuToolBar::CommandToIndex(UINT commandId) const
{
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i] == commandId)
            return static_cast<int>(i);
    }
    return -1;
}

UINT BCMenuToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetButtonCount() ? m_buttons[static_cast<size_t>(index)] : 0;
}

int BCMenuToolBar::GetButtonImage(int index) const
{
    if (index < 0 || index >= GetButtonCount())
        return -1;
    if (m_buttons[static_cast<size_t>(index)] == 0)
        return 8;
    int image = 0;
    for (int i = 0; i < index; ++i)
        image += m_buttons[static_cast<size_t>(i)] != 0 ? 1 : 0;
    return image;
}
