// The buttons and bitmap of a toolbar resource, as the owner-drawn menu
// reads them to find the image of a command's button. A toolbar resource
// lists one command per button (0 for a separator); its bitmap resource of
// the same name holds one image per button that is not a separator, in
// order. The menu only reads these; it never shows a toolbar, so this is
// no window.
#pragma once

#include <vector>

#include <wx/bitmap.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class BCMenuToolBar {
public:
    // Reads the toolbar resource and its bitmap; FALSE for a missing or
    // short resource, a version other than 1, or a missing bitmap.
    BOOL LoadToolBar(const char* name);
    BOOL LoadToolBar(UINT resourceId);
    // The bitmap resource, its greys, black and white turned into the
    // system's button colours.
    BOOL LoadBitmap(const char* name);
    void GetImageSize(int& width, int& height) const;

    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    // The first button of the command; -1 when none.
    int CommandToIndex(UINT commandId) const;
    UINT GetItemID(int index) const;
    // The image number of a button: buttons that are not separators count
    // 0, 1, 2 ... in order; a separator has 8 (its width), as the toolbars of
    // Windows give it.
    int GetButtonImage(int index) const;
    const wxBitmap& GetBitmap() const { return m_bitmap; }

private:
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    std::vector<UINT> m_buttons;
    wxBitmap m_bitmap;
};
