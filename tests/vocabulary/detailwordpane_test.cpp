// The dictionary pane as the other windows use it: a looked-up word becomes
// current and enters the look-up history once; local pages go to its web view.
#include <sys/stat.h>

#include <algorithm>

#include <gtest/gtest.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/html/htmlwin.h>
#include <wx/panel.h>
#include <wx/toolbar.h>

#include "ui/panetoolbar.h"

#include "platform/file.h"
#include "ui/wxtext.h"
#include "ui/explorer1.h"
#include "ui/onlinepage.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
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

// A page that cannot be written (a read-only program folder) is still the
// new word's page: the pane, and every other window that opens the page's
// path, shows it from memory instead of the previous word the file holds.
// Once the file can be written again, it is the file that is shown.
TEST_F(DetailWordPaneTest, PageThatCannotBeWrittenStillShowsTheNewWord)
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
    const std::string file = program.path() + "AppData/BasicDict/theDectWord.html";
    const auto shown = [](CExplorer1* browser) { return FromWx(browser->GetHtmlWindow()->ToText()); };
    CExplorer1* other = CExplorer1::CreateFilling(new wxPanel(m_frame), wxID_ANY);
    ASSERT_NE(other, nullptr);

    ASSERT_EQ(m_pane->LookUpWord("studies"), 1);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);   // no write bit: refused even to root
    int kind = 0;
    CString text;
    int seconds = 0;
    theApp.TakeMessage(kind, text, seconds);

    EXPECT_EQ(m_pane->LookUpWord("o'clock"), 1);
    EXPECT_EQ(theApp.m_strWordFound, "true");
    ASSERT_TRUE(theApp.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "无法写入词典页面：" + theApp.m_strDictWordHtmlPath);
    EXPECT_NE(testsupport::ReadBytes(file).find("<b>study</b>"), std::string::npos) << "the file was changed";
    CExplorer1* pane = m_pane->m_pWordView->m_browser;
    EXPECT_GE(shown(pane).Find("o'clock"), 0) << shown(pane).GetString();
    EXPECT_LT(shown(pane).Find("study"), 0) << "the previous word is still shown";
    other->Navigate(theApp.m_strDictWordHtmlPath);
    EXPECT_GE(shown(other).Find("o'clock"), 0) << shown(other).GetString();

    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    EXPECT_EQ(m_pane->LookUpWord("studies"), 1);
    EXPECT_NE(testsupport::ReadBytes(file).find("<b>study</b>"), std::string::npos);
    other->Navigate(theApp.m_strDictWordHtmlPath);
    EXPECT_GE(shown(other).Find("study"), 0) << shown(other).GetString();
    EXPECT_LT(shown(other).Find("o'clock"), 0);
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

namespace {

// A pane over the shipped dictionary, in the local mode, with the learner's
// own look-ups (not silent, no word pick-up under the mouse).
class DictionaryPaneTest : public DetailWordPaneTest {
protected:
    void SetUp() override
    {
        DetailWordPaneTest::SetUp();
        theApp.m_strWordLookupMode = "OnWordHome";
        theApp.m_strBaseDictPath = m_program.ansi() + "AppData/BasicDict/theBaseDict.script";
        theApp.m_strDictWordHtmlPath = m_program.ansi() + "AppData/BasicDict/theDectWord.html";
        theApp.m_strAutoLookup.Empty();
        theApp.m_strMouseGetWord.Empty();
    }

    bool ToolEnabled(int command) const { return m_pane->m_toolBar->GetToolEnabled(m_pane->ToolIdOf(command)); }
    bool ToolChecked(int command) const { return m_pane->m_toolBar->GetToolState(m_pane->ToolIdOf(command)); }
    void ClickTool(int command)
    {
        wxCommandEvent click(wxEVT_TOOL, m_pane->ToolIdOf(command));
        click.SetEventObject(m_pane->m_toolBar);
        m_pane->m_toolBar->ProcessWindowEvent(click);
    }
    std::vector<CString> ListedWords() const
    {
        std::vector<CString> words;
        for (unsigned i = 0; i < m_pane->m_comboWord->GetCount(); ++i)
            words.push_back(FromWx(m_pane->m_comboWord->GetString(i)));
        return words;
    }

    testsupport::TempProgramFolder m_program;
    testsupport::AppStateGuard m_guard {&CQuenlowApp::m_strWordLookupMode, &CQuenlowApp::m_strBaseDictPath,
                                        &CQuenlowApp::m_strDictWordHtmlPath, &CQuenlowApp::m_strAutoLookup,
                                        &CQuenlowApp::m_strMouseGetWord};
};

} // namespace

// Typing suggests up to ten dictionary words that begin with the text, in
// alphabetical order; the text typed stays.
TEST_F(DictionaryPaneTest, TypingSuggestsDictionaryWords)
{
    m_pane->m_comboWord->SetValue("a");   // a text event, as typing gives
    const std::vector<CString> words = ListedWords();
    ASSERT_EQ(words.size(), 10u);
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end()));
    for (const CString& word : words)
        EXPECT_EQ(word.Left(1), "a") << word;
    EXPECT_EQ(FromWx(m_pane->m_comboWord->GetValue()), "a");

    m_pane->m_comboWord->SetValue("O'c");
    const std::vector<CString> apostrophe = ListedWords();
    EXPECT_NE(std::find(apostrophe.begin(), apostrophe.end(), "o'clock"), apostrophe.end());
    for (const CString& word : apostrophe)
        EXPECT_EQ(word.Left(3), "o'c") << word;
    m_pane->m_comboWord->SetValue("qqq");
    EXPECT_TRUE(ListedWords().empty());

    // A word handed over by another window is no typing: the list stays.
    m_pane->m_comboWord->SetValue("stu");
    const std::vector<CString> before = ListedWords();
    m_pane->LookUpWord("hello");
    EXPECT_EQ(ListedWords(), before);
}

// Enter in the box looks its text up once, after the box's completion has
// had the key (it keeps Enter for itself, so no enter event comes); the list
// closing after it adds no second look-up, while a list closed on another
// word looks that one up.
TEST_F(DictionaryPaneTest, EnterLooksUpOnceAndAClosedListLooksUpItsChoice)
{
    m_pane->m_comboWord->ChangeValue(" studies ");
    wxKeyEvent enter(wxEVT_CHAR_HOOK);
    enter.m_keyCode = WXK_RETURN;
    enter.SetEventObject(m_pane->m_comboWord);
    m_pane->m_comboWord->ProcessWindowEvent(enter);
    EXPECT_TRUE(theApp.m_strCurrentWord.IsEmpty()) << "looked up before the completion had the key";
    testsupport::DrainEvents();
    EXPECT_EQ(theApp.m_strCurrentWord, "study");
    EXPECT_EQ(theApp.m_arrLookupHistory.GetSize(), 1);

    wxCommandEvent closeUp(wxEVT_COMBOBOX_CLOSEUP, m_pane->m_comboWord->GetId());
    closeUp.SetEventObject(m_pane->m_comboWord);
    m_pane->m_comboWord->ProcessWindowEvent(closeUp);
    m_pane->OnTimer(CDetailWordPane::kTimerCloseUpLookup);
    EXPECT_EQ(theApp.m_arrLookupHistory.GetSize(), 1) << "the word was looked up again";

    m_pane->m_comboWord->ChangeValue("making");
    m_pane->m_comboWord->ProcessWindowEvent(closeUp);
    m_pane->OnTimer(CDetailWordPane::kTimerCloseUpLookup);
    EXPECT_EQ(theApp.m_strCurrentWord, "make");
    EXPECT_EQ(theApp.m_arrLookupHistory.GetSize(), 2);
}

// Previous and next walk the history and are enabled only where there is a
// word to go to; a word walked to keeps its place in the history.
TEST_F(DictionaryPaneTest, HistoryButtonsWalkTheLookUps)
{
    EXPECT_FALSE(ToolEnabled(kCmdPrevWord));
    EXPECT_FALSE(ToolEnabled(kCmdNextWord));
    for (const char* word : {"hello", "studies", "apple"})
        m_pane->LookUpWord(word);
    struct Step {
        int command;
        int position;
        const char* current;
        bool previous;
        bool next;
    };
    const Step steps[] = {
        {kCmdPrevWord, 1, "study", true, true},
        {kCmdPrevWord, 0, "hello", false, true},
        {kCmdPrevWord, 0, "hello", false, true},   // disabled: nothing happens
        {kCmdNextWord, 1, "study", true, true},
        {kCmdNextWord, 2, "apple", true, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.position);
        if (ToolEnabled(step.command))
            ClickTool(step.command);
        EXPECT_EQ(theApp.m_nLookupHistoryPos, step.position);
        EXPECT_EQ(theApp.m_strCurrentWord, CString(step.current));
        EXPECT_EQ(ToolEnabled(kCmdPrevWord), step.previous);
        EXPECT_EQ(ToolEnabled(kCmdNextWord), step.next);
    }
    EXPECT_EQ(theApp.m_arrLookupHistory.GetSize(), 3);
}

// The online mode checks its button, disables the word box and opens the
// current word's online page; back in the local mode the box takes words
// again and the local page is shown. The frame's commands do the same to
// the box.
TEST_F(DictionaryPaneTest, ModeButtonsSwitchTheDictionaryAndTheWordBox)
{
    m_pane->LookUpWord("studies");
    EXPECT_TRUE(ToolChecked(kCmdWordHome));
    EXPECT_FALSE(ToolChecked(kCmdWordWeb));
    EXPECT_TRUE(m_pane->m_comboWord->IsEnabled());

    theApp.m_strMouseGetWord.Empty();
    theApp.m_strWordLookupMode = "OnWordWeb";   // a command elsewhere; the pane follows at idle time
    m_pane->UpdateWindowUI();
    EXPECT_FALSE(m_pane->m_comboWord->IsEnabled());
    theApp.m_strWordLookupMode = "OnWordHome";
    m_pane->UpdateWindowUI();
    EXPECT_TRUE(m_pane->m_comboWord->IsEnabled());

    theApp.m_strMouseGetWord = "true";   // no web engine in this test
    ClickTool(kCmdWordWeb);
    EXPECT_EQ(theApp.m_strWordLookupMode, "OnWordWeb");
    EXPECT_TRUE(ToolChecked(kCmdWordWeb));
    EXPECT_FALSE(ToolChecked(kCmdWordHome));
    EXPECT_FALSE(m_pane->m_comboWord->IsEnabled());

    DeleteFile(theApp.m_strDictWordHtmlPath);
    ClickTool(kCmdWordHome);
    EXPECT_TRUE(m_pane->m_comboWord->IsEnabled());
    EXPECT_TRUE(ToolChecked(kCmdWordHome));
    EXPECT_EQ(theApp.m_strWordFound, "true");
    EXPECT_NE(testsupport::ReadBytes(m_program.path() + "AppData/BasicDict/theDectWord.html").find("<b>study</b>"),
              std::string::npos)
        << "the local page was not written again";
    EXPECT_EQ(m_pane->m_pWordView->m_browser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
}

// A double click on a word of the page shown looks that word up: the page's
// own selection gives the word, the clipboard is not used.
TEST_F(DictionaryPaneTest, DoubleClickOnAWordOfThePageLooksItUp)
{
    m_frame->SetClientSize(400, 400);
    m_frame->Show();
    testsupport::TempFolder folder;
    folder.write("page.html", "<html><body><font size=7>studies,</font> more words</body></html>");
    m_pane->ShowLocalPage(folder.ansi() + "page.html");
    m_pane->GetParent()->Layout();
    m_pane->Layout();
    testsupport::RunLoopFor(std::chrono::milliseconds(200));

    wxHtmlWindow* html = m_pane->m_pWordView->m_browser->GetHtmlWindow();
    wxMouseEvent click(wxEVT_LEFT_DCLICK);
    click.SetPosition(wxPoint(20, 20));
    click.SetEventObject(html);
    html->ProcessWindowEvent(click);
    ASSERT_TRUE(testsupport::PumpUntil([] { return theApp.m_strCurrentWord == "study"; },
                                       std::chrono::seconds(2)))
        << "current word: " << theApp.m_strCurrentWord.GetString();
    EXPECT_EQ(m_pane->m_pWordView->m_browser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
}

// Each toolbar button carries a picture and says what it does.
TEST_F(DictionaryPaneTest, ToolbarButtonsHavePicturesAndTips)
{
    for (int command : {kCmdPrevWord, kCmdNextWord, kCmdWordWeb, kCmdWordHome, kCmdSaveWord, kCmdDelWord}) {
        const wxToolBarToolBase* tool = m_pane->m_toolBar->FindById(m_pane->ToolIdOf(command));
        ASSERT_NE(tool, nullptr) << command;
        EXPECT_TRUE(tool->GetNormalBitmap().IsOk()) << command;
        EXPECT_FALSE(tool->GetShortHelp().empty()) << command;
    }
}

namespace {

bool Requested(const CLoopbackServer& server, const std::string& request)
{
    const std::vector<std::string> requests = server.requests();
    return std::find(requests.begin(), requests.end(), request) != requests.end();
}

} // namespace

// In the online mode the word's page opens in the web view, with the word
// percent-encoded; a word double-clicked in that page is looked up (the page
// tells it through a script, the clipboard is not used); a link that would
// open a new window replaces the page instead.
TEST_F(DictionaryPaneTest, OnlinePagesOpenInTheViewAndTellADoubleClickedWord)
{
    CLoopbackServer server(
        [](const std::string&) { return Page("<html><body><p id='w'>studies</p></body></html>"); }, 12);
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = m_program.ansi();
    const std::string site = "http://127.0.0.1:" + std::to_string(server.port());
    m_program.write("AppData/CommonData/Product.cfg", "DictionaryUrl=" + site + "/s?wd=\n");
    theApp.m_strWordLookupMode = "OnWordWeb";
    m_frame->SetClientSize(500, 500);
    m_frame->Show();

    EXPECT_EQ(m_pane->LookUpWord("o'clock"), 1);
    EXPECT_EQ(m_pane->m_strUrl, CString(site + "/s?wd=o%27clock"));
    COnlinePage* web = m_pane->m_pWordView->m_browser->GetWebView();
    if (web == nullptr)
        GTEST_SKIP() << "no web engine on this machine";
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return !web->IsBusy() && Requested(server, "GET /s?wd=o%27clock"); },
                                          testsupport::kWebEngineDeadline));

    web->RunScript("var range = document.createRange();"
                        "range.selectNodeContents(document.getElementById('w'));"
                        "getSelection().removeAllRanges(); getSelection().addRange(range);"
                        "document.body.dispatchEvent(new MouseEvent('dblclick', {bubbles: true}));");
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return Requested(server, "GET /s?wd=studies"); },
                                          testsupport::kWebEngineDeadline));
    EXPECT_EQ(theApp.m_strCurrentWord, "studies");

    web->RunScript("var a = document.createElement('a'); a.href = '/link'; a.target = '_blank';"
                        "document.body.appendChild(a); a.click();");
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return Requested(server, "GET /link"); }, testsupport::kWebEngineDeadline));
    ASSERT_TRUE(testsupport::RunLoopUntil([&] { return !web->IsBusy(); }, testsupport::kWebEngineDeadline));
    web->RunScript("window.open('/script', '_blank');");
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return web->GetCurrentUrl().EndsWith("/script"); },
                                          testsupport::kWebEngineDeadline))
        << web->GetCurrentUrl();
}

// A word the dictionary does not know: the pane shows our page saying so,
// not the online page; the online page opens when the learner follows the
// page's link.
TEST_F(DictionaryPaneTest, AMissShowsOurPageWhoseLinkOpensTheOnlinePage)
{
    CLoopbackServer server([](const std::string&) { return Page("<html><body>online</body></html>"); }, 4,
                           std::chrono::seconds(30));
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = m_program.ansi();
    const std::string site = "http://127.0.0.1:" + std::to_string(server.port());
    m_program.write("AppData/CommonData/Product.cfg", "DictionaryUrl=" + site + "/s?wd=\n");
    m_frame->SetClientSize(500, 500);
    m_frame->Show();

    theApp.m_strWordFound = "true";
    EXPECT_EQ(m_pane->LookUpWord("xqzvbnt"), 0);
    EXPECT_TRUE(theApp.m_strWordFound.IsEmpty());
    CExplorer1* browser = m_pane->m_pWordView->m_browser;
    EXPECT_EQ(browser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
    EXPECT_FALSE(browser->HasWebView()) << "a miss opened the online page by itself";
    const wxString text = browser->GetHtmlWindow()->ToText();
    EXPECT_NE(text.find(ToWx("词典中没有找到“xqzvbnt”")), wxString::npos) << text;
    EXPECT_TRUE(server.requests().empty());

    browser->GetHtmlWindow()->OnLinkClicked(wxHtmlLinkInfo(wxString::FromUTF8(site + "/s?wd=xqzvbnt")));
    if (!browser->HasWebView())
        GTEST_SKIP() << "no web engine on this machine";
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return Requested(server, "GET /s?wd=xqzvbnt"); },
                                          std::chrono::seconds(20)));
}

// An online page that cannot be loaded (here: nothing listens on the port)
// is replaced by our page naming the cause, never the engine's error page.
TEST_F(DictionaryPaneTest, AnOnlinePageThatFailsShowsOurPageNamingTheCause)
{
    int closedPort = 0;
    {
        CLoopbackServer gone([](const std::string&) { return Page(""); }, 1, std::chrono::seconds(1));
        closedPort = gone.port();
    }
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strAppDir);
    theApp.m_strAppDir = m_program.ansi();
    m_program.write("AppData/CommonData/Product.cfg",
                    "DictionaryUrl=http://127.0.0.1:" + std::to_string(closedPort) + "/s?wd=\n");
    theApp.m_strWordLookupMode = "OnWordWeb";
    m_frame->SetClientSize(500, 500);
    m_frame->Show();

    EXPECT_EQ(m_pane->LookUpWord("study"), 1);
    CExplorer1* browser = m_pane->m_pWordView->m_browser;
    if (!browser->HasWebView())
        GTEST_SKIP() << "no web engine on this machine";
    const wxString cause = ToWx("无法连接到网站");
    ASSERT_TRUE(testsupport::RunLoopUntil(
        [&] { return browser->GetHtmlWindow()->IsShown() && browser->GetHtmlWindow()->ToText().Contains(cause); },
        std::chrono::seconds(10)));
    EXPECT_FALSE(browser->GetWebView()->GetWindow()->IsShown());
    EXPECT_TRUE(browser->GetHtmlWindow()->ToText().Contains(wxString::Format("127.0.0.1:%d", closedPort)));
}
