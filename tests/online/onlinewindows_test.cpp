// The cloud-disk pane and the help view at start-up: the pane loads nothing
// (an online page would create a costly web view), the help view shows the
// local help page without one.
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/toolbar.h>

#include "ui/panetoolbar.h"

#include "online/panhtmlview.h"
#include "online/playfrompanpane.h"
#include "online/updateformview.h"
#include "ui/explorer1.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/testsupport.h"

namespace {

class OnlineWindowsTest : public testing::Test {
protected:
    void SetUp() override { m_frame = new wxFrame(nullptr, wxID_ANY, "online"); }
    void TearDown() override { m_frame->Destroy(); }

    wxFrame* m_frame = nullptr;
};

TEST_F(OnlineWindowsTest, PanPaneShowsItsFirstViewAndLoadsNothing)
{
    auto* pane = new CPlayFromPanPane;
    ASSERT_TRUE(pane->Create(m_frame, "网盘浏览器", 605));
    ASSERT_NE(pane->m_wndView, nullptr);
    ASSERT_NE(pane->m_wndSpareView, nullptr);
    EXPECT_TRUE(pane->m_wndView->IsShown());
    EXPECT_FALSE(pane->m_wndSpareView->IsShown());
    EXPECT_FALSE(pane->m_wndView->m_wndBrowser->HasWebView());
    EXPECT_FALSE(pane->m_wndSpareView->m_wndBrowser->HasWebView());
    EXPECT_TRUE(pane->m_wndView->m_wndBrowser->GetLocationURL().IsEmpty());

    // The toolbar, the address box below it, the view below both down to
    // the bottom.
    pane->SetSize(400, 300);
    pane->Layout();
    const wxRect bar = pane->m_wndToolBar->GetRect();
    const wxRect box = pane->m_wndAddress->GetRect();
    const wxRect view = pane->m_wndView->GetRect();
    EXPECT_EQ(bar.GetTop(), 0);
    EXPECT_EQ(box.GetTop(), bar.GetBottom() + 1);
    EXPECT_EQ(view.GetTop(), box.GetBottom() + 1);
    EXPECT_EQ(view.GetBottom(), pane->GetClientSize().y - 1);
    EXPECT_EQ(view.GetWidth(), pane->GetClientSize().x);
    EXPECT_EQ(pane->m_wndToolBar->GetToolsCount(), 6u);
}

TEST_F(OnlineWindowsTest, PanViewKnowsWhetherTheFocusIsInside)
{
    auto* view = new CPanHtmlView;
    ASSERT_TRUE(view->Create(m_frame, wxID_ANY));
    auto* other = new wxPanel(m_frame, wxID_ANY, wxPoint(200, 0), wxSize(100, 100));
    view->SetSize(0, 0, 200, 200);
    m_frame->SetClientSize(300, 200);
    m_frame->Show();
    view->m_wndBrowser->SetFocus();
    wxYield();
    if (wxWindow::FindFocus() == nullptr)
        GTEST_SKIP() << "no window takes the focus on this display";
    EXPECT_TRUE(view->HasFocusWithin());
    other->SetFocus();
    wxYield();
    EXPECT_FALSE(view->HasFocusWithin());
}

TEST_F(OnlineWindowsTest, HelpViewShowsTheLocalHelpPage)
{
    testsupport::TempFolder temp;
    temp.write("Help.html", "<html><body>help</body></html>");
    const CString savedPath = theApp.m_strHelpPagePath;
    theApp.m_strHelpPagePath = temp.ansi() + "Help.html";

    auto* view = new CUpdateFormView;
    ASSERT_TRUE(view->Create(m_frame, 424));
    view->PrepareView();
    EXPECT_TRUE(view->m_wndBrowser->GetLocationURL().IsEmpty());
    const CString savedMode = theApp.m_strHelpViewMode;
    theApp.m_strHelpViewMode.Empty();
    const auto pressed = [view] {
        wxUpdateUIEvent update(ID_SHOW_HELP_COMMAND);
        view->ProcessWindowEvent(update);
        return update.GetChecked();
    };
    EXPECT_FALSE(pressed());
    view->OnShowHelp();
    EXPECT_EQ(view->m_wndBrowser->GetLocationURL(), theApp.m_strHelpPagePath);
    EXPECT_FALSE(view->m_wndBrowser->HasWebView());
    EXPECT_TRUE(pressed());

    // The ribbon's help command reaches the view as a menu command.
    temp.write("Other.html", "<html><body>other</body></html>");
    theApp.m_strHelpPagePath = temp.ansi() + "Other.html";
    wxCommandEvent command(wxEVT_MENU, ID_SHOW_HELP_COMMAND);
    view->ProcessWindowEvent(command);
    EXPECT_EQ(view->m_wndBrowser->GetLocationURL(), theApp.m_strHelpPagePath);

    // A second later the page is loaded once more.
    theApp.m_strHelpPagePath = temp.ansi() + "Help.html";
    view->OnReloadTick();
    EXPECT_EQ(view->m_wndBrowser->GetLocationURL(), theApp.m_strHelpPagePath);

    theApp.m_strHelpPagePath = savedPath;
    theApp.m_strHelpViewMode = savedMode;
}

} // namespace
