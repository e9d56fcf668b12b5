#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "shell/core/quenlow.h"
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
    ASSERT_NE(m_pane->m_wndLocalTree, nullptr);
    EXPECT_EQ(m_pane->GetId(), 602);
    EXPECT_EQ(m_pane->m_wndLocalTree->GetId(), CLocalViewTree::IDC_TREE);
    m_pane->SetSize(300, 500);
    m_pane->Layout();
    EXPECT_EQ(m_pane->m_wndLocalTree->GetSize(), m_pane->GetClientSize());
}

TEST_F(PlayListPaneTest, ApplyColorsReadsColoursAsBlueGreenRed)
{
    const COLORREF savedText = theApp.m_clrText;
    const COLORREF savedBack = theApp.m_clrBackground;
    theApp.m_clrText = RGB(0x10, 0x20, 0x30);        // stored as 0x00302010
    theApp.m_clrBackground = RGB(0xF0, 0xE0, 0x05);
    m_pane->ApplyColors();
    EXPECT_EQ(m_pane->m_wndLocalTree->GetForegroundColour(), wxColour(0x10, 0x20, 0x30));
    EXPECT_EQ(m_pane->m_wndLocalTree->GetBackgroundColour(), wxColour(0xF0, 0xE0, 0x05));
    theApp.m_clrText = savedText;
    theApp.m_clrBackground = savedBack;
}

TEST_F(PlayListPaneTest, DeleteSrtFilesDeletesEverySubtitleBelowTheFolder)
{
    testsupport::TempFolder temp;
    const std::string top = temp.write("a.srt", "1");
    const std::string upper = temp.write("sub/b.SRT", "2");
    const std::string deep = temp.write("sub/deeper/c.srt", "3");
    const std::string chinese = temp.write(reinterpret_cast<const char*>(u8"课程/第一课.srt"), "4");
    const std::string notSrt1 = temp.write("a.srt.txt", "x");
    const std::string notSrt2 = temp.write("sub/lesson.ass", "x");
    const std::string notSrt3 = temp.write("sub/srt", "x");

    m_pane->DeleteSrtFiles(temp.ansi());

    for (const std::string& gone : {top, upper, deep, chinese})
        EXPECT_FALSE(std::filesystem::exists(gone)) << gone;
    for (const std::string& kept : {notSrt1, notSrt2, notSrt3})
        EXPECT_TRUE(std::filesystem::exists(kept)) << kept;
    EXPECT_EQ(m_pane->m_arrSrtFiles.GetSize(), 4);

    // A missing folder is no error.
    m_pane->DeleteSrtFiles(temp.ansi() + "missing/");
    EXPECT_TRUE(m_pane->m_arrSrtFiles.IsEmpty());
}

} // namespace
