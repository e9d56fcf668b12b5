// The views nothing shows: the translation browser keeps the addresses
// opened in it, the dictionary form lays out one or two browsers below its
// strip, the word lists split their view, the word view copies a double
// click's selection for the frame to look up, and the link-click handler
// reads the clicked link's text out of an online page.
#include <gtest/gtest.h>

#include <memory>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "ui/onlinepage.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/dictionaryformview.h"
#include "vocabulary/dictview.h"
#include "vocabulary/docevthandler.h"
#include "vocabulary/myhtmlview.h"
#include "vocabulary/translationview.h"
#include "vocabulary/wordview.h"

namespace {

TEST(DormantViewsTest, TranslationBrowserKeepsItsAddressHistory)
{
    testsupport::TempFolder temp;
    temp.write("a.html", "<html><title>A</title></html>");
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = temp.ansi();
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views");
    auto* view = new CMyHtmlView;
    ASSERT_TRUE(view->Create(frame, 503));
    view->OpenAddress("  " + temp.ansi() + "a.html ");
    EXPECT_EQ(view->m_browser->GetLocationURL(), temp.ansi() + "a.html");
    view->OpenAddress(temp.ansi() + "b.html");
    EXPECT_EQ(view->m_arrAddresses, (std::vector<CString>{temp.ansi() + "b.html", temp.ansi() + "a.html"}));
    view->OpenAddress("   ");   // nothing typed: nothing opened or kept
    EXPECT_EQ(view->m_arrAddresses.size(), 2u);
    frame->Destroy();
}

// Opens the loopback server's page in the browser and waits until it has
// loaded (a test failure when it does not); false when this machine has no
// web engine.
bool LoadServedPage(CExplorer1& browser, const CLoopbackServer& server)
{
    auto loads = std::make_shared<int>(0);
    browser.SetPageListeners(nullptr, [loads] { ++*loads; });
    browser.Navigate(CString("http://127.0.0.1:" + std::to_string(server.port()) + "/"));
    if (browser.GetWebView() == nullptr)
        return false;
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return *loads == 1; }, testsupport::kWebEngineDeadline));
    return true;
}

// 查找 opens a find box above the page: typing finds the text in the page
// (all matches counted), a text that is not there finds nothing, and Esc
// closes the box. Needs the web engine.
TEST(DormantViewsTest, TranslationBrowserFindsTextInThePageWithWebEngine)
{
    CLoopbackServer server([](const std::string&) {
        return Page("<html><body><p>An apple a day; apple pie.</p></body></html>");
    });
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views", wxDefaultPosition, wxSize(500, 400));
    auto* view = new CMyHtmlView;
    ASSERT_TRUE(view->Create(frame, 503));
    frame->Show();
    if (!LoadServedPage(*view->m_browser, server)) {
        frame->Destroy();
        GTEST_SKIP() << "no web engine on this machine";
    }
    EXPECT_FALSE(view->m_findBox->IsShown());

    wxCommandEvent search(wxEVT_MENU, kCmdPanSearch);
    view->ProcessWindowEvent(search);
    EXPECT_TRUE(view->m_findBox->IsShown());
    view->m_findBox->SetValue("APPLE");
    EXPECT_EQ(view->m_nLastFound, 2) << "both, in any case";
    view->m_findBox->SetValue("cherry");
    EXPECT_EQ(view->m_nLastFound, -1);

    wxKeyEvent escape(wxEVT_KEY_DOWN);
    escape.m_keyCode = WXK_ESCAPE;
    view->m_findBox->ProcessWindowEvent(escape);
    EXPECT_FALSE(view->m_findBox->IsShown());
    frame->Destroy();
}

TEST(DormantViewsTest, DictionaryFormShowsOneOrTwoBrowsersBelowItsStrip)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views");
    auto* view = new CDictionaryFormView;
    ASSERT_TRUE(view->Create(frame, 422));
    view->SetSize(400, 450);
    view->LayoutControls();
    EXPECT_EQ(view->m_combo->GetPosition(), wxPoint(10, 0));
    EXPECT_EQ(view->m_browser1->GetRect(), wxRect(10, 50, 380, 400));
    EXPECT_FALSE(view->m_browser2->IsShown());
    view->m_bBothBrowsers = true;
    view->LayoutControls();
    EXPECT_EQ(view->m_browser1->GetRect(), wxRect(10, 50, 380, 200));
    EXPECT_EQ(view->m_browser2->GetRect(), wxRect(10, 250, 380, 200));
    frame->Destroy();
}

TEST(DormantViewsTest, WordListsSplitTheViewAFifthToTheRestInGreenOnWhite)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_dScaleX);
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views");
    auto* view = new CDictView;
    ASSERT_TRUE(view->Create(frame, 314));
    view->SetSize(503, 300);   // a width that a fifth does not divide
    view->LayoutControls();
    EXPECT_EQ(view->m_leftList->GetRect(), wxRect(0, 0, 100, 300));
    EXPECT_EQ(view->m_rightList->GetRect(), wxRect(100, 0, 403, 300));
    EXPECT_EQ(view->GetBackgroundColour(), *wxWHITE);
    for (wxListBox* list : {view->m_leftList, view->m_rightList})
        EXPECT_EQ(list->GetForegroundColour(), wxColour(0, 125, 0));

    struct Case {
        double scale;
        int pixels;
    };
    const Case cases[] = {
        {0.0, 22},   // no screen measured yet: the 1280-pixel scale
        {1.5, 33},   // a 45-pixel line
    };
    for (const Case& c : cases) {
        theApp.m_dScaleX = c.scale;
        view->SetListFont();
        EXPECT_EQ(view->m_leftList->GetFont().GetPixelSize().y, c.pixels) << c.scale;
        EXPECT_EQ(view->m_rightList->GetFont(), view->m_leftList->GetFont()) << c.scale;
    }
    frame->Destroy();
}

TEST(DormantViewsTest, TranslationFormHoldsOnlyItsLabel)
{
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views");
    auto* view = new CTranslationView;
    ASSERT_TRUE(view->Create(frame, 315));
    ASSERT_EQ(view->GetChildren().size(), 1u);
    EXPECT_EQ(view->GetChildren().front(), view->m_label);
    EXPECT_EQ(view->m_label->GetLabel(), "translation");
    frame->Destroy();
}

namespace {

// The clipboard itself: a word selected in an HTML window earlier leaves the
// clipboard object on the primary selection.
CString ClipboardText()
{
    wxTextDataObject data;
    wxTheClipboard->UsePrimarySelection(false);
    if (!wxTheClipboard->Open())
        return CString();
    const bool read = wxTheClipboard->GetData(data);
    wxTheClipboard->Close();
    return read ? FromWx(data.GetText()) : CString();
}

void SetClipboardText(const char* text)
{
    wxTheClipboard->UsePrimarySelection(false);
    ASSERT_TRUE(wxTheClipboard->Open());
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

} // namespace

// A main frame that only notes what the clipboard holds at each look-up
// the frame is asked for; registered while it exists.
class CClipboardLookUpHost : public IMainFrameHost {
public:
    CClipboardLookUpHost() { SetMainFrameHost(this); }
    ~CClipboardLookUpHost() override { SetMainFrameHost(nullptr); }

    void LookUpClipboardText() override { lookedUp.push_back(CString(ClipboardText()).Trim()); }
    std::vector<CString> lookedUp;

    wxEvtHandler* CommandTarget() override { return nullptr; }
    CVlcPlayer* MainPlayer() override { return nullptr; }
    void Play() override {}
    void Pause() override {}
    void PlayMediaWithScript(const CString&) override {}
    bool IsDictionaryPaneVisible() override { return false; }
    void ShowDictionaryPane() override {}
    void LookUpWordInPane(const CString&) override {}
    void NavigateDictionaryPane(const CString&) override {}
    void ShowDictionaryPopup(const CString&, int, int, int, int) override {}
    void HideDictionaryPopup() override {}
    void PrepareDictionaryPopup() override {}
    bool IsInDictionaryPopup(int, int) override { return false; }
    CString GetComboText(int) override { return CString(); }
    void SetComboText(int, const CString&) override {}
    bool ComboHasFocus(int) override { return false; }
    bool ComboListHas(int, const CString&) override { return false; }
    COLORREF GetColorButtonColor(int) override { return 0; }
    void ApplyPlaylistColors() override {}
};

// A double click starts the look-up 200 ms later; it copies the selection
// and has the frame look the clipboard up, and once more 200 ms after that,
// then stops. Each run copies anew, so a later copy of the engine's is seen.
TEST(DormantViewsTest, WordViewCopiesTheSelectionForTheFrameTwiceAfterADoubleClick)
{
    testsupport::TempFolder temp;
    temp.write("first.html", "<html><body><p>studies</p></body></html>");
    temp.write("second.html", "<html><body><p>lessons</p></body></html>");
    CClipboardLookUpHost host;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views", wxDefaultPosition, wxSize(400, 300));
    auto* view = new CWordView;
    ASSERT_TRUE(view->Create(frame, 2000));
    view->Show();
    frame->Show();
    view->m_browser->Navigate(temp.ansi() + "first.html");
    wxHtmlWindow* html = view->m_browser->GetHtmlWindow();

    wxMouseEvent doubleClick(wxEVT_LEFT_DCLICK);
    doubleClick.SetEventObject(html);
    html->GetEventHandler()->ProcessEvent(doubleClick);
    testsupport::DrainEvents();
    EXPECT_TRUE(view->m_timers.IsRunning(CWordView::kTimerLookUpSelection));
    EXPECT_TRUE(host.lookedUp.empty()) << "nothing is looked up before the timer";

    html->SelectAll();
    SetClipboardText("something else");
    // As a word selected with the mouse in the HTML window leaves it.
    wxTheClipboard->UsePrimarySelection(true);
    view->OnTimer(CWordView::kTimerLookUpSelection);
    EXPECT_EQ(host.lookedUp, std::vector<CString>{"studies"});
    EXPECT_FALSE(view->m_timers.IsRunning(CWordView::kTimerLookUpSelection));
    EXPECT_TRUE(view->m_timers.IsRunning(CWordView::kTimerLookUpAgain));

    view->m_browser->Navigate(temp.ansi() + "second.html");
    html->SelectAll();
    view->OnTimer(CWordView::kTimerLookUpAgain);
    EXPECT_EQ(host.lookedUp, (std::vector<CString>{"studies", "lessons"}));
    EXPECT_FALSE(view->m_timers.IsRunning(CWordView::kTimerLookUpSelection));
    EXPECT_FALSE(view->m_timers.IsRunning(CWordView::kTimerLookUpAgain));

    // Nothing selected: the clipboard keeps what it holds.
    view->m_browser->Navigate(temp.ansi() + "first.html");
    SetClipboardText("kept");
    view->CopySelection();
    EXPECT_EQ(ClipboardText(), "kept");
    frame->Destroy();
}

// The pages below act by their own scripts: a script run from outside would
// answer after the test has closed its view, and the toolkit hands such an
// answer to the view it no longer has.

// A click inside a link, on the link's own text or on an element within it,
// gives the link's inner text; the page shown when the handler attaches and
// the pages opened after it both report. Needs the web engine.
TEST(DormantViewsTest, LinkClickHandlerKeepsTheClickedLinksTextWithWebEngine)
{
    CLoopbackServer server([](const std::string& path) {
        if (path == "/second")   // clicks its link once loaded
            return Page("<html><body><a href='#b' id='b'>Second link</a><script>"
                        "window.addEventListener('load', function () { document.getElementById('b').click(); });"
                        "</script></body></html>");
        // Clicks inside its link when its address turns to "#go".
        return Page("<html><body><a href='#a'><span id='inner'>Next <b>page</b></span></a><script>"
                    "window.onhashchange = function () {"
                    "  if (location.hash == '#go') document.getElementById('inner').click();"
                    "};</script></body></html>");
    });
    const std::string site = "http://127.0.0.1:" + std::to_string(server.port());
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views", wxDefaultPosition, wxSize(500, 400));
    CExplorer1* browser = CExplorer1::CreateFilling(frame, 1001);
    ASSERT_NE(browser, nullptr);
    frame->Show();
    int loads = 0;
    browser->SetPageListeners(nullptr, [&loads] { ++loads; });
    SDocEvtHandler handler;
    EXPECT_FALSE(handler.Attach(browser)) << "no online page yet";

    browser->Navigate(CString(site + "/first"));
    if (browser->GetWebView() == nullptr) {
        frame->Destroy();
        GTEST_SKIP() << "no web engine on this machine";
    }
    // The address changes and loading ends before the page's document is
    // there: only the load event says it is.
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return loads == 1; }, testsupport::kWebEngineDeadline));
    ASSERT_TRUE(handler.Attach(browser));
    browser->Navigate(CString(site + "/first#go"));
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return handler.m_strText == "Next page"; }, testsupport::kWebEngineDeadline))
        << handler.m_strText.GetString();

    browser->Navigate(CString(site + "/second"));
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return handler.m_strText == "Second link"; },
                                          testsupport::kWebEngineDeadline))
        << handler.m_strText.GetString();
    frame->Destroy();
}

// In an online page the copy is the web engine's own, which reaches the
// clipboard a moment later. Needs the web engine.
TEST(DormantViewsTest, WordViewCopiesFromTheOnlinePageWithWebEngine)
{
    // The page selects its word itself before it counts as loaded.
    CLoopbackServer server([](const std::string&) {
        return Page("<html><body><p id='w'>studies</p><script>"
                    "var range = document.createRange();"
                    "range.selectNodeContents(document.getElementById('w'));"
                    "getSelection().removeAllRanges(); getSelection().addRange(range);"
                    "</script></body></html>");
    });
    auto* frame = new wxFrame(nullptr, wxID_ANY, "views", wxDefaultPosition, wxSize(500, 400));
    auto* view = new CWordView;
    ASSERT_TRUE(view->Create(frame, 2000));
    view->Show();
    frame->Show();
    if (!LoadServedPage(*view->m_browser, server)) {
        frame->Destroy();
        GTEST_SKIP() << "no web engine on this machine";
    }
    SetClipboardText("something else");
    view->OnTimer(CWordView::kTimerLookUpSelection);
    EXPECT_TRUE(testsupport::RunLoopUntil([] { return CString(ClipboardText()).Trim() == "studies"; },
                                          testsupport::kWebEngineDeadline))
        << ClipboardText().GetString();
    frame->Destroy();
}

} // namespace
