#include "tests/controls/menusupport.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/imagpng.h>

#include "tests/testsupport.h"

namespace menusupport {

namespace {

// The shared image list goes while the toolkit still runs.
class ReleaseMenuImages : public testing::Environment {
public:
    void TearDown() override { BCMenu::ReleaseSharedImages(); }
};

[[maybe_unused]] testing::Environment* const kReleaseMenuImages =
    testing::AddGlobalTestEnvironment(new ReleaseMenuImages);

} // namespace

COLORREF At(const wxImage& image, int x, int y)
{
    return RGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

COLORREF System(wxSystemColour index)
{
    const wxColour colour = wxSystemSettings::GetColour(index);
    return RGB(colour.Red(), colour.Green(), colour.Blue());
}

int CountPixels(const wxImage& image, COLORREF colour, const wxRect& area)
{
    int count = 0;
    for (int y = area.GetTop(); y <= area.GetBottom(); ++y)
        for (int x = area.GetLeft(); x <= area.GetRight(); ++x)
            count += At(image, x, y) == colour ? 1 : 0;
    return count;
}

wxImage Picture(int width, int height, COLORREF back, const std::vector<SPatch>& patches)
{
    wxImage image(width, height);
    image.SetRGB(wxRect(0, 0, width, height), GetRValue(back), GetGValue(back), GetBValue(back));
    for (const SPatch& patch : patches)
        image.SetRGB(patch.rect, GetRValue(patch.colour), GetGValue(patch.colour), GetBValue(patch.colour));
    return image;
}

ResourceScope::~ResourceScope()
{
    for (const auto& [type, name] : m_names)
        RemoveResource(type, name);
}

void ResourceScope::Menu(UINT id, const std::vector<SMenuTemplateItem>& topLevel)
{
    SetResource(EResourceType::Menu, ResourceName(id), WriteMenuTemplate(topLevel));
    m_names.emplace_back(EResourceType::Menu, ResourceName(id));
}

void ResourceScope::Bitmap(UINT id, const wxImage& image, int bitsPerPixel)
{
    std::vector<uint8_t> bytes = WriteBitmapResource(image, bitsPerPixel);
    ASSERT_FALSE(bytes.empty()) << "the picture does not fit " << bitsPerPixel << " bits per pixel";
    SetResource(EResourceType::Bitmap, ResourceName(id), std::move(bytes));
    m_names.emplace_back(EResourceType::Bitmap, ResourceName(id));
}

void ResourceScope::Toolbar(UINT id, int width, int height, const std::vector<UINT>& commands)
{
    SetResource(EResourceType::Toolbar, ResourceName(id), WriteToolbarResource(width, height, commands));
    m_names.emplace_back(EResourceType::Toolbar, ResourceName(id));
}

void ResourceScope::String(UINT id, const CString& text)
{
    SetStringResource(id, text);
    m_names.emplace_back(EResourceType::String, ResourceName(id));
}

LookScope::LookScope(UINT drawMode, int menuHeight)
{
    BCMenu::SetDrawMode(drawMode);
    BCMenu::SetSystemMenuHeight(menuHeight);
}

LookScope::~LookScope()
{
    BCMenu::SetDrawMode(0);
    BCMenu::SetSystemMenuHeight(0);
}

wxImage DrawMenu(BCMenu& menu, int width, int selected, std::vector<int>* tops)
{
    std::vector<int> heights;
    int total = 0;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
        SMenuMeasureItem measure;
        measure.itemData = menu.GetItemData(i);
        menu.MeasureItem(&measure);
        heights.push_back(static_cast<int>(measure.itemHeight));
        total += static_cast<int>(measure.itemHeight);
    }
    wxBitmap bitmap(width, std::max(total, 1), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        int top = 0;
        for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
            if (tops)
                tops->push_back(top);
            const CRect rect(0, top, width, top + heights[static_cast<size_t>(i)]);
            SMenuDrawItem request = menu.MakeDrawRequest(i, dc, rect, i == selected);
            menu.DrawItem(&request);
            top = rect.bottom;
        }
        if (tops)
            tops->push_back(top);
    }
    return bitmap.ConvertToImage();
}

std::string SavePicture(const wxImage& image, const std::string& name)
{
    static testsupport::TempFolder fallback;
    const char* folder = std::getenv("QUENLOW_TEST_PICTURES");
    std::string path = folder && *folder ? std::string(folder) : fallback.path();
    std::filesystem::create_directories(path);
    if (path.back() != '/')
        path += '/';
    path += name + ".png";
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    return image.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG) ? path : std::string();
}

} // namespace menusupport
