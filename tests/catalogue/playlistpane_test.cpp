#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/toolbar.h>

#include "ui/panetoolbar.h"

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "core/quenlow.h"
#include "tests/testsupport.h"

namespace {

class PlayListPaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "pane");
        m_pane = new CPlayListPane;
        ASSERT_TRUE(m_pane->Create(m_frame, "Playlist(播放列表)", 602));
    }
    void TearDown() override { m_frame->Destroy(); }

    wxFrame* m_frame = nullptr;
    CPlayListPane* m_pane = nullptr;
};

TEST_F(PlayListPaneTest, TreeFillsThePane)
{
    ASSERT_NE(m_pane->m_wndTree, nullptr);
    EXPECT_EQ(m_pane->GetId(), 602);
    EXPECT_EQ(m_pane->m_wndTree->GetId(), CLocalViewTree::IDC_TREE);
    m_pane->SetSize(300, 500);
    m_pane->Layout();
    // The toolbar across the top, the tree below it down to the bottom.
    const wxRect bar = m_pane->m_wndToolBar->GetRect();
    const wxRect tree = m_pane->m_wndTree->GetRect();
    EXPECT_EQ(bar.GetTop(), 0);
    EXPECT_EQ(bar.GetWidth(), 300);
    EXPECT_EQ(tree.GetTop(), bar.GetBottom() + 1);
    EXPECT_EQ(tree.GetBottom(), m_pane->GetClientSize().y - 1);
    EXPECT_EQ(m_pane->m_wndToolBar->GetToolsCount(), 4u);
}

TEST_F(PlayListPaneTest, ApplyColorsReadsColoursAsBlueGreenRed)
{
    const COLORREF savedText = theApp.m_clrText;
    const COLORREF savedBack = theApp.m_clrBackground;
    theApp.m_clrText = RGB(0x10, 0x20, 0x30);        // stored as 0x00302010
    theApp.m_clrBackground = RGB(0xF0, 0xE0, 0x05);
    m_pane->ApplyColors();
    EXPECT_EQ(m_pane->m_wndTree->GetForegroundColour(), wxColour(0x10, 0x20, 0x30));
    EXPECT_EQ(m_pane->m_wndTree->GetBackgroundColour(), wxColour(0xF0, 0xE0, 0x05));
    theApp.m_clrText = savedText;
    theApp.m_clrBackground = savedBack;
}

// The start-up sweep finds the subtitle files beside the talks but deletes
// none: a subtitle in the talk folder may be the learner's own work.
TEST_F(PlayListPaneTest, SubtitleSweepCollectsTheFolderOwnFilesAndDeletesNothing)
{
    testsupport::TempFolder temp;
    const std::string top = temp.write("a.srt", "1");
    const std::string inName = temp.write("talk.srt.bak", "2");   // ".srt" inside the name counts
    const std::string chinese = temp.write(reinterpret_cast<const char*>(u8"第一课.srt"), "3");
    const std::string inFolder = temp.write("sub/b.srt", "4");    // sub-folders are not entered
    const std::string folderName = temp.write("dir.srt/c.txt", "5");
    const std::string other = temp.write("lesson.ass", "x");

    m_pane->DeleteSrtFiles(temp.ansi());

    std::vector<CString> found(m_pane->m_arrSrtFiles.begin(), m_pane->m_arrSrtFiles.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<CString>{temp.ansi() + "a.srt", temp.ansi() + "talk.srt.bak",
                                           temp.ansi() + "第一课.srt"}));
    for (const std::string& kept : {top, inName, chinese, inFolder, folderName, other})
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;

    // A missing folder is no error.
    m_pane->DeleteSrtFiles(temp.ansi() + "missing/");
    EXPECT_TRUE(m_pane->m_arrSrtFiles.IsEmpty());
}

} // namespace
