// The owner-drawn menu's data model and life: which toolkit menus a BCMenu
// deletes (each exactly once), the registry of sub-menus, attaching and
// detaching, item records, shared settings and the command-id mapping.
#include <gtest/gtest.h>

#include <vector>

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/weakref.h>

#include "controls/bcmenu.h"
#include "core/commandids.h"
#include "controls/btnst.h"

namespace {

// A menu with two BCMenu sub-menus (one nested in the other), one BCMenu
// sub-menu never put into the toolkit menu, and one plain toolkit sub-menu.
struct SMenuTree {
    explicit SMenuTree(BCMenu& top)
    {
        top.CreatePopupMenu();
        BCMenu* sub = top.CreateSubMenu();
        top.GetMenu()->AppendSubMenu(sub->GetMenu(), "sub");
        BCMenu* nested = sub->CreateSubMenu();
        sub->GetMenu()->AppendSubMenu(nested->GetMenu(), "nested");
        nested->GetMenu()->Append(101, "item");
        BCMenu* loose = top.CreateSubMenu();
        auto* plain = new wxMenu;
        plain->Append(102, "plain item");
        top.GetMenu()->AppendSubMenu(plain, "plain");

        handles = {top.GetMenu(), sub->GetMenu(), nested->GetMenu(), loose->GetMenu(), plain};
        for (wxMenu* menu : handles)
            alive.emplace_back(menu);
        registered = {sub->GetMenu(), nested->GetMenu(), loose->GetMenu()};
    }
    int CountAlive() const
    {
        int count = 0;
        for (const auto& ref : alive)
            count += ref ? 1 : 0;
        return count;
    }

    std::vector<wxMenu*> handles;
    std::vector<wxWeakRef<wxMenu>> alive;
    std::vector<wxMenu*> registered;
};

TEST(BCMenuLifecycle, DestroyMenuDeletesEveryMenuOnceAndForgetsTheSubMenus)
{
    BCMenu top;
    SMenuTree tree(top);
    for (wxMenu* sub : tree.registered)
        EXPECT_TRUE(BCMenu::IsOwnSubMenu(sub));
    EXPECT_FALSE(BCMenu::IsOwnSubMenu(top.GetMenu()));
    EXPECT_EQ(2, top.GetSubMenuCount());
    ASSERT_EQ(5, tree.CountAlive());

    EXPECT_TRUE(top.DestroyMenu());
    EXPECT_EQ(0, tree.CountAlive());
    for (wxMenu* sub : tree.registered)
        EXPECT_FALSE(BCMenu::IsOwnSubMenu(sub));
    EXPECT_EQ(nullptr, top.GetMenu());
    EXPECT_EQ(0, top.GetSubMenuCount());

    // Again: nothing left to destroy.
    EXPECT_FALSE(top.DestroyMenu());
}

TEST(BCMenuLifecycle, RepeatedCreateAndDestroyLeavesNothingBehind)
{
    for (int round = 0; round < 200; ++round) {
        std::vector<wxWeakRef<wxMenu>> alive;
        std::vector<wxMenu*> registered;
        {
            // Half the rounds end in DestroyMenu, half in the destructor alone.
            BCMenu top;
            SMenuTree tree(top);
            alive = tree.alive;
            registered = tree.registered;
            if (round % 2 == 0)
                top.DestroyMenu();
        }
        for (const auto& ref : alive)
            ASSERT_FALSE(ref) << "round " << round;
        for (wxMenu* sub : registered)
            ASSERT_FALSE(BCMenu::IsOwnSubMenu(sub)) << "round " << round;
    }
}

TEST(BCMenuLifecycle, AttachTakesOwnershipAndDetachGivesItBack)
{
    auto* menu = new wxMenu;
    wxWeakRef<wxMenu> alive(menu);
    {
        BCMenu holder;
        EXPECT_FALSE(holder.Attach(nullptr));
        ASSERT_TRUE(holder.Attach(menu));
        EXPECT_EQ(&holder, BCMenu::FromHandle(menu));

        BCMenu other;
        EXPECT_FALSE(other.Attach(menu)) << "a menu has one holder";
        EXPECT_FALSE(holder.Attach(new wxMenu)) << "a holder has one menu";

        EXPECT_EQ(menu, holder.Detach());
        EXPECT_EQ(nullptr, BCMenu::FromHandle(menu));
        EXPECT_FALSE(holder.DestroyMenu());
    }
    ASSERT_TRUE(alive) << "a detached menu belongs to the caller";

    {
        BCMenu holder;
        ASSERT_TRUE(holder.Attach(menu));
    }
    EXPECT_FALSE(alive) << "the holder's destructor deletes an attached menu";
}

TEST(BCMenuLifecycle, DestroyingAHeldSubMenuTakesItOutOfItsParent)
{
    wxMenu parent;
    auto* sub = new wxMenu;
    parent.AppendSubMenu(sub, "sub");
    parent.Append(1, "other");
    wxWeakRef<wxMenu> alive(sub);
    {
        BCMenu holder;
        ASSERT_TRUE(holder.Attach(sub));
    }
    EXPECT_FALSE(alive);
    ASSERT_EQ(1u, parent.GetMenuItemCount());
    EXPECT_EQ(1, parent.FindItemByPosition(0)->GetId());
    // The parent goes out of scope without deleting the sub-menu again.
}

TEST(BCMenuLifecycle, AMenuTheToolkitDeletedIsNotDeletedAgain)
{
    wxMenu parent;
    BCMenu holder;
    ASSERT_TRUE(holder.CreatePopupMenu());
    parent.AppendSubMenu(holder.GetMenu(), "sub");
    parent.Destroy(parent.FindItemByPosition(0));
    EXPECT_EQ(nullptr, holder.GetMenu());
    EXPECT_FALSE(holder.DestroyMenu());
}

TEST(BCMenuLifecycle, SubMenusNeedAParentMenu)
{
    BCMenu empty;
    EXPECT_EQ(nullptr, empty.CreateSubMenu());
    EXPECT_EQ(nullptr, empty.GetSubMenu(0));
    EXPECT_EQ(0, empty.GetMenuItemCount());
}

TEST(BCMenuLifecycle, GetSubMenuFindsTheToolkitSubMenuByPosition)
{
    BCMenu top;
    SMenuTree tree(top);
    EXPECT_EQ(tree.handles[1], top.GetSubMenu(0));
    EXPECT_EQ(tree.handles[4], top.GetSubMenu(1));
    EXPECT_EQ(nullptr, top.GetSubMenu(2));
    EXPECT_EQ(nullptr, top.GetSubMenu(-1));
}

// ---- The button's menu ----

class ButtonMenuTest : public testing::Test {
protected:
    void SetUp() override { m_frame = new wxFrame(nullptr, wxID_ANY, "button menu"); }
    void TearDown() override { m_frame->Destroy(); }
    wxFrame* m_frame = nullptr;
};

TEST_F(ButtonMenuTest, ButtonsDeleteTheirMenusWhenReplacedOrDestroyed)
{
    for (int round = 0; round < 50; ++round) {
        auto* button = new CButtonST;
        ASSERT_TRUE(button->Create(m_frame, 1000 + round, "menu"));
        auto* first = new wxMenu;
        first->AppendSubMenu(new wxMenu, "drop-down");
        wxWeakRef<wxMenu> firstAlive(first);
        ASSERT_EQ(CButtonST::kResultOk, button->SetPopupMenu(first, m_frame));

        auto* second = new wxMenu;
        wxWeakRef<wxMenu> secondAlive(second);
        ASSERT_EQ(CButtonST::kResultOk, button->SetPopupMenu(second, m_frame));
        EXPECT_FALSE(firstAlive) << "replacing the menu deletes the old one";
        ASSERT_TRUE(secondAlive);

        if (round % 2 == 0) {
            // A menu id without a menu template drops the menu and loads nothing.
            EXPECT_EQ(CButtonST::kResultNoImage, button->SetPopupMenu(33001u, m_frame));
            EXPECT_FALSE(secondAlive);
            EXPECT_EQ(nullptr, button->GetPopupMenu().GetMenu());
        }
        button->Destroy();
        EXPECT_FALSE(secondAlive) << "round " << round;
    }
}

// ---- Records and settings ----

TEST(BCMenuData, TextRoundTripsThroughBothCharacterSets)
{
    const struct {
        const char* ansi;
        const wchar_t* wide;
    } cases[] = {
        {"Open", L"Open"},
        {"播放", L"播放"},
        {"打开文件\tCtrl+O", L"打开文件\tCtrl+O"},
        {"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ansi);
        BCMenuData fromAnsi;
        fromAnsi.SetTextA(c.ansi);
        EXPECT_EQ(CString(c.ansi), fromAnsi.GetText());
        ASSERT_NE(nullptr, fromAnsi.GetTextW());
        EXPECT_EQ(std::wstring(c.wide), fromAnsi.GetTextW());

        BCMenuData fromWide;
        fromWide.SetTextW(c.wide);
        EXPECT_EQ(CString(c.ansi), fromWide.GetText());
    }

    BCMenuData none;
    none.SetTextA("x");
    none.SetTextA(nullptr);
    EXPECT_EQ(nullptr, none.GetTextW());
    EXPECT_EQ(CString(), none.GetText());
    EXPECT_EQ(-1, none.m_ownImageIndex);
    EXPECT_EQ(-1, none.m_imageResource);
}

TEST(BCMenuSettings, DefaultsAndTransparentColour)
{
    BCMenu menu;
    EXPECT_EQ(16, menu.GetImageWidth());
    EXPECT_EQ(15, menu.GetImageHeight());
    EXPECT_EQ(RGB(192, 192, 192), menu.GetTransparentColour());
    EXPECT_FALSE(menu.GetUseTransparentColour());
    menu.SetTransparentColour(RGB(255, 0, 255));
    EXPECT_EQ(RGB(255, 0, 255), menu.GetTransparentColour());
    EXPECT_TRUE(menu.GetUseTransparentColour());
    menu.ClearTransparentColour();
    EXPECT_FALSE(menu.GetUseTransparentColour());
}

TEST(BCMenuSettings, TheLookIsClassicUnlessTheXPStyleIsChosen)
{
    // The modes are shared by all menus (a button's menu sets them too):
    // start from the start-up value of the mode that counts here.
    BCMenu::SetDrawMode(0);
    EXPECT_EQ(BCMenu::WK_NT3, BCMenu::DetectWindowsKind());
    EXPECT_FALSE(BCMenu::IsNewShell());
    EXPECT_FALSE(BCMenu::IsXPThemed());
    EXPECT_FALSE(BCMenu::IsClassicTheme());
    EXPECT_FALSE(BCMenu::IsXPStyleActive());
    EXPECT_TRUE(BCMenu::GetSelectDisabled());

    BCMenu::SetDrawMode(1);
    EXPECT_TRUE(BCMenu::IsXPStyleActive());
    EXPECT_FALSE(BCMenu::GetSelectDisabled());
    BCMenu::SetDrawMode(0);
    EXPECT_FALSE(BCMenu::IsXPStyleActive());
}

TEST(BCMenuCommands, LargeCommandIdsGetToolkitIdsOfTheirOwn)
{
    EXPECT_EQ(100, BCMenu::ItemIdForCommand(100));
    EXPECT_EQ(kLargestToolkitId, BCMenu::ItemIdForCommand(kLargestToolkitId));
    EXPECT_EQ(5u, BCMenu::CommandForItemId(5));

    const int first = BCMenu::ItemIdForCommand(kCmdSearch);
    const int second = BCMenu::ItemIdForCommand(kLargestToolkitId + 1);
    EXPECT_LT(first, kLargestToolkitId + 1);
    EXPECT_NE(first, second);
    EXPECT_NE(wxID_ANY, first);
    EXPECT_EQ(first, BCMenu::ItemIdForCommand(kCmdSearch)) << "the same id for the whole run";
    EXPECT_EQ(static_cast<UINT>(kCmdSearch), BCMenu::CommandForItemId(first));
    EXPECT_EQ(static_cast<UINT>(kLargestToolkitId + 1), BCMenu::CommandForItemId(second));

    // The mapped id is a valid menu item id.
    wxMenu menu;
    menu.Append(first, "big command");
    EXPECT_NE(nullptr, menu.FindItem(first));
}

} // namespace
