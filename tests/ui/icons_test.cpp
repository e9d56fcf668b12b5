// Every picture the program loads exists, has the size asked for and shows
// something, whether it comes from the stock art or from the program's own
// drawing.
#include <gtest/gtest.h>

#include <vector>

#include <wx/image.h>

#include "ui/icons.h"
#include "frame/ribbonlayout.h"

namespace {

// Pixels that are not (nearly) transparent.
int VisiblePixels(const wxBitmap& bitmap)
{
    const wxImage image = bitmap.ConvertToImage();
    if (!image.HasAlpha() && !image.HasMask())
        return image.GetWidth() * image.GetHeight();
    int count = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (!image.IsTransparent(x, y, 32))
                ++count;
        }
    }
    return count;
}

void ExpectPicture(const wxBitmap& bitmap, int size)
{
    ASSERT_TRUE(bitmap.IsOk());
    EXPECT_EQ(bitmap.GetWidth(), size);
    EXPECT_EQ(bitmap.GetHeight(), size);
    EXPECT_GE(VisiblePixels(bitmap), size * size / 20);
}

std::vector<int> CommandIds()
{
    std::vector<int> ids = GetRibbonCommandIds();
    for (const SRibbonSubItem& look : GetApplicationMenuLayout().looks)
        ids.push_back(look.id);
    ids.push_back(GetApplicationMenuLayout().about.id);
    return ids;
}

TEST(IconsTest, EveryProgramIconShowsAPicture)
{
    ASSERT_EQ(GetProgramIconIds().size(), 19u);
    for (int id : GetProgramIconIds()) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(testing::Message() << id << " at " << size);
            ExpectPicture(LoadProgramIcon(id, size), size);
            ExpectPicture(DrawProgramIcon(id, size), size);
        }
    }
    ExpectPicture(LoadProgramIcon(113), 16);
}

TEST(IconsTest, EveryRibbonCommandShowsAPicture)
{
    for (int id : CommandIds()) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(testing::Message() << id << " at " << size);
            ExpectPicture(LoadCommandIcon(id, size), size);
            ExpectPicture(DrawCommandIcon(id, size), size);
        }
    }
}

TEST(IconsTest, DrawnPicturesHaveATransparentBackground)
{
    // The play triangle: corners clear, the middle solid green.
    const wxImage play = DrawProgramIcon(368, 32).ConvertToImage();
    ASSERT_TRUE(play.HasAlpha());
    EXPECT_EQ(play.GetAlpha(0, 0), 0);
    EXPECT_EQ(play.GetAlpha(31, 0), 0);
    EXPECT_EQ(play.GetAlpha(14, 16), 255);
    EXPECT_GT(play.GetGreen(14, 16), play.GetRed(14, 16) + 60);
}

TEST(IconsTest, PicturesAreCachedPerIdAndSize)
{
    EXPECT_TRUE(LoadProgramIcon(453, 16).IsSameAs(LoadProgramIcon(453, 16)));
    EXPECT_FALSE(LoadProgramIcon(453, 16).IsSameAs(LoadProgramIcon(453, 32)));
    EXPECT_FALSE(LoadCommandIcon(453, 16).IsSameAs(LoadProgramIcon(453, 16)));
}

} // namespace
