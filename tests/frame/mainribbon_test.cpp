// The main window's ribbon: layout, commands to the frame, update-UI from the
// frame, category tabs and the stand-in controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "core/commandids.h"
#include "ui/wxtext.h"
#include "frame/mainribbon.h"
#include "frame/ribbonlayout.h"

namespace {

void PumpEvents()
{
    for (int i = 0; i < 5; ++i) {
        wxYield();
        wxMilliSleep(5);
    }
}

class MainRibbonTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "ribbon test", wxDefaultPosition, wxSize(1400, 400));
        frame->Bind(wxEVT_MENU, [this](wxCommandEvent& event) { commands.push_back(event.GetId()); });
        ribbon = new CMainRibbon;
        ASSERT_TRUE(ribbon->Create(frame));
        frame->Show();
        frame->Layout();
        PumpEvents();
    }
    void TearDown() override { frame->Destroy(); }

    std::vector<CString> VisibleCategories()
    {
        std::vector<CString> names;
        for (int i = 0; i < ribbon->GetCategoryCount(); ++i) {
            if (ribbon->IsCategoryVisible(i))
                names.push_back(ribbon->GetCategoryName(i));
        }
        return names;
    }

    wxFrame* frame = nullptr;
    CMainRibbon* ribbon = nullptr;
    std::vector<int> commands;
};

TEST_F(MainRibbonTest, CategoriesInIndexOrderAndHidingTheVocabularyLeavesFourTabs)
{
    ASSERT_EQ(ribbon->GetCategoryCount(), 5);
    const std::vector<CString> all = {"主页", "播放列表", "词汇管理", "口语练习", "配置"};
    EXPECT_EQ(VisibleCategories(), all);
    EXPECT_EQ(ribbon->GetActiveCategory(), 0);
    EXPECT_EQ(ribbon->GetActiveCategoryName(), "主页");

    ribbon->ShowCategory(2, false);
    const std::vector<CString> four = {"主页", "播放列表", "口语练习", "配置"};
    EXPECT_EQ(VisibleCategories(), four);
    // A hidden category keeps its index and name.
    EXPECT_EQ(ribbon->GetCategoryName(3), "口语练习");
    EXPECT_FALSE(ribbon->IsCategoryVisible(2));
    EXPECT_EQ(ribbon->GetCategoryName(7), "");
    EXPECT_FALSE(ribbon->IsCategoryVisible(-1));
}

TEST_F(MainRibbonTest, HidingTheActiveCategoryActivatesAVisibleOne)
{
    ribbon->SetActiveCategory(3);
    ASSERT_EQ(ribbon->GetActiveCategoryName(), "口语练习");
    ribbon->ShowCategory(3, false);
    EXPECT_NE(ribbon->GetActiveCategory(), 3);
    EXPECT_TRUE(ribbon->IsCategoryVisible(ribbon->GetActiveCategory()));
}

TEST(RibbonLayoutTest, CommandsStandInTheirCategoryPanelAndPlace)
{
    struct SCase {
        int id;
        int category;
        const char* panel;
        const char* text;
        bool subItem;
    };
    const SCase cases[] = {
        {kCmdPlaylist, 0, "常用功能", "播放列表", false},
        {kCmdPlaylist, 1, "播放列表", "打开", false},
        {kCmdLocalWord, 0, "常用功能", "使用本地词典", true},
        {kCmdClickContinue, 0, "常用功能", "点读后继续播放", true},
        {kCmdParagraphBlank, 0, "段落控制", "", false},
        {kCmdBilingualListView, 0, "段落控制", "双语列表", false},
        {kCmdFontName, 0, "字体与颜色", "", false},
        {kCmdBackColor, 0, "字体与颜色", "背景颜色", false},
        {kCmdOffsetEdit, 0, "字幕微调", "偏移量", false},
        {kCmdCategoryGlobalIssues, 1, "TED演讲类别", "全球问题", false},
        {kCmdSortByDuration, 1, "排序", "演讲长度", false},
        {kCmdSearch, 1, "检索", "检索", false},
        {kCmdClearWordBook, 2, "我的词汇", "清空生词库", true},
        {kCmdCommonPhrases, 2, "我的词汇", "常用词组", false},
        {kCmdWordUnknown, 2, "判断", "不认识", false},
        {kCmdFollowReadAuto, 3, "训练模式", "自动", true},
        {kCmdRecordStop, 3, "录音DIY", "停止", false},
        {ID_SHOW_HELP_COMMAND, 4, "帮助", "查看", false},
        {kCmdUpdateSoft, 4, "软件更新", "更新软件", false},
    };
    const std::vector<SRibbonCategory>& layout = GetRibbonLayout();
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.id);
        const std::vector<SRibbonPlace> places = FindRibbonPlaces(c.id);
        const auto place = std::find_if(places.begin(), places.end(),
                                        [&](const SRibbonPlace& p) { return p.category == c.category; });
        ASSERT_NE(place, places.end());
        EXPECT_EQ(CString(layout[c.category].panels[place->panel].name), c.panel);
        EXPECT_EQ(CString(place->text), c.text);
        EXPECT_EQ(place->subItem >= 0, c.subItem);
    }
    EXPECT_EQ(FindRibbonPlaces(kCmdPlaylist).size(), 2u);
    EXPECT_EQ(FindRibbonPlaces(kCmdLocalWord).size(), 1u);
    EXPECT_TRUE(FindRibbonPlaces(kCmdHomePage).empty());

    // The one id of two elements is one command.
    const std::vector<int> ids = GetRibbonCommandIds();
    EXPECT_EQ(std::count(ids.begin(), ids.end(), kCmdPlaylist), 1);
    EXPECT_EQ(ids.size(), 79u);
}

TEST(RibbonLayoutTest, ApplicationMenuHoldsTheLooksInOrder)
{
    const SApplicationMenu& menu = GetApplicationMenuLayout();
    EXPECT_EQ(CString(menu.groupName), "换肤中心");
    const std::vector<int> order = {210, 205, 207, 219, 206, 208, 215, 216, 217, 218};
    ASSERT_EQ(menu.looks.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(menu.looks[i].id, order[i]);
    EXPECT_EQ(CString(menu.looks[7].text), "Office 2007 (黑色样式)(&L)");
    EXPECT_EQ(menu.about.id, 57664);
}

TEST_F(MainRibbonTest, BuiltPanelsAndButtonsFollowTheLayout)
{
    const std::vector<SRibbonCategory>& layout = GetRibbonLayout();
    wxRibbonBar* bar = ribbon->GetRibbonBar();
    const auto panelCount = [bar](int c) {
        int count = 0;
        for (wxWindow* child : bar->GetPage(c)->GetChildren())
            count += dynamic_cast<wxRibbonPanel*>(child) != nullptr;
        return count;
    };
    // Only the category on screen has its panels; another gets them when shown.
    EXPECT_GT(panelCount(0), 0);
    EXPECT_EQ(panelCount(1), 0);
    for (int c = 0; c < static_cast<int>(layout.size()); ++c) {
        ribbon->SetActiveCategory(c);
        wxRibbonPage* page = bar->GetPage(c);
        std::vector<CString> panels;
        for (wxWindow* child : page->GetChildren()) {
            if (auto* panel = dynamic_cast<wxRibbonPanel*>(child))
                panels.push_back(FromWx(panel->GetLabel()));
        }
        std::vector<CString> expected;
        for (const SRibbonPanel& panel : layout[c].panels)
            expected.push_back(panel.name);
        EXPECT_EQ(panels, expected) << "category " << c;

        for (const SRibbonPanel& panel : layout[c].panels) {
            for (const SRibbonElement& element : panel.elements) {
                SCOPED_TRACE(element.id);
                const bool isButton =
                    element.kind == ERibbonElementKind::Button || element.kind == ERibbonElementKind::Hybrid;
                CRibbonCommandBar* holder = ribbon->FindButtonBar(element.id, c);
                EXPECT_EQ(holder != nullptr, isButton);
                if (holder) {
                    EXPECT_EQ(holder->GetButtonText(element.id), element.text);
                }
            }
        }
    }
    // Elements without text are not shown.
    EXPECT_EQ(ribbon->FindButtonBar(kCmdParagraphBlank), nullptr);
    EXPECT_EQ(ribbon->FindButtonBar(kCmdFontBlank), nullptr);
    // kCmdPlaylist has a button in both categories.
    EXPECT_NE(ribbon->FindButtonBar(kCmdPlaylist, 0), ribbon->FindButtonBar(kCmdPlaylist, 1));
}

TEST_F(MainRibbonTest, MenusComeFromTheLayout)
{
    std::unique_ptr<CCommandMenu> dictionary = ribbon->CreateDropDownMenu(kCmdOpenDict);
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(dictionary->GetCommands(), (std::vector<int>{kCmdLocalWord, kCmdOnlineWord}));
    wxMenuItem* online = dictionary->GetMenu().FindItemByPosition(1);
    EXPECT_EQ(FromWx(online->GetItemLabel()), "使用网络词典");
    EXPECT_TRUE(online->IsCheckable());
    EXPECT_EQ(dictionary->CommandFromItem(online->GetId()), kCmdOnlineWord);
    EXPECT_EQ(dictionary->FindCommand(kCmdOnlineWord), online);
    EXPECT_FALSE(ribbon->CreateDropDownMenu(kCmdPlaylist));
    EXPECT_EQ(ribbon->CreateDropDownMenu(kCmdWordBook)->GetCommands(),
              (std::vector<int>{kCmdExportWords, kCmdImportWords, kCmdClearWordBook}));

    std::unique_ptr<CCommandMenu> app = ribbon->CreateApplicationMenu();
    wxMenuItem* group = app->GetMenu().FindItemByPosition(0);
    ASSERT_TRUE(group->IsSubMenu());
    EXPECT_EQ(FromWx(group->GetItemLabel()), "换肤中心");
    wxMenu* looks = group->GetSubMenu();
    ASSERT_EQ(looks->GetMenuItemCount(), 10u);
    wxMenuItem* seven = looks->FindItemByPosition(3);
    EXPECT_EQ(app->CommandFromItem(seven->GetId()), 219);
    EXPECT_EQ(FromWx(seven->GetItemLabel()), "Windows 7(&D)");
    EXPECT_EQ(seven->GetKind(), wxITEM_RADIO);
    ASSERT_TRUE(app->FindCommand(57664));
    EXPECT_EQ(FromWx(app->FindCommand(57664)->GetItemLabel()), "显示帮助信息");
}

TEST_F(MainRibbonTest, AButtonClickReachesTheFrameAsOneMenuCommand)
{
    int rawClicks = 0;
    frame->Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, [&](wxRibbonButtonBarEvent&) { ++rawClicks; });
    for (int category : {0, 1}) {
        CRibbonCommandBar* bar = ribbon->FindButtonBar(kCmdPlaylist, category);
        ASSERT_TRUE(bar);
        wxRibbonButtonBarEvent click(wxEVT_RIBBONBUTTONBAR_CLICKED, kCmdPlaylist, bar, bar->GetItemById(kCmdPlaylist));
        click.SetEventObject(bar);
        bar->ProcessWindowEvent(click);
    }
    CRibbonCommandBar* bar = ribbon->FindButtonBar(kCmdMouseWordPick);
    wxRibbonButtonBarEvent toggle(wxEVT_RIBBONBUTTONBAR_CLICKED, kCmdMouseWordPick, bar,
                                  bar->GetItemById(kCmdMouseWordPick));
    toggle.SetEventObject(bar);
    bar->ProcessWindowEvent(toggle);
    PumpEvents();

    EXPECT_EQ(commands, (std::vector<int>{kCmdPlaylist, kCmdPlaylist, kCmdMouseWordPick}));
    EXPECT_EQ(rawClicks, 0);
    // The toggle's pressed look is the frame's to give.
    EXPECT_FALSE(bar->IsButtonChecked(kCmdMouseWordPick));
}

TEST_F(MainRibbonTest, AMouseClickOnAToggleButtonIssuesItsCommandOnce)
{
    CRibbonCommandBar* bar = ribbon->FindButtonBar(kCmdMouseWordPick);
    const wxRect rect = bar->GetItemRect(kCmdMouseWordPick);
    ASSERT_FALSE(rect.IsEmpty());
    const wxPoint middle = rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2);
    for (wxEventType type : {wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
        wxMouseEvent mouse(type);
        mouse.SetPosition(middle);
        mouse.SetLeftDown(type == wxEVT_LEFT_DOWN);
        mouse.SetEventObject(bar);
        bar->ProcessWindowEvent(mouse);
    }
    PumpEvents();
    EXPECT_EQ(commands, std::vector<int>{kCmdMouseWordPick});
}

TEST_F(MainRibbonTest, FrameUpdateHandlersEnableAndCheckElements)
{
    bool allow = false;
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(allow); }, kCmdSkipBlank);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Check(!allow); }, kCmdMouseWordPick);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(allow); }, kCmdFontName);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(allow); }, kCmdFontColor);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Enable(allow); }, kCmdExampleVideoWindow);
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Check(!allow); }, kCmdPointRead);
    frame->Bind(
        wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.SetText(allow ? "Play" : ToWx("暂停")); }, kCmdAutoPlayExample);

    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    CRibbonCommandBar* home = ribbon->FindButtonBar(kCmdSkipBlank);
    EXPECT_FALSE(home->IsButtonEnabled(kCmdSkipBlank));
    EXPECT_TRUE(home->IsButtonChecked(kCmdMouseWordPick));
    EXPECT_TRUE(home->IsButtonEnabled(kCmdMouseWordPick));
    EXPECT_TRUE(home->IsButtonChecked(kCmdPointRead));
    EXPECT_FALSE(ribbon->FindStandIn(kCmdFontName)->IsEnabled());
    EXPECT_FALSE(ribbon->FindStandIn(kCmdFontColor)->IsEnabled());
    // Buttons of categories not on screen follow as well.
    EXPECT_FALSE(ribbon->FindButtonBar(kCmdExampleVideoWindow)->IsButtonEnabled(kCmdExampleVideoWindow));
    // A command without an update handler stays enabled.
    EXPECT_TRUE(home->IsButtonEnabled(kCmdPlaylist));
    EXPECT_EQ(ribbon->FindButtonBar(kCmdAutoPlayExample)->GetButtonText(kCmdAutoPlayExample), "暂停");

    allow = true;
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(home->IsButtonEnabled(kCmdSkipBlank));
    EXPECT_FALSE(home->IsButtonChecked(kCmdMouseWordPick));
    EXPECT_FALSE(home->IsButtonChecked(kCmdPointRead));
    EXPECT_TRUE(ribbon->FindStandIn(kCmdFontName)->IsEnabled());
    EXPECT_TRUE(ribbon->FindStandIn(kCmdFontColor)->IsEnabled());
    EXPECT_EQ(ribbon->FindButtonBar(kCmdAutoPlayExample)->GetButtonText(kCmdAutoPlayExample), "Play");
}

TEST_F(MainRibbonTest, PopupMenusTakeTheirStateFromTheFrame)
{
    int look = 216;
    frame->Bind(wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Check(e.GetId() == look); }, 205, 219);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Check(true); }, kCmdOnlineWord);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(false); }, kCmdLocalWord);
    std::unique_ptr<CCommandMenu> app = ribbon->CreateApplicationMenu();
    app->UpdateUI(ribbon);
    EXPECT_TRUE(app->FindCommand(216)->IsChecked());
    EXPECT_FALSE(app->FindCommand(210)->IsChecked());
    look = 205;
    app->UpdateUI(ribbon);
    EXPECT_TRUE(app->FindCommand(205)->IsChecked());
    EXPECT_FALSE(app->FindCommand(216)->IsChecked());

    std::unique_ptr<CCommandMenu> dictionary = ribbon->CreateDropDownMenu(kCmdOpenDict);
    dictionary->UpdateUI(ribbon);
    EXPECT_TRUE(dictionary->FindCommand(kCmdOnlineWord)->IsChecked());
    EXPECT_FALSE(dictionary->FindCommand(kCmdLocalWord)->IsChecked());
    EXPECT_FALSE(dictionary->FindCommand(kCmdLocalWord)->IsEnabled());
}

TEST_F(MainRibbonTest, ClickingATabRaisesOnePageChange)
{
    int changes = 0;
    frame->Bind(wxEVT_RIBBONBAR_PAGE_CHANGED, [&](wxRibbonBarEvent&) { ++changes; });
    auto* bar = static_cast<CMainRibbonBar*>(ribbon->GetRibbonBar());
    wxSizeEvent size(bar->GetSize());
    size.SetEventObject(bar);
    bar->ProcessWindowEvent(size);
    const wxRect tab = bar->GetTabRect(1);
    ASSERT_FALSE(tab.IsEmpty());

    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.SetPosition(tab.GetPosition() + wxPoint(tab.width / 2, tab.height / 2));
    down.SetEventObject(bar);
    bar->ProcessWindowEvent(down);
    wxMouseEvent up(wxEVT_LEFT_UP);
    up.SetPosition(down.GetPosition());
    up.SetEventObject(bar);
    bar->ProcessWindowEvent(up);
    PumpEvents();

    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ribbon->GetActiveCategoryName(), "播放列表");
    // A change made in code raises nothing.
    ribbon->SetActiveCategory(0);
    PumpEvents();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ribbon->GetActiveCategory(), 0);
}

TEST_F(MainRibbonTest, StandInsStartWithTheirDefaultsAndIssueTheirCommands)
{
    EXPECT_EQ(ribbon->GetComboText(kCmdFontName), "Arial");
    EXPECT_EQ(ribbon->GetComboText(kCmdFontSize), "16");
    auto* sizes = dynamic_cast<wxComboBox*>(ribbon->FindStandIn(kCmdFontSize));
    ASSERT_TRUE(sizes);
    std::vector<CString> items;
    for (const wxString& item : sizes->GetStrings())
        items.push_back(FromWx(item));
    const std::vector<CString> expected = {"12", "13", "14", "15", "16", "17", "18",
                                           "19", "20", "22", "24", "26", "28", ""};
    EXPECT_EQ(items, expected);
    auto* faces = dynamic_cast<wxComboBox*>(ribbon->FindStandIn(kCmdFontName));
    ASSERT_TRUE(faces);
    EXPECT_NE(faces->FindString("Arial"), wxNOT_FOUND);

    EXPECT_EQ(ribbon->GetColorButtonColor(kCmdFontColor), RGB(0, 0, 0));
    EXPECT_EQ(ribbon->GetColorButtonColor(kCmdBackColor), RGB(255, 255, 255));
    EXPECT_EQ(ribbon->GetEditText(kCmdOffsetEdit), "");
    EXPECT_TRUE(dynamic_cast<wxTextCtrl*>(ribbon->FindStandIn(kCmdOffsetEdit)));
    EXPECT_EQ(ribbon->FindStandIn(kCmdPlaylist), nullptr);
    EXPECT_EQ(ribbon->GetColorButtonColor(kCmdFontName), static_cast<COLORREF>(-1));

    // Setting values in code issues nothing.
    ribbon->SetEditText(kCmdOffsetEdit, "-200");
    ribbon->SetComboText(kCmdFontSize, "22");
    ribbon->SetComboText(kCmdFontName, "不存在的字体");
    EXPECT_EQ(ribbon->GetEditText(kCmdOffsetEdit), "-200");
    EXPECT_EQ(ribbon->GetComboText(kCmdFontSize), "22");
    EXPECT_EQ(ribbon->GetComboText(kCmdFontName), "不存在的字体");
    EXPECT_TRUE(commands.empty());

    // A combo choice, Enter in a combo or the edit box, a colour choice.
    wxCommandEvent choice(wxEVT_COMBOBOX, kCmdFontSize);
    choice.SetEventObject(sizes);
    sizes->ProcessWindowEvent(choice);
    wxCommandEvent enterFace(wxEVT_TEXT_ENTER, kCmdFontName);
    enterFace.SetEventObject(faces);
    faces->ProcessWindowEvent(enterFace);
    wxWindow* edit = ribbon->FindStandIn(kCmdOffsetEdit);
    wxCommandEvent enter(wxEVT_TEXT_ENTER, kCmdOffsetEdit);
    enter.SetEventObject(edit);
    edit->ProcessWindowEvent(enter);
    auto* color = dynamic_cast<CRibbonColorButton*>(ribbon->FindStandIn(kCmdBackColor));
    ASSERT_TRUE(color);
    EXPECT_EQ(color->GetAutomaticColor(), RGB(255, 255, 255));
    color->SelectColor(RGB(83, 83, 83));
    EXPECT_EQ(ribbon->GetColorButtonColor(kCmdBackColor), RGB(83, 83, 83));
    EXPECT_EQ(commands, (std::vector<int>{kCmdFontSize, kCmdFontName, kCmdOffsetEdit, kCmdBackColor}));
}

TEST_F(MainRibbonTest, ColourButtonIssuesFromItsMainPartOnly)
{
    auto* color = dynamic_cast<CRibbonColorButton*>(ribbon->FindStandIn(kCmdFontColor));
    ASSERT_TRUE(color);
    const auto click = [&](int x) {
        for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
            wxMouseEvent mouse(type);
            mouse.SetPosition(wxPoint(x, color->GetClientSize().y / 2));
            mouse.SetEventObject(color);
            color->ProcessWindowEvent(mouse);
        }
    };
    click(4);
    EXPECT_EQ(commands, std::vector<int>{kCmdFontColor});
    EXPECT_EQ(color->GetColor(), RGB(0, 0, 0));
}

} // namespace
