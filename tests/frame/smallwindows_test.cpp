// The shell's small windows: the text progress bar, the pop-up dialogs, the
// caption bar, the self-drawn button and the browser wrapper.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include <wx/dcmemory.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/timer.h>
#include <wx/tooltip.h>
#include <wx/utils.h>

#include "platform/codepage.h"
#include "ui/wxtext.h"
#include "frame/escapedutyview.h"
#include "ui/explorer1.h"
#include "frame/helpview.h"
#include "ui/mybutton.h"
#include "ui/mycaptionbar.h"
#include "ui/progressdlg.h"
#include "core/quenlow.h"
#include "ui/searchdlg.h"
#include "ui/showchndlg.h"
#include "ui/showmsgdlg.h"
#include "ui/textprogressctrl.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

constexpr COLORREF kSentinel = RGB(1, 2, 3);

bool IsColour(const wxImage& image, int x, int y, COLORREF colour)
{
    return image.GetRed(x, y) == GetRValue(colour) && image.GetGreen(x, y) == GetGValue(colour) &&
           image.GetBlue(x, y) == GetBValue(colour);
}

int Brightness(const wxImage& image, int x, int y)
{
    return image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y);
}

// Renders through paint into a bitmap first filled with the sentinel colour.
wxImage Render(const wxSize& size, const std::function<void(wxDC&)>& paint)
{
    wxBitmap bitmap(size.GetWidth(), size.GetHeight(), 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(GetRValue(kSentinel), GetGValue(kSentinel), GetBValue(kSentinel))));
        dc.Clear();
        paint(dc);
    }
    return bitmap.ConvertToImage();
}

class SmallWindowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "small windows", wxDefaultPosition, wxSize(800, 400));
    }
    void TearDown() override { m_frame->Destroy(); }

    wxFrame* m_frame = nullptr;
};

// ---- Text progress bar ----

class TextProgressCtrlTest : public SmallWindowsTest {
protected:
    static constexpr COLORREF kBar = RGB(0, 128, 0);
    static constexpr COLORREF kBack = RGB(255, 255, 255);
    static constexpr COLORREF kTextOnBar = RGB(255, 255, 0);
    static constexpr COLORREF kTextOnBack = RGB(200, 0, 0);

    void SetUp() override
    {
        SmallWindowsTest::SetUp();
        // A frame sizes its only child to its whole client area: the bar
        // sits on a panel so that it keeps its own size.
        auto* host = new wxPanel(m_frame);
        m_bar = new CTextProgressCtrl;
        ASSERT_TRUE(m_bar->Create(host, 1017, wxPoint(0, 0), wxSize(300, 24), wxBORDER_NONE));
        m_bar->SetBarColor(kBar);
        m_bar->SetBgColor(kBack);
        m_bar->SetTextOnBarColor(kTextOnBar);
        m_bar->SetTextColor(kTextOnBack);
    }

    wxImage Paint(const wxSize& size = wxSize(300, 24))
    {
        return Render(size, [&](wxDC& dc) { m_bar->Draw(dc, size); });
    }

    CTextProgressCtrl* m_bar = nullptr;
};

TEST_F(TextProgressCtrlTest, FilledPartCoversTheTruncatedShareOfTheWidth)
{
    m_bar->SetShowText(FALSE);
    const struct {
        int lower, upper, position, filledColumns;
    } cases[] = {
        {0, 3, 2, 200},    // two thirds of 300
        {0, 3, 3, 300},    // full
        {0, 3, 0, 0},      // empty
        {10, 13, 12, 200}, // the share is taken from the lower end
        {0, 3, 5, 300},    // beyond the range: full, not past the edge
        {0, 3, -2, 0},     // below the range: empty
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lower << ".." << c.upper << " at " << c.position);
        m_bar->SetRange(c.lower, c.upper);
        m_bar->SetPos(c.position);
        const wxImage image = Paint();
        for (int x : {0, c.filledColumns - 1, c.filledColumns, 299}) {
            if (x < 0 || x > 299)
                continue;
            EXPECT_TRUE(IsColour(image, x, 12, x < c.filledColumns ? kBar : kBack)) << "column " << x;
        }
    }
}

TEST_F(TextProgressCtrlTest, DisplayedTextIsOwnTextOrTruncatedPercentage)
{
    const struct {
        int lower, upper, position;
        CString ownText;
        CString expected;
    } cases[] = {
        {0, 3, 2, "", "66%"},
        {0, 3, 3, "", "100%"},
        {0, 100, 29, "", "29%"},   // 0.29 * 100 is 28.999... in floating point
        {0, 3, 2, "正在导入单词", "正在导入单词"},
        {0, 3, 2, "", "66%"},      // an emptied own text brings the percentage back
        {3, 3, 2, "", ""},         // empty range: nothing is drawn
        {0, 3, 6, "", "200%"},     // outside the range the percentage is not clamped
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lower << ".." << c.upper << " at " << c.position);
        m_bar->SetRange(c.lower, c.upper);
        m_bar->SetPos(c.position);
        m_bar->SetWindowText(c.ownText);
        EXPECT_EQ(c.expected, m_bar->GetDisplayedText());
        EXPECT_EQ(c.ownText, m_bar->GetWindowText());
    }
    m_bar->SetShowText(FALSE);
    EXPECT_EQ(CString(), m_bar->GetDisplayedText());
}

TEST_F(TextProgressCtrlTest, EmptyOrReversedRangePaintsNothing)
{
    for (const auto& [lower, upper] : {std::pair{5, 5}, std::pair{7, 2}}) {
        m_bar->SetRange(lower, upper);
        m_bar->SetPos(3);
        const wxImage image = Paint();
        for (int x = 0; x < 300; x += 7)
            for (int y = 0; y < 24; y += 5)
                ASSERT_TRUE(IsColour(image, x, y, kSentinel)) << lower << ".." << upper << " at " << x << "," << y;
    }
}

TEST_F(TextProgressCtrlTest, TextTakesTheColourOfThePartItLiesOver)
{
    m_bar->SetFont(wxFont(wxFontInfo(wxSize(0, 40)).Bold()));
    m_bar->SetRange(0, 2);
    m_bar->SetPos(1);
    m_bar->SetWindowText("MMMMMMMMMM");
    const wxSize size(300, 60);
    const wxImage image = Paint(size);
    int onBar = 0, onBack = 0;
    for (int y = 0; y < size.GetHeight(); ++y) {
        for (int x = 0; x < size.GetWidth(); ++x) {
            const bool filledSide = x < 150;
            // The other part's text colour never appears on a side.
            ASSERT_FALSE(IsColour(image, x, y, filledSide ? kTextOnBack : kTextOnBar)) << x << "," << y;
            if (IsColour(image, x, y, kTextOnBar))
                ++onBar;
            if (IsColour(image, x, y, kTextOnBack))
                ++onBack;
        }
    }
    EXPECT_GT(onBar, 50);
    EXPECT_GT(onBack, 50);
}

TEST_F(TextProgressCtrlTest, SetPosWithoutWindowReturnsMinusOneAndKeepsPosition)
{
    CTextProgressCtrl unborn;
    unborn.SetRange(0, 10);
    EXPECT_EQ(-1, unborn.SetPos(4));
    EXPECT_EQ(0, unborn.GetPos());
    EXPECT_EQ(-1, unborn.StepIt());
    EXPECT_EQ(0, unborn.GetPos());
}

TEST_F(TextProgressCtrlTest, StepAndOffsetMoveThroughSetPos)
{
    m_bar->SetRange(0, 100);
    EXPECT_EQ(10, m_bar->SetStep(10));
    EXPECT_EQ(0, m_bar->SetPos(5));
    EXPECT_EQ(5, m_bar->StepIt());
    EXPECT_EQ(15, m_bar->OffsetPos(-3));
    EXPECT_EQ(12, m_bar->GetPos());
}

TEST_F(TextProgressCtrlTest, RepaintsOnlyWhenFilledWidthChangesOrAfterResize)
{
    m_bar->SetRange(0, 3000);
    EXPECT_EQ(0, m_bar->SetPos(2000));
    EXPECT_EQ(200, m_bar->GetFilledWidth());
    const int afterFirst = m_bar->GetPosRepaintCount();
    EXPECT_EQ(1, afterFirst);

    // 2001 of 3000 still fills 200 pixels: no repaint, the text may lag.
    EXPECT_EQ(2000, m_bar->SetPos(2001));
    EXPECT_EQ(afterFirst, m_bar->GetPosRepaintCount());

    // One pixel wider still gives 200 filled pixels, but a resize forgets
    // the last width, so the next position repaints.
    m_bar->SetSize(301, 24);
    m_bar->SendSizeEvent();
    EXPECT_EQ(-1, m_bar->GetFilledWidth());
    m_bar->SetPos(2001);
    EXPECT_EQ(200, m_bar->GetFilledWidth());
    EXPECT_EQ(afterFirst + 1, m_bar->GetPosRepaintCount());
}

// Long work on the user-interface thread drives the bar: each visible step
// is painted at once, and the frame's timers do not run in between.
TEST_F(TextProgressCtrlTest, PaintsAtOnceDuringLongWorkWithoutRunningTimers)
{
    m_frame->Show();
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    for (int i = 0; i < 20; ++i) {
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        wxMilliSleep(2);
    }
    int ticks = 0;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { ++ticks; });
    timer.StartOnce(1);
    wxMilliSleep(50);

    m_bar->SetRange(0, 10);
    const int paintsBefore = m_bar->GetPaintCount();
    for (int i = 1; i <= 10; ++i)
        m_bar->SetPos(i);
    EXPECT_EQ(10, m_bar->GetPosRepaintCount());
    EXPECT_EQ(paintsBefore + 10, m_bar->GetPaintCount());
    EXPECT_EQ(0, ticks);

    // The timer was due all along: the event loop runs it.
    for (int i = 0; i < 50 && ticks == 0; ++i) {
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        wxMilliSleep(5);
    }
    EXPECT_EQ(1, ticks);
    m_frame->Hide();
}

// ---- Pop-up dialogs ----

TEST_F(SmallWindowsTest, PopupDialogsAreCreatedHiddenWithoutCaption)
{
    auto* progress = new CProgressDlg;
    auto* message = new CShowMsgDlg;
    auto* search = new CSearchDlg;
    ASSERT_TRUE(progress->Create(nullptr));
    ASSERT_TRUE(message->Create(nullptr));
    ASSERT_TRUE(search->Create(m_frame));
    for (wxDialog* dialog : std::initializer_list<wxDialog*>{progress, message, search}) {
        EXPECT_FALSE(dialog->IsShown());
        EXPECT_FALSE(dialog->HasFlag(wxCAPTION));
    }
    EXPECT_EQ(1017, progress->m_ctlProgress->GetId());
    EXPECT_EQ(progress, progress->m_ctlProgress->GetParent());
    EXPECT_EQ(1023, search->m_editSearch->GetId());
    EXPECT_EQ(wxRect(0, 0, 200, 30), search->m_editSearch->GetRect());
    for (wxDialog* dialog : std::initializer_list<wxDialog*>{progress, message, search})
        dialog->Destroy();
}

// The caption strip is a hidden child of the window it belongs to (never a
// window of its own that could stray from it), and its text fills it.
TEST_F(SmallWindowsTest, CaptionStripIsAHiddenChildFilledByItsText)
{
    auto* orphan = new CShowChnDlg;
    EXPECT_FALSE(orphan->Create(nullptr));
    delete orphan;

    auto* caption = new CShowChnDlg;
    ASSERT_TRUE(caption->Create(m_frame));
    EXPECT_FALSE(caption->IsShown());
    EXPECT_FALSE(caption->IsTopLevel());
    EXPECT_EQ(1014, caption->m_richCaption->GetId());
    caption->SetSize(0, 0, 600, 30);
    caption->SendSizeEvent();
    EXPECT_EQ(wxRect(0, 0, 600, 30), caption->m_richCaption->GetRect());
    caption->Destroy();
}

TEST_F(SmallWindowsTest, ProgressDialogIsDrivenAsLongOperationsDo)
{
    auto* dlg = new CProgressDlg;
    ASSERT_TRUE(dlg->Create());
    dlg->Show();
    dlg->SetSize(100, 100, 500, 30);
    dlg->m_ctlProgress->SetSize(0, 0, 500, 30);
    dlg->m_ctlProgress->SetRange(0, 4);
    dlg->m_ctlProgress->SetBgColor(RGB(255, 255, 255));
    dlg->m_ctlProgress->SetTextColor(RGB(0, 0, 0));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(i == 0 ? 0 : i - 1, dlg->m_ctlProgress->SetPos(i));
        dlg->m_ctlProgress->SetWindowText(CString("第") + CString(std::to_string(i)) + "项");
    }
    // The bar's border takes a pixel on each side.
    EXPECT_EQ(dlg->m_ctlProgress->GetClientSize().GetWidth() * 3 / 4, dlg->m_ctlProgress->GetFilledWidth());
    dlg->Destroy();
}

TEST_F(SmallWindowsTest, MessageWindowLaysOutSquareCloseButtonAndHidesOnClose)
{
    auto* dlg = new CShowMsgDlg;
    ASSERT_TRUE(dlg->Create(nullptr));
    dlg->SetSize(500, 50);
    dlg->SendSizeEvent();
    EXPECT_EQ(wxRect(0, 0, 50, 50), dlg->m_btnClose->GetRect());
    EXPECT_EQ(wxRect(50, 0, 450, 50), dlg->m_richMessage->GetRect());
    EXPECT_EQ(1108, dlg->m_btnClose->GetId());
    EXPECT_EQ(1014, dlg->m_richMessage->GetId());
    EXPECT_EQ(1023, dlg->m_editFocusSink->GetId());
    ASSERT_NE(nullptr, dlg->m_btnClose->GetToolTip());
    EXPECT_EQ(ToWx("关闭消息框。"), dlg->m_btnClose->GetToolTip()->GetTip());

    // A click hides the window without destroying it; it can be shown again.
    for (int round = 0; round < 2; ++round) {
        dlg->Show();
        wxCommandEvent click(wxEVT_BUTTON, 1108);
        click.SetEventObject(dlg->m_btnClose);
        dlg->m_btnClose->HandleWindowEvent(click);
        EXPECT_FALSE(dlg->IsShown());
    }

    // Timer 100 hides it as well; other timers are ignored.
    dlg->Show();
    dlg->OnTimer(7);
    EXPECT_TRUE(dlg->IsShown());
    dlg->OnTimer(CShowMsgDlg::kHideTimer);
    EXPECT_FALSE(dlg->IsShown());
    dlg->Destroy();
}

TEST_F(SmallWindowsTest, CaptionFormatCutsFaceAtCharacterBoundary)
{
    const testsupport::AppStateGuard guard(&CQuenlowApp::m_strFontName, &CQuenlowApp::m_nFontSize);
    auto* dlg = new CShowChnDlg;
    ASSERT_TRUE(dlg->Create(m_frame));

    const struct {
        CString face;
        CString expected;
    } cases[] = {
        // 20 two-byte characters: 31 bytes would end inside the 16th.
        {"华文楷体华文楷体华文楷体华文楷体华文楷体", "华文楷体华文楷体华文楷体华文楷"},
        {CString('a', 40), CString('a', 31)},
        {"Arial", "Arial"},
    };
    for (const auto& c : cases) {
        theApp.m_strFontName = c.face;
        theApp.m_nFontSize = 16;
        dlg->ApplyTextFormat();
        EXPECT_EQ(c.expected, dlg->m_cfCaption.face);
        EXPECT_LE(dlg->m_cfCaption.face.GetLength(), 31);
    }
    EXPECT_EQ(320, dlg->m_cfCaption.heightTwips);
    EXPECT_TRUE(dlg->m_cfCaption.bold);
    EXPECT_EQ(RGB(0, 0, 255), dlg->m_cfCaption.textColour);

    const wxTextCtrl* text = dlg->m_richCaption;
    EXPECT_EQ(16, text->GetFont().GetPointSize());
    EXPECT_EQ(wxFONTWEIGHT_BOLD, text->GetFont().GetWeight());
    EXPECT_EQ(wxColour(255, 153, 18), text->GetBackgroundColour());
    EXPECT_FALSE(text->IsEditable());

    dlg->Destroy();
}

// ---- Caption bar and button ----

TEST_F(SmallWindowsTest, CaptionBarFillsWithItsBackColourUnderIconAndText)
{
    auto* bar = new CMyCaptionBar;
    ASSERT_TRUE(bar->Create(m_frame, 1200));
    EXPECT_GE(bar->GetSize().GetHeight(), CMyCaptionBar::kFontHeight + 2 * CMyCaptionBar::kMargin);
    const COLORREF red = RGB(255, 0, 0);
    bar->SetBackColor(red);
    EXPECT_EQ(red, bar->GetBackColor());
    const wxSize size(400, bar->GetSize().GetHeight());

    // Without text and icon every pixel is the background colour.
    wxImage image = Render(size, [&](wxDC& dc) { bar->Draw(dc, size); });
    for (int x = 0; x < size.GetWidth(); ++x)
        for (int y = 0; y < size.GetHeight(); ++y)
            ASSERT_TRUE(IsColour(image, x, y, red)) << x << "," << y;

    wxImage blue(16, 16);
    blue.SetRGB(wxRect(0, 0, 16, 16), 0, 0, 255);
    bar->SetIcon(wxBitmap(blue));
    bar->SetTextColor(RGB(255, 255, 255));
    bar->SetText("出错了");
    image = Render(size, [&](wxDC& dc) { bar->Draw(dc, size); });
    EXPECT_TRUE(IsColour(image, CMyCaptionBar::kMargin + 8, size.GetHeight() / 2, RGB(0, 0, 255)));
    bool textDrawn = false;
    for (int x = 0; x < size.GetWidth(); ++x) {
        ASSERT_TRUE(IsColour(image, x, 0, red)) << "top row, column " << x;
        ASSERT_TRUE(IsColour(image, x, size.GetHeight() - 1, red)) << "bottom row, column " << x;
        for (int y = 0; y < size.GetHeight(); ++y) {
            if (x >= 200) {
                ASSERT_TRUE(IsColour(image, x, y, red)) << x << "," << y;
            }
            textDrawn = textDrawn || (x > 30 && IsColour(image, x, y, RGB(255, 255, 255)));
        }
    }
    EXPECT_TRUE(textDrawn);
}

TEST_F(SmallWindowsTest, ButtonEdgeIsSunkenWhenPressedAndFillNeverChanges)
{
    auto* button = new CMyButton;
    ASSERT_TRUE(button->Create(m_frame, 1300, wxString(), wxPoint(0, 0), wxSize(60, 30)));
    EXPECT_EQ(RGB(220, 0, 0), button->GetTextColor());
    const COLORREF fill = RGB(0, 200, 200);
    button->SetBkColor(fill);
    const wxRect rect(0, 0, 60, 30);
    const wxImage released = Render(rect.GetSize(), [&](wxDC& dc) { button->DrawItem(dc, rect, false); });
    const wxImage pressed = Render(rect.GetSize(), [&](wxDC& dc) { button->DrawItem(dc, rect, true); });

    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{30, 0}, std::pair{0, 15}})
        EXPECT_LT(Brightness(pressed, x, y), Brightness(released, x, y)) << "top-left edge at " << x << "," << y;
    for (const auto& [x, y] : {std::pair{59, 29}, std::pair{58, 28}, std::pair{30, 29}, std::pair{59, 15}})
        EXPECT_GT(Brightness(pressed, x, y), Brightness(released, x, y)) << "bottom-right edge at " << x << "," << y;
    EXPECT_TRUE(IsColour(released, 30, 15, fill));
    EXPECT_TRUE(IsColour(pressed, 30, 15, fill));
}

TEST_F(SmallWindowsTest, ButtonCaptionStaysInsideItsRectangle)
{
    auto* button = new CMyButton;
    ASSERT_TRUE(button->Create(m_frame, 1301, wxString(300, 'W'), wxPoint(0, 0), wxSize(60, 30)));
    const wxRect rect(20, 10, 60, 30);
    const wxImage image = Render(wxSize(100, 50), [&](wxDC& dc) { button->DrawItem(dc, rect, false); });
    int captionPixels = 0;
    for (int x = 0; x < 100; ++x) {
        for (int y = 0; y < 50; ++y) {
            if (!rect.Contains(x, y)) {
                ASSERT_TRUE(IsColour(image, x, y, kSentinel)) << x << "," << y;
            } else if (IsColour(image, x, y, RGB(220, 0, 0))) {
                ++captionPixels;
            }
        }
    }
    EXPECT_GT(captionPixels, 0);
}

TEST_F(SmallWindowsTest, ButtonClickSendsButtonEvent)
{
    m_frame->Show();
    auto* button = new CMyButton(m_frame, 1302, ToWx("交卷"), wxPoint(0, 0), wxSize(60, 30));
    int clicks = 0;
    m_frame->Bind(wxEVT_BUTTON, [&](wxCommandEvent& event) { clicks += event.GetId() == 1302; }, 1302);

    auto mouse = [&](wxEventType type, int x) {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, 10));
        event.SetEventObject(button);
        button->HandleWindowEvent(event);
    };
    mouse(wxEVT_LEFT_DOWN, 10);
    EXPECT_TRUE(button->IsPressed());
    mouse(wxEVT_LEFT_UP, 10);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(1, clicks);

    // Released outside the button: no click.
    mouse(wxEVT_LEFT_DOWN, 10);
    mouse(wxEVT_MOTION, 200);
    EXPECT_FALSE(button->IsPressed());
    mouse(wxEVT_LEFT_UP, 200);
    EXPECT_EQ(1, clicks);
    m_frame->Hide();
}

// ---- Browser wrapper ----

TEST(Explorer1Address, ClassifiesAddresses)
{
    using Kind = CExplorer1::AddressKind;
    const struct {
        CString address;
        Kind kind;
    } cases[] = {
        {"http://www.example.com/", Kind::Online},
        {"HTTPS://example.com/a", Kind::Online},
        {"about:blank", Kind::Blank},
        {"", Kind::Blank},
        {"/home/user/help.html", Kind::Local},
        {"file:///home/user/help.html", Kind::Local},
        {"AppData/Temp/word.htm", Kind::Local},
        {"mailto:someone@example.com", Kind::Unsupported},
        {"javascript:void(0)", Kind::Unsupported},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.kind, CExplorer1::ClassifyAddress(c.address)) << c.address.GetString();

    EXPECT_EQ(CString("/tmp/a b.html"), CExplorer1::LocalPathOf("file:///tmp/a%20b.html"));
    EXPECT_EQ(CString("/tmp/a.html"), CExplorer1::LocalPathOf("file://localhost/tmp/a.html"));
    // Escaped UTF-8 bytes of a file name come back as program text.
    EXPECT_EQ(CString("/tmp/词典.html"), CExplorer1::LocalPathOf("file:///tmp/%E8%AF%8D%E5%85%B8.html"));
    EXPECT_EQ(CString("/tmp/词典.html"), CExplorer1::LocalPathOf("/tmp/词典.html"));
}

TEST_F(SmallWindowsTest, BrowserShowsLocalPagesWithoutWebView)
{
    testsupport::TempFolder tmp;
    const std::string utf8Page = "<html><body><p>" + AnsiToUtf8Bytes(CString("单词 one").view()) + "</p></body></html>";
    const std::string gbPage = std::string("<html><body><p>") + CString("例句 two").GetString() + "</p></body></html>";
    tmp.write("utf8.html", utf8Page);
    tmp.write("gb.html", gbPage);
    tmp.write(AnsiToUtf8Bytes(CString("词典/page.html").view()), "\xEF\xBB\xBF" + utf8Page);

    auto* browser = new CExplorer1;
    ASSERT_TRUE(browser->Create(m_frame, 1001));
    const struct {
        CString address;
        CString expectedText;
    } cases[] = {
        {tmp.ansi() + "utf8.html", "单词 one"},
        {"file://" + tmp.ansi() + "gb.html", "例句 two"},
        {tmp.ansi() + "词典/page.html", "单词 one"},
        {"about:blank", ""},
        {tmp.ansi() + "missing.html", ""},
    };
    for (const auto& c : cases) {
        browser->Navigate(c.address);
        const wxString shown = browser->GetHtmlWindow()->ToText();
        EXPECT_EQ(ToWx(c.expectedText), shown.Strip(wxString::both)) << c.address.GetString();
        EXPECT_TRUE(browser->GetHtmlWindow()->IsShown());
    }
    EXPECT_EQ(CString(tmp.ansi() + "missing.html"), browser->GetLocationURL());
    EXPECT_FALSE(browser->HasWebView());
}

TEST_F(SmallWindowsTest, WebPageViewsHoldOnlyABrowser)
{
    CHelpView* help = new CHelpView;
    CEscapeDutyView* duty = new CEscapeDutyView;
    ASSERT_TRUE(help->Create(m_frame, 2001));
    ASSERT_TRUE(duty->Create(m_frame, 2002));
    for (CView* view : std::initializer_list<CView*>{help, duty}) {
        ASSERT_EQ(1u, view->GetChildren().GetCount());
        EXPECT_NE(nullptr, dynamic_cast<CExplorer1*>(view->GetChildren().front()));
    }
}

} // namespace
