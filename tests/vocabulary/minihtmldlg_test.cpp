// The pop-up dictionary browser: its buttons leave their keyword for the main
// frame (the last click before the frame's tick wins), exit only hides the
// window, and the buttons and the browser sit where the window lays them.
#include <gtest/gtest.h>
#include <wx/frame.h>

#include "controls/btnst.h"
#include "ui/explorer1.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "vocabulary/minihtmldlg.h"

namespace {

class MiniHtmlDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dialog = new CMiniHtmlDlg;
        ASSERT_TRUE(m_dialog->Create(nullptr));
    }
    void TearDown() override { m_dialog->Destroy(); }

    void Click(int id)
    {
        CButtonST* button = m_dialog->GetButton(id);
        ASSERT_NE(button, nullptr) << id;
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(button);
        button->ProcessWindowEvent(click);
    }

    CMiniHtmlDlg* m_dialog = nullptr;
    testsupport::AppStateGuard m_guard {&CQuenlowApp::m_strWordPaneCommand, &CQuenlowApp::m_clrBackground};
};

TEST_F(MiniHtmlDlgTest, ButtonsLeaveTheirKeywordAndExitHides)
{
    struct Case {
        int button;
        const char* keyword;
    };
    const Case cases[] = {
        {CMiniHtmlDlg::kPrevWordButton, "OnBnClickedButtonPreword:"},
        {CMiniHtmlDlg::kNextWordButton, "OnBnClickedButtonNextword:"},
        {CMiniHtmlDlg::kSaveWordButton, "OnBnClickedButtonSaveword:"},
        {CMiniHtmlDlg::kDelWordButton, "OnBnClickedButtonDelword:"},
    };
    for (const Case& c : cases) {
        theApp.m_strWordPaneCommand.Empty();
        Click(c.button);
        EXPECT_EQ(theApp.m_strWordPaneCommand, CString(c.keyword));
        EXPECT_FALSE(m_dialog->GetButton(c.button)->GetTooltipText().IsEmpty());
    }
    // Save, then delete before the frame's tick: only the delete is left.
    Click(CMiniHtmlDlg::kSaveWordButton);
    Click(CMiniHtmlDlg::kDelWordButton);
    EXPECT_EQ(theApp.m_strWordPaneCommand, "OnBnClickedButtonDelword:");

    m_dialog->Show();
    m_dialog->m_browser->Navigate("about:blank");
    Click(CMiniHtmlDlg::kExitButton);
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_EQ(theApp.m_strWordPaneCommand, "OnBnClickedButtonDelword:") << "exit left a keyword";
    EXPECT_EQ(m_dialog->m_browser->GetLocationURL(), "about:blank");
}

TEST_F(MiniHtmlDlgTest, ButtonsInARowAndTheBrowserBelowThem)
{
    m_dialog->SetClientSize(500, 350);
    m_dialog->SendSizeEvent();
    struct Case {
        int button;
        int x;
    };
    for (const Case& c : {Case{CMiniHtmlDlg::kPrevWordButton, 0}, Case{CMiniHtmlDlg::kNextWordButton, 25},
                          Case{CMiniHtmlDlg::kSaveWordButton, 60}, Case{CMiniHtmlDlg::kDelWordButton, 85},
                          Case{CMiniHtmlDlg::kExitButton, 470}})
        EXPECT_EQ(m_dialog->GetButton(c.button)->GetRect(), wxRect(c.x, 0, 24, 24)) << c.button;
    EXPECT_EQ(m_dialog->m_browser->GetRect(), wxRect(0, 25, 500, 325));
}

// The pointed-at background is offset by the low 16 bits of the lesson
// background; an offset outside -255..255 (the usual colours) is refused and
// the buttons keep their own colours.
TEST(MiniHtmlDlgColours, PointedAtBackgroundFollowsTheLessonBackground)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_clrBackground);
    const auto hotColour = [](COLORREF background) {
        theApp.m_clrBackground = background;
        auto* dialog = new CMiniHtmlDlg;
        EXPECT_TRUE(dialog->Create(nullptr));
        COLORREF colour = 0;
        dialog->GetButton(CMiniHtmlDlg::kSaveWordButton)->GetColor(CButtonST::kColorBackHot, &colour);
        dialog->Destroy();
        return colour;
    };
    auto* parent = new wxFrame(nullptr, wxID_ANY, "buttons");
    auto* plain = new CButtonST;
    ASSERT_TRUE(plain->Create(parent, wxID_ANY));
    COLORREF own = 0;
    plain->GetColor(CButtonST::kColorBackHot, &own);
    parent->Destroy();
    EXPECT_EQ(hotColour(RGB(0x53, 0x53, 0x53)), own);
    EXPECT_NE(hotColour(RGB(0x20, 0x00, 0x00)), own);
}

} // namespace
