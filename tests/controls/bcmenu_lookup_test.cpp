// Finding items and records in a menu and its BCMenu sub-menus: by command
// (each item of a command in turn), by record text, sub-menus by text and by
// caption, positions by text, and the records' texts by position or command.
#include <gtest/gtest.h>

#include <vector>

#include <wx/menu.h>

#include "controls/bcmenu.h"

namespace {

// top:  Alpha (11) | 子菜单 > [Beta (12) | Alpha (11) | Deep > [Gamma (13)]]
//       | Delta (14) | Plain (a toolkit sub-menu) > [Hidden (15)]
class BCMenuLookupTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(top.CreatePopupMenu());
        top.AppendItem("Alpha", 0, 11);
        sub = top.AppendPopup("子菜单");
        sub->AppendItem("Beta", 0, 12);
        sub->AppendItem("Alpha", 0, 11);
        deep = sub->AppendPopup(L"Deep");
        deep->AppendItem("Gamma", 0, 13);
        top.AppendItem("Delta", 0, 14);
        auto* plain = new wxMenu;
        plain->Append(15, "Hidden");
        top.GetMenu()->AppendSubMenu(plain, "Plain");
        plainMenu = plain;
    }

    BCMenu top;
    BCMenu* sub = nullptr;
    BCMenu* deep = nullptr;
    wxMenu* plainMenu = nullptr;
};

TEST_F(BCMenuLookupTest, ItemsByCommandAreFoundDepthFirstInBCMenuSubMenus)
{
    const struct {
        UINT id;
        BCMenu* menu;
        int position;
    } cases[] = {
        {11, &top, 0},
        {12, sub, 0},
        {13, deep, 0},
        {14, &top, 2},
        {15, nullptr, -1},   // a toolkit sub-menu is not searched
        {99, nullptr, -1},
    };
    for (const auto& c : cases) {
        int position = 42;
        EXPECT_EQ(c.menu, top.FindItemMenu(c.id, position)) << c.id;
        EXPECT_EQ(c.position, position) << c.id;
    }

    // Every item of command 11, each once.
    std::vector<BCMenu*> menus;
    std::vector<int> positions;
    int position = -1;
    for (BCMenu* menu = top.FindItemMenu(11, position); menu;
         menu = top.FindNextItemMenu(11, position, menus, positions)) {
        menus.push_back(menu);
        positions.push_back(position);
    }
    EXPECT_EQ((std::vector<BCMenu*>{&top, sub}), menus);
    EXPECT_EQ((std::vector<int>{0, 1}), positions);
}

TEST_F(BCMenuLookupTest, RecordsBySubMenuTextOrCommand)
{
    EXPECT_EQ(deep->GetRecord(0), top.FindRecordByText(L"Gamma"));
    EXPECT_EQ(top.GetRecord(0), top.FindRecordByText(L"Alpha")) << "this menu's own record comes first";
    EXPECT_EQ(nullptr, top.FindRecordByText(L"alpha")) << "case counts";
    EXPECT_EQ(nullptr, top.FindRecordByText(L"Hidden")) << "the toolkit sub-menu has no records";

    EXPECT_EQ(deep->GetRecord(0), top.FindRecord(13));
    EXPECT_EQ(top.GetRecord(2), top.FindRecord(14));
    EXPECT_EQ(nullptr, top.FindRecord(99));
    // An item put in by the toolkit directly has no record anywhere.
    top.GetMenu()->Append(16, "no record");
    EXPECT_EQ(nullptr, top.FindRecord(16));

    EXPECT_EQ(sub, top.GetSubMenuByText("子菜单"));
    EXPECT_EQ(deep, top.GetSubMenuByText(L"Deep"));
    EXPECT_EQ(nullptr, top.GetSubMenuByText("Delta")) << "not a sub-menu";
    EXPECT_EQ(nullptr, top.GetSubMenuByText("Plain")) << "no record";
}

TEST_F(BCMenuLookupTest, SubMenuByCaptionReadsTheToolkitsText)
{
    // Owner-drawn items hold no text in the toolkit menu; the toolkit's own
    // sub-menu item does.
    EXPECT_EQ(plainMenu, top.GetSubMenuByCaption("Plain"));
    EXPECT_EQ(nullptr, top.GetSubMenuByCaption("子菜单"));
    EXPECT_EQ(nullptr, top.GetSubMenuByCaption("plain"));
    EXPECT_EQ(nullptr, top.GetSubMenuByCaption(nullptr));
}

TEST_F(BCMenuLookupTest, PositionsByText)
{
    EXPECT_EQ(2, top.GetItemPosition("Delta"));
    EXPECT_EQ(1, top.GetItemPosition(L"子菜单"));
    EXPECT_EQ(-1, top.GetItemPosition("Gamma")) << "only this menu's records";
    EXPECT_EQ(-1, top.GetItemPosition(static_cast<const char*>(nullptr)));

    // A menu whose items all open sub-menus answers -1, record or not.
    BCMenu popups;
    ASSERT_TRUE(popups.CreatePopupMenu());
    popups.AppendPopup("One");
    popups.AppendPopup("Two");
    EXPECT_EQ(-1, popups.GetItemPosition("Two"));
}

TEST_F(BCMenuLookupTest, TextsByPositionOrCommand)
{
    CString text;
    EXPECT_TRUE(top.GetItemText(2, text, BCMenu::MF_BYPOSITION));
    EXPECT_EQ(CString("Delta"), text);
    EXPECT_TRUE(top.GetItemText(13, text, BCMenu::MF_BYCOMMAND));
    EXPECT_EQ(CString("Gamma"), text);
    EXPECT_FALSE(top.GetItemText(9, text, BCMenu::MF_BYPOSITION));
    EXPECT_FALSE(top.GetItemText(99, text, BCMenu::MF_BYCOMMAND));

    EXPECT_TRUE(top.SetItemText(13, "伽马\tCtrl+G", BCMenu::MF_BYCOMMAND));
    EXPECT_EQ(CString("伽马\tCtrl+G"), deep->GetRecord(0)->GetText());
    EXPECT_TRUE(top.SetItemText(0, "Alpha 2", BCMenu::MF_BYPOSITION));
    EXPECT_EQ(CString("Alpha 2"), top.GetRecord(0)->GetText());
    EXPECT_FALSE(top.SetItemText(99, "none", BCMenu::MF_BYCOMMAND));
    EXPECT_FALSE(top.SetItemText(7, "none", BCMenu::MF_BYPOSITION));
}

} // namespace
