// The status bar with the player elements: order, initial texts and tool
// tips, sliders, commands from clicks and drags, and greying by update-UI.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/tooltip.h>
#include <wx/utils.h>

#include "core/commandids.h"
#include "ui/wxtext.h"
#include "frame/ribbonstatusbar.h"

namespace {

class RibbonStatusBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "status bar test", wxDefaultPosition, wxSize(1200, 200));
        frame->Bind(wxEVT_MENU, [this](wxCommandEvent& event) { commands.push_back(event.GetId()); });
        bar = new CRibbonStatusBar;
        ASSERT_TRUE(bar->Create(frame, 0xE801));
        frame->Show();
        frame->Layout();
        wxYield();
    }
    void TearDown() override { frame->Destroy(); }

    static void Mouse(wxWindow* window, wxEventType type, int x, bool leftDown = false)
    {
        wxMouseEvent mouse(type);
        mouse.SetPosition(wxPoint(x, window->GetClientSize().y / 2));
        mouse.SetLeftDown(leftDown);
        mouse.SetEventObject(window);
        window->ProcessWindowEvent(mouse);
    }

    wxFrame* frame = nullptr;
    CRibbonStatusBar* bar = nullptr;
    std::vector<int> commands;
};

TEST_F(RibbonStatusBarTest, ElementsStartWithTheirIconsTextsAndToolTips)
{
    EXPECT_EQ(bar->GetElementIds(),
              (std::vector<int>{kStatusPlayStateElement, kCmdOpenPlaylistFolder, kCmdToggleRibbonPanels, kCmdPlay,
                                kCmdPause, kCmdStop, kCmdRestart, kStatusTimeElement, kCmdProgressSlider, kCmdVolumePane,
                                kCmdVolumeSlider, kStatusSentenceElement, kStatusDownloadElement}));
    struct SCase {
        int id;
        int icon;
        const char* text;
        const char* toolTip;  // shown: the description before "\n"
    };
    const SCase cases[] = {
        {kStatusPlayStateElement, 0, "未载入文件", ""},
        {kCmdOpenPlaylistFolder, 316, "", "打开播放资源所在文件夹"},
        {kCmdToggleRibbonPanels, 360, "", "显示或隐藏工具栏"},
        {kCmdPlay, 368, "", "播放媒体"},
        {kCmdPause, 367, "", "暂停播放媒体"},
        {kCmdStop, 369, "", "停止播放"},
        {4041, 421, "", "重置播放.当播放器有异常时,请使用此功能."},
        {kStatusTimeElement, 319, "000:00/000:00", "显示播放器"},
        {kCmdVolumePane, 377, "", "调节音量"},
        {kStatusSentenceElement, 359, "第0000句/共0000句", "显示当前句子播放进度"},
        {kStatusDownloadElement, 448, "速度:0000 KB/s  进度:0000%", "播放网络视频时的缓冲速度"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.id);
        CStatusBarPane* pane = bar->FindElement(c.id);
        ASSERT_TRUE(pane);
        EXPECT_EQ(pane->GetIconId(), c.icon);
        EXPECT_EQ(pane->GetText(), c.text);
        wxToolTip* tip = pane->GetToolTip();
        EXPECT_EQ(tip ? FromWx(tip->GetTip()) : CString(), c.toolTip);
    }
    EXPECT_EQ(bar->FindElement(kStatusSentenceElement)->GetToolTipText(), "显示当前句子播放进度\n句子进度");
    EXPECT_EQ(bar->FindElement(4041)->GetElementLabel(), "Reset Media Player");
    EXPECT_EQ(bar->FindElement(kCmdProgressSlider), nullptr);
    EXPECT_EQ(bar->FindSlider(kStatusSentenceElement), nullptr);
}

TEST_F(RibbonStatusBarTest, TextPanesKeepTheWidthOfTheirInitialText)
{
    for (int id : {kStatusPlayStateElement, kStatusTimeElement, kStatusSentenceElement, kStatusDownloadElement}) {
        SCOPED_TRACE(id);
        CStatusBarPane* pane = bar->FindElement(id);
        const int width = pane->GetSize().x;
        EXPECT_GE(width, pane->GetTextExtent(ToWx(pane->GetText())).x);
        pane->SetText("第12句/共345句 这是一个更长的文字");
        pane->Redraw();
        frame->Layout();
        EXPECT_EQ(pane->GetText(), "第12句/共345句 这是一个更长的文字");
        EXPECT_EQ(pane->GetSize().x, width);
    }
    // An icon element is as wide as its icon and a margin.
    EXPECT_LT(bar->FindElement(kCmdPlay)->GetSize().x, bar->FindElement(kStatusTimeElement)->GetSize().x);
}

TEST_F(RibbonStatusBarTest, SlidersStartWithTheirRangesAndPositions)
{
    CRibbonSlider* progress = bar->FindSlider(kCmdProgressSlider);
    CRibbonSlider* volume = bar->FindSlider(kCmdVolumeSlider);
    ASSERT_TRUE(progress && volume);
    EXPECT_EQ(progress->GetRangeMin(), 0);
    EXPECT_EQ(progress->GetRangeMax(), 10000);
    EXPECT_EQ(progress->GetPos(), 0);
    EXPECT_EQ(progress->GetSize().x, progress->FromDIP(100));
    EXPECT_EQ(volume->GetRangeMax(), 100);
    EXPECT_EQ(volume->GetPos(), 75);
    EXPECT_EQ(volume->GetSize().x, volume->FromDIP(50));
    EXPECT_FALSE(volume->HasZoomButtons());

    // Positions are clamped to the range, and a narrower range clamps them.
    volume->SetPos(130);
    EXPECT_EQ(volume->GetPos(), 100);
    volume->SetPos(-5);
    EXPECT_EQ(volume->GetPos(), 0);
    progress->SetPos(9000);
    progress->SetRange(0, 5000);
    EXPECT_EQ(progress->GetPos(), 5000);
    EXPECT_TRUE(commands.empty());
}

TEST_F(RibbonStatusBarTest, ClickingAnIconElementSendsItsCommand)
{
    CStatusBarPane* play = bar->FindElement(kCmdPlay);
    Mouse(play, wxEVT_LEFT_DOWN, 3);
    Mouse(play, wxEVT_LEFT_UP, 3);
    // Released outside the element: no command.
    Mouse(play, wxEVT_LEFT_DOWN, 3);
    Mouse(play, wxEVT_LEFT_UP, play->GetClientSize().x + 20);
    // The text pane of the player state issues nothing.
    CStatusBarPane* state = bar->FindElement(kStatusPlayStateElement);
    Mouse(state, wxEVT_LEFT_DOWN, 3);
    Mouse(state, wxEVT_LEFT_UP, 3);
    CStatusBarPane* downloads = bar->FindElement(kStatusDownloadElement);
    Mouse(downloads, wxEVT_LEFT_DOWN, 5);
    Mouse(downloads, wxEVT_LEFT_UP, 5);
    EXPECT_EQ(commands, (std::vector<int>{kCmdPlay, kStatusDownloadElement}));
}

TEST_F(RibbonStatusBarTest, SlidersIssueTheirCommandWhenLetGo)
{
    CRibbonSlider* progress = bar->FindSlider(kCmdProgressSlider);
    Mouse(progress, wxEVT_LEFT_DOWN, progress->TrackLeft());
    Mouse(progress, wxEVT_MOTION, progress->XFromPos(5000), true);
    // The player's timer moving the slider does not fight the learner.
    progress->SetPos(100);
    const int dragged = progress->GetPos();
    EXPECT_NEAR(dragged, 5000, 150);
    EXPECT_EQ(dragged, progress->PosFromX(progress->XFromPos(5000)));
    EXPECT_TRUE(commands.empty());
    Mouse(progress, wxEVT_LEFT_UP, progress->TrackRight() + 30);
    EXPECT_EQ(commands, std::vector<int>{kCmdProgressSlider});
    EXPECT_EQ(progress->GetPos(), 10000);

    // A click on the track jumps there and issues once.
    CRibbonSlider* volume = bar->FindSlider(kCmdVolumeSlider);
    const int middle = (volume->TrackLeft() + volume->TrackRight()) / 2;
    Mouse(volume, wxEVT_LEFT_DOWN, middle);
    Mouse(volume, wxEVT_LEFT_UP, middle);
    EXPECT_EQ(commands, (std::vector<int>{kCmdProgressSlider, kCmdVolumeSlider}));
    EXPECT_NEAR(volume->GetPos(), 50, 3);
    EXPECT_EQ(volume->PosFromX(volume->TrackLeft() - 10), 0);
    EXPECT_EQ(volume->PosFromX(volume->TrackRight()), 100);
}

// Counts pixels whose colour is clearly not grey.
int CountColouredPixels(wxWindow* window, void (*draw)(wxWindow*, wxDC&))
{
    const wxSize size = window->GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        draw(window, dc);
    }
    const wxImage image = bitmap.ConvertToImage();
    int count = 0;
    for (int y = 0; y < size.y; ++y) {
        for (int x = 0; x < size.x; ++x) {
            const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
            if (std::max({r, g, b}) - std::min({r, g, b}) > 60)
                ++count;
        }
    }
    return count;
}

TEST_F(RibbonStatusBarTest, UpdateHandlersOfTheFrameGreyElementsOut)
{
    bool playing = false;
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(playing); }, kCmdProgressSlider);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(playing); }, kCmdPlay);
    const auto drawPane = [](wxWindow* w, wxDC& dc) { static_cast<CStatusBarPane*>(w)->Draw(dc); };
    const auto drawSlider = [](wxWindow* w, wxDC& dc) { static_cast<CRibbonSlider*>(w)->Draw(dc); };
    CStatusBarPane* play = bar->FindElement(kCmdPlay);
    CRibbonSlider* progress = bar->FindSlider(kCmdProgressSlider);
    progress->SetPos(5000);
    const int colouredPlay = CountColouredPixels(play, drawPane);
    const int colouredSlider = CountColouredPixels(progress, drawSlider);
    EXPECT_GT(colouredPlay, 10);
    EXPECT_GT(colouredSlider, 10);

    bar->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(play->IsEnabled());
    EXPECT_FALSE(progress->IsEnabled());
    EXPECT_TRUE(bar->FindElement(kCmdPause)->IsEnabled());
    EXPECT_EQ(CountColouredPixels(play, drawPane), 0);
    EXPECT_EQ(CountColouredPixels(progress, drawSlider), 0);

    playing = true;
    bar->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(play->IsEnabled());
    EXPECT_EQ(CountColouredPixels(play, drawPane), colouredPlay);
}

} // namespace
