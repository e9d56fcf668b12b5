// Helpers of the owner-drawn menu tests: resources put into the table for
// one test, pixels and system colours, a whole menu drawn into a picture,
// and pictures written for a person to look at.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <wx/image.h>
#include <wx/settings.h>

#include "controls/bcmenu.h"
#include "controls/resources.h"

namespace menusupport {

// The default transparent colour of the menus' bitmaps.
constexpr COLORREF kGrey = RGB(192, 192, 192);

COLORREF At(const wxImage& image, int x, int y);
COLORREF System(wxSystemColour index);
int CountPixels(const wxImage& image, COLORREF colour, const wxRect& area);

// A picture of solid colours: width x height of the first colour, with
// rectangles of other colours painted over it.
struct SPatch {
    wxRect rect;
    COLORREF colour;
};
wxImage Picture(int width, int height, COLORREF back, const std::vector<SPatch>& patches = {});

// Resources that live for one test: removed again when it ends.
class ResourceScope {
public:
    ResourceScope() = default;
    ~ResourceScope();
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

    void Menu(UINT id, const std::vector<SMenuTemplateItem>& topLevel);
    void Bitmap(UINT id, const wxImage& image, int bitsPerPixel);
    void Toolbar(UINT id, int width, int height, const std::vector<UINT>& commands);
    void String(UINT id, const CString& text);

private:
    std::vector<std::pair<EResourceType, CString>> m_names;
};

// Sets the drawing mode (and the system menu height) for one test and
// puts the start-up values back afterwards: they are shared by all menus.
class LookScope {
public:
    explicit LookScope(UINT drawMode, int menuHeight = 0);
    ~LookScope();
    LookScope(const LookScope&) = delete;
    LookScope& operator=(const LookScope&) = delete;
};

// Every item of a menu measured and drawn below each other, width pixels
// wide, the item at `selected` (-1 none) drawn selected. The rows' tops in
// `tops` when given (one more entry: the bottom).
wxImage DrawMenu(BCMenu& menu, int width, int selected = -1, std::vector<int>* tops = nullptr);

// Writes a picture as PNG into the folder named by QUENLOW_TEST_PICTURES
// (for looking at it), else into a temporary folder that goes with the
// test program. The path written, "" on failure.
std::string SavePicture(const wxImage& image, const std::string& name);

} // namespace menusupport
