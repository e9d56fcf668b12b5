// Item images of the owner-drawn menu: the colour arithmetic, bitmap
// resources with and without system-colour mapping and their mask colours,
// faded and shadow copies, the shared list whose images are replaced in
// place, toolbar buttons, colour swatches and the embossed disabled look.
#include <gtest/gtest.h>

#include <wx/dcmemory.h>

#include "controls/bcmenu.h"
#include "controls/bcmenutoolbar.h"
#include "tests/controls/menusupport.h"

namespace {

using namespace menusupport;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A list's image drawn transparently over a background colour.
wxImage ShowImage(const wxImageList& list, int index, COLORREF background)
{
    const wxSize size = list.GetSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(GetRValue(background), GetGValue(background), GetBValue(background))));
        dc.Clear();
        const_cast<wxImageList&>(list).Draw(index, dc, 0, 0, wxIMAGELIST_DRAW_TRANSPARENT);
    }
    return bitmap.ConvertToImage();
}

TEST(BCMenuColours, LightenAndDarkenMoveEachChannelByAFactorOfItsRoom)
{
    const struct {
        COLORREF colour;
        double factor;
        COLORREF lightened;
        COLORREF darkened;
    } cases[] = {
        {RGB(100, 100, 100), 0.3, RGB(146, 146, 146), RGB(70, 70, 70)},
        {RGB(0, 100, 255), 0.5, RGB(127, 177, 255), RGB(0, 50, 128)},
        {RGB(10, 20, 30), 1.0, RGB(255, 255, 255), RGB(0, 0, 0)},
        // Outside (0, 1]: unchanged.
        {RGB(10, 20, 30), 0.0, RGB(10, 20, 30), RGB(10, 20, 30)},
        {RGB(10, 20, 30), -0.5, RGB(10, 20, 30), RGB(10, 20, 30)},
        {RGB(10, 20, 30), 1.5, RGB(10, 20, 30), RGB(10, 20, 30)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lightened, BCMenu::LightenColour(c.colour, c.factor)) << c.factor;
        EXPECT_EQ(c.darkened, BCMenu::DarkenColour(c.colour, c.factor)) << c.factor;
    }
}

TEST(BCMenuImages, SixteenColourBitmapsTakeTheSystemColoursOthersKeepTheirs)
{
    SBitmapInfoHeader header;
    const struct {
        uint16_t bits;
        uint32_t used;
        uint16_t count;
    } counts[] = {{1, 0, 2}, {4, 0, 16}, {8, 0, 256}, {24, 0, 0}, {8, 5, 5}, {8, 0x12345, 0x2345}};
    for (const auto& c : counts) {
        header.biBitCount = c.bits;
        header.biClrUsed = c.used;
        EXPECT_EQ(c.count, BCMenu::BitmapColourCount(header)) << c.bits << " bits, " << c.used << " used";
    }

    ResourceScope resources;
    const wxImage picture = Picture(16, 15, kGrey,
                                    {{wxRect(0, 0, 4, 4), RGB(0, 0, 0)},
                                     {wxRect(4, 0, 4, 4), RGB(128, 128, 128)},
                                     {wxRect(8, 0, 4, 4), RGB(255, 255, 255)},
                                     {wxRect(12, 0, 4, 4), kRed}});
    resources.Bitmap(9401, picture, 4);
    resources.Bitmap(9402, picture, 8);
    const wxImage mapped = BCMenu::LoadSysColourBitmap(9401).ConvertToImage();
    ASSERT_TRUE(mapped.IsOk());
    EXPECT_EQ(System(wxSYS_COLOUR_BTNTEXT), At(mapped, 1, 1));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(mapped, 5, 1));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNHIGHLIGHT), At(mapped, 9, 1));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNFACE), At(mapped, 8, 10));
    EXPECT_EQ(kRed, At(mapped, 13, 1));
    EXPECT_FALSE(BCMenu::LoadSysColourBitmap(9402).IsOk()) << "256 colours: no mapping";
    EXPECT_FALSE(BCMenu::LoadSysColourBitmap(9409).IsOk());

    // The ordinary loader takes the 256-colour one as it is: its grey is
    // the mask colour when that is set.
    BCMenu menu;
    menu.SetTransparentColour(kGrey);
    wxImageList list(16, 15, true, 1);
    ASSERT_TRUE(menu.AddResourceImage(&list, 9402));
    const wxImage shown = ShowImage(list, 0, kBlue);
    EXPECT_EQ(kBlue, At(shown, 8, 10));
    EXPECT_EQ(RGB(255, 255, 255), At(shown, 9, 1));
    EXPECT_FALSE(menu.AddResourceImage(&list, 9409));
}

TEST(BCMenuImages, TheMaskColourLetsTheBackgroundThrough)
{
    LookScope look(0);
    const COLORREF face = System(wxSYS_COLOUR_BTNFACE);
    if (face == kGrey)
        GTEST_SKIP() << "the button face is the default transparent colour here";
    ResourceScope resources;
    // Left half button face, right half grey, a red dot on each.
    resources.Bitmap(9411,
                     Picture(16, 15, face,
                             {{wxRect(8, 0, 8, 15), kGrey}, {wxRect(2, 2, 2, 2), kRed}, {wxRect(10, 2, 2, 2), kRed}}),
                     24);
    const struct {
        bool useColour;
        COLORREF left;
        COLORREF right;
    } cases[] = {{false, kBlue, kGrey}, {true, face, kBlue}};
    for (const auto& c : cases) {
        BCMenu menu;
        if (c.useColour)
            menu.SetTransparentColour(kGrey);
        wxImageList list(16, 15, true, 1);
        ASSERT_TRUE(menu.AddResourceImage(&list, 9411));
        const wxImage shown = ShowImage(list, 0, kBlue);
        EXPECT_EQ(c.left, At(shown, 6, 10)) << c.useColour;
        EXPECT_EQ(c.right, At(shown, 14, 10)) << c.useColour;
        EXPECT_EQ(kRed, At(shown, 2, 2)) << c.useColour;
        EXPECT_EQ(kRed, At(shown, 10, 2)) << c.useColour;
    }
}

TEST(BCMenuImages, AStripOfButtonsGetsFadedAndShadowCopiesOfTheFirstIn3DStyle)
{
    ResourceScope resources;
    std::vector<menusupport::SPatch> patches;
    for (int i = 0; i < 8; ++i)
        patches.push_back({wxRect(i * 16 + 4, 4, 8, 7), RGB(30 * i, 0, 100)});
    resources.Bitmap(9421, Picture(128, 15, kGrey, patches), 24);

    const COLORREF shadow = BCMenu::LightenColour(System(wxSYS_COLOUR_BTNSHADOW), 0.49);
    for (const UINT mode : {0u, 1u}) {
        LookScope look(mode);
        BCMenu menu;
        menu.SetTransparentColour(kGrey);
        wxImageList list(16, 15, true, 1);
        ASSERT_TRUE(menu.AddResourceImage(&list, 9421));
        ASSERT_EQ(mode == 1 ? 10 : 8, list.GetImageCount()) << "mode " << mode;
        EXPECT_EQ(RGB(30 * 7, 0, 100), At(ShowImage(list, 7, kBlue), 8, 8));
        if (mode != 1)
            continue;
        const wxImage faded = ShowImage(list, 8, kBlue);
        EXPECT_EQ(BCMenu::LightenColour(RGB(0, 0, 100), 0.3), At(faded, 8, 8));
        EXPECT_EQ(kBlue, At(faded, 1, 1)) << "the copies are masked too";
        const wxImage shade = ShowImage(list, 9, kBlue);
        EXPECT_EQ(shadow, At(shade, 8, 8));
        EXPECT_EQ(kBlue, At(shade, 1, 1));
    }
}

TEST(BCMenuImages, ACommandsSharedImageIsReplacedInPlace)
{
    LookScope look(1);   // 3-D XP style: each command has three entries
    BCMenu menu;
    wxImageList red(16, 15, true, 1);
    red.Add(wxBitmap(Picture(16, 15, kRed)));
    wxImageList blue(16, 15, true, 1);
    blue.Add(wxBitmap(Picture(16, 15, kBlue)));

    const int index = menu.AddSharedImage(&red, 0, 9431);
    ASSERT_GE(index, 0);
    const int count = BCMenu::GetSharedImageIdCount();
    EXPECT_EQ(index, BCMenu::SharedImageIndex(9431));
    EXPECT_TRUE(BCMenu::HasSharedVariants(index));
    EXPECT_EQ(kRed, At(ShowImage(*BCMenu::GetSharedImages(), index, kGrey), 5, 5));

    EXPECT_EQ(index, menu.AddSharedImage(&blue, 0, 9431));
    EXPECT_EQ(count, BCMenu::GetSharedImageIdCount()) << "no new entries";
    EXPECT_EQ(kBlue, At(ShowImage(*BCMenu::GetSharedImages(), index, kGrey), 5, 5));
    EXPECT_EQ(BCMenu::LightenColour(kBlue, 0.3), At(ShowImage(*BCMenu::GetSharedImages(), index + 1, kGrey), 5, 5));
    EXPECT_EQ(-1, menu.AddSharedImage(&blue, 3, 9432)) << "no such image";
    EXPECT_EQ(-1, BCMenu::SharedImageIndex(9432));

    // Two items of one command with an image each: one shared image, which
    // both records point at, showing the second.
    ResourceScope resources;
    resources.Bitmap(9433, Picture(16, 15, RGB(0, 200, 0)), 24);
    resources.Bitmap(9434, Picture(16, 15, RGB(200, 200, 0)), 24);
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem("one", 0, 9435, 9433);
    const int before = BCMenu::GetSharedImageIdCount();
    menu.AppendItem("two", 0, 9435, 9434);
    EXPECT_EQ(before, BCMenu::GetSharedImageIdCount());
    EXPECT_EQ(menu.GetRecord(0)->m_sharedImageIndex, menu.GetRecord(1)->m_sharedImageIndex);
    EXPECT_EQ(RGB(200, 200, 0),
              At(ShowImage(*BCMenu::GetSharedImages(), menu.GetRecord(0)->m_sharedImageIndex, kGrey), 5, 5));
    // An item appended later without an image takes the command's one.
    menu.AppendItem("three", 0, 9435);
    EXPECT_EQ(menu.GetRecord(0)->m_sharedImageIndex, menu.GetRecord(2)->m_sharedImageIndex);
}

TEST(BCMenuImages, ToolbarButtonsPickTheirImages)
{
    LookScope look(0);
    ResourceScope resources;
    // Buttons 201, a separator, 202, 203; images red, green, blue.
    resources.Toolbar(9441, 16, 15, {201, 0, 202, 203});
    resources.Bitmap(9441,
                     Picture(48, 15, kGrey,
                             {{wxRect(4, 4, 8, 7), kRed}, {wxRect(20, 4, 8, 7), RGB(0, 255, 0)},
                              {wxRect(36, 4, 8, 7), kBlue}}),
                     4);
    BCMenuToolBar bar;
    ASSERT_TRUE(bar.LoadToolBar(9441));
    EXPECT_EQ(4, bar.GetButtonCount());

    BCMenu menu;
    const struct {
        UINT command;
        BOOL found;
        int image;
    } cases[] = {{201, TRUE, 0}, {202, TRUE, 1}, {203, TRUE, 2}, {204, FALSE, 99}};
    for (const auto& c : cases) {
        int image = c.command == 204 ? 99 : 0;
        EXPECT_EQ(c.found, menu.FindToolbarImage(c.command, 9441, image)) << c.command;
        EXPECT_EQ(c.image, image) << c.command;
    }
    int unchanged = 5;
    EXPECT_FALSE(menu.FindToolbarImage(201, 9449, unchanged));
    EXPECT_EQ(5, unchanged);

    // An item whose image resource is the toolbar's shows its button's
    // image; a command the toolbar lacks shows the first.
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem("blue", 0, 203, 9441);
    menu.AppendItem("lacking", 0, 9442, 9441);
    const wxImageList& shared = *BCMenu::GetSharedImages();
    EXPECT_EQ(kBlue, At(ShowImage(shared, menu.GetRecord(0)->m_sharedImageIndex, kGrey), 8, 8));
    EXPECT_EQ(kRed, At(ShowImage(shared, menu.GetRecord(1)->m_sharedImageIndex, kGrey), 8, 8));

    // Own images for the items of a toolbar's commands: the whole bitmap,
    // each item pointing at its button's image.
    menu.AppendItem("green", 0, 202);
    EXPECT_EQ(4, menu.AddToolbarImages(bar, 9441));
    const BCMenuData* green = menu.GetRecord(2);
    EXPECT_EQ(9441, green->m_imageResource);
    EXPECT_EQ(1, green->m_ownImageIndex);
    ASSERT_NE(nullptr, green->m_ownImages);
    EXPECT_EQ(RGB(0, 255, 0), At(ShowImage(*green->m_ownImages, 1, kBlue), 8, 8));
    EXPECT_EQ(green, menu.GetItemData(2));

    // A toolbar of larger images grows the menu's image size first.
    resources.Toolbar(9443, 24, 24, {201});
    resources.Bitmap(9443, Picture(24, 24, kGrey), 4);
    BCMenu grown;
    ASSERT_TRUE(grown.CreatePopupMenu());
    EXPECT_TRUE(grown.LoadToolbarImages(9443));
    EXPECT_EQ(24, grown.GetImageWidth());
    EXPECT_EQ(24, grown.GetImageHeight());
    EXPECT_FALSE(grown.LoadToolbarImages(9449));
    const UINT both[] = {9443, 9441};
    EXPECT_TRUE(grown.LoadToolbarsImages(both, 2));
    const UINT oneMissing[] = {9443, 9449};
    EXPECT_FALSE(grown.LoadToolbarsImages(oneMissing, 2));
    EXPECT_TRUE(grown.LoadToolbarsImages(nullptr, 0));
}

TEST(BCMenuImages, ColourSwatchesAreCentredInTheImage)
{
    LookScope look(0);
    BCMenu menu;
    const COLORREF back = System(wxSYS_COLOUR_MENU);
    const COLORREF fill = RGB(10, 160, 20);
    const COLORREF border = RGB(90, 0, 90);
    wxBitmap bitmap;
    menu.FillColourBitmap(bitmap, CSize(12, 12), CSize(16, 15), fill, border, -1);
    const wxImage swatch = bitmap.ConvertToImage();
    ASSERT_EQ(wxSize(16, 15), swatch.GetSize());
    // From (2, 1) to (14, 13), framed.
    const struct {
        int x;
        int y;
        COLORREF colour;
    } pixels[] = {{1, 1, back}, {2, 0, back}, {2, 1, border}, {13, 12, border}, {14, 13, back},
                  {13, 13, back}, {3, 2, fill}, {12, 11, fill}};
    for (const auto& p : pixels)
        EXPECT_EQ(p.colour, At(swatch, p.x, p.y)) << p.x << "," << p.y;

    // A hatched swatch: the hatch over white inside the frame.
    menu.FillColourBitmap(bitmap, CSize(16, 15), CSize(16, 15), fill, border, BCMenu::HS_CROSS);
    const wxImage hatched = bitmap.ConvertToImage();
    const wxRect inside(1, 1, 14, 13);
    EXPECT_GT(menusupport::CountPixels(hatched, RGB(255, 255, 255), inside), 0);
    EXPECT_GT(menusupport::CountPixels(hatched, fill, inside), 0);
    EXPECT_EQ(border, At(hatched, 0, 0));

    // The swatch as an item's image.
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendItem("colour", 0, 9451);
    EXPECT_TRUE(menu.ModifyItem("colour", 9451, fill, border));
    const int shared = menu.GetRecord(0)->m_sharedImageIndex;
    ASSERT_GE(shared, 0);
    EXPECT_EQ(fill, At(ShowImage(*BCMenu::GetSharedImages(), shared, kGrey), 8, 7));
}

TEST(BCMenuImages, DisabledImagesAreEmbossed)
{
    const COLORREF face = System(wxSYS_COLOUR_BTNFACE);
    const COLORREF light = System(wxSYS_COLOUR_BTNHIGHLIGHT);
    const COLORREF shadow = System(wxSYS_COLOUR_BTNSHADOW);
    const COLORREF back = RGB(1, 2, 3);
    // A black square at (6, 5) to (9, 8), a highlight-coloured patch, a dark
    // grey and a light grey pixel, on button face.
    const wxBitmap item(Picture(16, 15, face,
                                {{wxRect(6, 5, 4, 4), RGB(0, 0, 0)}, {wxRect(0, 12, 3, 3), light},
                                 {wxRect(13, 1, 1, 1), RGB(90, 90, 90)}, {wxRect(13, 3, 1, 1), RGB(200, 200, 200)}}));
    for (const bool mono : {false, true}) {
        SCOPED_TRACE(mono ? "mono" : "mask");
        BCMenu menu;
        wxBitmap target(40, 40, 24);
        {
            wxMemoryDC dc(target);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            if (mono)
                menu.DrawDisabledImageMono(dc, 10, 10, 16, 15, item, 0, 0, back);
            else
                menu.DrawDisabledImage(dc, 10, 10, 16, 15, item, 0, 0, back);
        }
        const wxImage shown = target.ConvertToImage();
        EXPECT_EQ(shadow, At(shown, 16, 15)) << "the shape in the shadow colour";
        EXPECT_EQ(shadow, At(shown, 19, 18));
        EXPECT_EQ(light, At(shown, 20, 19)) << "its highlight edge one pixel down and right";
        EXPECT_EQ(light, At(shown, 20, 16));
        EXPECT_EQ(back, At(shown, 10, 10)) << "button face becomes the background";
        EXPECT_EQ(back, At(shown, 11, 23)) << "so does the highlight patch";
        EXPECT_EQ(shadow, At(shown, 23, 11)) << "dark grey is part of the shape";
        // Light grey: part of the shape for the mask (it is neither face nor
        // highlight), not for the one-bit copy (it is nearer white).
        EXPECT_EQ(mono ? back : shadow, At(shown, 23, 13));
        EXPECT_EQ(RGB(255, 255, 255), At(shown, 9, 9)) << "nothing outside";
    }
}

} // namespace
