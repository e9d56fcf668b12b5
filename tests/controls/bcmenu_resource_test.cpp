// Menus built from menu templates: a top level of plain text items, levels
// below drawn by the menu with their accelerator texts lined up; records
// rebuilt after the toolkit menu changed behind the menu's back; an item
// chosen by a typed character; the button's menu from a template with
// toolbar images, and its tooltip from a string resource.
#include <gtest/gtest.h>

#include <memory>

#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "controls/bcmenu.h"
#include "controls/btnst.h"
#include "ui/wxtext.h"
#include "tests/controls/menusupport.h"

namespace {

using menusupport::At;
using menusupport::Picture;
using menusupport::ResourceScope;

constexpr UINT kMenu = 9101;
constexpr UINT kOpen = 501;
constexpr UINT kSaveAs = 502;
constexpr UINT kExit = 503;
constexpr UINT kAbout = 504;

SMenuTemplateItem Item(const char* text, UINT id, UINT flags = 0) { return {text, id, flags, {}, false}; }
SMenuTemplateItem Popup(const char* text, std::vector<SMenuTemplateItem> children)
{
    return {text, 0, 0, std::move(children), true};
}

// 文件: an item with an accelerator, a separator, a plain item;
// 帮助: a disabled item and a sub-menu of its own.
std::vector<SMenuTemplateItem> TwoMenus()
{
    return {
        Popup("&File", {Item("&Open\tCtrl+O", kOpen), Item("", 0), Item("E&xit", kExit)}),
        Popup("帮助(&H)", {Item("&About", kAbout, BCMenu::MF_GRAYED),
                           Popup("&More", {Item("Save &As...\tCtrl+Shift+S", kSaveAs)})}),
    };
}

int TextWidth(const wxString& text)
{
    wxBitmap one(1, 1);
    wxMemoryDC dc(one);
    dc.SetFont(BCMenu::GetMenuFont());
    return dc.GetTextExtent(text).x;
}

TEST(BCMenuTemplate, TheTopLevelStaysTextAndTheLevelsBelowAreDrawnByTheMenu)
{
    ResourceScope resources;
    resources.Menu(kMenu, TwoMenus());
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));

    ASSERT_EQ(2, menu.GetMenuItemCount());
    ASSERT_EQ(2, menu.GetRecordCount());
    EXPECT_EQ(CString("&File"), menu.GetMenuString(0, BCMenu::MF_BYPOSITION));
    EXPECT_EQ(CString("帮助(&H)"), menu.GetMenuString(1, BCMenu::MF_BYPOSITION));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(menu.GetMenuState(static_cast<uintptr_t>(i), BCMenu::MF_BYPOSITION) & BCMenu::MF_POPUP) << i;
        EXPECT_EQ(nullptr, menu.GetItemData(i)) << i << " is a plain text item";
        EXPECT_EQ(BCMenu::MF_POPUP | BCMenu::MF_BYPOSITION, menu.GetRecord(i)->m_flags) << i;
    }

    BCMenu* file = BCMenu::FromHandle(menu.GetSubMenu(0));
    ASSERT_NE(nullptr, file);
    EXPECT_TRUE(BCMenu::IsOwnSubMenu(file));
    ASSERT_EQ(3, file->GetMenuItemCount());
    ASSERT_EQ(3, file->GetRecordCount());
    const struct {
        UINT id;
        bool separator;
    } fileItems[] = {{kOpen, false}, {0, true}, {kExit, false}};
    for (int i = 0; i < 3; ++i) {
        const UINT state = file->GetMenuState(static_cast<uintptr_t>(i), BCMenu::MF_BYPOSITION);
        EXPECT_TRUE(state & BCMenu::MF_OWNERDRAW) << i;
        EXPECT_EQ(fileItems[i].separator, (state & BCMenu::MF_SEPARATOR) != 0) << i;
        EXPECT_EQ(fileItems[i].id, file->GetMenuItemID(i)) << i;
        EXPECT_EQ(CString(), file->GetMenuString(static_cast<uintptr_t>(i), BCMenu::MF_BYPOSITION))
            << "an owner-drawn item's text is its record's";
    }
    // The toolkit shows the label and takes no shortcut of its own from the
    // accelerator text.
    const wxMenuItem* open = menu.GetSubMenu(0)->FindItemByPosition(0);
    EXPECT_EQ(wxString("Open"), open->GetItemLabelText());
    std::unique_ptr<wxAcceleratorEntry> shortcut(open->GetAccel());
    EXPECT_EQ(nullptr, shortcut.get());

    // Nested levels and flags of the template.
    BCMenu* help = BCMenu::FromHandle(menu.GetSubMenu(1));
    ASSERT_NE(nullptr, help);
    EXPECT_TRUE(help->GetMenuState(kAbout, BCMenu::MF_BYCOMMAND) & BCMenu::MF_GRAYED);
    BCMenu* more = BCMenu::FromHandle(help->GetSubMenu(1));
    ASSERT_NE(nullptr, more);
    EXPECT_EQ(kSaveAs, more->GetMenuItemID(0));
    int position = -1;
    EXPECT_EQ(more, menu.FindItemMenu(kSaveAs, position));

    wxWeakRef<wxMenu> moreAlive(more->GetMenu());
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(moreAlive);
    EXPECT_FALSE(BCMenu::IsOwnSubMenu(menu.GetSubMenu(0)));
}

TEST(BCMenuTemplate, AcceleratorsOfALevelLineUp)
{
    ResourceScope resources;
    resources.Menu(kMenu, {Popup("&Edit", {Item("&Undo\tCtrl+Z", 601), Item("Paste &Special...", 602),
                                           Item("&Go\tF5", 603), Item("Find in &files", 604)})});
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));
    BCMenu* edit = BCMenu::FromHandle(menu.GetSubMenu(0));
    ASSERT_NE(nullptr, edit);

    int widest = 0;
    for (const char* label : {"&Undo ", "Paste &Special... ", "&Go ", "Find in &files "})
        widest = std::max(widest, TextWidth(label));
    for (int i : {0, 2}) {
        const wxString text = ToWx(edit->GetRecord(i)->GetText());
        const wxString label = text.BeforeFirst('\t');
        EXPECT_GE(TextWidth(label), widest) << i << " is padded to the widest label and a space";
        EXPECT_LT(TextWidth(label.Left(label.length() - 1)), widest) << i << " has no space more than it needs";
        EXPECT_TRUE(label.StartsWith(i == 0 ? "&Undo " : "&Go ")) << i;
        EXPECT_EQ(wxString(i == 0 ? "\tCtrl+Z" : "\tF5"), text.Mid(label.length())) << i;
    }
    EXPECT_EQ(CString("Paste &Special..."), edit->GetRecord(1)->GetText()) << "items without accelerator stay";
}

TEST(BCMenuTemplate, PaddingMeasuresLabelsAndStopsWhenASpaceAddsNothing)
{
    const auto fiveEach = [](const std::wstring& text) { return static_cast<int>(text.size()) * 5; };
    // A font whose space has no width: padding would never reach the widest.
    const auto spaceless = [](const std::wstring& text) {
        int width = 0;
        for (wchar_t ch : text)
            width += ch == L' ' ? 0 : 7;
        return width;
    };
    const struct {
        const char* what;
        std::function<int(const std::wstring&)> measure;
        std::vector<std::wstring> texts;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"padded to the widest label plus a space", fiveEach,
         {L"A\tX", L"ABCD", L"AB\tY\tZ"},
         {L"A    \tX", L"ABCD", L"AB   \tY\tZ"}},
        {"the widest label with an accelerator gets one space", fiveEach,
         {L"Long\tX", L"S\tY"},
         {L"Long \tX", L"S    \tY"}},
        {"nothing without accelerators", fiveEach, {L"A", L"BB"}, {L"A", L"BB"}},
        {"a space of no width ends the padding", spaceless,
         {L"Open\tCtrl+O", L"Long label"},
         {L"Open \tCtrl+O", L"Long label"}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> texts = c.texts;
        BCMenu::PadLabels(texts, c.measure);
        EXPECT_EQ(c.expected, texts) << c.what;
    }
}

TEST(BCMenuTemplate, AMissingOrBrokenTemplateLeavesTheMenuAsItWas)
{
    ResourceScope resources;
    std::vector<uint8_t> broken = WriteMenuTemplate(TwoMenus());
    broken.resize(broken.size() - 6);   // the last item's text cut short
    SetResource(EResourceType::Menu, ResourceName(kMenu + 1), broken);

    BCMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem("kept", 0, 700));
    EXPECT_FALSE(menu.LoadMenu(kMenu + 7));
    EXPECT_FALSE(menu.LoadMenu(kMenu + 1));
    EXPECT_FALSE(menu.LoadMenu(static_cast<const char*>(nullptr)));
    ASSERT_EQ(1, menu.GetMenuItemCount());
    EXPECT_EQ(CString("kept"), menu.GetRecord(0)->GetText());
    RemoveResource(EResourceType::Menu, ResourceName(kMenu + 1));
}

TEST(BCMenuTemplate, PopUpsAddedToALoadedTopLevelStayPlainText)
{
    ResourceScope resources;
    resources.Menu(kMenu, TwoMenus());
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));
    // The toolkit menu gains an item at its front that has no record.
    menu.GetMenu()->Insert(0, 990, "front");
    EXPECT_EQ(1, menu.TopLevelOffset());

    BCMenu* view = menu.AppendPopup("&View");
    ASSERT_NE(nullptr, view);
    auto* tools = new wxMenu;
    ASSERT_TRUE(menu.InsertItem(2, "&Tools", BCMenu::MF_POPUP | BCMenu::MF_BYPOSITION, BCMenu::HandleId(tools)));

    // Toolkit: front, File, Tools, Help, View; records one place up.
    const char* texts[] = {"front", "&File", "&Tools", "帮助(&H)", "&View"};
    ASSERT_EQ(5, menu.GetMenuItemCount());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(CString(texts[i]), menu.GetMenuString(static_cast<uintptr_t>(i), BCMenu::MF_BYPOSITION)) << i;
        EXPECT_EQ(nullptr, menu.GetItemData(i)) << i << " is plain text";
    }
    ASSERT_EQ(4, menu.GetRecordCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(CString(texts[i + 1]), menu.GetRecord(i)->GetText()) << i;
    EXPECT_EQ(view, BCMenu::FromHandle(menu.GetSubMenu(4)));
    EXPECT_EQ(tools, menu.GetSubMenu(2));
}

// ---- Typed characters ----

TEST(BCMenuKeyboard, ATypedCharacterChoosesTheFirstItemWithAnAmpersandBeforeIt)
{
    BCMenu top;
    ASSERT_TRUE(top.CreatePopupMenu());
    BCMenu* level = top.AppendPopup("level");
    for (const char* text : {"&Open\tCtrl+O", "Save &As", "E&xit", "Ne&w &Window", "打开(&P)"})
        level->AppendItem(text, 0, 800 + level->GetMenuItemCount());

    const long execute = static_cast<long>(BCMenu::MNC_EXECUTE) << 16;
    const struct {
        UINT character;
        long expected;
        const char* why;
    } cases[] = {
        {'o', execute | 0, "the first item"},
        {'O', execute | 0, "either case"},
        {'a', execute | 1, "an ampersand inside the text"},
        {'x', execute | 2, ""},
        {'w', execute | 3, "two ampersands: the first item that has the key"},
        {'W', execute | 3, ""},
        {'e', 0, "letters without an ampersand before them choose nothing"},
        {'z', 0, "no item"},
        {'p', execute | 4, "after Chinese text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, BCMenu::FindMenuChar(c.character, BCMenu::MF_POPUP, level->GetMenu())) << c.why;

    // Only pop-up menus of BCMenu objects answer.
    EXPECT_EQ(0, BCMenu::FindMenuChar('o', 0, level->GetMenu())) << "a menu bar";
    wxMenu plain;
    plain.Append(1, "&Open");
    EXPECT_EQ(0, BCMenu::FindMenuChar('o', BCMenu::MF_POPUP, &plain));
    EXPECT_EQ(0, BCMenu::FindMenuChar('o', BCMenu::MF_POPUP, nullptr));
}

// ---- Synchronisation ----

TEST(BCMenuSync, ItemsAddedAndRemovedBehindTheMenusBackGetTheirRecordsRebuilt)
{
    ResourceScope resources;
    resources.Menu(kMenu, TwoMenus());
    BCMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));
    BCMenu* file = BCMenu::FromHandle(menu.GetSubMenu(0));
    ASSERT_NE(nullptr, file);
    // Command 777 has a shared image: a record made by the rebuild takes none.
    wxImageList images(16, 15, true, 1);
    images.Add(wxBitmap(Picture(16, 15, RGB(200, 0, 0))));
    ASSERT_GE(file->AddSharedImage(&images, 0, 777), 0);

    BCMenuData* openRecord = file->GetRecord(0);
    BCMenuData* separatorRecord = file->GetRecord(1);
    BCMenuData* exitRecord = file->GetRecord(2);
    file->GetMenu()->Insert(1, 777, "&Recent");
    ASSERT_EQ(4, file->GetMenuItemCount());
    ASSERT_EQ(3, file->GetRecordCount());

    // The next typed character finds the new item through its new record.
    EXPECT_EQ(static_cast<long>(BCMenu::MNC_EXECUTE) << 16 | 1,
              BCMenu::FindMenuChar('r', BCMenu::MF_POPUP, file->GetMenu()));
    ASSERT_EQ(4, file->GetRecordCount());
    const BCMenuData* recent = file->GetRecord(1);
    EXPECT_EQ(CString("&Recent"), recent->GetText());
    EXPECT_EQ(777u, recent->m_commandId);
    EXPECT_EQ(-1, recent->m_sharedImageIndex);
    EXPECT_EQ(-1, recent->m_imageResource);
    EXPECT_TRUE(file->GetMenuState(1, BCMenu::MF_BYPOSITION) & BCMenu::MF_OWNERDRAW);
    EXPECT_EQ(recent, file->GetItemData(1));
    // The records that matched stay, in the positions' order.
    EXPECT_EQ(openRecord, file->GetRecord(0));
    EXPECT_EQ(separatorRecord, file->GetRecord(2));
    EXPECT_EQ(exitRecord, file->GetRecord(3));
    EXPECT_EQ(exitRecord, file->GetItemData(3));

    // An item taken away outside: its record goes at the next rebuild.
    file->GetMenu()->Destroy(file->GetMenu()->FindItemByPosition(3));
    file->SynchronizeRecords();
    ASSERT_EQ(3, file->GetRecordCount());
    EXPECT_EQ(CString("&Recent"), file->GetRecord(1)->GetText());
    EXPECT_EQ(separatorRecord, file->GetRecord(2));
}

// ---- The button's menu ----

class ButtonTemplateMenuTest : public testing::Test {
protected:
    void SetUp() override { m_frame = new wxFrame(nullptr, wxID_ANY, "button menu"); }
    void TearDown() override { m_frame->Destroy(); }
    wxFrame* m_frame = nullptr;
};

TEST_F(ButtonTemplateMenuTest, MenuFromATemplateTakesTheImagesOfAToolbar)
{
    menusupport::LookScope look(0);
    ResourceScope resources;
    resources.Menu(kMenu, TwoMenus());
    // Buttons for Open and Exit with a separator between: the bitmap holds
    // one image per button, red for Open and blue for Exit.
    constexpr UINT kToolbar = 9201;
    resources.Toolbar(kToolbar, 16, 16, {kOpen, 0, kExit});
    resources.Bitmap(kToolbar,
                     Picture(32, 16, RGB(192, 192, 192),
                             {{wxRect(4, 4, 8, 8), RGB(255, 0, 0)}, {wxRect(20, 4, 8, 8), RGB(0, 0, 255)}}),
                     4);

    auto* button = new CButtonST;
    ASSERT_TRUE(button->Create(m_frame, 1001, "menu"));
    ASSERT_EQ(CButtonST::kResultOk, button->SetPopupMenu(kMenu, m_frame, FALSE, kToolbar, CSize(16, 16)));
    BCMenu& menu = button->GetPopupMenu();
    EXPECT_EQ(16, menu.GetImageHeight()) << "the image size grows to the toolbar's";
    BCMenu* file = BCMenu::FromHandle(menu.GetSubMenu(0));
    ASSERT_NE(nullptr, file);

    const struct {
        int position;
        COLORREF colour;
    } images[] = {{0, RGB(255, 0, 0)}, {2, RGB(0, 0, 255)}};
    for (const auto& image : images) {
        const BCMenuData* record = file->GetRecord(image.position);
        ASSERT_GE(record->m_sharedImageIndex, 0) << image.position;
        const wxImage shown = BCMenu::GetSharedImages()->GetBitmap(record->m_sharedImageIndex).ConvertToImage();
        EXPECT_EQ(image.colour, At(shown, 8, 8)) << "position " << image.position;
        EXPECT_TRUE(shown.IsTransparent(1, 1)) << "the toolbar's background lets the menu through";
    }

    // A toolbar that cannot be read drops the menu; so does a missing menu.
    EXPECT_EQ(CButtonST::kResultNoImage, button->SetPopupMenu(kMenu, m_frame, FALSE, kToolbar + 1));
    EXPECT_EQ(nullptr, button->GetPopupMenu().GetMenu());
    ASSERT_EQ(CButtonST::kResultOk, button->SetPopupMenu(kMenu, m_frame));
    EXPECT_EQ(CButtonST::kResultNoImage, button->SetPopupMenu(kMenu + 5, m_frame));
    EXPECT_EQ(nullptr, button->GetPopupMenu().GetMenu());
}

TEST_F(ButtonTemplateMenuTest, TooltipTextFromAStringResource)
{
    ResourceScope resources;
    resources.String(61001, "播放本课");
    resources.String(61002, "");
    auto* button = new CButtonST;
    ASSERT_TRUE(button->Create(m_frame, 1002, ""));
    button->SetTooltipText(61001);
    EXPECT_EQ(CString("播放本课"), button->GetTooltipText());
    // An empty or missing string changes nothing.
    button->SetTooltipText(61002);
    button->SetTooltipText(61003);
    EXPECT_EQ(CString("播放本课"), button->GetTooltipText());
}

} // namespace
