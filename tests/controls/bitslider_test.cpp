// The bitmap strip, the bitmap window and the bitmap slider (the player's
// seek bar): frame tables, frame drawing, the thumb's states, position and
// pixel arithmetic, channel painting, the time tooltip, and what happens
// with a channel of no width and with strips that failed to load.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/utils.h>

#include "controls/bititem.h"
#include "controls/bitslider.h"
#include "controls/bitwnd.h"
#include "ui/resourceimage.h"
#include "platform/file.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

const wxColour kSentinel(1, 2, 3);

using PixelFn = std::function<wxColour(int x, int y)>;

wxBitmap MakeBitmap(int width, int height, const PixelFn& pixel)
{
    wxImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const wxColour c = pixel(x, y);
            image.SetRGB(x, y, c.Red(), c.Green(), c.Blue());
        }
    }
    return wxBitmap(image, 24);
}

wxImage Render(const wxSize& size, const std::function<void(wxDC&)>& paint)
{
    wxBitmap bitmap(size.GetWidth(), size.GetHeight(), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kSentinel));
        dc.Clear();
        paint(dc);
    }
    return bitmap.ConvertToImage();
}

wxColour At(const wxImage& image, int x, int y)
{
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// Three 4 x 6 frames side by side: yellow, cyan, magenta.
const wxColour kFrameColours[] = {wxColour(255, 255, 0), wxColour(0, 255, 255), wxColour(255, 0, 255)};
wxBitmap ThreeFrames()
{
    return MakeBitmap(12, 6, [](int x, int) { return kFrameColours[x / 4]; });
}

// Keeps the program folder, below which the skin images are looked for.
class AppStateGuard : public testsupport::AppStateGuard {
public:
    AppStateGuard() : testsupport::AppStateGuard(&CQuenlowApp::m_strAppDir) {}
};

// ---- CBitItem ----

TEST(BitItem, FrameTable)
{
    const struct {
        int width, height;
        UINT frameWidth, frameHeight;
        bool vertical;
        int count;
        int frame;
        CRect source;
    } cases[] = {
        {2002, 15, 6, 12, false, 333, 2, CRect(12, 0, 18, 12)},
        {40, 20, 0, 0, false, 1, 0, CRect(0, 0, 40, 20)},    // 0 x 0: one frame, the whole image
        {10, 40, 0, 10, true, 4, 3, CRect(0, 30, 10, 40)},   // taller than wide: frames stacked
        {36, 12, 12, 12, false, 3, 1, CRect(12, 0, 24, 12)}, // the seek bar's thumb
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " frames " << c.frameWidth << "x"
                                        << c.frameHeight);
        CBitItem item(MakeBitmap(c.width, c.height, [](int, int) { return *wxBLACK; }), c.frameWidth,
                      c.frameHeight);
        EXPECT_EQ(c.vertical, item.IsVertical() != FALSE);
        EXPECT_EQ(c.count, item.GetFrameCount());
        CRect rect;
        ASSERT_TRUE(item.GetFrameRect(&rect, c.frame, TRUE));
        EXPECT_EQ(c.source, rect);
        // Outside the source, the origin moves the frame.
        const CPoint origin(7, 9);
        ASSERT_TRUE(item.GetFrameRect(&rect, c.frame, FALSE, &origin));
        CRect moved = c.source;
        moved.OffsetRect(7, 9);
        EXPECT_EQ(moved, rect);
        EXPECT_FALSE(item.GetFrameRect(&rect, c.count, TRUE));
        EXPECT_FALSE(item.GetFrameRect(&rect, -1, TRUE));
        EXPECT_FALSE(item.GetFrameRect(nullptr, 0, TRUE));
    }
}

TEST(BitItem, DrawFrameCopiesOneFrameToTheOrigin)
{
    CBitItem item(ThreeFrames(), 4, 6);
    const CPoint origin(5, 2);
    const wxImage plain =
        Render(wxSize(30, 10), [&](wxDC& dc) { EXPECT_TRUE(item.DrawFrame(&dc, 1, FALSE, &origin)); });
    EXPECT_EQ(kFrameColours[1], At(plain, 5, 2));
    EXPECT_EQ(kFrameColours[1], At(plain, 8, 7));
    EXPECT_EQ(kSentinel, At(plain, 9, 2)) << "one frame wide";
    EXPECT_EQ(kSentinel, At(plain, 4, 2));

    // At its own place in the strip: shifted by the frame's left edge.
    const wxImage placed =
        Render(wxSize(30, 10), [&](wxDC& dc) { EXPECT_TRUE(item.DrawFrame(&dc, 2, TRUE, &origin)); });
    EXPECT_EQ(kSentinel, At(placed, 12, 2));
    EXPECT_EQ(kFrameColours[2], At(placed, 13, 2));
    EXPECT_EQ(kFrameColours[2], At(placed, 16, 7));

    const wxImage none = Render(wxSize(30, 10), [&](wxDC& dc) {
        EXPECT_FALSE(item.DrawFrame(&dc, 3));
        EXPECT_FALSE(item.DrawFrame(nullptr, 0));
    });
    EXPECT_EQ(kSentinel, At(none, 0, 0));
}

TEST(BitItem, AStripThatDidNotLoadHasNoFramesAndDrawsNothing)
{
    AppStateGuard guard;
    testsupport::TempFolder empty;
    theApp.m_strAppDir = empty.ansi();
    CBitItem missing("seek_thumb.png", 12, 12);
    EXPECT_EQ(0, missing.GetFrameCount());
    CBitItem tooWide(ThreeFrames(), 20, 6);   // the frame is wider than the image
    EXPECT_EQ(0, tooWide.GetFrameCount());

    for (CBitItem* item : {&missing, &tooWide}) {
        const wxImage image = Render(wxSize(20, 10), [&](wxDC& dc) {
            EXPECT_FALSE(item->DrawFrame(&dc, 0));
            EXPECT_FALSE(item->Draw(&dc, 0, 0, 20, 10));
        });
        EXPECT_EQ(kSentinel, At(image, 0, 0));
        CRect rect;
        EXPECT_FALSE(item->GetFrameRect(&rect, 0));
        EXPECT_FALSE(item->HitTest(CPoint(0, 0)));
    }
}

TEST(BitItem, ShippedImagesLoadFromTheProgramFolder)
{
    AppStateGuard guard;
    // The build lays the program folder beside the test programs' folder.
    theApp.m_strAppDir = GetProgramFolder() + "../program/";

    CBitItem thumb("seek_thumb.png", 12, 12);
    EXPECT_EQ(3, thumb.GetFrameCount());
    for (const char* channel : {"seek_before.png", "seek_after.png"}) {
        CBitItem strip(channel, 0, 0);
        EXPECT_EQ(1, strip.GetFrameCount()) << channel;
        EXPECT_GE(strip.GetWidth(), 7680) << channel;
        EXPECT_EQ(thumb.GetHeight(), strip.GetHeight()) << channel;
    }
    for (const char* name : {"open", "play", "pause", "stop", "previous", "next", "reset", "mute", "volumeup",
                             "volumedown", "skip", "fullscreen"}) {
        for (const char* variant : {"", "_hover"}) {
            const CString file = CString("player_") + name + variant + ".png";
            const wxBitmap icon = LoadResourceBitmap(file);
            ASSERT_TRUE(icon.IsOk()) << file.GetString();
            EXPECT_EQ(wxSize(32, 32), icon.GetSize()) << file.GetString();
        }
    }

    // Before start-up sets the folder, the executable's own folder is used.
    theApp.m_strAppDir.Empty();
    EXPECT_EQ(GetProgramFolder() + "res/seek_thumb.png", GetResourcePath("seek_thumb.png"));
}

// ---- CBitWnd ----

class BitWndTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "bit window", wxDefaultPosition, wxSize(300, 200));
        m_host = new wxPanel(m_frame);
    }
    void TearDown() override { m_frame->Destroy(); }

    CBitWnd* MakeWindow(CBitItem* item)
    {
        auto* wnd = new CBitWnd;
        EXPECT_TRUE(wnd->CreateWnd(0, m_host, 0));
        wnd->SetItem(item);
        return wnd;
    }

    static wxMouseEvent Mouse(wxEventType type, int x, int y)
    {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, y));
        return event;
    }

    wxFrame* m_frame = nullptr;
    wxPanel* m_host = nullptr;
};

TEST_F(BitWndTest, TheFrameShownFollowsTheMouseByFrameCount)
{
    const struct {
        int frames;
        int hover, press, release, leave;
    } cases[] = {
        {1, 0, 0, 0, 0},
        {2, 1, 0, 1, 0},
        {3, 1, 2, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames");
        CBitItem strip(MakeBitmap(4 * c.frames, 6, [](int x, int) { return kFrameColours[x / 4]; }), 4, 6);
        CBitWnd* wnd = MakeWindow(&strip);
        EXPECT_EQ(wxSize(4, 6), wnd->GetSize());
        EXPECT_EQ(0, wnd->GetState());
        wnd->OnMouseMove(Mouse(wxEVT_MOTION, 1, 1));
        EXPECT_EQ(c.hover, wnd->GetState());
        wnd->OnLButtonDown(Mouse(wxEVT_LEFT_DOWN, 1, 1));
        EXPECT_EQ(c.press, wnd->GetState());
        // The paint shows the frame of the state.
        const wxImage pressed = Render(wxSize(4, 6), [&](wxDC& dc) { wnd->Paint(dc); });
        EXPECT_EQ(kFrameColours[c.press], At(pressed, 2, 3));
        wnd->OnLButtonUp(Mouse(wxEVT_LEFT_UP, 1, 1));
        EXPECT_EQ(c.release, wnd->GetState());
        wnd->OnMouseLeave();
        EXPECT_EQ(c.leave, wnd->GetState());
        wnd->Destroy();
    }
}

TEST_F(BitWndTest, ForwardsTheMouseToTheParentAtTheSamePlace)
{
    CBitItem strip(ThreeFrames(), 4, 6);
    CBitWnd* wnd = MakeWindow(&strip);
    wnd->Move(10, 20);

    std::vector<std::pair<wxEventType, wxPoint>> seen;
    int commandsAtHost = 0;
    int commandsAboveHost = 0;
    for (const wxEventTypeTag<wxMouseEvent>& type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP})
        m_host->Bind(type, [&seen](wxMouseEvent& event) {
            seen.emplace_back(event.GetEventType(), event.GetPosition());
        });
    m_host->Bind(wxEVT_BUTTON, [&](wxCommandEvent& event) {
        ++commandsAtHost;
        event.Skip();
    });
    m_frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent&) { ++commandsAboveHost; });

    wnd->OnMouseMove(Mouse(wxEVT_MOTION, 1, 2));
    EXPECT_TRUE(seen.empty()) << "nothing is forwarded until asked";

    wnd->SetForwardMouse(TRUE);
    wnd->OnMouseMove(Mouse(wxEVT_MOTION, 1, 2));
    wnd->OnLButtonDown(Mouse(wxEVT_LEFT_DOWN, 3, 4));
    wnd->OnLButtonUp(Mouse(wxEVT_LEFT_UP, 2, 5));
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(wxEVT_MOTION, seen[0].first);
    EXPECT_EQ(wxPoint(11, 22), seen[0].second);
    EXPECT_EQ(wxEVT_LEFT_DOWN, seen[1].first);
    EXPECT_EQ(wxPoint(13, 24), seen[1].second);
    EXPECT_EQ(wxEVT_LEFT_UP, seen[2].first);
    EXPECT_EQ(wxPoint(12, 25), seen[2].second);

    // The release sends the window's command to the parent, and only there.
    EXPECT_EQ(1, commandsAtHost);
    EXPECT_EQ(0, commandsAboveHost);
    wnd->Destroy();
}

// ---- CBitSlider ----

wxColour BeforeColour(int x) { return wxColour(200, static_cast<unsigned char>(x % 256), 0); }
wxColour AfterColour(int x) { return wxColour(0, static_cast<unsigned char>(x % 256), 200); }

class BitSliderTest : public testing::Test {
protected:
    static constexpr int kChannelWidth = 2000;

    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "seek bar", wxPoint(0, 0), wxSize(900, 300));
        m_host = new wxPanel(m_frame);
        m_thumbStrip.emplace(ThreeFramesOf12(), 12, 12);
        m_before.emplace(MakeBitmap(7680, 12, [](int x, int) { return BeforeColour(x); }), 0, 0);
        m_after.emplace(MakeBitmap(7680, 12, [](int x, int) { return AfterColour(x); }), 0, 0);
        m_slider = new CBitSlider;
        ASSERT_TRUE(m_slider->Create(m_host, 1030, wxPoint(0, 0), wxSize(400, 12)));
        m_slider->SetRange(0, 10000);
        m_slider->SetChannelItems(&*m_after, &*m_before);
        m_slider->SetThumbItem(&*m_thumbStrip);
        m_slider->SetScreenWidth(1280);
        m_slider->SetMediaLength(600000);
        m_slider->SetSeekHandler([this](int position) { m_seeks.push_back(position); });
    }
    // The strips belong to the test and die with it: the slider goes at
    // once, not with the frame's delayed destruction.
    void TearDown() override
    {
        m_slider->Destroy();
        m_frame->Destroy();
    }

    static wxBitmap ThreeFramesOf12()
    {
        return MakeBitmap(36, 12, [](int x, int) { return kFrameColours[x / 12]; });
    }

    // Sizes the slider so that its channel is `width` pixels wide.
    void SetChannelWidth(int width)
    {
        CRect channel;
        m_slider->GetChannelRect(&channel);
        const int margin = m_slider->GetClientSize().GetWidth() - channel.Width();
        m_slider->SetSize(wxSize(width + margin, 12));
        m_slider->GetChannelRect(&channel);
        ASSERT_EQ(width, channel.Width());
    }

    AppStateGuard m_guard;
    wxFrame* m_frame = nullptr;
    wxPanel* m_host = nullptr;
    std::optional<CBitItem> m_thumbStrip;
    std::optional<CBitItem> m_before;
    std::optional<CBitItem> m_after;
    CBitSlider* m_slider = nullptr;
    std::vector<int> m_seeks;   // the seek requests, in order
};

TEST_F(BitSliderTest, TheChannelStripsSizeTheSliderAndTheThumbIsOneFrame)
{
    EXPECT_EQ(wxSize(7680, 12), m_slider->GetSize()) << "sized to the frame of the strip before the thumb";
    ASSERT_NE(nullptr, m_slider->GetThumbWnd());
    EXPECT_EQ(wxSize(12, 12), m_slider->GetThumbWnd()->GetSize());
    EXPECT_EQ(0, m_slider->GetThumbWnd()->GetId());
    EXPECT_TRUE(m_slider->GetThumbWnd()->GetForwardMouse());

    // A second thumb strip changes nothing.
    CBitItem other(ThreeFrames(), 4, 6);
    CBitWnd* thumb = m_slider->GetThumbWnd();
    m_slider->SetThumbItem(&other);
    EXPECT_EQ(thumb, m_slider->GetThumbWnd());
    EXPECT_EQ(&*m_thumbStrip, thumb->GetItem());
}

TEST_F(BitSliderTest, ThumbFollowsThePositionAlongTheChannel)
{
    SetChannelWidth(kChannelWidth);
    m_slider->SetThumbOffset(3);
    CRect channel;
    m_slider->GetChannelRect(&channel);
    EXPECT_EQ(6, channel.left) << "half a thumb in from the start";

    const struct {
        int position;
        int clamped;
        int thumbLeft;
    } cases[] = {
        {0, 0, 0},
        {5000, 5000, 1000},      // 6 + 1000 - 6
        {10000, 10000, 2000},    // the thumb ends at the slider's end
        {2500, 2500, 500},
        {-5, 0, 0},
        {20000, 10000, 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        m_slider->SetPos(c.position);
        EXPECT_EQ(c.clamped, m_slider->GetPos());
        CRect own;
        m_slider->GetThumbRect(&own);
        EXPECT_EQ(CRect(c.thumbLeft, 0, c.thumbLeft + 12, 12), own);
        CRect bitmap;
        m_slider->GetBitmapThumbRect(&bitmap);
        EXPECT_EQ(CRect(c.thumbLeft, 3, c.thumbLeft + 12, 15), bitmap);
        EXPECT_EQ(wxRect(c.thumbLeft, 3, 12, 12), m_slider->GetThumbWnd()->GetRect());
    }
}

TEST_F(BitSliderTest, ReleasePointGivesThePositionAndTheSeekRequest)
{
    SetChannelWidth(kChannelWidth);
    CRect channel;
    m_slider->GetChannelRect(&channel);
    const struct {
        int along;
        int position;
        int seekRequest;
    } cases[] = {
        {100, 496, 496},
        {5, 21, 21},
        {0, 0, -4},         // the slider clamps; the request keeps the value
        {2000, 9996, 9996},
        {1000, 4996, 4996},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.along);
        m_seeks.clear();
        m_slider->OnLButtonUp(CPoint(channel.left + c.along, 6));
        EXPECT_EQ(c.position, m_slider->GetPos());
        EXPECT_EQ(std::vector<int>{c.seekRequest}, m_seeks);
    }
}

TEST_F(BitSliderTest, NoPositionWithoutScreenWidthChannelWidthOrRange)
{
    SetChannelWidth(kChannelWidth);
    CRect channel;
    m_slider->GetChannelRect(&channel);
    m_slider->SetPos(3000);

    m_slider->SetScreenWidth(0);
    m_slider->OnLButtonUp(CPoint(channel.left + 100, 6));
    EXPECT_EQ(3000, m_slider->GetPos());
    m_slider->SetScreenWidth(1280);

    // A slider no longer than its thumb has a channel without width.
    for (int width : {12, 5, 0}) {
        SCOPED_TRACE(width);
        m_slider->SetSize(wxSize(width, 12));
        m_slider->GetChannelRect(&channel);
        EXPECT_EQ(0, channel.Width());
        m_slider->OnLButtonUp(CPoint(3, 6));
        EXPECT_EQ(3000, m_slider->GetPos());
        // Painting paints only inside the slider.
        const wxImage image = Render(wxSize(20, 12), [&](wxDC& dc) { m_slider->PaintChannel(dc, TRUE); });
        EXPECT_EQ(kSentinel, At(image, 19, 0));
    }

    m_slider->SetSize(wxSize(kChannelWidth + 12, 12));
    m_slider->SetRange(0, 0);
    m_slider->OnLButtonUp(CPoint(200, 6));
    EXPECT_EQ(0, m_slider->GetPos());
    EXPECT_TRUE(m_seeks.empty()) << "no release here requested a seek";
}

TEST_F(BitSliderTest, EachStripPaintsItsOwnPixelsOnItsSideOfTheThumb)
{
    m_slider->SetSize(wxSize(300, 12));
    m_slider->SetPos(5000);
    CRect thumb;
    m_slider->GetBitmapThumbRect(&thumb);
    ASSERT_GT(thumb.left, 0);
    ASSERT_LT(thumb.right, 300);

    const wxImage full = Render(wxSize(300, 12), [&](wxDC& dc) { m_slider->PaintChannel(dc, TRUE); });
    EXPECT_EQ(BeforeColour(0), At(full, 0, 0));
    EXPECT_EQ(BeforeColour(thumb.right - 1), At(full, thumb.right - 1, 11));
    EXPECT_EQ(AfterColour(thumb.right), At(full, thumb.right, 0)) << "taken from the same place of its strip";
    EXPECT_EQ(AfterColour(299), At(full, 299, 11));

    // Without full, the strip before the thumb stops at the thumb's near edge.
    const wxImage moving = Render(wxSize(300, 12), [&](wxDC& dc) { m_slider->PaintChannel(dc, FALSE); });
    EXPECT_EQ(BeforeColour(thumb.left - 1), At(moving, thumb.left - 1, 0));
    EXPECT_EQ(kSentinel, At(moving, thumb.left, 0));
    EXPECT_EQ(AfterColour(thumb.right), At(moving, thumb.right, 0));
}

TEST_F(BitSliderTest, StripsThatFailedToLoadPaintNothingAndKeepTheSize)
{
    AppStateGuard guard;
    testsupport::TempFolder empty;
    theApp.m_strAppDir = empty.ansi();

    auto* slider = new CBitSlider;
    ASSERT_TRUE(slider->Create(m_host, 1031, wxPoint(0, 20), wxSize(300, 12)));
    slider->SetRange(0, 10000);
    slider->LoadChannelBitmaps("seek_after.png", "seek_before.png");
    EXPECT_EQ(wxSize(300, 12), slider->GetSize());
    slider->LoadThumbBitmap("seek_thumb.png", 12, 12);
    ASSERT_NE(nullptr, slider->GetThumbWnd());
    EXPECT_EQ(wxSize(0, 0), slider->GetThumbWnd()->GetSize());

    const wxImage image = Render(wxSize(300, 12), [&](wxDC& dc) { slider->PaintChannel(dc, TRUE); });
    for (int x : {0, 150, 299})
        EXPECT_EQ(kSentinel, At(image, x, 6)) << x;

    // The position arithmetic still works with the default thumb length.
    slider->SetScreenWidth(1280);
    CRect channel;
    slider->GetChannelRect(&channel);
    EXPECT_EQ(300 - 11, channel.Width());
    slider->OnLButtonUp(CPoint(channel.left + 100, 6));
    EXPECT_EQ(3426, slider->GetPos());   // (100 * 10000 + 289 - 10000) / 289
}

TEST_F(BitSliderTest, DraggingTheThumbMovesThePositionAndReportsTheRelease)
{
    m_frame->Show();
    wxYield();
    SetChannelWidth(kChannelWidth);
    m_slider->SetPos(0);
    std::vector<wxEventType> scrolls;
    for (const wxEventTypeTag<wxScrollEvent>& type :
         {wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_CHANGED})
        m_host->Bind(type, [&scrolls](wxScrollEvent& event) { scrolls.push_back(event.GetEventType()); });

    // The press lands on the thumb window, which passes it to the slider.
    CBitWnd* thumb = m_slider->GetThumbWnd();
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition(wxPoint(6, 6));
    thumb->OnLButtonDown(down);
    EXPECT_EQ(2, thumb->GetState());

    wxMouseEvent move(wxEVT_MOTION);
    move.SetPosition(wxPoint(6 + 1000, 6));
    move.SetLeftDown(true);
    m_slider->GetEventHandler()->ProcessEvent(move);
    EXPECT_EQ(5000, m_slider->GetPos());

    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(wxPoint(6 + 100, 6));
    m_slider->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(496, m_slider->GetPos());
    EXPECT_EQ(std::vector<int>{496}, m_seeks);
    EXPECT_FALSE(m_slider->HasCapture());
    EXPECT_EQ((std::vector<wxEventType>{wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_CHANGED}),
              scrolls);
}

TEST(BitSliderTooltip, TimeUnderThePointer)
{
    const struct {
        int64_t length;
        int screenWidth;
        int64_t x;
        const char* text;   // null: no text
    } cases[] = {
        {600000, 1280, 640, "04:59"},     // 468 ms per pixel after the integer division
        {600000, 1280, 0, "00:00"},
        {999, 1280, 640, nullptr},        // too short to show a time
        {1000, 1280, 1279, "00:00"},      // less than a millisecond per pixel
        {7200000, 1280, 1280, "120:00"},  // minutes above 99 keep their digits
        {3599999, 1920, 1919, "59:56"},
        {600000, 0, 640, nullptr},        // no screen width, no division
        {600000, 1280, -10, "00:00"},     // a screen left of the first one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << " ms, screen " << c.screenWidth << ", x " << c.x);
        CString text = "unchanged";
        const BOOL shown = CBitSlider::ComputeTimeTip(c.x, c.length, c.screenWidth, text);
        if (c.text) {
            EXPECT_TRUE(shown);
            EXPECT_EQ(CString(c.text), text);
        } else {
            EXPECT_FALSE(shown);
            EXPECT_EQ(CString("unchanged"), text);
        }
    }
}

} // namespace
