// The playlist pane's commands on a tree of playlist folders, history entries
// and talks: the context menus, adding and removing folders, deleting history
// entries, queueing videos for online subtitles, exports and downloads.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/frame.h>

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "ui/messagebox.h"
#include "ui/playercommand.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"

namespace {
using Texts = std::vector<CString>;

class PlayListPaneCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        CQuenlowApp paths;
        ApplyStartupDefaults(paths, program.ansi());
        ASSERT_TRUE(CreateDataFolders(paths).empty());
        guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strUserDataDbPath,
                                                &CQuenlowApp::m_strLocalPlaylistTable,
                                                &CQuenlowApp::m_strPlayHistoryTable,
                                                &CQuenlowApp::m_strTalkInfoDbPath,
                                                &CQuenlowApp::m_strPlaylistDir,
                                                &CQuenlowApp::m_strTextExportDir,
                                                &CQuenlowApp::m_strLrcExportDir, &CQuenlowApp::m_strCacheDir,
                                                &CQuenlowApp::m_strDownloaderPath, &CQuenlowApp::m_strAppDir,
                                                &CQuenlowApp::m_strSubtitleCommand});
        guard.Keep(&CQuenlowApp::m_arrPlayList).Keep(&CQuenlowApp::m_arrSubtitleFetchList);
        theApp.m_arrPlayList.RemoveAll();
        testsupport::TakeMessage();

        m_frame = new wxFrame(nullptr, wxID_ANY, "pane");
        m_pane = new CPlayListPane;
        ASSERT_TRUE(m_pane->Create(m_frame, "Playlist(播放列表)", 602));
        tree = m_pane->m_wndTree;
        tree->SetCommandTarget(&m_target);
        m_target.Bind(EVT_PLAYERCOMMAND, [this](CPlayerCommandEvent& event) { posted.push_back(event.GetKeyword()); });
        root = tree->GetRootItem();
    }
    void TearDown() override
    {
        SetMessageBoxHandler({});
        m_frame->Destroy();
    }

    // The local media view: the current play list, one history entry and a
    // playlist folder "media" with a video (with its lesson), a video
    // without one and an audio file.
    void BuildLocalView()
    {
        program.write("media/talk.mp4", "v");
        program.write("media/talk.script", "not a real lesson");
        program.write("media/bare.mkv", "v");
        program.write("media/song.mp3", "a");
        ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "media", program.ansi() + "media", "", "", "", ""));
        ASSERT_TRUE(theApp.AddPlayHistory("old.mp4", program.ansi() + "media/bare.mkv"));
        ASSERT_TRUE(theApp.AddPlayHistory("song.mp3", program.ansi() + "media/song.mp3"));
        current = tree->AppendItem(root, ToWx("当前播放列表"), 0, 0);
        history = tree->AppendItem(root, ToWx("播放历史"), 0, 0);
        historyItem = tree->AppendItem(history, "old.mp4", 3, 3);
        folder = tree->AppendItem(root, "media", 0, 0);
        tree->LoadFolderTree(program.ansi() + "media", folder);
        tree->ExpandAll();
    }

    void SelectOnly(std::initializer_list<wxTreeItemId> items)
    {
        tree->UnselectAll();
        for (wxTreeItemId item : items)
            tree->SelectItem(item);
        tree->SetCaret(*items.begin());
    }
    wxTreeItemId Item(const char* text) { return tree->FindItemByText(tree->GetFirstChild(root, cookie), text); }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    wxFrame* m_frame = nullptr;
    CPlayListPane* m_pane = nullptr;
    CLocalViewTree* tree = nullptr;
    wxEvtHandler m_target;
    std::vector<CString> posted;
    wxTreeItemId root, current, history, historyItem, folder;
    wxTreeItemIdValue cookie;
};

TEST_F(PlayListPaneCommandsTest, ContextMenuFollowsTheCaretItem)
{
    BuildLocalView();
    const wxTreeItemId playing = tree->AppendItem(current, "talk.mp4");
    const wxTreeItemId talk = tree->AppendItem(root, ToWx("[7][A title][A speaker][Talk_2009.mp4][TALK2009]"));
    const std::vector<int> none;
    const std::vector<int> historyMenu = {kCmdDeleteHistoryItems};
    const std::vector<int> itemMenu = {kCmdExportLocalText, kCmdExportLocalLrc, kCmdGetOnlineSubtitles};
    const std::vector<int> talkMenu = {kCmdDownloadTalkLight, kCmdDownloadTalkNormal, kCmdDownloadTalk480p,
                                       kCmdExportTalkText, kCmdExportTalkLrc};
    struct Case {
        const char* what;
        wxTreeItemId item;
        const std::vector<int>& menu;
    };
    for (const Case& c : {Case{"the current play list", current, none}, Case{"the history", history, none},
                          Case{"an entry of the play list", playing, none},
                          Case{"a history entry", historyItem, historyMenu},
                          Case{"a playlist folder", folder, itemMenu},
                          Case{"a file in a playlist folder", Item("song.mp3"), itemMenu},
                          Case{"a talk of the catalogue", talk, talkMenu}}) {
        tree->SetCaret(c.item);
        EXPECT_EQ(m_pane->ContextMenuCommands(), c.menu) << c.what;
    }
}

TEST_F(PlayListPaneCommandsTest, AddingAFolderRefusesRootsAndTwinsAndLoadsTheWholeTree)
{
    program.write("lessons/unit1/a.mp4", "v");
    program.write("lessons/b.mp3", "a");
    program.write("other/lessons/c.mp4", "v");
    CString chosen;
    m_pane->m_browseForFolder = [&] { return chosen; };

    chosen = "";
    m_pane->OnNewPlayFolder();   // cancelled
    EXPECT_EQ(tree->GetChildrenCount(root, false), 0u);

    chosen = "/";
    m_pane->OnNewPlayFolder();
    EXPECT_EQ(testsupport::TakeMessage(), "由于文件数过大，不能将磁盘作为播放目录！");

    chosen = program.ansi() + "lessons/";   // the picker's folders end in "/"
    m_pane->OnNewPlayFolder();
    EXPECT_EQ(testsupport::TakeMessage(), "");
    const wxTreeItemId added = Item("lessons");
    ASSERT_TRUE(added.IsOk());
    EXPECT_EQ(theApp.GetRecordText("lessons"), program.ansi() + "lessons");
    EXPECT_TRUE(tree->IsExpanded(added));
    EXPECT_EQ(tree->GetItemImage(added), CLocalViewTree::kImageFolderOpen);
    EXPECT_TRUE(tree->FindItemByText(added, "a.mp4").IsOk());
    EXPECT_TRUE(tree->FindItemByText(added, "b.mp3").IsOk());

    chosen = program.ansi() + "other/lessons";
    m_pane->OnNewPlayFolder();
    EXPECT_EQ(testsupport::TakeMessage(), "有同名文件夹存在，不能重复添加文件夹！");
    EXPECT_EQ(tree->GetChildrenCount(root, false), 1u);
}

TEST_F(PlayListPaneCommandsTest, RemovingAFolderAsksAndSparesSystemFolders)
{
    BuildLocalView();
    int asked = 0;
    int answer = wxCANCEL;
    SetMessageBoxHandler([&](const CString& text, const CString&, long) {
        EXPECT_EQ(text, "您确定要删除目录吗？");
        ++asked;
        return answer;
    });
    struct Refusal {
        wxTreeItemId item;
        const char* message;
    };
    for (const Refusal& r : {Refusal{Item("song.mp3"), "由于不是根目录，不能删除！"},
                             Refusal{current, "系统文件夹不能被删除。"}, Refusal{history, "系统文件夹不能被删除。"}}) {
        tree->SetCaret(r.item);
        m_pane->OnDeletePlayFolder();
        EXPECT_EQ(testsupport::TakeMessage(), r.message);
    }
    EXPECT_EQ(asked, 0);

    tree->SetCaret(folder);
    m_pane->OnDeletePlayFolder();   // cancelled
    EXPECT_TRUE(Item("media").IsOk());
    answer = wxOK;
    m_pane->OnDeletePlayFolder();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(Item("media").IsOk());
    EXPECT_EQ(theApp.GetRecordText("media"), "");
    EXPECT_EQ(testsupport::TakeMessage(), "成功删除目录");
    // The folder on the disk stays.
    EXPECT_TRUE(std::filesystem::exists(program.path() + "media/talk.mp4"));
}

TEST_F(PlayListPaneCommandsTest, HistoryDeletionTouchesOnlyHistoryEntriesAndCountsRows)
{
    BuildLocalView();
    // "song.mp3" is a history key, but the selected item is the folder's file.
    SelectOnly({historyItem, Item("song.mp3")});
    m_pane->OnDeleteHistoryItems();
    EXPECT_EQ(testsupport::TakeMessage(), "成功删除了1个选中项目!");
    EXPECT_FALSE(theApp.RecordExists(theApp.m_strUserDataDbPath, theApp.m_strPlayHistoryTable, "old.mp4"));
    EXPECT_TRUE(theApp.RecordExists(theApp.m_strUserDataDbPath, theApp.m_strPlayHistoryTable, "song.mp3"));
    testsupport::DrainEvents();
    EXPECT_EQ(posted, Texts{"LocalMediaPlaylistRefresh:"});

    // A second time the row is gone: nothing is counted.
    m_pane->OnDeleteHistoryItems();
    EXPECT_EQ(testsupport::TakeMessage(), "成功删除了0个选中项目!");
}

TEST_F(PlayListPaneCommandsTest, OnlineSubtitlesQueueVideosWithoutALesson)
{
    BuildLocalView();
    theApp.m_arrSubtitleFetchList.Add("/stale.mp4");
    // The history entry stands for the file stored in its row; a file
    // reached twice is queued once.
    SelectOnly({folder, Item("talk.mp4"), Item("bare.mkv"), Item("song.mp3"), historyItem});
    m_pane->OnGetOnlineSubtitles();
    Texts queued(theApp.m_arrSubtitleFetchList.begin(), theApp.m_arrSubtitleFetchList.end());
    EXPECT_EQ(queued, (Texts{program.ansi() + "media/bare.mkv"}));
    EXPECT_EQ(theApp.m_strSubtitleCommand, "HalvikEnglishGetNetSubtitles:");

    // The folder alone means the videos in it that have no lesson.
    SelectOnly({folder});
    m_pane->OnGetOnlineSubtitles();
    queued.assign(theApp.m_arrSubtitleFetchList.begin(), theApp.m_arrSubtitleFetchList.end());
    EXPECT_EQ(queued, (Texts{program.ansi() + "media/bare.mkv"}));
}

TEST_F(PlayListPaneCommandsTest, OpenItemFolderNamesWhatCannotBeShown)
{
    BuildLocalView();
    tree->UnselectAll();
    struct Case {
        wxTreeItemId item;
        const char* message;
    };
    const wxTreeItemId missing = tree->AppendItem(folder, "gone.mp4");
    for (const Case& c : {Case{current, "[当前播放列表]是虚拟目录，不能被访问！"},
                          Case{tree->AppendItem(current, "x.mp4"), "当前播放列表中没有文件！"},
                          Case{missing, "目标文件不存在！"}}) {
        tree->SetCaret(c.item);
        m_pane->OnOpenItemFolder();
        EXPECT_EQ(testsupport::TakeMessage(), c.message);
    }
}

// A folder item opens that folder, a file the folder holding it; an opener
// that fails (no file manager) is told with the path, so the learner can find
// the files by hand.
TEST_F(PlayListPaneCommandsTest, OpenItemFolderOpensTheFolderItselfAndSaysWhenNothingCould)
{
    BuildLocalView();
    tree->UnselectAll();
    {
        testsupport::FakeOpener opener(0);
        tree->SetCaret(folder);
        m_pane->OnOpenItemFolder();
        EXPECT_EQ(opener.opened(), (program.ansi() + "media").str());
        tree->SetCaret(Item("song.mp3"));
        m_pane->OnOpenItemFolder();
        EXPECT_EQ(opener.opened(), (program.ansi() + "media/").str());
        EXPECT_EQ(testsupport::TakeMessage(), "");
    }
    testsupport::FakeOpener failing(3);
    tree->SetCaret(folder);
    m_pane->OnOpenItemFolder();
    EXPECT_EQ(testsupport::TakeMessage(), "无法打开：" + program.ansi() + "media");

    SelectOnly({Item("talk.mp4")});
    m_pane->OnExportLocal(true);
    EXPECT_EQ(testsupport::TakeMessage(), "无法打开：" + program.ansi() + "TxtLrcFileFolder");
}

TEST_F(PlayListPaneCommandsTest, LocalExportWithoutLessonsSaysSo)
{
    BuildLocalView();
    SelectOnly({Item("bare.mkv")});
    m_pane->OnExportLocal(true);
    EXPECT_EQ(testsupport::TakeMessage(), "没有发现任何Script字幕文件，不能导出Lrc文件！");
    EXPECT_FALSE(std::filesystem::exists(program.path() + "TxtLrcFileFolder/bare.lrc"));
}

TEST_F(PlayListPaneCommandsTest, TalkDownloadsGoOnTheClipboardInTreeOrder)
{
    for (const char* text : {"[3][T3][S3][Three_2011-480p.mp4][E]", "[1][T1][S1][One_2009.mp3][E]",
                             "[2][T2][S2][no file here][E]"})
        tree->AppendItem(root, ToWx(text));
    tree->ExpandAll();
    tree->SelectItem(Item("[3][T3][S3][Three_2011-480p.mp4][E]"));
    tree->SelectItem(Item("[1][T1][S1][One_2009.mp3][E]"));
    tree->SelectItem(Item("[2][T2][S2][no file here][E]"));
    auto clipboard = [] {
        wxTextDataObject data;
        EXPECT_TRUE(wxTheClipboard->Open());
        EXPECT_TRUE(wxTheClipboard->GetData(data));
        wxTheClipboard->Close();
        return FromWx(data.GetText());
    };
    m_pane->OnDownloadTalk(ETalkQuality::Light);
    const CString host = "http://talks.halviksoft.example/talks/";
    const CString commands =
        "HalvikSoftDL:" + host + "Three_2011-light.mp4  HalvikSoftDL:" + host + "One_2009-light.mp4  ";
    EXPECT_EQ(clipboard(), commands);
    // The downloader acts on a change of the clipboard: the same request
    // again must change it, by a trailing blank its reading ignores.
    m_pane->OnDownloadTalk(ETalkQuality::Light);
    EXPECT_EQ(clipboard(), commands + " ");
    m_pane->OnDownloadTalk(ETalkQuality::Light);
    EXPECT_EQ(clipboard(), commands);
    // No downloader is installed here: the learner is told where it was looked for.
    EXPECT_EQ(testsupport::TakeMessage(), "找不到下载器程序：" + theApp.m_strDownloaderPath);
}

// Exports land in the export folder: a talk's under the listed name (its
// quality suffix kept) from the lesson named without it; a folder's from
// every lesson below it, also in closed branches. The folder is then shown
// on the desktop.
TEST_F(PlayListPaneCommandsTest, ExportsWriteTheLessonsOfTalksAndFolders)
{
    std::optional<testsupport::FakeOpener> opener;
    opener.emplace(0);
    const std::string lessons = program.path() + "Playlist/";
    tree->AppendItem(root, ToWx("[108][T][S][PeterLindqvist_2017-480p.mp4][E]"));
    tree->AppendItem(root, ToWx("[1][T][S][NoLesson_2000.mp4][E]"));
    SelectOnly({Item("[108][T][S][PeterLindqvist_2017-480p.mp4][E]"), Item("[1][T][S][NoLesson_2000.mp4][E]")});
    m_pane->OnExportTalks(false);
    const std::string exports = program.path() + "TxtLrcFileFolder/";
    const std::string text = testsupport::ReadBytes(exports + "PeterLindqvist_2017-480p.txt");
    EXPECT_EQ(text.rfind("1.", 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(testsupport::TakeMessage(), "字幕文件不存在！");
    EXPECT_EQ(opener->opened(), (program.ansi() + "TxtLrcFileFolder").str());
    opener.emplace(0);

    std::filesystem::create_directories(program.path() + "media/unit/inner");
    std::filesystem::copy_file(lessons + "GraceMbeki_2021.script", program.path() + "media/unit/inner/grace.script");
    program.write("media/unit/inner/grace.mp4", "v");
    std::filesystem::copy_file(lessons + "ChenWei_2023.script", program.path() + "media/chen.script");
    program.write("media/chen.mp3", "a");
    ASSERT_TRUE(theApp.PutRecord(theApp.m_strLocalPlaylistTable, "media", program.ansi() + "media", "", "", "", ""));
    folder = tree->AppendItem(root, "media", 0, 0);
    tree->LoadFolderTree(program.ansi() + "media", folder);
    tree->Expand(folder);   // "unit" stays closed
    SelectOnly({folder});
    m_pane->OnExportLocal(true);
    EXPECT_EQ(testsupport::TakeMessage(), "");
    EXPECT_EQ(opener->opened(), (program.ansi() + "TxtLrcFileFolder").str());
    for (const char* name : {"grace.lrc", "chen.lrc"}) {
        const std::string lrc = testsupport::ReadBytes(exports + name);
        EXPECT_EQ(lrc.rfind("[00:00.000]", 0), 0u) << name;
    }
}

} // namespace
