// Measuring and drawing owner-drawn menu items into a memory context: item
// and separator sizes in both looks, where images, check marks and the
// accelerator text land, disabled items, the off-screen surface, and whole
// menus drawn as pictures (written as PNG for looking at them).
#include <gtest/gtest.h>

#include <set>

#include <wx/dcmemory.h>

#include "controls/bcmenu.h"
#include "controls/bcmenumemdc.h"
#include "tests/controls/menusupport.h"

namespace {

using namespace menusupport;

constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kWhiteSentinel = RGB(255, 255, 255);

int TextWidth(const wxString& text)
{
    wxBitmap one(1, 1);
    wxMemoryDC dc(one);
    dc.SetFont(BCMenu::GetMenuFont());
    return dc.GetTextExtent(text).x;
}

// One item drawn alone into a picture of its rectangle.
wxImage DrawOne(BCMenu& menu, int position, int width, int height, bool selected)
{
    wxBitmap bitmap(width, height, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        SMenuDrawItem request = menu.MakeDrawRequest(position, dc, CRect(0, 0, width, height), selected);
        menu.DrawItem(&request);
    }
    return bitmap.ConvertToImage();
}

// The columns in which some pixel differs from the background colour.
std::set<int> InkColumns(const wxImage& image, COLORREF background, int fromX, int toX)
{
    std::set<int> columns;
    for (int x = fromX; x < toX; ++x)
        for (int y = 0; y < image.GetHeight(); ++y)
            if (At(image, x, y) != background)
                columns.insert(x);
    return columns;
}

class XP3DScope {
public:
    explicit XP3DScope(BOOL raised) { BCMenu::SetXP3DImages(raised); }
    ~XP3DScope() { BCMenu::SetXP3DImages(TRUE); }
};

TEST(BCMenuMeasure, ItemAndSeparatorSizesInBothLooks)
{
    const wxString text = "&Open\tCtrl+O";
    const int textWidth = TextWidth(text);
    const struct {
        const char* what;
        UINT mode;
        BOOL raised;
        CSize image;
        int menuHeight;
        CSize item;        // width, height of "&Open\tCtrl+O"
        int separator;     // height
    } cases[] = {
        {"classic", 0, TRUE, CSize(16, 15), 19, CSize(textWidth + 2 * 16 + 1, 19), 9},
        {"XP, raised images", 1, TRUE, CSize(16, 15), 19, CSize(16 + 7 + textWidth + 8, 22), 11},
        {"XP, flat images", 1, FALSE, CSize(16, 15), 19, CSize(16 + 4 + textWidth + 8, 19), 9},
        {"classic, large images", 0, TRUE, CSize(24, 24), 19, CSize(textWidth + 2 * 24 + 1, 28), 14},
        {"classic, tall menus", 0, TRUE, CSize(16, 15), 30, CSize(textWidth + 2 * 16 + 1, 30), 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LookScope look(c.mode, c.menuHeight);
        XP3DScope raised(c.raised);
        BCMenu menu;
        menu.SetImageSize(c.image.cx, c.image.cy);
        BCMenuData item;
        item.SetTextW(text.wc_str());
        SMenuMeasureItem request;
        request.itemData = &item;
        menu.MeasureItem(&request);
        EXPECT_EQ(CSize(c.item.cx, c.item.cy), CSize(static_cast<int>(request.itemWidth),
                                                      static_cast<int>(request.itemHeight)));
        BCMenuData separator;
        separator.m_flags = BCMenu::MF_SEPARATOR | BCMenu::MF_OWNERDRAW;
        request.itemData = &separator;
        menu.MeasureItem(&request);
        EXPECT_EQ(0u, request.itemWidth);
        EXPECT_EQ(static_cast<UINT>(c.separator), request.itemHeight);
        // No record, or one without text: no text width.
        request.itemData = nullptr;
        menu.MeasureItem(&request);
        EXPECT_EQ(static_cast<UINT>(c.item.cx - textWidth), request.itemWidth);
    }
    BCMenu menu;
    menu.MeasureItem(nullptr);
    menu.DrawItem(nullptr);
}

TEST(BCMenuDraw, TheCheckGlyphIsSevenStrokesOfThreePixels)
{
    wxBitmap bitmap(12, 12, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        BCMenu::DrawCheckGlyph(dc, 2, 3, RGB(0, 0, 0));
    }
    const wxImage image = bitmap.ConvertToImage();
    // Stroke i runs from (i, top) down three pixels; tops 2 3 4 3 2 1 0.
    const int tops[] = {2, 3, 4, 3, 2, 1, 0};
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k)
            expected.insert({2 + i, 3 + tops[i] + k});
    std::set<std::pair<int, int>> drawn;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if (At(image, x, y) != kWhiteSentinel) {
                EXPECT_EQ(RGB(0, 0, 0), At(image, x, y)) << x << "," << y << ": whole pixels only";
                drawn.insert({x, y});
            }
    EXPECT_EQ(expected, drawn);
}

// Where the check mark and an item's image land in each look.
TEST(BCMenuDraw, CheckMarksAndImagesSitWhereEachLookPutsThem)
{
    const COLORREF ink = System(wxSYS_COLOUR_MENUTEXT);
    const COLORREF highlight = System(wxSYS_COLOUR_HIGHLIGHT);
    wxImageList red(16, 15, true, 1);
    red.Add(wxBitmap(Picture(16, 15, kRed)));
    const struct {
        const char* what;
        UINT mode;
        BOOL raised;
        int height;
        CPoint glyph;        // top-left of the check mark's first stroke box
        CPoint image;        // where the image's top-left pixel lands
        COLORREF imageColour;
    } cases[] = {
        // Classic: the box at (left + 1, top + dy + 2), dy = (19 - 4 - 15) / 2 = 0;
        // the glyph 4 pixels in; the image at (left + 2, top + dy + 2).
        {"classic", 0, TRUE, 19, CPoint(5, 6), CPoint(2, 2), kRed},
        // XP, height 22, a bar of 16 + 4 pixels: the 16 x 16 box at
        // (round(2), round(3)) = (2, 3), the glyph 5 and 4 pixels in; the
        // image at (round(2), round(3.5)).
        {"XP, flat", 1, FALSE, 22, CPoint(7, 7), CPoint(2, 4), kRed},
        // A bar of 16 + 7: the box at (round(3.5), 3) = (4, 3), the image at
        // (4, 4); raised images show their faded copy while not selected.
        {"XP, raised", 1, TRUE, 22, CPoint(9, 7), CPoint(4, 4), BCMenu::LightenColour(kRed, 0.3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LookScope look(c.mode, c.height);
        XP3DScope raised(c.raised);
        BCMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendItem("Checked", BCMenu::MF_CHECKED, 701);
        menu.AppendItem("Image", 0, 702, &red, 0);

        const wxImage checked = DrawOne(menu, 0, 160, c.height, false);
        // The first stroke: three pixels from two below the glyph's top.
        EXPECT_EQ(ink, At(checked, c.glyph.x, c.glyph.y + 2));
        EXPECT_EQ(ink, At(checked, c.glyph.x, c.glyph.y + 4));
        EXPECT_NE(ink, At(checked, c.glyph.x, c.glyph.y + 1));
        // The last stroke: at the top, six pixels right.
        EXPECT_EQ(ink, At(checked, c.glyph.x + 6, c.glyph.y));
        if (c.mode == 1) {
            EXPECT_EQ(highlight, At(checked, c.glyph.x - 5, 3)) << "the check box's frame";
        }

        const wxImage image = DrawOne(menu, 1, 160, c.height, false);
        EXPECT_EQ(c.imageColour, At(image, c.image.x, c.image.y));
        EXPECT_NE(c.imageColour, At(image, c.image.x - 1, c.image.y - 1));
        EXPECT_EQ(c.imageColour, At(image, c.image.x + 15, c.image.y + 14));
    }
}

TEST(BCMenuDraw, TheAcceleratorIsRightAlignedBeforeTheImageWidth)
{
    LookScope look(0, 19);
    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem("Open\tCtrl+O", 0, 711);
    menu.AppendItem("A\tMMMMMMMM\tZ", 0, 712);
    const COLORREF back = System(wxSYS_COLOUR_MENU);
    const int width = 240;

    const std::set<int> open = InkColumns(DrawOne(menu, 0, width, 19, false), back, 0, width);
    ASSERT_FALSE(open.empty());
    EXPECT_GE(*open.begin(), 16 + 9) << "the label starts after the image column";
    EXPECT_LT(*open.rbegin(), width - 16) << "the accelerator ends one image width before the edge";
    EXPECT_GE(*open.rbegin(), width - 16 - 4);

    // Two tabs: the part between them is not drawn.
    const std::set<int> two = InkColumns(DrawOne(menu, 1, width, 19, false), back, 0, width);
    const int labelEnd = 16 + 9 + TextWidth("A") + 2;
    const int accelStart = width - 16 - TextWidth("Z") - 2;
    for (int x : two)
        EXPECT_TRUE(x < labelEnd || x >= accelStart) << "ink at " << x;
}

TEST(BCMenuDraw, DisabledItemsOnTheSelection)
{
    const COLORREF highlight = System(wxSYS_COLOUR_HIGHLIGHT);
    const COLORREF menuBack = System(wxSYS_COLOUR_MENU);
    // Classic: a disabled item may show the selection; its text takes the
    // background colour on the highlight.
    {
        LookScope look(0, 19);
        BCMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendItem("Disabled", BCMenu::MF_GRAYED, 721);
        const wxImage image = DrawOne(menu, 0, 160, 19, true);
        const wxRect text(25, 0, 100, 19);
        EXPECT_EQ(highlight, At(image, 2, 2));
        EXPECT_GT(menusupport::CountPixels(image, menuBack, text), 10);
        EXPECT_EQ(0, menusupport::CountPixels(image, System(wxSYS_COLOUR_GRAYTEXT), text)) << "not engraved";
    }
    // XP: it loses the selection; the grey text is lightened.
    {
        LookScope look(1, 19);
        BCMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        menu.AppendItem("Disabled", BCMenu::MF_GRAYED, 722);
        const wxImage image = DrawOne(menu, 0, 160, 22, true);
        const COLORREF selection = BCMenu::LightenColour(highlight, 0.85);
        EXPECT_EQ(0, menusupport::CountPixels(image, selection, wxRect(0, 0, 160, 22)));
        EXPECT_EQ(0, menusupport::CountPixels(image, highlight, wxRect(0, 0, 160, 22)));
        EXPECT_EQ(System(wxSYS_COLOUR_WINDOW), At(image, 100, 2));
        const COLORREF grey = BCMenu::LightenColour(System(wxSYS_COLOUR_GRAYTEXT), 0.4);
        EXPECT_GT(menusupport::CountPixels(image, grey, wxRect(31, 0, 100, 22)), 10);
    }
}

TEST(BCMenuDraw, TheOffScreenSurfaceReachesTheTargetWhenItGoes)
{
    wxBitmap bitmap(60, 40, 24);
    wxMemoryDC target(bitmap);
    target.SetBackground(*wxWHITE_BRUSH);
    target.Clear();
    {
        BCMenuMemDC surface(target, CRect(10, 20, 50, 30));
        ASSERT_TRUE(surface.IsOffScreen());
        // The target's coordinates.
        surface.GetDC().SetPen(*wxTRANSPARENT_PEN);
        surface.GetDC().SetBrush(*wxBLUE_BRUSH);
        surface.GetDC().DrawRectangle(10, 20, 5, 5);
        target.SelectObject(wxNullBitmap);
        EXPECT_EQ(kWhiteSentinel, At(bitmap.ConvertToImage(), 12, 22)) << "nothing shows before";
        target.SelectObject(bitmap);
    }
    target.SelectObject(wxNullBitmap);
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(RGB(0, 0, 255), At(image, 12, 22));
    EXPECT_EQ(kWhiteSentinel, At(image, 9, 22)) << "outside the rectangle nothing changes";
    EXPECT_EQ(kWhiteSentinel, At(image, 12, 31));
}

// ---- Whole menus as pictures ----

// A small icon: a coloured sheet with a white band on the transparent grey.
wxImage Icon(COLORREF colour)
{
    return Picture(16, 15, kGrey, {{wxRect(2, 1, 12, 13), colour}, {wxRect(4, 4, 8, 2), RGB(255, 255, 255)}});
}

// Open (a toolbar image), Save (its own image), a separator, a checked item,
// a radio item, a disabled item with an image, a disabled text item, Exit.
// Commands from `first` on; the shared images are the process's, so each
// picture takes commands of its own.
void BuildSampleMenu(BCMenu& menu, ResourceScope& resources, wxImageList& saveImage, UINT first)
{
    resources.Toolbar(9501, 16, 15, {first, first + 5});
    wxImage strip(32, 15);
    strip.Paste(Icon(RGB(40, 90, 200)), 0, 0);
    strip.Paste(Icon(RGB(40, 150, 60)), 16, 0);
    resources.Bitmap(9501, strip, 4);
    saveImage.Add(wxBitmap(Icon(RGB(200, 40, 40))), wxColour(192, 192, 192));

    menu.SetTransparentColour(kGrey);
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem("&Open...\tCtrl+O", 0, first, 9501);
    menu.AppendItem("&Save\tCtrl+S", 0, first + 1, &saveImage, 0);
    menu.AppendItem("", 0, 0);
    menu.AppendItem("&Word wrap", BCMenu::MF_CHECKED, first + 2);
    menu.AppendItem("&Bilingual", BCMenu::MF_CHECKED | BCMenu::MFT_RADIOCHECK, first + 3);
    menu.AppendItem("", 0, 0);
    menu.AppendItem("&Delete\tDel", BCMenu::MF_GRAYED, first + 5, 9501);
    menu.AppendItem("&Properties", BCMenu::MF_GRAYED, first + 6);
    menu.AppendItem("E&xit", 0, first + 7);
}

wxImage Magnified(const wxImage& image, int times)
{
    return image.Scale(image.GetWidth() * times, image.GetHeight() * times, wxIMAGE_QUALITY_NEAREST);
}

TEST(BCMenuPictures, DrawnMenusShowItemsSeparatorsChecksImagesAndDisabledItems)
{
    const struct {
        const char* name;
        UINT mode;
        int selected;
        UINT commands;
    } looks[] = {{"bcmenu_classic", 0, 1, 740},
                 {"bcmenu_xp", 1, 1, 750},
                 {"bcmenu_classic_disabled_selected", 0, 7, 760},
                 {"bcmenu_xp_disabled_selected", 1, 7, 770}};
    for (const auto& look : looks) {
        SCOPED_TRACE(look.name);
        LookScope scope(look.mode, 19);
        ResourceScope resources;
        wxImageList saveImage(16, 15, true, 1);
        BCMenu menu;
        BuildSampleMenu(menu, resources, saveImage, look.commands);
        std::vector<int> tops;
        const wxImage picture = menusupport::DrawMenu(menu, 220, look.selected, &tops);
        const std::string path = menusupport::SavePicture(Magnified(picture, 3), look.name);
        EXPECT_FALSE(path.empty());
        if (!path.empty())
            printf("picture: %s\n", path.c_str());

        const bool xp = look.mode == 1;
        ASSERT_EQ(10u, tops.size());
        // Rows of 19 pixels (22 in the raised XP look), separators of 9 (11).
        EXPECT_EQ(xp ? 22 : 19, tops[1] - tops[0]);
        EXPECT_EQ(xp ? 11 : 9, tops[3] - tops[2]);

        // The separator's etched line across its middle (after the bar in XP).
        const int line = tops[2] + (tops[3] - tops[2]) / 2;
        EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(picture, xp ? 40 : 10, line));
        EXPECT_EQ(System(wxSYS_COLOUR_BTNHIGHLIGHT), At(picture, xp ? 40 : 10, line + 1));

        // The check mark and the radio dot in the ink colour.
        const COLORREF ink = System(wxSYS_COLOUR_MENUTEXT);
        const wxRect checkColumn(0, tops[3], xp ? 23 : 20, tops[4] - tops[3]);
        EXPECT_GE(menusupport::CountPixels(picture, ink, checkColumn), 21);
        const wxRect radioColumn(0, tops[4], xp ? 23 : 20, tops[5] - tops[4]);
        EXPECT_GE(menusupport::CountPixels(picture, ink, radioColumn), 12);

        // Images: Open's blue from the toolbar, Save's red; raised XP images
        // show faded while not selected.
        const wxRect openImage(0, tops[0], 23, tops[1] - tops[0]);
        const COLORREF blue = xp ? BCMenu::LightenColour(RGB(40, 90, 200), 0.3) : RGB(40, 90, 200);
        EXPECT_GT(menusupport::CountPixels(picture, blue, openImage), 50);
        const wxRect saveImageArea(0, tops[1], 23, tops[2] - tops[1]);
        const COLORREF red = xp && look.selected != 1 ? BCMenu::LightenColour(RGB(200, 40, 40), 0.3) : RGB(200, 40, 40);
        EXPECT_GT(menusupport::CountPixels(picture, red, saveImageArea), 50);

        // The disabled item's image is embossed: shadow, no green.
        const wxRect deleteImage(0, tops[6], 23, tops[7] - tops[6]);
        EXPECT_GT(menusupport::CountPixels(picture, System(wxSYS_COLOUR_BTNSHADOW), deleteImage), 50);
        EXPECT_EQ(0, menusupport::CountPixels(picture, RGB(40, 150, 60), deleteImage));
        const std::string zoom = std::string(look.name) + "_disabled_image";
        EXPECT_FALSE(menusupport::SavePicture(Magnified(picture.GetSubImage(deleteImage), 10), zoom).empty());
    }
}

} // namespace
