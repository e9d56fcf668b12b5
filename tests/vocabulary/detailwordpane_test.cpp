// The dictionary pane as the other windows use it: a looked-up word becomes
// current and enters the look-up history once; local pages go to its web view.
#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>

#include "shell/base/wxtext.h"
#include "shell/base/explorer1.h"
#include "shell/core/quenlow.h"
#include "tests/appstateguard.h"
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
    // Without a dictionary nothing is found and nothing opens.
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strWordLookupMode, &CQuenlowApp::m_strBaseDictPath);
    theApp.m_strWordLookupMode = "OnWordHome";
    theApp.m_strBaseDictPath = "/nonexistent/theBaseDict.script";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        theApp.m_strWordFound = "true";
        EXPECT_EQ(m_pane->LookUpWord(c.word), 0);
        EXPECT_EQ(theApp.m_strCurrentWord, CString(c.word));
        EXPECT_EQ(FromWx(m_pane->m_comboWord->GetValue()), CString(c.comboText));
        EXPECT_EQ(theApp.m_strWordFound, "false");
        ASSERT_EQ(theApp.m_arrLookupHistory.GetSize(), c.historySize);
        EXPECT_EQ(theApp.m_nLookupHistoryPos, c.historyPos);
    }
    EXPECT_EQ(theApp.m_arrLookupHistory[1], CString(" pear "));
}

// A word found in the shipped dictionary: its page is written and shown (no
// web engine for a local page), the base form found becomes the current word;
// a silent look-up writes the smaller page and shows nothing; a silent miss
// keeps the word as handed over.
TEST_F(DetailWordPaneTest, LocalLookUpWritesAndShowsThePage)
{
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strWordLookupMode, &CQuenlowApp::m_strBaseDictPath,
                                     &CQuenlowApp::m_strDictWordHtmlPath, &CQuenlowApp::m_strAutoLookup,
                                     &CQuenlowApp::m_strMouseGetWord);
    theApp.m_strWordLookupMode = "OnWordHome";
    theApp.m_strBaseDictPath = program.ansi() + "AppData/BasicDict/theBaseDict.script";
    theApp.m_strDictWordHtmlPath = program.ansi() + "AppData/BasicDict/theDectWord.html";
    theApp.m_strAutoLookup.Empty();
    theApp.m_strMouseGetWord.Empty();

    EXPECT_EQ(m_pane->LookUpWord("studies"), 1);
    EXPECT_EQ(theApp.m_strCurrentWord, "study");
    EXPECT_EQ(theApp.m_strWordFound, "true");
    const std::string page = testsupport::ReadBytes(program.path() + "AppData/BasicDict/theDectWord.html");
    EXPECT_NE(page.find("font-size:16px"), std::string::npos);
    EXPECT_NE(page.find("<b>study</b>"), std::string::npos);
    ASSERT_NE(m_pane->m_pWordView->m_browser, nullptr);
    EXPECT_EQ(m_pane->m_pWordView->m_browser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
    EXPECT_FALSE(m_pane->m_pWordView->m_browser->HasWebView());

    theApp.m_strAutoLookup = "true";
    EXPECT_EQ(m_pane->LookUpWord("o'clock"), 1);
    EXPECT_EQ(theApp.m_strCurrentWord, "o'clock");
    EXPECT_NE(testsupport::ReadBytes(program.path() + "AppData/BasicDict/theDectWord.html").find("font-size:14px"),
              std::string::npos);

    EXPECT_EQ(m_pane->LookUpWord("xyzing"), 0);
    EXPECT_EQ(theApp.m_strCurrentWord, "xyzing");
    EXPECT_TRUE(theApp.m_strWordFound.IsEmpty());
    EXPECT_FALSE(m_pane->m_pWordView->m_browser->HasWebView()) << "a silent miss opened the online page";
}

// The pane's save and delete act on the current word, the base form of the
// last look-up, and say how it went.
TEST_F(DetailWordPaneTest, SaveAndDeleteTheCurrentWordInTheBook)
{
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strWordBookPath);
    theApp.m_strWordBookPath = program.ansi() + "AppData/UserData/UnKownWord.script";
    const auto message = [] {
        int kind = 0, seconds = 0;
        CString text;
        theApp.TakeMessage(kind, text, seconds);
        return text;
    };
    message();
    theApp.m_strCurrentWord = "study";
    m_pane->OnSaveWord();
    EXPECT_EQ(message(), "保存成功！");
    m_pane->OnSaveWord();
    EXPECT_EQ(message(), "保存失败，该单词已经存在于生词库中！");
    m_pane->OnDelWord();
    EXPECT_EQ(message(), "删除成功！");
    m_pane->OnSaveWord();
    EXPECT_EQ(message(), "保存成功！") << "a deleted word can be saved again";
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
