// The dictionary pane as the other windows use it: a looked-up word becomes
// current and enters the look-up history once; local pages go to its web view.
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>

#include "shell/base/wxtext.h"
#include "shell/base/explorer1.h"
#include "shell/core/quenlow.h"
#include "tests/testsupport.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/wordonlineview.h"

namespace {

class DetailWordPaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedHistory.Copy(theApp.m_arrLookupHistory);
        m_savedPos = theApp.m_nLookupHistoryPos;
        m_savedWord = theApp.m_strCurrentWord;
        m_savedFound = theApp.m_strWordFound;
        theApp.m_arrLookupHistory.RemoveAll();
        theApp.m_nLookupHistoryPos = 0;

        m_frame = new wxFrame(nullptr, wxID_ANY, "pane");
        m_pane = new CDetailWordPane;
        ASSERT_TRUE(m_pane->Create(m_frame, "词典窗口", 603));
    }
    void TearDown() override
    {
        m_frame->Destroy();
        theApp.m_arrLookupHistory.Copy(m_savedHistory);
        theApp.m_nLookupHistoryPos = m_savedPos;
        theApp.m_strCurrentWord = m_savedWord;
        theApp.m_strWordFound = m_savedFound;
    }

    wxFrame* m_frame = nullptr;
    CDetailWordPane* m_pane = nullptr;
    CStringArray m_savedHistory;
    int m_savedPos = 0;
    CString m_savedWord;
    CString m_savedFound;
};

} // namespace

TEST_F(DetailWordPaneTest, LookUpAddsEachWordToTheHistoryOnce)
{
    struct Case {
        const char* word;
        const char* comboText;   // the word box shows the trimmed word
        int historySize;
        int historyPos;
    };
    const Case cases[] = {
        {"apple", "apple", 1, 0},
        {" pear ", "pear", 2, 1},    // kept as handed over
        {"apple", "apple", 2, 1},    // known: history and position stay
        {"Apple", "Apple", 3, 2},    // the comparison is case-sensitive
        {"pear", "pear", 4, 3},      // differs from " pear "
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        theApp.m_strWordFound = "true";
        EXPECT_EQ(m_pane->LookUpWord(c.word), 0);
        EXPECT_EQ(theApp.m_strCurrentWord, CString(c.word));
        EXPECT_EQ(FromWx(m_pane->m_comboWord->GetValue()), CString(c.comboText));
        EXPECT_TRUE(theApp.m_strWordFound.IsEmpty());
        ASSERT_EQ(theApp.m_arrLookupHistory.GetSize(), c.historySize);
        EXPECT_EQ(theApp.m_nLookupHistoryPos, c.historyPos);
    }
    EXPECT_EQ(theApp.m_arrLookupHistory[1], CString(" pear "));
}

TEST_F(DetailWordPaneTest, LocalPageGoesToThePaneWebView)
{
    testsupport::TempFolder folder;
    folder.write("page.html", "<html><body>word</body></html>");
    const CString page = folder.ansi() + "page.html";
    m_pane->ShowLocalPage(page);
    ASSERT_NE(m_pane->m_pWordView->m_browser, nullptr);
    EXPECT_EQ(m_pane->m_pWordView->m_browser->GetLocationURL(), page);
    EXPECT_FALSE(m_pane->m_pWordView->m_browser->HasWebView());
}
