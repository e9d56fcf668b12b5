// The playlist pane's talk catalogue on the shipped talks database: the list
// and its caption, the one-shot search, failures, the word-frequency figures
// and the talk information page.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "platform/sqlitedb.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "vocabulary/core/wordbook.h"

namespace {
class PlayListPaneTalksTest : public testing::Test {
protected:
    void SetUp() override
    {
        guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strTalkInfoDbPath,
                                                &CQuenlowApp::m_strPlaylistDir, &CQuenlowApp::m_strWordBookPath,
                                                &CQuenlowApp::m_strTalkInfoHtmlPath,
                                                &CQuenlowApp::m_strTalkCategory,
                                                &CQuenlowApp::m_strTalkSortField,
                                                &CQuenlowApp::m_strPlaylistFilter,
                                                &CQuenlowApp::m_strPlaylistLanguage,
                                                &CQuenlowApp::m_strPopularOnly,
                                                &CQuenlowApp::m_strPlaylistSearch,
                                                &CQuenlowApp::m_strPlaylistCaption});
        theApp.m_strPlaylistFilter = "Script";
        theApp.m_strPlaylistLanguage = "eng";
        m_frame = new wxFrame(nullptr, wxID_ANY, "pane");
        m_pane = new CPlayListPane;
        ASSERT_TRUE(m_pane->Create(m_frame, "Playlist(播放列表)", 602));
    }
    void TearDown() override { m_frame->Destroy(); }

    std::vector<CString> Listed() const
    {
        std::vector<CString> ids;
        CLocalViewTree* tree = m_pane->m_wndTree;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie); item.IsOk();
             item = tree->GetNextChild(tree->GetRootItem(), cookie)) {
            const CString text = FromWx(tree->GetItemText(item));
            ids.push_back(text.Mid(1, text.Find(']') - 1));
        }
        return ids;
    }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    wxFrame* m_frame = nullptr;
    CPlayListPane* m_pane = nullptr;
};

TEST_F(PlayListPaneTalksTest, FillListsCountsAndKeepsTheCaptionWhenACategoryIsEmpty)
{
    m_pane->FillTalkList("", "");
    EXPECT_EQ(Listed(), (std::vector<CString>{"137", "126", "108"}));
    EXPECT_EQ(theApp.m_strTalkSortField, "id");
    EXPECT_EQ(theApp.m_strPlaylistCaption, "共有3项");
    EXPECT_EQ(FromWx(m_pane->GetLabel()), "共有3项");
    // Lesson-only talks are drawn as not downloaded.
    CLocalViewTree* tree = m_pane->m_wndTree;
    wxTreeItemIdValue cookie;
    EXPECT_EQ(tree->GetItemImage(tree->GetFirstChild(tree->GetRootItem(), cookie)), CLocalViewTree::kImageVideo);

    // The search is used for one fill only.
    theApp.m_strPlaylistSearch = "robots";
    m_pane->FillTalkList("", "id");
    EXPECT_EQ(Listed(), std::vector<CString>{"137"});
    EXPECT_EQ(theApp.m_strPlaylistSearch, "");
    m_pane->FillTalkList("", "id");
    EXPECT_EQ(Listed().size(), 3u);

    // A category without talks empties the tree; the caption stays.
    m_pane->FillTalkList("42", "id");
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(theApp.m_strPlaylistCaption, "共有3项");

    // The start-up sort value is no column: the list sorts by id.
    m_pane->FillTalkList("", "asc");
    EXPECT_EQ(Listed(), (std::vector<CString>{"137", "126", "108"}));
    EXPECT_EQ(theApp.m_strTalkSortField, "id");
}

TEST_F(PlayListPaneTalksTest, AMissingDatabaseIsReportedAndTheListStays)
{
    m_pane->FillTalkList("", "id");
    theApp.m_strTalkInfoDbPath = program.ansi() + "missing.script";
    theApp.m_strPlaylistSearch = "robots";
    m_pane->FillTalkList("1", "id");
    EXPECT_EQ(testsupport::TakeMessage(), "打开播放列表数据库失败！");
    EXPECT_EQ(Listed().size(), 3u);
    EXPECT_EQ(theApp.m_strPlaylistSearch, "robots");

    m_pane->LoadFamousIds();
    EXPECT_EQ(testsupport::TakeMessage(), "打开播放列表数据库文件失败！");
    EXPECT_TRUE(m_pane->m_arrFamousIds.empty());
}

TEST_F(PlayListPaneTalksTest, PopularTalksComeFromTheFamousIds)
{
    m_pane->LoadFamousIds();
    EXPECT_TRUE(m_pane->IsFamousTalk("[137][How small robots learn to walk][Lena Okafor][x.mp4][T]"));
    EXPECT_FALSE(m_pane->IsFamousTalk("[1371][Another][S][x.mp4][T]"));
    theApp.m_strPopularOnly = "true";
    m_pane->FillTalkList("", "id");
    EXPECT_EQ(Listed(), (std::vector<CString>{"137", "108"}));
}

// The figures follow the new-word book: sorting by them puts the talk whose
// lesson holds most of the book's words per second first.
TEST_F(PlayListPaneTalksTest, WordFrequencyFiguresFollowTheWordBook)
{
    for (const char* word : {"study", "student", "question", "language", "time"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    m_pane->RebuildWordFrequency();
    EXPECT_EQ(testsupport::TakeMessage(), "");

    CSqliteDb db;
    ASSERT_TRUE(db.Open(theApp.m_strTalkInfoDbPath, CSqliteDb::ReadOnly));
    SQueryResult result;
    ASSERT_TRUE(db.Query("select id, wordfrq from tablename where wordfrq > 0 order by wordfrq desc", {}, result));
    ASSERT_GE(result.nRow, 1);
    // Talks without a lesson in the folder keep their figure.
    SQueryResult untouched;
    ASSERT_TRUE(db.Query("select count(*) from tablename where id in (102, 104, 119, 145, 149, 152, 160) and wordfrq = 0",
                         {}, untouched));
    EXPECT_STREQ(untouched.GetCell(0, 0), "7");

    // The lesson-only talks, highest figure first.
    SQueryResult order;
    ASSERT_TRUE(db.Query("select id from tablename where id in (137, 126, 108) order by wordfrq desc, id desc", {},
                         order));
    std::vector<CString> expected;
    for (int row = 0; row < order.nRow; ++row)
        expected.push_back(order.GetCell(row, 0));
    m_pane->FillTalkList("", "wordfrq");
    EXPECT_EQ(Listed(), expected);
}

TEST_F(PlayListPaneTalksTest, TalkInformationPageHoldsBothSummaries)
{
    m_pane->ShowTalkInfo("[108][Why we don't sleep enough][Peter Lindqvist][PeterLindqvist_2017.mp4][TALK2017]");
    const std::string page = testsupport::ReadBytes(std::string(theApp.m_strTalkInfoHtmlPath.GetString()));
    const CString text(page.c_str());
    EXPECT_NE(text.Find("演讲内容简介:</b> Most of us don't sleep enough."), -1);
    EXPECT_NE(text.Find("演讲者简介:</b> 睡眠研究者"), -1);
}

} // namespace
