// The multi-select tree: Ctrl and a click turn one item over, Shift and a
// click select a range from the anchor, Shift and the arrows grow and
// shrink it, other keys and plain clicks start afresh; walks pass over the
// items of closed branches. Presses go through the tree's own event
// handlers, as the toolkit delivers them.
#include <gtest/gtest.h>

#include <vector>

#include <wx/frame.h>

#include "controls/viewtree.h"
#include "tests/windowsupport.h"

namespace {

// A tree with a shown root: R > A, B > (B1, B2), C, D, E.
class ViewTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "tree");
        m_tree = new CViewTree;
        ASSERT_TRUE(m_tree->Create(m_frame, wxID_ANY));
        const wxTreeItemId root = m_tree->AddRoot("R");
        a = m_tree->AppendItem(root, "A");
        b = m_tree->AppendItem(root, "B");
        b1 = m_tree->AppendItem(b, "B1");
        b2 = m_tree->AppendItem(b, "B2");
        c = m_tree->AppendItem(root, "C");
        d = m_tree->AppendItem(root, "D");
        e = m_tree->AppendItem(root, "E");
        m_tree->Expand(root);
        m_tree->Expand(b);
        m_frame->SetSize(300, 400);
        m_frame->Show();
        testsupport::DrainEvents();
    }
    void TearDown() override { m_frame->Destroy(); }

    // A left press as the toolkit delivers it: the tree's handler first,
    // then, where it lets the press go on, the toolkit tree's own.
    void Click(wxTreeItemId item, bool ctrl = false, bool shift = false)
    {
        wxRect rect;
        ASSERT_TRUE(m_tree->GetBoundingRect(item, rect, true));
        wxMouseEvent press(wxEVT_LEFT_DOWN);
        press.SetPosition(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2));
        press.SetControlDown(ctrl);
        press.SetShiftDown(shift);
        press.SetEventObject(m_tree);
        m_tree->ProcessWindowEvent(press);
    }
    // A key press; true when it goes on to the toolkit's own handling (which
    // is left out here: it would move and search the selection itself).
    bool Key(int code, bool shift = false) { return m_tree->OnKeyDown(code, shift); }
    // A modifier key pressed as the toolkit delivers it.
    void PressModifier(int code, bool shift, bool ctrl)
    {
        wxKeyEvent press(wxEVT_KEY_DOWN);
        press.m_keyCode = code;
        press.SetShiftDown(shift);
        press.SetControlDown(ctrl);
        press.SetEventObject(m_tree);
        m_tree->ProcessWindowEvent(press);
    }
    std::vector<wxString> Selected() const
    {
        std::vector<wxString> texts;
        for (wxTreeItemId item : m_tree->GetSelectedShownItems())
            texts.push_back(m_tree->GetItemText(item));
        return texts;
    }
    wxString Caret() const { return m_tree->GetItemText(m_tree->GetFocusedItem()); }

    wxFrame* m_frame = nullptr;
    CViewTree* m_tree = nullptr;
    wxTreeItemId a, b, b1, b2, c, d, e;

};

using Texts = std::vector<wxString>;

TEST_F(ViewTreeTest, CtrlTurnsOneItemOverAndAPlainClickStartsAfresh)
{
    Click(a);
    Click(c, true);
    Click(d, true);
    EXPECT_EQ((Texts{"A", "C", "D"}), Selected());
    EXPECT_EQ("D", Caret());
    Click(c, true);   // a selected item: only it goes
    EXPECT_EQ((Texts{"A", "D"}), Selected());
    EXPECT_EQ("C", Caret());
    Click(b1);
    EXPECT_EQ((Texts{"B1"}), Selected());
}

TEST_F(ViewTreeTest, ShiftSelectsFromTheAnchorAndNothingElseThatIsShown)
{
    // The shown items: R A B B1 B2 C D E; the anchor on the third (A's
    // neighbour B) and a click on the fifth (B2).
    Click(a);
    Click(e, true);
    Click(b, true);   // the caret, and the anchor of the next range
    Click(b2, false, true);
    EXPECT_EQ((Texts{"B", "B1", "B2"}), Selected()) << "the first items, A included, lose the selection";
    EXPECT_EQ("B2", Caret());
    // The anchor stays for the next Shift click, also upwards.
    Click(a, false, true);
    EXPECT_EQ((Texts{"A", "B"}), Selected());
    Click(d, false, true);
    EXPECT_EQ((Texts{"B", "B1", "B2", "C", "D"}), Selected());

    // Holding the keys down before a click keeps what is selected.
    PressModifier(WXK_SHIFT, true, false);
    PressModifier(WXK_CONTROL, false, true);
    EXPECT_TRUE(Key(WXK_ALT));
    EXPECT_EQ((Texts{"B", "B1", "B2", "C", "D"}), Selected());
    Click(e, false, true);
    EXPECT_EQ((Texts{"B", "B1", "B2", "C", "D", "E"}), Selected()) << "the anchor is still B";
    Click(a, true);
    EXPECT_EQ((Texts{"A", "B", "B1", "B2", "C", "D", "E"}), Selected());
}

TEST_F(ViewTreeTest, ShiftAndTheArrowsGrowAndShrinkTheRange)
{
    Click(c);
    EXPECT_FALSE(Key(WXK_DOWN, true));
    EXPECT_FALSE(Key(WXK_DOWN, true));
    EXPECT_EQ((Texts{"C", "D", "E"}), Selected());
    EXPECT_EQ("E", Caret());
    EXPECT_FALSE(Key(WXK_UP, true));
    EXPECT_EQ((Texts{"C", "D"}), Selected());
    EXPECT_EQ("D", Caret());
    // Past the end nothing moves.
    Click(e);
    EXPECT_FALSE(Key(WXK_DOWN, true));
    EXPECT_EQ("E", Caret());

    // A letter, Space or a plain arrow clears the selection and goes on to
    // the toolkit; keys below the blank leave it.
    for (const int code : {int('X'), int(WXK_SPACE), int(WXK_DOWN), int(WXK_F2)}) {
        Click(c, false, true);
        ASSERT_FALSE(Selected().empty());
        EXPECT_TRUE(Key(code)) << code;
        EXPECT_TRUE(Selected().empty()) << code;
    }
    Click(c, false, true);
    EXPECT_TRUE(Key(WXK_TAB));
    EXPECT_TRUE(Key(WXK_RETURN));
    EXPECT_FALSE(Selected().empty());
}

TEST_F(ViewTreeTest, ClosedBranchesArePassedOverAndKeepTheirState)
{
    Click(b1);
    Click(a, true);   // the caret leaves the branch before it closes
    m_tree->Collapse(b);
    // Ranges and walks see R A B C D E.
    EXPECT_FALSE(m_tree->SelectRange(b1, b2)) << "neither end shown";
    EXPECT_TRUE(m_tree->IsSelected(b1)) << "and nothing changed";
    EXPECT_TRUE(m_tree->IsSelected(a));
    Click(c, false, true);
    EXPECT_EQ((Texts{"A", "B", "C"}), Selected());
    EXPECT_TRUE(m_tree->IsSelected(b1));
    EXPECT_TRUE(m_tree->GetNextSelected(b) == c);
    EXPECT_TRUE(m_tree->GetPrevSelected(c) == b);
    EXPECT_TRUE(m_tree->GetFirstSelected() == a);
    EXPECT_FALSE(m_tree->GetPrevSelected(a).IsOk());
    // The root is shown here, and is first.
    EXPECT_TRUE(m_tree->FirstShownItem() == m_tree->GetRootItem());
    EXPECT_TRUE(m_tree->PrevShownItem(a) == m_tree->GetRootItem());
}

TEST_F(ViewTreeTest, DeletingTheAnchorLetsGoOfIt)
{
    Click(b, true);
    Click(d, false, true);
    m_tree->Delete(b);
    // The next range starts at the caret.
    Click(a, false, true);
    EXPECT_EQ((Texts{"A", "C", "D"}), Selected());
}

} // namespace
