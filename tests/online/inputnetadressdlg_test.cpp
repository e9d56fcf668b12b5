#include <gtest/gtest.h>
#include <wx/bmpbuttn.h>
#include <wx/textctrl.h>

#include "online/inputnetadressdlg.h"

namespace {

class InputNetAdressDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dlg = new CInputNetAdressDlg;
        ASSERT_TRUE(m_dlg->Create(nullptr));
    }
    void TearDown() override { m_dlg->Destroy(); }

    CInputNetAdressDlg* m_dlg = nullptr;
};

TEST_F(InputNetAdressDlgTest, CreatedHiddenWithAnAddressBoxAndTwoIconButtons)
{
    EXPECT_FALSE(m_dlg->IsShown());
    ASSERT_NE(m_dlg->m_editAddress, nullptr);
    ASSERT_NE(m_dlg->m_btnPlay, nullptr);
    ASSERT_NE(m_dlg->m_btnClose, nullptr);
    EXPECT_TRUE(m_dlg->m_btnPlay->GetBitmap().IsOk());
    EXPECT_TRUE(m_dlg->m_btnClose->GetBitmap().IsOk());
    EXPECT_EQ(m_dlg->m_nIdleCountdown, 0);
}

// The box says what it is for, and Escape closes the bar from the box and
// from its buttons; other keys in the box are typing.
TEST_F(InputNetAdressDlgTest, BoxIsLabelledAndEscapeClosesTheBar)
{
    EXPECT_TRUE(m_dlg->m_editAddress->GetHint().Contains(wxString::FromUTF8("网络地址")));
    for (wxWindow* focus : std::initializer_list<wxWindow*>{m_dlg->m_editAddress, m_dlg->m_btnPlay, m_dlg->m_btnClose}) {
        m_dlg->ShowAt(wxPoint(100, 100));
        wxKeyEvent letter(wxEVT_CHAR_HOOK);
        letter.m_keyCode = 'a';
        letter.SetEventObject(focus);
        focus->GetEventHandler()->ProcessEvent(letter);
        EXPECT_TRUE(m_dlg->IsShown());
        wxKeyEvent escape(wxEVT_CHAR_HOOK);
        escape.m_keyCode = WXK_ESCAPE;
        escape.SetEventObject(focus);
        focus->GetEventHandler()->ProcessEvent(escape);
        EXPECT_FALSE(m_dlg->IsShown()) << focus->GetId();
    }
}

TEST_F(InputNetAdressDlgTest, LayoutFollowsTheScreenWidth)
{
    struct Case {
        int screenWidth;
        int half;
    };
    const Case cases[] = {
        {1280, 640},   // buttons at 640 and 665
        {1281, 640},   // integer division
        {1920, 960},
    };
    for (const Case& c : cases) {
        m_dlg->LayoutForScreenWidth(c.screenWidth);
        EXPECT_EQ(m_dlg->m_editAddress->GetRect(), wxRect(0, 0, c.half, 25)) << c.screenWidth;
        EXPECT_EQ(m_dlg->m_btnPlay->GetRect(), wxRect(c.half, 0, 25, 25)) << c.screenWidth;
        EXPECT_EQ(m_dlg->m_btnClose->GetRect(), wxRect(c.half + 25, 0, 25, 25)) << c.screenWidth;
    }
}

TEST_F(InputNetAdressDlgTest, HidesOnTheSixthIdleTick)
{
    EXPECT_FALSE(m_dlg->IsIdleTimerRunning()) << "a hidden bar ticks";
    m_dlg->ShowAt(wxPoint(320, 200));
    EXPECT_TRUE(m_dlg->IsShown());
    EXPECT_TRUE(m_dlg->IsIdleTimerRunning());
    EXPECT_EQ(m_dlg->m_nIdleCountdown, 6);
    for (int tick = 1; tick <= 5; ++tick) {
        m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer);
        ASSERT_TRUE(m_dlg->IsShown()) << "tick " << tick;
    }
    m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer + 1);   // not its timer
    EXPECT_TRUE(m_dlg->IsShown());
    m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer);
    EXPECT_FALSE(m_dlg->IsShown());
    EXPECT_FALSE(m_dlg->IsIdleTimerRunning());

    // Shown again, the full six seconds count again.
    m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer);
    m_dlg->ShowAt(wxPoint(320, 200));
    EXPECT_EQ(m_dlg->m_nIdleCountdown, 6);
    m_dlg->Hide();
}

TEST_F(InputNetAdressDlgTest, MouseMovementAndTypingRestartTheCountdown)
{
    m_dlg->ShowAt(wxPoint(0, 0));
    for (wxWindow* target : {static_cast<wxWindow*>(m_dlg), static_cast<wxWindow*>(m_dlg->m_editAddress),
                             static_cast<wxWindow*>(m_dlg->m_btnPlay), static_cast<wxWindow*>(m_dlg->m_btnClose)}) {
        for (int tick = 0; tick < 5; ++tick)
            m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer);
        ASSERT_EQ(m_dlg->m_nIdleCountdown, 1);
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetEventObject(target);
        motion.SetId(target->GetId());
        target->GetEventHandler()->ProcessEvent(motion);
        EXPECT_EQ(m_dlg->m_nIdleCountdown, 6) << target->GetId();
    }

    for (int tick = 0; tick < 5; ++tick)
        m_dlg->OnTimer(CInputNetAdressDlg::kIdleTimer);
    m_dlg->m_editAddress->SetValue("http://example.com/a.mp4");
    EXPECT_EQ(m_dlg->m_nIdleCountdown, 6);
    EXPECT_TRUE(m_dlg->IsShown());
    m_dlg->Hide();
}

} // namespace
