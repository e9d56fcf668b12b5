// The self-drawn bitmap/icon/colour button: state colours, frames of the
// flat and the 3-D look, which image shows and where, the disabled look,
// colour offsets, clicks, check-box mode, addresses and images from res/.
#include <gtest/gtest.h>

#include <functional>

#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include "controls/btnst.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "tests/testsupport.h"

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);
// Colours with red, green and blue all different, so that a swapped
// conversion of 0x00BBGGRR shows.
constexpr COLORREF kBackHot = RGB(10, 200, 30);
constexpr COLORREF kBackNormal = RGB(200, 30, 10);
constexpr COLORREF kBackFocus = RGB(30, 10, 200);
constexpr COLORREF kTextHot = RGB(250, 240, 20);
constexpr COLORREF kTextNormal = RGB(20, 120, 240);
constexpr int kSize = 40;

COLORREF At(const wxImage& image, int x, int y)
{
    return RGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

COLORREF System(wxSystemColour index)
{
    const wxColour c = wxSystemSettings::GetColour(index);
    return RGB(c.Red(), c.Green(), c.Blue());
}

int CountPixels(const wxImage& image, COLORREF colour)
{
    int count = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            count += At(image, x, y) == colour ? 1 : 0;
    return count;
}

wxBitmap Square(int size, COLORREF colour)
{
    wxImage image(size, size);
    image.SetRGB(wxRect(0, 0, size, size), GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return wxBitmap(image, 24);
}

class ButtonSTTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "buttons", wxPoint(0, 0), wxSize(400, 300));
        m_host = new wxPanel(m_frame);
        m_button = MakeButton("");
    }
    void TearDown() override
    {
        theApp.m_strAppDir = m_savedAppDir;
        m_frame->Destroy();
    }

    CButtonST* MakeButton(const wxString& label, UINT style = CButtonST::kStylePush, int id = 1001)
    {
        auto* button = new CButtonST;
        EXPECT_TRUE(button->Create(m_host, id, label, wxPoint(10, 10), wxSize(kSize, kSize), style));
        button->SetColor(CButtonST::kColorBackHot, kBackHot);
        button->SetColor(CButtonST::kColorBackNormal, kBackNormal);
        button->SetColor(CButtonST::kColorBackFocus, kBackFocus);
        button->SetColor(CButtonST::kColorTextHot, kTextHot);
        button->SetColor(CButtonST::kColorTextNormal, kTextNormal);
        return button;
    }

    wxImage Paint(CButtonST* button, UINT state, int width = kSize, int height = kSize)
    {
        wxBitmap bitmap(width, height, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(wxBrush(wxColour(GetRValue(kSentinel), GetGValue(kSentinel), GetBValue(kSentinel))));
            dc.Clear();
            button->DrawItem(dc, CRect(0, 0, width, height), state);
        }
        return bitmap.ConvertToImage();
    }

    // The pointer moves onto the button (the frame must be on the screen
    // for the button to find itself under the pointer).
    void Hover(CButtonST* button)
    {
        m_frame->Show();
        wxYield();
        button->OnMouseMove(false, CPoint(5, 5));
        ASSERT_TRUE(button->IsHovered());
    }

    void Click(CButtonST* button, wxEventType downType = wxEVT_LEFT_DOWN)
    {
        wxMouseEvent down(downType);
        down.SetPosition(wxPoint(5, 5));
        button->GetEventHandler()->ProcessEvent(down);
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetPosition(wxPoint(5, 5));
        button->GetEventHandler()->ProcessEvent(up);
    }

    CString m_savedAppDir = theApp.m_strAppDir;
    wxFrame* m_frame = nullptr;
    wxPanel* m_host = nullptr;
    CButtonST* m_button = nullptr;
};

// ---- Colours and frames ----

TEST_F(ButtonSTTest, BackgroundColourByState)
{
    const struct {
        const char* name;
        bool hover;
        UINT state;
        COLORREF background;
    } cases[] = {
        {"normal", false, 0, kBackNormal},
        {"focused", false, CButtonST::kItemFocus, kBackFocus},
        {"pressed", false, CButtonST::kItemSelected, kBackHot},
        {"pressed and focused", false, CButtonST::kItemSelected | CButtonST::kItemFocus, kBackHot},
        {"disabled", false, CButtonST::kItemDisabled, kBackNormal},
        {"pointed at", true, 0, kBackHot},
        {"pointed at and focused", true, CButtonST::kItemFocus, kBackHot},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.hover)
            Hover(m_button);
        else
            m_button->OnMouseLeave();
        EXPECT_EQ(c.background, At(Paint(m_button, c.state), 20, 20));
    }
}

TEST_F(ButtonSTTest, FlatButtonShowsItsFrameOnlyWhilePointedAtOrPressed)
{
    const COLORREF light = System(wxSYS_COLOUR_BTNHIGHLIGHT);
    const COLORREF shadow = System(wxSYS_COLOUR_BTNSHADOW);

    wxImage image = Paint(m_button, 0);
    EXPECT_EQ(kBackNormal, At(image, 0, 0));
    EXPECT_EQ(kBackNormal, At(image, kSize - 1, kSize - 1));

    Hover(m_button);
    image = Paint(m_button, 0);
    EXPECT_EQ(light, At(image, 0, 0));
    EXPECT_EQ(light, At(image, 0, kSize - 2));
    EXPECT_EQ(shadow, At(image, kSize - 1, kSize - 1));
    EXPECT_EQ(shadow, At(image, kSize - 1, 0)) << "the right edge takes the top corner";
    EXPECT_EQ(kBackHot, At(image, 1, 1));

    // Pressed: sunken, the colours change sides.
    image = Paint(m_button, CButtonST::kItemSelected);
    EXPECT_EQ(shadow, At(image, 0, 0));
    EXPECT_EQ(light, At(image, kSize - 1, kSize - 1));

    m_button->SetDrawBorder(FALSE);
    EXPECT_EQ(kBackHot, At(Paint(m_button, 0), 0, 0));
    m_button->SetDrawBorder(TRUE);

    // Leaving (also straight onto another window) takes frame and colour away.
    m_button->OnMouseLeave();
    EXPECT_FALSE(m_button->IsHovered());
    image = Paint(m_button, 0);
    EXPECT_EQ(kBackNormal, At(image, 0, 0));
    EXPECT_EQ(kBackNormal, At(image, 20, 20));
}

TEST_F(ButtonSTTest, ThreeDimensionalLook)
{
    m_button->SetFlat(FALSE);
    const int last = kSize - 1;
    wxImage image = Paint(m_button, 0);
    EXPECT_EQ(System(wxSYS_COLOUR_BTNHIGHLIGHT), At(image, 0, 0));
    EXPECT_EQ(System(wxSYS_COLOUR_3DLIGHT), At(image, 1, 1));
    EXPECT_EQ(System(wxSYS_COLOUR_3DDKSHADOW), At(image, last, last));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(image, last - 1, last - 1));
    EXPECT_EQ(kBackNormal, At(image, 2, 2));

    // Focused: a black ring outside, the raised frame one pixel in.
    image = Paint(m_button, CButtonST::kItemFocus);
    EXPECT_EQ(RGB(0, 0, 0), At(image, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), At(image, last, last));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNHIGHLIGHT), At(image, 1, 1));
    EXPECT_EQ(kBackFocus, At(image, 20, 20));

    // Pressed: a plain shadow-coloured ring.
    image = Paint(m_button, CButtonST::kItemSelected);
    EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(image, 0, 0));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(image, last, last));
    EXPECT_EQ(kBackHot, At(image, 1, 1));
}

TEST_F(ButtonSTTest, TransparentButtonTakesTheParentsBackground)
{
    m_host->SetBackgroundColour(wxColour(5, 6, 7));
    m_button->SetTransparent(FALSE);
    EXPECT_EQ(RGB(5, 6, 7), At(Paint(m_button, 0), 20, 20));
}

TEST_F(ButtonSTTest, CaptionColourByState)
{
    CButtonST* button = MakeButton("WWW", CButtonST::kStylePush, 1002);
    EXPECT_GT(CountPixels(Paint(button, 0), kTextNormal), 0);
    EXPECT_EQ(0, CountPixels(Paint(button, 0), kTextHot));
    EXPECT_GT(CountPixels(Paint(button, CButtonST::kItemSelected), kTextHot), 0);

    // Disabled: engraved in the system's shadow colour, no state colour.
    const wxImage disabled = Paint(button, CButtonST::kItemDisabled);
    EXPECT_EQ(0, CountPixels(disabled, kTextNormal));
    EXPECT_GT(CountPixels(disabled, System(wxSYS_COLOUR_BTNSHADOW)), 0);
}

TEST_F(ButtonSTTest, OffsetColor)
{
    const struct {
        BYTE index;
        COLORREF start;
        short offset;
        CButtonST::DWORD result;
        COLORREF after;
    } cases[] = {
        {2, RGB(250, 10, 100), 10, CButtonST::kResultOk, RGB(255, 15, 105)},
        {2, RGB(250, 10, 100), -20, CButtonST::kResultOk, RGB(240, 0, 90)},
        {2, RGB(250, 10, 100), 300, CButtonST::kResultBadOffset, RGB(250, 10, 100)},
        {2, RGB(250, 10, 100), -256, CButtonST::kResultBadOffset, RGB(250, 10, 100)},
        {0, RGB(0, 0, 0), 255, CButtonST::kResultOk, RGB(255, 255, 255)},
        {0, RGB(255, 255, 255), -255, CButtonST::kResultOk, RGB(0, 0, 0)},
        {5, RGB(1, 2, 3), 0, CButtonST::kResultOk, RGB(1, 2, 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.index) << " by " << c.offset);
        ASSERT_EQ(CButtonST::kResultOk, m_button->SetColor(c.index, c.start));
        EXPECT_EQ(c.result, m_button->OffsetColor(c.index, c.offset));
        COLORREF after = 0;
        ASSERT_EQ(CButtonST::kResultOk, m_button->GetColor(c.index, &after));
        EXPECT_EQ(c.after, after);
    }
    EXPECT_EQ(CButtonST::kResultBadColorIndex, m_button->OffsetColor(6, 10));
    EXPECT_EQ(CButtonST::kResultBadColorIndex, m_button->SetColor(6, 0));
    COLORREF unused = 0;
    EXPECT_EQ(CButtonST::kResultBadColorIndex, m_button->GetColor(6, &unused));
}

// ---- Images ----

TEST_F(ButtonSTTest, ImagePlacementByAlignment)
{
    const CRect item(0, 0, 100, 40);
    const struct {
        BYTE align;
        BOOL caption;
        BOOL pressed;
        CRect image;
        CRect captionAfter;
    } cases[] = {
        {CButtonST::kAlignLeft, TRUE, FALSE, CRect(3, 4, 35, 36), CRect(35, 0, 100, 40)},
        {CButtonST::kAlignLeft, FALSE, FALSE, CRect(34, 4, 66, 36), item},
        {CButtonST::kAlignLeft, TRUE, TRUE, CRect(4, 5, 36, 37), CRect(35, 0, 100, 40)},
        {CButtonST::kAlignAbove, TRUE, FALSE, CRect(34, 3, 66, 35), CRect(0, 32, 100, 40)},
        {CButtonST::kAlignAbove, FALSE, FALSE, CRect(34, 4, 66, 36), item},
        {CButtonST::kAlignRight, TRUE, FALSE, CRect(65, 4, 97, 36), CRect(3, 0, 65, 40)},
        {CButtonST::kAlignRight, FALSE, FALSE, CRect(34, 0, 66, 32), item},   // not centred vertically
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "align " << int(c.align) << " caption " << c.caption << " pressed "
                                        << c.pressed);
        ASSERT_EQ(CButtonST::kResultOk, m_button->SetImageAlign(c.align, FALSE));
        CRect caption = item;
        EXPECT_EQ(c.image, m_button->PlaceImage(c.caption, item, caption, c.pressed, 32, 32));
        EXPECT_EQ(c.captionAfter, caption);
    }
    EXPECT_EQ(CButtonST::kResultBadAlign, m_button->SetImageAlign(3));
}

TEST_F(ButtonSTTest, WhichIconShowsAndWhere)
{
    constexpr COLORREF kIn = RGB(0, 220, 0);
    constexpr COLORREF kOut = RGB(220, 0, 0);
    ASSERT_EQ(CButtonST::kResultOk, m_button->SetIcon(Square(16, kIn), Square(16, kOut)));
    // A 16 x 16 image in 40 x 40 starts at (12, 12); pressed at (13, 13).
    wxImage image = Paint(m_button, 0);
    EXPECT_EQ(kOut, At(image, 12, 12)) << "the normal icon";
    EXPECT_EQ(kOut, At(image, 27, 27));
    EXPECT_EQ(kBackNormal, At(image, 28, 28));

    image = Paint(m_button, CButtonST::kItemSelected);
    EXPECT_EQ(kBackHot, At(image, 12, 12)) << "pressed moves the image by (1, 1)";
    EXPECT_EQ(kIn, At(image, 13, 13));
    EXPECT_EQ(kIn, At(image, 28, 28));

    Hover(m_button);
    EXPECT_EQ(kIn, At(Paint(m_button, 0), 12, 12)) << "pointed at";
    m_button->OnMouseLeave();

    // One icon serves every state.
    ASSERT_EQ(CButtonST::kResultOk, m_button->SetIcon(Square(16, kIn), wxNullBitmap));
    EXPECT_EQ(kIn, At(Paint(m_button, 0), 12, 12));

    // Check-box mode: the first icon only while checked, and it never moves.
    CButtonST* check = MakeButton("", CButtonST::kStyleAutoCheckBox, 1003);
    ASSERT_EQ(CButtonST::kResultOk, check->SetIcon(Square(16, kIn), Square(16, kOut)));
    EXPECT_EQ(kOut, At(Paint(check, 0), 12, 12));
    check->SetCheck(1);
    image = Paint(check, 0);
    EXPECT_EQ(kIn, At(image, 12, 12));
    EXPECT_EQ(kBackHot, At(image, 20, 28)) << "checked paints pressed";
    Hover(check);
    check->SetCheck(0);
    EXPECT_EQ(kOut, At(Paint(check, 0), 12, 12)) << "pointed at, unchecked";
}

TEST_F(ButtonSTTest, GreyCopyOfTheIcon)
{
    wxImage source(2, 1);
    source.SetRGB(0, 0, 250, 10, 100);
    source.SetRGB(1, 0, 0, 0, 0);
    source.InitAlpha();
    source.SetAlpha(0, 0, 200);
    source.SetAlpha(1, 0, 255);
    const wxImage grey = CButtonST::MakeGreyIcon(wxBitmap(source)).ConvertToImage();
    // 0.299 * 250 + 0.587 * 10 + 0.114 * 100 = 92.02
    EXPECT_EQ(RGB(92, 92, 92), At(grey, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), At(grey, 1, 0)) << "black stays black";
    ASSERT_TRUE(grey.HasAlpha());
    EXPECT_EQ(200, grey.GetAlpha(0, 0));

    // The grey copy is the normal-state icon; pointed at shows the original.
    ASSERT_EQ(CButtonST::kResultOk, m_button->SetIcon(Square(16, RGB(250, 10, 100)), CButtonST::kGreyIcon));
    EXPECT_EQ(RGB(92, 92, 92), At(Paint(m_button, 0), 20, 20));
    EXPECT_EQ(RGB(250, 10, 100), At(Paint(m_button, CButtonST::kItemSelected), 20, 20));
}

TEST_F(ButtonSTTest, DisabledImagesAreEmbossed)
{
    ASSERT_EQ(CButtonST::kResultOk, m_button->SetIcon(Square(16, RGB(200, 0, 0)), wxNullBitmap));
    const wxImage image = Paint(m_button, CButtonST::kItemDisabled);
    EXPECT_EQ(System(wxSYS_COLOUR_BTNSHADOW), At(image, 20, 20));
    EXPECT_EQ(System(wxSYS_COLOUR_BTNHIGHLIGHT), At(image, 28, 28)) << "the light copy one pixel down and right";
    EXPECT_EQ(0, CountPixels(image, RGB(200, 0, 0)));
}

TEST_F(ButtonSTTest, BitmapsLetTheirTransparentColourThrough)
{
    // A 16 x 16 bitmap: magenta (transparent) with a blue centre.
    wxImage picture(16, 16);
    picture.SetRGB(wxRect(0, 0, 16, 16), 255, 0, 255);
    picture.SetRGB(wxRect(4, 4, 8, 8), 0, 0, 200);
    const wxBitmap bitmap(picture, 24);
    ASSERT_EQ(CButtonST::kResultOk, m_button->SetBitmaps(bitmap, RGB(255, 0, 255)));
    const wxImage image = Paint(m_button, 0);
    EXPECT_EQ(kBackNormal, At(image, 12, 12));
    EXPECT_EQ(RGB(0, 0, 200), At(image, 17, 17));
    // The caller's bitmap keeps no mask of the button's.
    EXPECT_EQ(nullptr, bitmap.GetMask());
}

TEST_F(ButtonSTTest, IconsFromTheResFolder)
{
    theApp.m_strAppDir = GetProgramFolder() + "../program/";
    EXPECT_EQ(CButtonST::kResultOk, m_button->SetIcon("player_play_hover.png", "player_play.png"));
    // The normal play icon: a light grey triangle in the middle.
    const wxImage shown = Paint(m_button, 0);
    EXPECT_EQ(RGB(0xC8, 0xC8, 0xC8), At(shown, 20, 20));

    EXPECT_EQ(CButtonST::kResultNoImage, m_button->SetIcon("player_play.png", "no_such_icon.png"));
    EXPECT_EQ(kBackNormal, At(Paint(m_button, 0), 20, 20)) << "a failed load leaves no image";
    EXPECT_EQ(CButtonST::kResultNoImage, m_button->SetIcon("no_such_icon.png", 0));
}

// ---- Clicks, check-box mode, focus ----

TEST_F(ButtonSTTest, ClicksReachTheParentAndDoubleClicksCountTwice)
{
    m_frame->Show();
    wxYield();
    int clicks = 0;
    m_host->Bind(wxEVT_BUTTON, [&clicks](wxCommandEvent& event) {
        if (event.GetId() == 1001)
            ++clicks;
    });
    Click(m_button);
    EXPECT_EQ(1, clicks);
    EXPECT_FALSE(m_button->HasCapture());
    Click(m_button, wxEVT_LEFT_DCLICK);
    EXPECT_EQ(2, clicks);

    // A release outside the button is no click.
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition(wxPoint(5, 5));
    m_button->GetEventHandler()->ProcessEvent(down);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(wxPoint(kSize + 20, 5));
    m_button->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(2, clicks);
}

TEST_F(ButtonSTTest, CheckBoxModeAndButtonKinds)
{
    m_frame->Show();
    wxYield();
    CButtonST* check = MakeButton("", CButtonST::kStyleAutoCheckBox, 1004);
    EXPECT_TRUE(check->IsCheckBox());
    check->SetCheck(5);
    EXPECT_EQ(1, check->GetCheck());
    Click(check);
    EXPECT_EQ(0, check->GetCheck());
    Click(check);
    EXPECT_EQ(1, check->GetCheck());

    // A push button has no check state.
    EXPECT_FALSE(m_button->IsCheckBox());
    m_button->SetCheck(1);
    EXPECT_EQ(0, m_button->GetCheck());

    CButtonST* def = MakeButton("", CButtonST::kStyleDefPush, 1005);
    EXPECT_TRUE(def->IsDefault());
    EXPECT_FALSE(def->IsCheckBox());
    def->SetButtonStyle(CButtonST::kStyleCheckBox);
    EXPECT_TRUE(def->IsDefault()) << "other kinds leave the default";
    def->SetButtonStyle(CButtonST::kStylePush);
    EXPECT_FALSE(def->IsDefault());
    m_button->SetButtonStyle(CButtonST::kStyleDefPush);
    EXPECT_TRUE(m_button->IsDefault());
}

TEST_F(ButtonSTTest, DisablingMovesTheFocusToTheNextControl)
{
    auto* next = new wxButton(m_host, 1010, "next", wxPoint(60, 10));
    auto* other = new wxButton(m_host, 1011, "other", wxPoint(160, 10));
    m_frame->Show();
    m_frame->Raise();
    wxYield();
    other->SetFocus();
    wxYield();
    if (wxWindow::FindFocus() != other)
        GTEST_SKIP() << "the display gives no keyboard focus";

    // Also when the button did not have the focus.
    m_button->Disable();
    wxYield();
    EXPECT_EQ(next, wxWindow::FindFocus());
    EXPECT_FALSE(m_button->Enable(false)) << "no change, no focus move";
}

TEST_F(ButtonSTTest, UrlKeepsAtMost259Bytes)
{
    m_button->SetUrl(CString('a', 300));
    EXPECT_EQ(CString('a', 259), m_button->GetUrl());
    // A Chinese character that would cross the limit is left out whole.
    m_button->SetUrl(CString('a', 258) + "中");
    EXPECT_EQ(CString('a', 258), m_button->GetUrl());
    m_button->SetUrl("");
    EXPECT_TRUE(m_button->GetUrl().IsEmpty());
}

} // namespace
