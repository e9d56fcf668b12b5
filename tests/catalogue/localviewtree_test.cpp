#include <algorithm>
#include <cstdio>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/imaglist.h>

#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "ui/playercommand.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {

using namespace std::chrono_literals;

std::string U8(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

// A program folder with its data folders made and the application pointed at
// its user-data store and tables; the application's paths come back after.
struct SProgramWithStore {
    SProgramWithStore()
    {
        CQuenlowApp paths;
        ApplyStartupDefaults(paths, program.ansi());
        EXPECT_TRUE(CreateDataFolders(paths).empty());
        theApp.m_strUserDataDbPath = paths.m_strUserDataDbPath;
        theApp.m_strLocalPlaylistTable = paths.m_strLocalPlaylistTable;
        theApp.m_strPlayHistoryTable = paths.m_strPlayHistoryTable;
    }
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard{&CQuenlowApp::m_strUserDataDbPath, &CQuenlowApp::m_strLocalPlaylistTable,
                                     &CQuenlowApp::m_strPlayHistoryTable, &CQuenlowApp::m_nPlayIndex};
};

class LocalViewTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "tree");
        m_tree = new CLocalViewTree;
        ASSERT_TRUE(m_tree->Create(m_frame));
        m_root = m_tree->GetRootItem();
        theApp.m_arrPlayList.RemoveAll();
    }
    void TearDown() override
    {
        theApp.m_arrPlayList.RemoveAll();
        m_frame->Destroy();
    }

    wxTreeItemId Add(wxTreeItemId parent, const CString& text) { return m_tree->AppendItem(parent, ToWx(text)); }

    std::vector<CString> ChildTexts(wxTreeItemId item) const
    {
        std::vector<CString> texts;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = m_tree->GetFirstChild(item, cookie); child.IsOk();
             child = m_tree->GetNextChild(item, cookie))
            texts.push_back(FromWx(m_tree->GetItemText(child)));
        return texts;
    }

    wxFrame* m_frame = nullptr;
    CLocalViewTree* m_tree = nullptr;
    wxTreeItemId m_root;
};

TEST_F(LocalViewTreeTest, FindItemByTextSearchesFollowingSiblingsAndDescendantsDepthFirst)
{
    // 当前播放列表
    //   a1
    //     same      <- found before the later "same" of 播放历史
    //   a2
    // 播放历史
    //   same
    // tail
    const wxTreeItemId first = Add(m_root, "当前播放列表");
    const wxTreeItemId a1 = Add(first, "a1");
    const wxTreeItemId deepSame = Add(a1, "same");
    const wxTreeItemId a2 = Add(first, "a2");
    const wxTreeItemId history = Add(m_root, "播放历史");
    const wxTreeItemId historySame = Add(history, "same");
    const wxTreeItemId tail = Add(m_root, "tail");

    struct Case {
        const char* what;
        wxTreeItemId start;
        CString text;
        wxTreeItemId expected;
    };
    const Case cases[] = {
        {"the start item itself", first, "当前播放列表", first},
        {"a following sibling", first, "tail", tail},
        {"a descendant before a later sibling's child", first, "same", deepSame},
        {"descendants of a following sibling", first, "a2", a2},
        {"from a later sibling: its own child", history, "same", historySame},
        {"earlier siblings are not searched", history, "当前播放列表", wxTreeItemId()},
        {"descendants of earlier siblings are not searched", history, "a1", wxTreeItemId()},
        {"the parent of the start is not searched", a1, "当前播放列表", wxTreeItemId()},
        {"the text must match exactly (case)", first, "TAIL", wxTreeItemId()},
        {"the text must match exactly (whole text)", first, "播放", wxTreeItemId()},
        {"no such text", first, "none", wxTreeItemId()},
        {"invalid start", wxTreeItemId(), "tail", wxTreeItemId()},
    };
    for (const Case& c : cases) {
        const wxTreeItemId found = m_tree->FindItemByText(c.start, c.text);
        EXPECT_EQ(found.IsOk(), c.expected.IsOk()) << c.what;
        if (found.IsOk() && c.expected.IsOk()) {
            EXPECT_TRUE(found == c.expected) << c.what << ": found " << m_tree->GetItemText(found).utf8_str();
        }
    }
}

TEST_F(LocalViewTreeTest, DeleteChildItemsKeepsTheItemAndItsSiblings)
{
    const wxTreeItemId first = Add(m_root, "first");
    const wxTreeItemId child = Add(first, "child");
    Add(child, "grandchild");
    Add(first, "child2");
    const wxTreeItemId second = Add(m_root, "second");
    Add(second, "other");

    m_tree->DeleteChildItems(first);
    EXPECT_EQ(m_tree->GetChildrenCount(first, true), 0u);
    EXPECT_EQ(FromWx(m_tree->GetItemText(first)), "first");
    EXPECT_EQ(ChildTexts(second), std::vector<CString>{"other"});
    EXPECT_FALSE(m_tree->FindItemByText(first, "grandchild").IsOk());

    // An item without children stays as it is.
    m_tree->DeleteChildItems(first);
    EXPECT_EQ(m_tree->GetChildrenCount(m_root, false), 2u);
}

TEST_F(LocalViewTreeTest, AddFolderMediaAppendsVideoAndAudioInNameOrder)
{
    testsupport::TempFolder temp;
    temp.write("b.mp4", "video");
    temp.write("a.MP3", "audio");          // extensions in capitals count
    temp.write("c.txt", "text");           // not media: left out
    temp.write("sub.mp4/inner.mp4", "x");  // a folder with a media name: not entered, not listed
    temp.write(U8(u8"视频.avi"), "video");
    std::filesystem::create_symlink(temp.path() + "b.mp4", temp.path() + "link.mkv");
    std::filesystem::create_symlink(temp.path() + "missing.mp4", temp.path() + "dangling.mp4");

    const wxTreeItemId parent = Add(m_root, "当前播放列表");
    Add(parent, "kept");
    theApp.m_arrPlayList.Add("/earlier/entry.mp4");

    // The folder without its trailing "/": the paths get one.
    CString folder = temp.ansi();
    folder = folder.Left(folder.GetLength() - 1);
    m_tree->AddFolderMedia(parent, folder);

    const std::vector<CString> expectedNames = {"kept", "a.MP3", "b.mp4", "link.mkv", "视频.avi"};
    EXPECT_EQ(ChildTexts(parent), expectedNames);

    const int expectedImages[] = {-1, CLocalViewTree::kImageAudio, CLocalViewTree::kImageVideo,
                                  CLocalViewTree::kImageVideo, CLocalViewTree::kImageVideo};
    wxTreeItemIdValue cookie;
    int index = 0;
    for (wxTreeItemId child = m_tree->GetFirstChild(parent, cookie); child.IsOk();
         child = m_tree->GetNextChild(parent, cookie), ++index) {
        if (index == 0)
            continue;
        EXPECT_EQ(m_tree->GetItemImage(child), expectedImages[index]) << index;
        EXPECT_EQ(m_tree->GetItemImage(child, wxTreeItemIcon_Selected), expectedImages[index]) << index;
    }

    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 5);
    EXPECT_EQ(theApp.m_arrPlayList[0], "/earlier/entry.mp4");
    EXPECT_EQ(theApp.m_arrPlayList[1], temp.ansi() + "a.MP3");
    EXPECT_EQ(theApp.m_arrPlayList[2], temp.ansi() + "b.mp4");
    EXPECT_EQ(theApp.m_arrPlayList[3], temp.ansi() + "link.mkv");
    EXPECT_EQ(theApp.m_arrPlayList[4], temp.ansi() + "视频.avi");
}

// A click opens and closes an item with children (the tree has no expander
// buttons); a double click plays an item from each kind of top-level item.
TEST_F(LocalViewTreeTest, ClickOpensAndDoubleClickPlays)
{
    SProgramWithStore store;
    testsupport::TempProgramFolder& program = store.program;
    program.write("talks/one.mp4", "v");
    program.write("talks/two.mp3", "a");
    ASSERT_TRUE(theApp.AddPlayHistory("old.mp4", "/media/old.mp4"));
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "talks", program.ansi() + "talks", "", "", "", ""));

    std::vector<CString> posted;
    wxEvtHandler frame;
    frame.Bind(EVT_PLAYERCOMMAND, [&](CPlayerCommandEvent& event) { posted.push_back(event.GetKeyword()); });
    m_tree->SetCommandTarget(&frame);
    const wxTreeItemId current = Add(m_root, "当前播放列表");
    const wxTreeItemId currentItem = Add(current, "b.mp4");
    const wxTreeItemId history = Add(m_root, "播放历史");
    const wxTreeItemId historyItem = Add(history, "old.mp4");
    const wxTreeItemId folder = Add(m_root, "talks");
    const wxTreeItemId folderItem = Add(folder, "two.mp3");
    const auto doubleClick = [&](wxTreeItemId item) {
        m_tree->SetCaret(item);
        m_tree->OnDoubleClickTick();
        testsupport::DrainEvents();
    };

    // A click opens 播放历史 and a second one closes it.
    m_tree->SetCaret(history);
    m_tree->OnClickTick();
    EXPECT_TRUE(m_tree->IsExpanded(history));
    EXPECT_EQ(m_tree->GetItemImage(history), CLocalViewTree::kImageFolderOpen);
    m_tree->OnClickTick();
    EXPECT_FALSE(m_tree->IsExpanded(history));

    theApp.m_arrPlayList.RemoveAll();
    theApp.m_arrPlayList.Add("/m/a.mp4");
    theApp.m_arrPlayList.Add("/m/b.mp4");
    doubleClick(currentItem);
    EXPECT_EQ(theApp.m_nPlayIndex, 1);

    doubleClick(historyItem);
    EXPECT_EQ(theApp.m_nPlayIndex, -1);
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 1);
    EXPECT_EQ(theApp.m_arrPlayList[0], "/media/old.mp4");

    // A playlist folder's media become the current play list.
    doubleClick(folderItem);
    EXPECT_EQ(ChildTexts(current), (std::vector<CString>{"one.mp4", "two.mp3"}));
    EXPECT_EQ(theApp.m_nPlayIndex, 1);
    EXPECT_EQ(theApp.m_arrPlayList[1], program.ansi() + "talks/two.mp3");

    // A top-level item plays nothing.
    doubleClick(history);
    EXPECT_EQ(posted, std::vector<CString>(3, "HalvikSoftPlayerPlayLocalFile:"));
}

// Media files whose names are not UTF-8 on the disk (GB18030, a stray byte)
// are listed in their folder, shown with their Chinese, and a double click
// puts the very file into the play list.
TEST_F(LocalViewTreeTest, NamesThatAreNotUtf8AreListedAndPlay)
{
    SProgramWithStore store;
    testsupport::TempProgramFolder& program = store.program;
    program.write("odd/\xD6\xD0\xCE\xC4.mp4", "gb");
    program.write("odd/bad\xFF.mp3", "stray");
    program.write("odd/plain.mp4", "plain");
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "odd", program.ansi() + "odd", "", "", "", ""));
    wxEvtHandler frame;
    m_tree->SetCommandTarget(&frame);
    const wxTreeItemId current = Add(m_root, "当前播放列表");
    const wxTreeItemId folder = Add(m_root, "odd");
    m_tree->LoadFolderLevel(program.ansi() + "odd", folder);
    const std::vector<CString> shown = ChildTexts(folder);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2], "中文.mp4");

    struct Case {
        size_t child;
        const char* content;
    };
    for (const Case& c : {Case{0, "stray"}, Case{2, "gb"}}) {
        wxTreeItemIdValue cookie;
        wxTreeItemId item = m_tree->GetFirstChild(folder, cookie);
        for (size_t k = 0; k < c.child; ++k)
            item = m_tree->GetNextChild(folder, cookie);
        m_tree->SetCaret(item);
        m_tree->OnDoubleClickTick();
        testsupport::DrainEvents();
        ASSERT_EQ(theApp.m_arrPlayList.GetSize(), 3);
        ASSERT_GE(theApp.m_nPlayIndex, 0);
        std::string bytes;
        EXPECT_EQ(ReadRegularFile(theApp.m_arrPlayList[theApp.m_nPlayIndex], bytes, 1 << 20), EFileReadResult::Read);
        EXPECT_EQ(bytes, c.content);
        EXPECT_EQ(m_tree->GetChildrenCount(current, false), 3u);
    }
}

// A folder of many files is read and shown in slices: the click returns
// before the folder is in the tree, the items then come in name order, and a
// double click on one of them plays that very file once the play list
// stands (the request follows the list).
TEST_F(LocalViewTreeTest, ALargeFolderFillsInSlicesAndPlaysTheFileClicked)
{
    SProgramWithStore store;
    testsupport::TempProgramFolder& program = store.program;
    constexpr int kFiles = 40 * 1000;
    constexpr int kClicked = kFiles * 3 / 4 + 1;   // f30001.mp4
    const std::string folderFs = program.path() + "big/";
    std::filesystem::create_directories(folderFs);
    for (int n = kFiles - 1; n >= 0; --n) {
        char name[32];
        std::snprintf(name, sizeof name, "f%05d.mp4", n);
        std::ofstream(folderFs + name).put('v');
    }
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "big", program.ansi() + "big", "", "", "", ""));
    std::vector<CString> posted;
    wxEvtHandler frame;
    frame.Bind(EVT_PLAYERCOMMAND, [&](CPlayerCommandEvent& event) { posted.push_back(event.GetKeyword()); });
    m_tree->SetCommandTarget(&frame);
    const wxTreeItemId current = Add(m_root, "当前播放列表");
    const wxTreeItemId big = Add(m_root, "big");
    m_tree->SetItemImage(big, CLocalViewTree::kImageFolder);

    m_tree->SetCaret(big);
    m_tree->OnClickTick();
    EXPECT_TRUE(m_tree->IsFilling());
    EXPECT_LT(m_tree->GetChildrenCount(big, false), static_cast<size_t>(kFiles));
    EXPECT_TRUE(m_tree->IsExpanded(big)) << "the folder opens at once and fills while it shows";
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return !m_tree->IsFilling(); }, 60s));
    const std::vector<CString> shown = ChildTexts(big);
    ASSERT_EQ(shown.size(), static_cast<size_t>(kFiles));
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));

    wxTreeItemIdValue cookie;
    wxTreeItemId item = m_tree->GetFirstChild(big, cookie);
    for (int n = 0; n < kClicked; ++n)
        item = m_tree->GetNextChild(big, cookie);
    m_tree->SetCaret(item);
    m_tree->OnDoubleClickTick();
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return !m_tree->IsFilling() && !posted.empty(); }, 60s));
    ASSERT_EQ(theApp.m_arrPlayList.GetSize(), kFiles);
    EXPECT_EQ(theApp.m_arrPlayList[theApp.m_nPlayIndex], program.ansi() + "big/f30001.mp4");
    EXPECT_EQ(m_tree->GetChildrenCount(current, false), static_cast<size_t>(kFiles));
    EXPECT_EQ(FromWx(m_tree->GetItemText(m_tree->PlayingItem())), "f30001.mp4");
    EXPECT_EQ(posted.size(), 1u);
}

// Top-level items show an expander when they have something to show: the
// history by its entries, a playlist folder (filled only when opened) by
// what its folder holds. The expander opens the item once, without the
// plain click's own toggle.
TEST_F(LocalViewTreeTest, ItemsWithSomethingToShowHaveExpanders)
{
    SProgramWithStore store;
    testsupport::TempProgramFolder& program = store.program;
    program.write("talks/one.mp4", "v");
    program.write("talks/sub/two.mp3", "a");
    program.write("notes/readme.txt", "t");
    for (const char* name : {"talks", "notes"})
        ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, name, program.ansi() + name, "", "", "", ""));
    EXPECT_TRUE(m_tree->HasFlag(wxTR_HAS_BUTTONS));

    Add(m_root, "当前播放列表");
    const wxTreeItemId history = Add(m_root, "播放历史");
    Add(history, "old.mp4");
    const wxTreeItemId talks = Add(m_root, "talks");
    const wxTreeItemId notes = Add(m_root, "notes");
    m_tree->ShowExpanderIfFilled(talks, program.ansi() + "talks");
    m_tree->ShowExpanderIfFilled(notes, program.ansi() + "notes");
    EXPECT_TRUE(m_tree->ItemHasChildren(history));
    EXPECT_TRUE(m_tree->ItemHasChildren(talks));
    EXPECT_FALSE(m_tree->ItemHasChildren(notes)) << "no media and no sub-folder";

    // Opened by its expander, the folder is read then.
    m_tree->Expand(talks);
    EXPECT_TRUE(m_tree->IsExpanded(talks));
    EXPECT_EQ(ChildTexts(talks), (std::vector<CString>{"one.mp4", "sub"}));
    EXPECT_EQ(m_tree->GetItemImage(talks), CLocalViewTree::kImageFolderOpen);
    m_tree->Collapse(talks);
    EXPECT_EQ(m_tree->GetItemImage(talks), CLocalViewTree::kImageFolder);

    // A press on the history's expander opens it, and it stays open once
    // the plain click's delay has passed.
    m_frame->SetSize(400, 300);
    m_frame->Show();
    testsupport::RunLoopUntil([&] { return m_tree->IsShownOnScreen(); }, 2s);
    wxRect row;
    ASSERT_TRUE(m_tree->GetBoundingRect(history, row, true));
    wxPoint button;
    for (int x = 0; x < row.x; ++x) {
        int flags = 0;
        if (m_tree->HitTest(wxPoint(x, row.y + row.height / 2), flags) == history &&
            (flags & wxTREE_HITTEST_ONITEMBUTTON)) {
            button = wxPoint(x, row.y + row.height / 2);
            break;
        }
    }
    ASSERT_NE(button, wxPoint());
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetPosition(button);
    press.SetEventObject(m_tree);
    m_tree->ProcessWindowEvent(press);
    testsupport::RunLoopFor(std::chrono::milliseconds(CLocalViewTree::kClickDelay + 200));
    EXPECT_TRUE(m_tree->IsExpanded(history));
}

TEST_F(LocalViewTreeTest, AddFolderMediaOfAMissingOrEmptyPathAddsNothing)
{
    const wxTreeItemId parent = Add(m_root, "当前播放列表");
    m_tree->AddFolderMedia(parent, "/no/such/folder/");
    m_tree->AddFolderMedia(parent, "");
    EXPECT_EQ(m_tree->GetChildrenCount(parent), 0u);
    EXPECT_TRUE(theApp.m_arrPlayList.IsEmpty());
}

TEST_F(LocalViewTreeTest, ImageListCoversEveryImageTheTreeUses)
{
    wxImageList* images = m_tree->GetImageList();
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(images->GetImageCount(), CLocalViewTree::kImageCount);
    for (int i = 0; i < images->GetImageCount(); ++i) {
        const wxBitmap bitmap = images->GetBitmap(i);
        EXPECT_TRUE(bitmap.IsOk()) << i;
        EXPECT_EQ(bitmap.GetSize(), wxSize(16, 16)) << i;
    }
}

// The multi-selection on a shown tree: A, B (open: B1, B2), C, D.
class LocalViewTreeSelectionTest : public LocalViewTreeTest {
protected:
    void SetUp() override
    {
        LocalViewTreeTest::SetUp();
        a = Add(m_root, "A");
        b = Add(m_root, "B");
        b1 = Add(b, "B1");
        b2 = Add(b, "B2");
        c = Add(m_root, "C");
        d = Add(m_root, "D");
        m_tree->Expand(b);
        m_frame->SetSize(300, 400);
        m_frame->Show();
        testsupport::DrainEvents();
    }

    wxPoint Centre(wxTreeItemId item)
    {
        wxRect rect;
        EXPECT_TRUE(m_tree->GetBoundingRect(item, rect, true));
        return wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2);
    }
    // A left press; where the tree lets the toolkit handle it, the toolkit's
    // plain click is played: the item alone is selected and becomes the caret.
    void Click(wxTreeItemId item, bool ctrl = false, bool shift = false)
    {
        if (m_tree->OnLButtonDown(Centre(item), ctrl, shift)) {
            m_tree->UnselectAll();
            m_tree->SetCaret(item);
            m_tree->SelectItem(item);
        }
    }
    // The toolkit's own handling of the keys that go on to it is not needed here.
    void Key(int code, bool shift) { m_tree->OnKeyDown(code, shift); }
    std::vector<CString> Selected() const
    {
        std::vector<CString> texts;
        for (wxTreeItemId item : m_tree->GetSelectedShownItems())
            texts.push_back(FromWx(m_tree->GetItemText(item)));
        return texts;
    }
    CString Caret() const { return FromWx(m_tree->GetItemText(m_tree->GetFocusedItem())); }

    wxTreeItemId a, b, b1, b2, c, d;
};

TEST_F(LocalViewTreeSelectionTest, CtrlTogglesShiftSelectsRangesFromTheAnchor)
{
    using Texts = std::vector<CString>;
    Click(a);
    Click(c, false, true);
    EXPECT_EQ(Selected(), (Texts{"A", "B", "B1", "B2", "C"}));
    EXPECT_EQ(Caret(), "C");

    // Ctrl turns one item over and leaves the others.
    Click(b1, true);
    EXPECT_EQ(Selected(), (Texts{"A", "B", "B2", "C"}));
    EXPECT_EQ(Caret(), "B1");
    Click(b1, true);   // on the caret item itself
    EXPECT_EQ(Selected(), (Texts{"A", "B", "B1", "B2", "C"}));

    // After Ctrl the anchor is the caret: the range runs from B1, and what
    // lies outside it loses the selection.
    Click(d, false, true);
    EXPECT_EQ(Selected(), (Texts{"B1", "B2", "C", "D"}));
    EXPECT_EQ(Caret(), "D");
    // Upwards from the same anchor.
    Click(a, false, true);
    EXPECT_EQ(Selected(), (Texts{"A", "B", "B1"}));

    // Children of a closed item are not shown: ranges pass over them and
    // they keep their state.
    m_tree->Collapse(b);
    Click(a, true);   // the anchor moves to A
    Click(c, false, true);
    EXPECT_EQ(Selected(), (Texts{"A", "B", "C"}));
    EXPECT_TRUE(m_tree->IsSelected(b1));

    EXPECT_FALSE(m_tree->SelectRange(b2, b2));   // not shown
}

TEST_F(LocalViewTreeSelectionTest, ShiftArrowsGrowAndShrinkAndOtherKeysStartAfresh)
{
    using Texts = std::vector<CString>;
    Click(b);
    Click(d, true);   // a second item, so the keys' start clears something
    Click(a, true);
    Key(WXK_DOWN, true);   // no anchor yet: everything else goes, A and B stay
    EXPECT_EQ(Selected(), (Texts{"A", "B"}));
    EXPECT_EQ(Caret(), "B");
    Key(WXK_DOWN, true);
    EXPECT_EQ(Selected(), (Texts{"A", "B", "B1"}));
    Key(WXK_UP, true);     // back onto a selected item: the range shrinks
    EXPECT_EQ(Selected(), (Texts{"A", "B"}));
    EXPECT_EQ(Caret(), "B");

    // At the top nothing moves.
    Click(a);
    Key(WXK_UP, true);
    EXPECT_EQ(Caret(), "A");

    // A letter clears the selection before the toolkit's own search.
    Click(c, false, true);
    EXPECT_TRUE(m_tree->OnKeyDown('X', false));
    EXPECT_TRUE(Selected().empty());
    // Keys below the blank are the toolkit's alone.
    Click(c, false, true);
    EXPECT_TRUE(m_tree->OnKeyDown(WXK_TAB, false));
    EXPECT_FALSE(Selected().empty());
}

TEST_F(LocalViewTreeSelectionTest, SelectedItemsWalkInDisplayOrder)
{
    Click(b2);
    Click(a, true);
    Click(d, true);
    EXPECT_TRUE(m_tree->GetFirstSelected() == a);
    EXPECT_TRUE(m_tree->GetNextSelected(a) == b2);
    EXPECT_TRUE(m_tree->GetNextSelected(b2) == d);
    EXPECT_FALSE(m_tree->GetNextSelected(d).IsOk());
    EXPECT_TRUE(m_tree->GetPrevSelected(d) == b2);
    EXPECT_TRUE(m_tree->GetPrevSelected(b2) == a);
    EXPECT_FALSE(m_tree->GetPrevSelected(a).IsOk());
}

// A click on a closed playlist folder reads its first level from the disk
// each time; the whole-tree loader stops at linked folders.
TEST_F(LocalViewTreeTest, FolderLevelsComeFromTheDiskAndLinksAreNotFollowed)
{
    SProgramWithStore store;
    testsupport::TempProgramFolder& program = store.program;
    program.write("media/b.mp4", "v");
    program.write("media/a.txt", "not media");
    program.write("media/sub/inner.mp3", "a");
    program.write("media/sub/deeper/deep.mp4", "v");
    std::filesystem::create_symlink(program.path() + "media", program.path() + "media/sub/loop");
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "media", program.ansi() + "media/", "", "", "", ""));

    const wxTreeItemId folder = m_tree->AppendItem(m_root, "media", CLocalViewTree::kImageFolder);
    m_tree->SetCaret(folder);
    m_tree->OnClickTick();
    EXPECT_EQ(ChildTexts(folder), (std::vector<CString>{"b.mp4", "sub"}));
    EXPECT_TRUE(m_tree->IsExpanded(folder));
    EXPECT_EQ(m_tree->GetItemImage(folder), CLocalViewTree::kImageFolderOpen);

    // The sub-folder's path is the stored folder and the items' texts.
    const wxTreeItemId sub = m_tree->FindItemByText(folder, "sub");
    EXPECT_EQ(m_tree->ItemDiskPath(sub), program.ansi() + "media/sub");
    m_tree->SetCaret(sub);
    m_tree->OnClickTick();
    EXPECT_EQ(ChildTexts(sub), (std::vector<CString>{"deeper", "inner.mp3", "loop"}));

    // Closed again and clicked after a change on the disk: read anew.
    m_tree->SetCaret(folder);
    m_tree->OnClickTick();
    program.write("media/c.mp3", "a");
    m_tree->OnClickTick();
    EXPECT_EQ(ChildTexts(folder), (std::vector<CString>{"b.mp4", "c.mp3", "sub"}));

    // The whole tree at once, without going round the link.
    const wxTreeItemId whole = Add(m_root, "whole");
    m_tree->LoadFolderTree(program.ansi() + "media", whole);
    const wxTreeItemId wholeSub = m_tree->FindItemByText(whole, "sub");
    ASSERT_TRUE(wholeSub.IsOk());
    EXPECT_EQ(ChildTexts(m_tree->FindItemByText(wholeSub, "deeper")), std::vector<CString>{"deep.mp4"});
    EXPECT_EQ(m_tree->GetChildrenCount(m_tree->FindItemByText(wholeSub, "loop")), 0u);
}

TEST_F(LocalViewTreeTest, DoubleClickPrefersTheExactFileNameAndTheMarkLetsGoOfDeletedItems)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_nPlayIndex);
    wxEvtHandler frame;
    m_tree->SetCommandTarget(&frame);
    const wxTreeItemId current = Add(m_root, "当前播放列表");
    const wxTreeItemId item = Add(current, "a.mp4");
    theApp.m_arrPlayList.Add("/m/ba.mp4");
    theApp.m_arrPlayList.Add("/m/a.mp4");
    m_tree->SetCaret(item);
    m_tree->OnDoubleClickTick();
    EXPECT_EQ(theApp.m_nPlayIndex, 1);

    // Beside the talk catalogue there is no "当前播放列表": a file of a
    // playlist folder fills the play list alone, and no talk gets children.
    testsupport::TempFolder media;
    media.write("x.mp4", "v");
    media.write("y.mp3", "a");
    const wxTreeItemId talkTree = Add(m_root, "[1][T][S][x.mp4][E]");
    const wxTreeItemId folderItem = Add(Add(m_root, "folder"), "y.mp3");
    testsupport::AppStateGuard paths(&CQuenlowApp::m_strUserDataDbPath, &CQuenlowApp::m_strLocalPlaylistTable);
    testsupport::TempProgramFolder program;
    CQuenlowApp defaults;
    ApplyStartupDefaults(defaults, program.ansi());
    ASSERT_TRUE(CreateDataFolders(defaults).empty());
    theApp.m_strUserDataDbPath = defaults.m_strUserDataDbPath;
    theApp.m_strLocalPlaylistTable = defaults.m_strLocalPlaylistTable;
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "folder", media.ansi(), "", "", "", ""));
    m_tree->Delete(current);
    m_tree->SetCaret(folderItem);
    m_tree->OnDoubleClickTick();
    EXPECT_EQ(theApp.m_arrPlayList.GetSize(), 2);
    EXPECT_EQ(theApp.m_nPlayIndex, 1);
    EXPECT_EQ(m_tree->GetChildrenCount(talkTree), 0u);

    const wxTreeItemId list = Add(m_root, "list");
    const wxTreeItemId item2 = Add(list, "a.mp4");
    m_tree->MarkPlayingItem(item2);
    EXPECT_EQ(m_tree->GetItemImage(item2), CLocalViewTree::kImageMarked);
    m_tree->DeleteChildItems(list);
    EXPECT_FALSE(m_tree->PlayingItem().IsOk());
    // Marking another item after the deletion touches nothing that is gone.
    const wxTreeItemId next = Add(list, "b.mp4");
    m_tree->MarkPlayingItem(next);
    EXPECT_TRUE(m_tree->PlayingItem() == next);
}

} // namespace
