// Item operations of the owner-drawn menu: the flags new items get, records
// that stay in step with the toolkit menu through inserts, modifications and
// removals, sub-menus deleted with their items, and removal by text, which
// removes nothing for a text that no item has.
#include <gtest/gtest.h>

#include <vector>

#include <wx/menu.h>
#include <wx/weakref.h>

#include "controls/bcmenu.h"
#include "tests/controls/menusupport.h"

namespace {

// The texts of the records, in order.
std::vector<CString> RecordTexts(const BCMenu& menu)
{
    std::vector<CString> texts;
    for (int i = 0; i < menu.GetRecordCount(); ++i)
        texts.push_back(menu.GetRecord(i)->GetText());
    return texts;
}

// Records and toolkit items match one to one: each item carries the record
// at its own position.
void ExpectInStep(const BCMenu& menu)
{
    ASSERT_EQ(menu.GetMenuItemCount(), menu.GetRecordCount());
    for (int i = 0; i < menu.GetRecordCount(); ++i)
        EXPECT_EQ(menu.GetRecord(i), menu.GetItemData(i)) << "position " << i;
}

class BCMenuItemsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(menu.CreatePopupMenu()); }
    BCMenu menu;
};

TEST_F(BCMenuItemsTest, NewItemsAreOwnerDrawnAndIdZeroMakesASeparator)
{
    constexpr UINT S = BCMenu::MF_STRING;
    constexpr UINT P = BCMenu::MF_BYPOSITION;
    constexpr UINT O = BCMenu::MF_OWNERDRAW;
    constexpr UINT SEP = BCMenu::MF_SEPARATOR;
    const struct {
        UINT flags;
        uintptr_t id;
        UINT recordFlags;
        UINT state;   // of the toolkit item
    } cases[] = {
        {S | P, 0, SEP | O | P, SEP | O},
        {S, 0, SEP | O, SEP | O},
        {BCMenu::MF_CHECKED, 0, SEP | O, SEP | O},   // the other flags go
        {S, 7, O, O},
        {BCMenu::MF_CHECKED, 8, BCMenu::MF_CHECKED | O, BCMenu::MF_CHECKED | O},
        {BCMenu::MF_GRAYED, 9, BCMenu::MF_GRAYED | O, BCMenu::MF_GRAYED | BCMenu::MF_DISABLED | O},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(menu.AppendItem("x", c.flags, c.id));
        const int at = menu.GetMenuItemCount() - 1;
        EXPECT_EQ(c.recordFlags, menu.GetRecord(at)->m_flags) << "case " << at;
        EXPECT_EQ(c.state, menu.GetMenuState(static_cast<uintptr_t>(at), BCMenu::MF_BYPOSITION)) << "case " << at;
    }
    ExpectInStep(menu);

    // A pop-up must bring a sub-menu that no other menu holds; a refused one
    // leaves nothing behind.
    wxMenu other;
    auto* held = new wxMenu;
    other.AppendSubMenu(held, "held");
    EXPECT_FALSE(menu.AppendItem("held elsewhere", BCMenu::MF_POPUP, BCMenu::HandleId(held)));
    EXPECT_FALSE(BCMenu::IsOwnSubMenu(held));
    ExpectInStep(menu);
}

TEST_F(BCMenuItemsTest, InsertsKeepRecordsAndItemsInStep)
{
    menu.AppendItem("A", 0, 21);
    BCMenu* sub = menu.AppendPopup("Sub");
    sub->AppendItem("S1", 0, 31);
    sub->AppendItem("S2", 0, 32);

    EXPECT_TRUE(menu.InsertItem(static_cast<UINT>(-1), "End", BCMenu::MF_BYPOSITION, 22));
    EXPECT_TRUE(menu.InsertItem(0, "First", BCMenu::MF_BYPOSITION, 23));
    EXPECT_TRUE(menu.InsertItem(40, "Past the end", BCMenu::MF_BYPOSITION, 24));
    EXPECT_EQ((std::vector<CString>{"First", "A", "Sub", "End", "Past the end"}), RecordTexts(menu));
    ExpectInStep(menu);

    // By command: before that item, in the menu that holds it.
    EXPECT_TRUE(menu.InsertMenu(32, BCMenu::MF_BYCOMMAND, 33, "Before S2"));
    EXPECT_EQ((std::vector<CString>{"S1", "Before S2", "S2"}), RecordTexts(*sub));
    ExpectInStep(*sub);
    EXPECT_FALSE(menu.InsertItem(99, "nowhere", BCMenu::MF_BYCOMMAND, 34));
    EXPECT_EQ(5, menu.GetMenuItemCount());

    // A separator inserted by position.
    EXPECT_TRUE(menu.InsertItem(1, "", BCMenu::MF_BYPOSITION, 0));
    EXPECT_TRUE(menu.GetMenuState(1, BCMenu::MF_BYPOSITION) & BCMenu::MF_SEPARATOR);
    ExpectInStep(menu);
}

TEST_F(BCMenuItemsTest, ModifyChangesEveryItemOfTheCommand)
{
    menu.AppendItem("A", 0, 41);
    BCMenu* sub = menu.AppendPopup("Sub");
    sub->AppendItem("A too", BCMenu::MF_CHECKED, 41);
    sub->AppendItem("B", 0, 42);

    EXPECT_TRUE(menu.ModifyItem("改", 41));
    EXPECT_EQ(CString("改"), menu.GetRecord(0)->GetText());
    EXPECT_EQ(CString("改"), sub->GetRecord(0)->GetText());
    EXPECT_EQ(CString("B"), sub->GetRecord(1)->GetText());
    EXPECT_TRUE(sub->GetMenuState(41, BCMenu::MF_BYCOMMAND) & BCMenu::MF_CHECKED) << "the check stays";
    ExpectInStep(menu);
    ExpectInStep(*sub);

    // No text keeps the text.
    EXPECT_TRUE(menu.ModifyItem(static_cast<const char*>(nullptr), 42));
    EXPECT_EQ(CString("B"), sub->GetRecord(1)->GetText());

    // By the record's text: text and an image of its own; the toolkit menu
    // is not touched.
    menusupport::ResourceScope resources;
    resources.Bitmap(9311, menusupport::Picture(16, 15, RGB(0, 0, 200)), 24);
    EXPECT_TRUE(menu.ModifyItemByText("乙", "B", 9311));
    const BCMenuData* renamed = sub->GetRecord(1);
    EXPECT_EQ(CString("乙"), renamed->GetText());
    EXPECT_EQ(9311, renamed->m_imageResource);
    EXPECT_EQ(0, renamed->m_ownImageIndex);
    ASSERT_NE(nullptr, renamed->m_ownImages);
    EXPECT_GE(renamed->m_ownImages->GetImageCount(), 1);
    EXPECT_TRUE(menu.ModifyItemByText(static_cast<const char*>(nullptr), "乙", 9319)) << "a missing image";
    EXPECT_EQ(-1, renamed->m_imageResource);
    EXPECT_EQ(nullptr, renamed->m_ownImages);
    EXPECT_FALSE(menu.ModifyItemByText("x", "no such text"));

    // A command no item carries: a record of this menu, and FALSE.
    EXPECT_FALSE(menu.ModifyItem("ghost", 49));
    EXPECT_EQ(menu.GetMenuItemCount() + 1, menu.GetRecordCount());
    EXPECT_EQ(CString("ghost"), menu.GetRecord(menu.GetRecordCount() - 1)->GetText());
}

TEST_F(BCMenuItemsTest, RemovingAPopUpDeletesItsSubMenuRecordAndRegistrations)
{
    for (const bool deleteMenu : {false, true}) {
        SCOPED_TRACE(deleteMenu ? "DeleteMenu" : "RemoveMenu");
        BCMenu top;
        ASSERT_TRUE(top.CreatePopupMenu());
        top.AppendItem("A", 0, 51);
        BCMenu* sub = top.AppendPopup("Sub");
        BCMenu* nested = sub->AppendPopup("Nested");
        nested->AppendItem("N", 0, 52);
        top.AppendItem("B", 0, 53);
        wxWeakRef<wxMenu> subAlive(sub->GetMenu());
        wxWeakRef<wxMenu> nestedAlive(nested->GetMenu());
        const wxMenu* subHandle = sub->GetMenu();
        const wxMenu* nestedHandle = nested->GetMenu();

        const BOOL removed = deleteMenu ? top.DeleteMenu(1, BCMenu::MF_BYPOSITION)
                                        : top.RemoveMenu(1, BCMenu::MF_BYPOSITION);
        EXPECT_TRUE(removed);
        EXPECT_FALSE(subAlive);
        EXPECT_FALSE(nestedAlive);
        EXPECT_FALSE(BCMenu::IsOwnSubMenu(subHandle));
        EXPECT_FALSE(BCMenu::IsOwnSubMenu(nestedHandle));
        EXPECT_EQ(0, top.GetSubMenuCount());
        EXPECT_EQ((std::vector<CString>{"A", "B"}), RecordTexts(top));
        ExpectInStep(top);

        // By command, from the sub-menu holding it.
        BCMenu* again = top.AppendPopup("Again");
        again->AppendItem("X", 0, 54);
        again->AppendItem("Y", 0, 55);
        EXPECT_TRUE(deleteMenu ? top.DeleteMenu(54, BCMenu::MF_BYCOMMAND) : top.RemoveMenu(54, BCMenu::MF_BYCOMMAND));
        EXPECT_EQ((std::vector<CString>{"Y"}), RecordTexts(*again));
        ExpectInStep(*again);
        EXPECT_FALSE(top.RemoveMenu(9, BCMenu::MF_BYPOSITION));
        EXPECT_FALSE(top.DeleteMenu(99, BCMenu::MF_BYCOMMAND));
    }
}

TEST_F(BCMenuItemsTest, RemovingByTextTakesSeparatorsAroundAndNothingForAnUnknownText)
{
    // 0 A | 1 --- | 2 B | 3 --- | 4 C
    const auto build = [](BCMenu& m) {
        ASSERT_TRUE(m.CreatePopupMenu());
        m.AppendItem("A", 0, 61);
        m.AppendItem("", 0, 0);
        m.AppendItem("B", 0, 62);
        m.AppendItem("", 0, 0);
        m.AppendItem("C", 0, 63);
    };
    const struct {
        const char* text;
        int kind;
        int result;
        std::vector<CString> left;   // "" for a separator
    } cases[] = {
        {"B", 0, 2, {"A", "", "", "C"}},
        {"B", 1, 2, {"A", "", "C"}},
        {"B", 2, 2, {"A", "", "C"}},
        {"B", 3, 2, {"A", "C"}},
        {"A", 1, 0, {"", "B", "", "C"}},   // nothing before the first item
        {"A", 3, 0, {"", "B", "", "C"}},
        {"C", 3, 4, {"A", "", "B"}},       // nothing after the last
        // An unknown text removes nothing at all, separators included.
        {"none", 0, -1, {"A", "", "B", "", "C"}},
        {"none", 1, -1, {"A", "", "B", "", "C"}},
        {"none", 2, -1, {"A", "", "B", "", "C"}},
        {"none", 3, -1, {"A", "", "B", "", "C"}},
    };
    for (const bool deleteMenu : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << (deleteMenu ? "DeleteMenu " : "RemoveMenu ") << c.text << " kind "
                                            << c.kind);
            BCMenu m;
            build(m);
            const int result = deleteMenu ? m.DeleteMenu(CString(c.text), c.kind) : m.RemoveMenu(CString(c.text), c.kind);
            EXPECT_EQ(c.result, result);
            EXPECT_EQ(c.left, RecordTexts(m));
            ExpectInStep(m);
        }
    }
    BCMenu wide;
    build(wide);
    EXPECT_EQ(2, wide.RemoveMenu(std::wstring(L"B"), 3));
    EXPECT_EQ((std::vector<CString>{"A", "C"}), RecordTexts(wide));
}

TEST_F(BCMenuItemsTest, PopUpsShareTheParentsCheckImages)
{
    menusupport::ResourceScope resources;
    resources.Bitmap(9301, menusupport::Picture(16, 15, RGB(0, 0, 0)), 24);
    resources.Bitmap(9302, menusupport::Picture(16, 15, RGB(255, 255, 255)), 24);
    menu.SetCheckImages(9301, 9302);
    ASSERT_NE(nullptr, menu.GetCheckImages());
    BCMenu* sub = menu.AppendPopup("Sub");
    EXPECT_EQ(menu.GetCheckImages(), sub->GetCheckImages());
    // Check images of its own leave the parent's alone.
    sub->SetCheckImages(9302, 9301);
    EXPECT_NE(menu.GetCheckImages(), sub->GetCheckImages());
    EXPECT_EQ(2, menu.GetCheckImages()->GetImageCount());
    EXPECT_TRUE(menu.DeleteMenu(0, BCMenu::MF_BYPOSITION));
    EXPECT_EQ(2, menu.GetCheckImages()->GetImageCount());

    // A missing resource leaves no check images; ids of 0 change nothing.
    menu.SetCheckImages(9301, 9309);
    EXPECT_EQ(nullptr, menu.GetCheckImages());
    menu.SetCheckImages(9301, 9302);
    menu.SetCheckImages(0, 9302);
    EXPECT_NE(nullptr, menu.GetCheckImages());
}

} // namespace
