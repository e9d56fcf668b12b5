// The exercise window on a shipped lesson and a fixture new-word book: the
// questions come up with their blanks, answers are kept and scored, handing
// in shows the right words and adds one history row; an exercise without
// questions warns and can neither be entered nor handed in.
#include <vector>

#include <gtest/gtest.h>
#include <wx/bmpbuttn.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>

#include "lesson/core/lessonloader.h"
#include "ui/mybutton.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"
#include "tests/windowsupport.h"
#include "vocabulary/core/exercisehistory.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/exercisedlg.h"
#include "vocabulary/exerhistorydlg.h"

namespace {

class ExerciseDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strExerciseDbPath, &CQuenlowApp::m_strWordBookPath});
        guard.Keep(&CQuenlowApp::m_strScriptPath).Keep(&CQuenlowApp::m_strMediaPath).Keep(&CQuenlowApp::m_strMediaName)
            .Keep(&CQuenlowApp::m_strExerciseMerged).Keep(&CQuenlowApp::m_strExerciseSubmitted)
            .Keep(&CQuenlowApp::m_nRepeatMargin).Keep(&CQuenlowApp::m_nTimeOffset);
        theApp.m_strScriptPath = program.ansi() + "Playlist/ChenWei_2023.script";
        theApp.m_strMediaPath = program.ansi() + "Playlist/ChenWei_2023.mp4";
        theApp.m_strMediaName = "ChenWei_2023.mp4";
        theApp.m_strExerciseMerged.Empty();
        theApp.m_nRepeatMargin = 100;
        theApp.m_nTimeOffset = 0;
        CString text;
        ASSERT_EQ(LoadLessonFile(theApp, theApp.m_strScriptPath, text), ELessonLoadResult::Loaded);
        testsupport::TakeMessage();
        m_dlg = new CExerciseDlg;
        ASSERT_TRUE(m_dlg->Create(nullptr));
        m_dlg->SetSize(1000, 700);
    }
    void TearDown() override
    {
        m_dlg->Destroy();
        theApp.ClearSentenceModel();
        testsupport::DrainEvents();
    }
    void Answer(const CString& text)
    {
        m_dlg->m_editAnswer->ChangeValue(ToWx(text));
        m_dlg->OnAnswerEntered();
    }

    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    CExerciseDlg* m_dlg = nullptr;
};

TEST_F(ExerciseDlgTest, QuestionsAreAnsweredScoredAndRecorded)
{
    for (const char* word : {"study", "student", "language"})
        ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, word), EWordBookSave::Saved);
    m_dlg->StartExercise();
    ASSERT_GE(m_dlg->m_nQuestionCount, 2);
    EXPECT_TRUE(m_dlg->m_btnNumber[0]->IsShown());
    EXPECT_FALSE(m_dlg->m_btnNumber[m_dlg->m_nQuestionCount]->IsShown());

    // Question 1: its sentence with the blank, its Chinese line.
    m_dlg->ShowQuestion(CExerciseDlg::IDC_FIRST_BUTTON);
    const CString shown = FromWx(m_dlg->m_richQuestion->GetValue());
    EXPECT_NE(shown.Find("(      )"), -1) << shown.GetString();
    EXPECT_FALSE(m_dlg->m_btnPrevious->IsEnabled());

    // The first answer right, the second wrong by its letter case; Enter
    // moves on, from the last question to the first.
    const SExerciseQuestion first = m_dlg->m_questions[0];
    const SExerciseQuestion second = m_dlg->m_questions[1];
    Answer(first.keyword);
    EXPECT_EQ(m_dlg->m_nCurrent, 1);
    CString wrong = second.keyword;
    wrong.MakeUpper();
    Answer(wrong);
    EXPECT_EQ(m_dlg->m_strAnswers[0], first.keyword);
    EXPECT_EQ(m_dlg->m_btnNumber[0]->GetBkColor(), RGB(0, 119, 0));   // answered

    m_dlg->OnSubmit();
    EXPECT_EQ(theApp.m_strExerciseSubmitted, "true");
    EXPECT_FALSE(m_dlg->m_btnSubmit->IsEnabled());
    EXPECT_EQ(m_dlg->m_nCorrect, 1);
    EXPECT_EQ(m_dlg->m_btnNumber[1]->GetBkColor(), RGB(255, 0, 0));   // wrong
    CString expected;
    expected.Format("当前共有%d题,您答对了其中的1题,您的答题正确率是：%d%%  。", m_dlg->m_nQuestionCount,
                    100 / m_dlg->m_nQuestionCount);
    EXPECT_EQ(FromWx(m_dlg->m_richFeedback->GetValue()), expected);

    // After handing in, a question shows its right word and the verdict.
    m_dlg->ShowQuestion(CExerciseDlg::IDC_FIRST_BUTTON + 1);
    EXPECT_NE(FromWx(m_dlg->m_richQuestion->GetValue()).Find(second.keyword), -1);
    EXPECT_EQ(FromWx(m_dlg->m_richFeedback->GetValue()),
              "正确答案是：" + second.keyword + "，您提交的答案是：( " + wrong + " )，答错了！");
    EXPECT_FALSE(m_dlg->m_editAnswer->IsEnabled());

    // One history row for the whole exercise; a second hand-in adds none.
    m_dlg->OnSubmit();
    const std::vector<SExerciseHistoryRow> rows = ReadExerciseHistory(theApp.m_strExerciseDbPath);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].mediaName, "ChenWei_2023.mp4");
    CString count;
    count.Format("%d", m_dlg->m_nQuestionCount);
    EXPECT_EQ(rows[0].questions, count);
}

TEST_F(ExerciseDlgTest, AnExerciseWithoutQuestionsWarnsAndTakesNoInput)
{
    ASSERT_EQ(SaveToWordBook(theApp.m_strWordBookPath, "elephant"), EWordBookSave::Saved);
    m_dlg->StartExercise();
    EXPECT_EQ(m_dlg->m_nQuestionCount, 0);
    EXPECT_EQ(testsupport::TakeMessage(), "没有相关练习！");
    EXPECT_FALSE(m_dlg->m_btnNumber[0]->IsShown());
    // Enter and hand-in do nothing (no question to index, no score to divide).
    Answer("word");
    m_dlg->OnSubmit();
    m_dlg->ShowQuestion(CExerciseDlg::IDC_FIRST_BUTTON);
    EXPECT_TRUE(theApp.m_strExerciseSubmitted.IsEmpty());
    EXPECT_TRUE(ReadExerciseHistory(theApp.m_strExerciseDbPath).empty());
}

} // namespace

namespace {

// The history window lists the rows ascending by media name and deletes the
// selected ones by their hidden numbers.
TEST(ExerHistoryDlgTest, ListsByNameAndDeletesTheSelectedRows)
{
    testsupport::TempProgramFolder program;
    testsupport::AppStateGuard guard;
    guard.UseStartupValues(program.ansi(), {&CQuenlowApp::m_strExerciseDbPath});
    for (const char* name : {"b.mp4", "a.mp4", "b.mp4"}) {
        SExerciseRecord record;
        record.time = "2026-12-11  4:0:0";
        record.mediaName = name;
        record.score = "50";
        record.questions = 2;
        ASSERT_TRUE(AppendExerciseHistory(theApp.m_strExerciseDbPath, record));
    }
    auto* dialog = new CExerHistoryDlg;
    ASSERT_TRUE(dialog->Create(nullptr));
    dialog->LoadHistory();
    ASSERT_EQ(dialog->m_list->GetItemCount(), 3);
    EXPECT_EQ(FromWx(dialog->m_list->GetItemText(0, 1)), "a.mp4");
    EXPECT_EQ(FromWx(dialog->m_list->GetItemText(1, 1)), "b.mp4");

    // Two rows of the same name and time: both selected, both go.
    dialog->m_list->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    dialog->m_list->SetItemState(2, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    dialog->OnDelete();
    ASSERT_EQ(dialog->m_list->GetItemCount(), 1);
    EXPECT_EQ(FromWx(dialog->m_list->GetItemText(0, 1)), "a.mp4");
    dialog->Destroy();
}

} // namespace
