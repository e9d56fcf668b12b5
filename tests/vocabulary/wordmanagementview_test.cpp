// The word book view under a display: its list formats, the list modes
// reached through their commands, choosing a word (counter, highlight,
// dictionary and word-root pages), known and unknown words handed to the
// frame for the new-word book, the commands' enabled and checked states, the
// book commands with answered dialogs, the automatic word change and the
// exercise windows on a shipped lesson.
#include <vector>

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/stc/stc.h>

#include "lesson/core/lessonloader.h"
#include "platform/file.h"
#include "ui/explorer1.h"
#include "ui/messagebox.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "ui/mybutton.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlookup.h"
#include "playback/purewmpdialog.h"
#include "vocabulary/wordmanagementview.h"

namespace {

class WordManagementViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        guard.UseStartupValues(program.ansi(),
                               {&CQuenlowApp::m_strAppDir, &CQuenlowApp::m_strWordBookPath,
                                &CQuenlowApp::m_strDictWordHtmlPath, &CQuenlowApp::m_strWordRootDbPath,
                                &CQuenlowApp::m_strWordRootHtmlPath, &CQuenlowApp::m_strExerciseDbPath});
        guard.Keep(&CQuenlowApp::m_strWordListKind).Keep(&CQuenlowApp::m_nWordIndex)
            .Keep(&CQuenlowApp::m_strScriptPath).Keep(&CQuenlowApp::m_strMediaPath)
            .Keep(&CQuenlowApp::m_strSubtitleLoaded).Keep(&CQuenlowApp::m_arrUnitWords)
            .Keep(&CQuenlowApp::m_strWordFound).Keep(&CQuenlowApp::m_strCurrentWord)
            .Keep(&CQuenlowApp::m_strWordPaneCommand).Keep(&CQuenlowApp::m_strAutoChangeWord)
            .Keep(&CQuenlowApp::m_strActiveView).Keep(&CQuenlowApp::m_strAutoPlayExample)
            .Keep(&CQuenlowApp::m_bStreamDlgVisible).Keep(&CQuenlowApp::m_strExerciseDlgCreated)
            .Keep(&CQuenlowApp::m_strHistoryDlgCreated).Keep(&CQuenlowApp::m_strExerciseMerged)
            .Keep(&CQuenlowApp::m_nRepeatMargin).Keep(&CQuenlowApp::m_strMediaName);
        theApp.m_strWordListKind.Empty();
        theApp.m_strAutoChangeWord.Empty();
        theApp.m_strAutoPlayExample.Empty();
        theApp.m_bStreamDlgVisible = 0;
        theApp.m_strWordFound = "true";
        frame = new wxFrame(nullptr, wxID_ANY, "word book");
        view = new CWordManagementView;
        ASSERT_TRUE(view->Create(frame, 378));
        view->SetSize(900, 600);
        view->Show();
        view->LayoutControls(900, 600);
    }
    void TearDown() override
    {
        SetMessageBoxHandler({});
        frame->Destroy();
        theApp.ClearSentenceModel();
        testsupport::DrainEvents();
    }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        view->GetEventHandler()->ProcessEvent(event);
    }
    // (enabled, checked) of a command as the ribbon asks for it.
    std::pair<bool, bool> State(int id)
    {
        wxUpdateUIEvent event(id);
        view->GetEventHandler()->ProcessEvent(event);
        return {event.GetEnabled(), event.GetChecked()};
    }
    CString ListText() { return FromWx(view->m_editWordList->GetText()); }
    CString Counter() { return FromWx(view->m_editCounter->GetText()); }
    std::vector<CString> Book()
    {
        std::vector<CString> words;
        EXPECT_TRUE(ReadWordBook(theApp.m_strWordBookPath, words));
        return words;
    }
    void LoadShippedLesson()
    {
        theApp.m_strScriptPath = program.ansi() + "Playlist/ChenWei_2023.script";
        theApp.m_strMediaPath = program.ansi() + "Playlist/ChenWei_2023.mp4";
        theApp.m_strMediaName = "ChenWei_2023.mp4";
        theApp.m_strExerciseMerged.Empty();
        theApp.m_nRepeatMargin = 100;
        CString text;
        ASSERT_EQ(LoadLessonFile(theApp, theApp.m_strScriptPath, text), ELessonLoadResult::Loaded);
        theApp.m_strSubtitleLoaded = "true";
        testsupport::TakeMessage();
    }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard {&CQuenlowApp::m_strFontName, &CQuenlowApp::m_nFontSize,
                                      &CQuenlowApp::m_clrText, &CQuenlowApp::m_nFontChangeCount,
                                      &CQuenlowApp::m_nFontCountWordView};
    wxFrame* frame = nullptr;
    CWordManagementView* view = nullptr;
};

TEST_F(WordManagementViewTest, ListFormatsFollowTheCounterAtTwelvePoints)
{
    wxStyledTextCtrl& list = *view->m_editWordList;
    wxStyledTextCtrl& examples = *view->m_editExamples;
    theApp.m_strFontName = "Serif";
    theApp.m_nFontSize = 30;   // the lists keep their own size
    theApp.m_clrText = RGB(0, 0, 255);
    ++theApp.m_nFontChangeCount;
    view->RefreshStyle();
    EXPECT_EQ(theApp.m_nFontCountWordView, theApp.m_nFontChangeCount);
    for (wxStyledTextCtrl* control : {&list, &examples}) {
        EXPECT_EQ(control->StyleGetFaceName(0), "Serif");
        EXPECT_EQ(control->StyleGetSize(0), 12);
        EXPECT_EQ(control->StyleGetForeground(0), wxColour(0, 0, 255));
    }
    EXPECT_TRUE(list.StyleGetBold(0));
    EXPECT_FALSE(examples.StyleGetBold(0));
    EXPECT_EQ(view->m_editCounter->StyleGetBackground(0), wxColour(255, 153, 18));

    // Same counter: a new face is not picked up.
    theApp.m_strFontName = "Monospace";
    view->RefreshStyle();
    EXPECT_EQ(list.StyleGetFaceName(0), "Serif");
}

TEST_F(WordManagementViewTest, ListCommandsShowTheirLists)
{
    for (const char* word : {"zebra", "don't", "apple"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    LoadShippedLesson();
    theApp.m_nWordIndex = 7;

    struct Case {
        int command;
        const char* kind;
        const char* firstLine;   // "" for an empty list
    } const cases[] = {
        {kCmdWordBook, "UNKOWNWORD", "apple"},
        {kCmdOutlineWords, "OUTLINE", nullptr},
        {kCmdRealExamWords, "REALEXAMWORD", nullptr},
        {kCmdCommonPhrases, "REALEXAMIDIOMS", nullptr},
        {kCmdShowWords, "CURRENTUNITWORD", nullptr},
        {kCmdShowPhrases, "CURRENTUNITPHASE", nullptr},
        {kCmdShowNewWords, "UNITUNKOWNWORD", ""},
    };
    for (const Case& c : cases) {
        Command(c.command);
        EXPECT_EQ(theApp.m_strWordListKind, c.kind);
        const CString text = ListText();
        int lines = 0;
        for (int i = 0; i < text.GetLength(); ++i)
            lines += text[i] == '\n';
        EXPECT_EQ(lines, view->m_nListCount) << c.kind;
        EXPECT_EQ(Counter(), ListCounterText(view->m_nListCount)) << c.kind;
        EXPECT_EQ(State(c.command), std::make_pair(true, true)) << c.kind;
        if (c.firstLine != nullptr && *c.firstLine != '\0')
            EXPECT_EQ(text.Left(text.Find('\n')), c.firstLine) << c.kind;
        else if (c.firstLine == nullptr)
            EXPECT_GT(view->m_nListCount, 2) << c.kind;
        else
            EXPECT_EQ(view->m_nListCount, 0) << c.kind;
    }
    EXPECT_EQ(theApp.m_nWordIndex, 0);

    // The book lists "don't" with its apostrophe; the lesson's words fill the unit list.
    Command(kCmdWordBook);
    EXPECT_EQ(ListText(), "apple\ndon't\nzebra\n");
    Command(kCmdShowWords);
    EXPECT_GT(theApp.m_arrUnitWords.GetSize(), 3);
    ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, theApp.m_arrUnitWords[0]), EWordBookSave::Saved);
    Command(kCmdShowNewWords);
    EXPECT_EQ(ListText(), ShownListText({theApp.m_arrUnitWords[0]})) << "the book's words of the unit";
}

TEST_F(WordManagementViewTest, ChoosingAWordShowsItsPagesAndJudgingHandsItOn)
{
    testsupport::AppStateGuard mode(&CQuenlowApp::m_strWordLookupMode);
    theApp.m_strWordLookupMode = "OnWordHome";
    for (const char* word : {"transport", "don't", "zzzq"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    Command(kCmdWordBook);
    ASSERT_EQ(ListText(), "don't\ntransport\nzzzq\n");
    EXPECT_EQ(State(kCmdWordKnown).first, false) << "no word chosen yet";

    // A word with a root entry: dictionary page and word-root page side by side.
    view->ChooseListLine(1);
    EXPECT_EQ(Counter(), "第2个/共3个");
    EXPECT_EQ(view->m_strSelectedWord, "transport");
    EXPECT_EQ(view->m_wndDictBrowser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
    EXPECT_EQ(view->m_wndRootBrowser->GetLocationURL(), theApp.m_strWordRootHtmlPath);
    EXPECT_EQ(view->m_wndRootBrowser->GetSize().x, (900 - 180) / 2);
    EXPECT_EQ(view->m_editWordList->GetStyleAt(view->m_editWordList->PositionFromLine(1)), 1) << "highlighted";
    EXPECT_EQ(State(kCmdWordKnown).first, true);

    // Not in the local dictionary: the page the look-up wrote, which says so
    // and links the online page; in the online mode the online page. No
    // root entry hides the root page.
    theApp.m_strWordFound.Empty();
    view->ChooseListLine(2);
    EXPECT_EQ(view->m_wndDictBrowser->GetLocationURL(), theApp.m_strDictWordHtmlPath);
    theApp.m_strWordLookupMode = "OnWordWeb";
    view->ChooseListLine(2);
    EXPECT_EQ(view->m_wndDictBrowser->GetLocationURL(), OnlineDictionaryAddress("zzzq"));
    theApp.m_strWordLookupMode = "OnWordHome";
    EXPECT_EQ(view->m_wndRootBrowser->GetSize(), wxSize(1, 1));
    EXPECT_EQ(view->m_editWordList->GetStyleAt(view->m_editWordList->PositionFromLine(1)), 0) << "old highlight gone";

    // The apostrophe goes on in the stored form; 认识 hands it to the frame for deleting.
    view->ChooseListLine(0);
    EXPECT_EQ(view->m_strSelectedWord, "don*t");
    Command(kCmdWordKnown);
    EXPECT_EQ(theApp.m_strCurrentWord, "don*t");
    EXPECT_EQ(theApp.m_strWordPaneCommand, "OnBnClickedButtonDelword:");
    EXPECT_EQ(view->m_editWordList->GetStyleAt(0), 2) << "marked known";
    Command(kCmdWordUnknown);
    EXPECT_EQ(theApp.m_strWordPaneCommand, "OnBnClickedButtonSaveword:");

    // A click below the last line chooses nothing.
    view->ChooseListLine(3);
    EXPECT_EQ(Counter(), "没有单词");
    EXPECT_EQ(view->m_strSelectedWord, "don*t");
}

// The book comes in front for the lesson in theApp: the same lesson keeps
// where the learner was, another lesson starts the book afresh.
TEST_F(WordManagementViewTest, ShowingTheBookStartsAfreshOnlyForAnotherLesson)
{
    theApp.m_strScriptPath = "a.script";
    view->m_strExerciseLessonPath = "earlier.script";
    view->ShowLessonWords();
    EXPECT_EQ(view->m_strLessonPath, "a.script");
    EXPECT_TRUE(view->m_strExerciseLessonPath.IsEmpty());
    EXPECT_FALSE(theApp.m_strWordListKind.IsEmpty());

    view->m_strExerciseLessonPath = "a.script";
    view->ShowLessonWords();
    EXPECT_EQ(view->m_strExerciseLessonPath, "a.script") << "the same lesson starts nothing afresh";

    theApp.m_strScriptPath = "b.script";
    view->ShowLessonWords();
    EXPECT_EQ(view->m_strLessonPath, "b.script");
    EXPECT_TRUE(view->m_strExerciseLessonPath.IsEmpty());
}

TEST_F(WordManagementViewTest, CommandStatesFollowTheListKind)
{
    struct Case {
        const char* kind;
        int command;
        bool enabled;
        bool checked;
    } const cases[] = {
        {"UNKOWNWORD", kCmdExportWords, true, false},
        {"OUTLINE", kCmdExportWords, false, false},
        {"UNKOWNWORD", kCmdRandomGroups, true, false},
        {"RANDOMDIVIDE", kCmdRandomGroups, true, true},
        {"OUTLINE", kCmdRandomGroups, false, false},
        {"RANDOMDIVIDE", kCmdClearWordBook, false, false},
        {"OUTLINE", kCmdWordBook, true, false},
        {"CURRENTUNITWORD", kCmdShowWords, false, false},   // no lesson text
        {"", kCmdMakeExercise, true, false},
        {"", kCmdExerciseScores, true, false},
        {"", kCmdAutoChangeWord, true, false},
        {"", kCmdWordInterval, false, false},
    };
    theApp.m_strSubtitleLoaded.Empty();
    for (const Case& c : cases) {
        theApp.m_strWordListKind = c.kind;
        EXPECT_EQ(State(c.command), std::make_pair(c.enabled, c.checked)) << c.kind << " " << c.command;
    }
    theApp.m_strSubtitleLoaded = "true";
    theApp.m_strWordListKind = "CURRENTUNITWORD";
    EXPECT_EQ(State(kCmdShowWords), std::make_pair(true, true));
    EXPECT_EQ(State(kCmdShowPhrases), std::make_pair(true, false));
}

TEST_F(WordManagementViewTest, BookCommandsExportImportClearAndGroup)
{
    for (const char* word : {"study", "it's"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    Command(kCmdWordBook);
    const CString file = program.ansi() + "out.txt";
    CString opened;
    view->m_chooseFile = [&file](bool, const CString&, const CString&) { return file; };
    view->m_openFile = [&opened](const CString& path) { opened = path; };
    Command(kCmdExportWords);
    EXPECT_EQ(opened, file);
    EXPECT_EQ(testsupport::ReadBytes(ToFsPath(file)), "study\r\nit*s\r\n");

    // Clear, answering Cancel then OK.
    int answer = wxCANCEL;
    SetMessageBoxHandler([&answer](const CString&, const CString&, long) { return answer; });
    Command(kCmdClearWordBook);
    EXPECT_EQ(Book().size(), 2u);
    answer = wxOK;
    Command(kCmdClearWordBook);
    EXPECT_TRUE(Book().empty());
    EXPECT_EQ(testsupport::TakeMessage(), "成功删除全部生词！");
    EXPECT_EQ(ListText(), "");

    // Import the exported file back, then Cancel an import.
    Command(kCmdImportWords);
    EXPECT_EQ(testsupport::TakeMessage(), "共导入了2个单词!");
    EXPECT_EQ(ListText(), "it's\nstudy\n");
    view->m_chooseFile = [](bool, const CString&, const CString&) { return CString(); };
    Command(kCmdImportWords);
    EXPECT_EQ(testsupport::TakeMessage(), "共导入了0个单词!");

    // A random group needs 100 words in the book.
    Command(kCmdRandomGroups);
    EXPECT_EQ(testsupport::TakeMessage(), "少于100个单词，没有必要分组！");
    EXPECT_EQ(Counter(), "  共0个");
    for (int i = 0; i < 98; ++i) {
        CString word;
        word.Format("word%02d", i);
        SaveToWordBook(theApp.m_strWordBookPath, word);
    }
    Command(kCmdRandomGroups);
    EXPECT_EQ(view->m_nListCount, 50) << "drawn from the book as it is now";
    EXPECT_EQ(theApp.m_strWordListKind, "RANDOMDIVIDE");
}

TEST_F(WordManagementViewTest, AutomaticWordChangeWrapsAndStopsElsewhere)
{
    for (const char* word : {"apple", "river", "study"})
        SaveToWordBook(theApp.m_strWordBookPath, word);
    Command(kCmdWordBook);
    theApp.m_strActiveView = "CWordManagementView";
    theApp.m_nWordIndex = 9;   // left from a longer list
    Command(kCmdAutoChangeWord);
    EXPECT_EQ(theApp.m_strAutoChangeWord, "true");
    EXPECT_TRUE(State(kCmdWordInterval).first);
    const char* expected[] = {"apple", "river", "study", "apple"};
    for (const char* word : expected) {
        view->OnTimer(CWordManagementView::kTimerChangeWord);
        EXPECT_EQ(view->m_strSelectedWord, word);
    }
    EXPECT_EQ(Counter(), "  第1个/共3个");

    theApp.m_strActiveView = "CQuenlowView";
    view->OnTimer(CWordManagementView::kTimerChangeWord);
    EXPECT_EQ(theApp.m_strAutoChangeWord, "");
    EXPECT_EQ(view->m_strSelectedWord, "apple");
}

TEST_F(WordManagementViewTest, ExerciseAndHistoryCommandsOpenTheirWindows)
{
    LoadShippedLesson();
    for (const char* word : {"study", "student", "language"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    Command(kCmdMakeExercise);
    ASSERT_TRUE(view->m_dlgExercise);
    EXPECT_TRUE(view->m_dlgExercise->IsShown());
    EXPECT_GE(view->m_dlgExercise->m_nQuestionCount, 2);
    EXPECT_TRUE(view->m_dlgExercise->m_btnSubmit->IsEnabled());
    EXPECT_EQ(theApp.m_strExerciseDlgCreated, "true");
    CExerciseDlg* first = view->m_dlgExercise;
    Command(kCmdMakeExercise);
    EXPECT_EQ(static_cast<CExerciseDlg*>(view->m_dlgExercise), first) << "made once";

    Command(kCmdExerciseScores);
    ASSERT_TRUE(view->m_dlgHistory);
    EXPECT_TRUE(view->m_dlgHistory->IsShown());
    EXPECT_EQ(theApp.m_strHistoryDlgCreated, "true");
    EXPECT_EQ(view->m_dlgHistory->m_list->GetItemCount(), 0) << "nothing handed in yet";
}

// The second player window with the real engine, shown, for the examples'
// clips; the application's slot points at it while it lives.
class CSecondPlayer {
public:
    CSecondPlayer() : m_old(theApp.m_pStreamDlg)
    {
        m_dialog = new CPureWMPDialog;
        EXPECT_TRUE(m_dialog->Create(nullptr));
        m_dialog->SetSize(320, 240);
        m_dialog->Show();
        theApp.m_pStreamDlg = m_dialog;
    }
    ~CSecondPlayer()
    {
        m_dialog->StopPlayer();
        theApp.m_pStreamDlg = m_old;
        m_dialog->Destroy();
        testsupport::DrainEvents();
    }
    CVlcPlayer& Player() { return *m_dialog->m_player; }

private:
    CPureWMPDialog* m_old;
    CPureWMPDialog* m_dialog;
};

TEST_F(WordManagementViewTest, ExamplesAreListedMarkedAndPlayedAsClips)
{
    LoadShippedLesson();
    // Short sentences keep the clips short.
    for (SSentenceTiming& timing : theApp.m_arrSentenceTiming)
        timing.endtime = timing.starttime + 400;
    theApp.m_nRepeatMargin = 20;
    CSecondPlayer second;

    view->ShowExamples("study");
    const std::vector<SWordExample>& examples = view->m_examples.Examples();
    ASSERT_EQ(examples.size(), 2u);
    const CString listText = FromWx(view->m_editExamples->GetText());
    EXPECT_EQ(listText.Left(2), CString("1."));
    EXPECT_GE(listText.Find("\n2."), 0);
    // Each example's word carries the mark in the list.
    wxStyledTextCtrl& list = *view->m_editExamples;
    const int secondLine = list.PositionFromLine(1);
    EXPECT_EQ(list.GetStyleAt(secondLine + examples[1].markStart), CWordManagementView::kStyleExampleMark);
    EXPECT_EQ(list.GetStyleAt(secondLine), 0);

    // A click on the second example shows it with its word selected and plays
    // its clip, which ends by itself.
    view->ChooseExampleAt(secondLine + 3);
    EXPECT_EQ(view->m_nCurrentExample, 1);
    EXPECT_EQ(FromWx(view->m_editSentence->GetSelectedText()), CString("studied"));
    // The clip starts at its start, not at the media's.
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return second.Player().GetTime() > 0; }, std::chrono::seconds(10)));
    EXPECT_GE(second.Player().GetTime(), view->m_clip.start - 300);
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return second.Player().GetState() != CVlcPlayer::kStatePlaying; },
                                          std::chrono::seconds(10)));

    // Automatic playback runs through both examples and stops after the last.
    Command(kCmdAutoPlayExample);
    EXPECT_EQ(theApp.m_strAutoPlayExample, "true");
    EXPECT_TRUE(testsupport::RunLoopUntil([&] { return view->m_nCurrentExample == 2; }, std::chrono::seconds(20)));
    testsupport::RunLoopFor(std::chrono::milliseconds(300));
    EXPECT_NE(second.Player().GetState(), CVlcPlayer::kStatePlaying);
    Command(kCmdAutoPlayExample);
    EXPECT_TRUE(theApp.m_strAutoPlayExample.IsEmpty());

    // A phrase of the lesson, and a word it does not list.
    view->ShowExamples("every day");
    EXPECT_EQ(view->m_examples.Examples().size(), 1u);
    view->ShowExamples("zebra");
    EXPECT_TRUE(view->m_examples.Examples().empty());
    EXPECT_EQ(view->m_editExamples->GetText(), "");
}

TEST_F(WordManagementViewTest, AnExampleWhoseTalkHasNoVideoSaysSo)
{
    LoadShippedLesson();
    view->ShowExamples("study");
    ASSERT_FALSE(view->m_examples.Examples().empty());
    ASSERT_TRUE(DeleteFile(theApp.m_strMediaPath));
    view->OnPlayExampleLesson();
    EXPECT_EQ(testsupport::TakeMessage(), CString("视频文件不存在！"));
    // Without the media the lesson shows no examples.
    view->ShowExamples("study");
    EXPECT_TRUE(view->m_examples.Examples().empty());
}

} // namespace
