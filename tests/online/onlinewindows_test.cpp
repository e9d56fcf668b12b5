// The cloud-disk pane and the help view at start-up: the pane loads nothing
// (an online page would create a costly web view), the help view shows the
// local help page without one.
#include <gtest/gtest.h>
#include <wx/frame.h>

#include "online/panhtmlview.h"
#include "online/playfrompanpane.h"
#include "online/updateformview.h"
#include "shell/base/explorer1.h"
#include "shell/core/commandids.h"
#include "shell/core/quenlow.h"
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

    pane->SetSize(400, 300);
    pane->Layout();
    EXPECT_EQ(pane->m_wndView->GetSize(), pane->GetClientSize());
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
    view->OnShowHelp();
    EXPECT_EQ(view->m_wndBrowser->GetLocationURL(), theApp.m_strHelpPagePath);
    EXPECT_FALSE(view->m_wndBrowser->HasWebView());

    // The ribbon's help command reaches the view as a menu command.
    temp.write("Other.html", "<html><body>other</body></html>");
    theApp.m_strHelpPagePath = temp.ansi() + "Other.html";
    wxCommandEvent command(wxEVT_MENU, ID_SHOW_HELP_COMMAND);
    view->ProcessWindowEvent(command);
    EXPECT_EQ(view->m_wndBrowser->GetLocationURL(), theApp.m_strHelpPagePath);

    theApp.m_strHelpPagePath = savedPath;
}

} // namespace
