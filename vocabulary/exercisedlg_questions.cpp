// The exercise window's questions: generating them, showing one with its
// clip, moving between them, and handing in.
#include "vocabulary/exercisedlg.h"

#include <ctime>

#include <wx/bmpbuttn.h>
#include <wx/textctrl.h>

#include "playback/vlcplayer.h"
#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "ui/mybutton.h"
#include "ui/progressdlg.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "vocabulary/core/exercisehistory.h"
#include "vocabulary/core/mediaclip.h"

namespace {

const wxColour kBlankHighlight(46, 139, 87);   // sea green
const wxColour kRightHighlight(0, 119, 0);
const wxColour kWrongHighlight(255, 0, 0);
const CString kSixBlanks = "      ";

} // namespace

void CExerciseDlg::StartExercise()
{
    theApp.m_strExerciseSubmitted.Empty();
    UpdateFontIfChanged();
    // The lines of one media are merged once; the next exercise reuses them.
    if (theApp.m_strExerciseMerged.IsEmpty()) {
        std::vector<CString> english(theApp.m_arrForeignText.begin(), theApp.m_arrForeignText.end());
        std::vector<CString> chinese(theApp.m_arrChineseText.begin(), theApp.m_arrChineseText.end());
        std::vector<std::pair<int, int>> times;
        for (const SSentenceTiming& timing : theApp.m_arrSentenceTiming)
            times.emplace_back(timing.starttime, timing.endtime);
        m_merged = MergeSentences(english, chinese, times);
        theApp.m_strExerciseMerged = "true";
    }
    ResetControls();
    GenerateQuestions();
    if (!m_questions.empty())
        LayoutControls();
    else
        theApp.ShowMessage("没有相关练习！", "warning", 5000);
}

void CExerciseDlg::GenerateQuestions()
{
    m_nQuestionCount = 0;
    // Without the book or the lesson the table stays as it was.
    const std::optional<std::vector<CString>> found = ExerciseCandidates(
        theApp.m_strWordBookPath, theApp.m_strScriptPath,
        std::vector<CString>(theApp.m_arrUnitWords.begin(), theApp.m_arrUnitWords.end()));
    const std::vector<CString> candidates = found ? *found : std::vector<CString>();
    theApp.m_nProgressTotal = static_cast<int>(candidates.size());
    auto* dialog = new CProgressDlg;
    if (found && dialog->Create()) {
        dialog->Show();
        dialog->SetSize(theApp.m_nScreenWidth / 2 - 250, theApp.m_nScreenHeight / 2, 500, 30);
        CTextProgressCtrl* bar = dialog->m_ctlProgress;
        bar->SetSize(0, 0, 500, 30);
        bar->SetBgColor(theApp.m_clrBackground);
        bar->SetTextColor(theApp.m_clrText);
        BuildExerciseTable(theApp.m_strExerciseDbPath, candidates, m_merged, [bar](int done, int total) {
            bar->SetRange(0, total);
            bar->SetWindowText(ExerciseProgressText(done, total));
            bar->SetPos(done);
        });
    }
    dialog->Destroy();
    m_questions = LoadExercises(theApp.m_strExerciseDbPath, m_merged);
    m_strAnswers.assign(m_questions.size(), CString());
}

// GTK aborts when a window that is not on screen takes the focus, and the
// dialog fills its controls before it is shown.
void CExerciseDlg::FocusAnswer()
{
    if (m_editAnswer->IsShownOnScreen())
        m_editAnswer->SetFocus();
}

void CExerciseDlg::StoreTypedAnswer()
{
    CString answer = FromWx(m_editAnswer->GetValue());
    answer.Trim();
    // An answer of one character is no answer.
    if (answer.GetLength() > 1 && m_nCurrent < static_cast<int>(m_strAnswers.size()))
        m_strAnswers[m_nCurrent] = answer;
}

void CExerciseDlg::Highlight(wxTextCtrl* control, const wxColour& background)
{
    const wxString text = control->GetValue();
    const int open = text.Find('(');
    const int close = text.Find(')');
    if (open <= 0 || close < open)
        return;
    wxTextAttr style(*wxWHITE, background);
    style.SetFontWeight(wxFONTWEIGHT_BOLD);
    control->SetStyle(open, close + 1, style);
}

void CExerciseDlg::LookUp(const CString& word)
{
    IMainFrameHost* host = MainFrameHost();
    if (host == nullptr)
        return;
    theApp.m_strAutoLookup = "true";
    host->LookUpWordInPane(word);
    m_browser->Navigate(theApp.m_strDictWordHtmlPath);
}

void CExerciseDlg::ShowQuestion(int buttonId)
{
    const int current = buttonId - IDC_FIRST_BUTTON;
    if (current < 0 || current >= m_nQuestionCount)
        return;   // no question behind it (none at all after an empty exercise)
    m_nLastButtonId = buttonId;
    m_lookUpTimer.Stop();
    m_clipTimer.Stop();
    if (m_player)
        m_player->PauseIfPlaying();
    m_editAnswer->ChangeValue(wxString());
    FocusAnswer();
    m_nCurrent = current;

    const SExerciseQuestion& question = m_questions[current];
    const bool submitted = !theApp.m_strExerciseSubmitted.IsEmpty();
    CString sentence = question.question;
    if (submitted)
        sentence.Replace(kSixBlanks, question.keyword);
    m_richQuestion->ChangeValue(ToWx(sentence + "\n" + question.chinese + "\n"));
    Highlight(m_richQuestion, kBlankHighlight);
    if (submitted)
        LookUp(question.keyword);
    SetButtonColours(buttonId, RGB(0, 0, 255), RGB(255, 255, 255));

    const SClip clip = ClipAround(question.clipStartMs, question.clipEndMs, theApp.m_nRepeatMargin,
                                  theApp.m_nTimeOffset);
    m_llClipStart = clip.start;
    m_llClipEnd = clip.end;
    if (m_player) {
        m_player->PlayFrom(m_llClipStart);
        m_clipTimer.Start(100);
    }

    if (submitted) {
        const CString answer = m_strAnswers[current];
        const bool right = answer == question.keyword;
        m_richFeedback->ChangeValue(ToWx("正确答案是：" + question.keyword + "，" + "您提交的答案是：( " +
                                         (answer.IsEmpty() ? CString("空白") : answer) + " )" + "，" +
                                         (right ? "答对了！" : "答错了！")));
        Highlight(m_richFeedback, right ? kRightHighlight : kWrongHighlight);
        m_richFeedback->Show();
        m_editAnswer->Disable();
    }
    m_btnPrevious->Enable(current > 0);
    m_btnNext->Enable(current < m_nQuestionCount - 1);
}

void CExerciseDlg::OnPrevious()
{
    if (m_nCurrent <= 0) {
        m_btnPrevious->Disable();
        return;
    }
    StoreTypedAnswer();
    --m_nCurrent;
    ColourButtons();
    ShowQuestion(IDC_FIRST_BUTTON + m_nCurrent);
    FocusAnswer();
}

void CExerciseDlg::OnNext()
{
    if (m_nCurrent >= m_nQuestionCount - 1) {
        m_btnNext->Disable();
        return;
    }
    StoreTypedAnswer();
    ++m_nCurrent;
    ColourButtons();
    ShowQuestion(IDC_FIRST_BUTTON + m_nCurrent);
    FocusAnswer();
}

void CExerciseDlg::OnAnswerEntered()
{
    if (!theApp.m_strExerciseSubmitted.IsEmpty() || m_nQuestionCount < 1)
        return;
    StoreTypedAnswer();
    m_nCurrent = m_nCurrent + 1 < m_nQuestionCount ? m_nCurrent + 1 : 0;
    ColourButtons();
    ShowQuestion(IDC_FIRST_BUTTON + m_nCurrent);
}

void CExerciseDlg::OnSubmit()
{
    if (m_nQuestionCount < 1 || !theApp.m_strExerciseSubmitted.IsEmpty())
        return;   // nothing to hand in, or handed in already
    theApp.m_strExerciseSubmitted = "true";
    m_btnSubmit->Disable();
    m_btnSubmit->SetBkColor(RGB(238, 238, 238));
    m_btnSubmit->SetTextColor(RGB(0, 119, 0));
    m_btnSubmit->Refresh();
    ColourButtons();

    std::vector<CString> keywords;
    for (int k = 0; k < m_nQuestionCount; ++k)
        keywords.push_back(m_questions[k].keyword);
    const SExerciseScore score = ScoreExercise(keywords, m_strAnswers);
    CString summary;
    summary.Format("当前共有%d题,您答对了其中的%d题,您的答题正确率是：%d%%  。", score.questions, score.correct,
                   score.percent);
    m_richFeedback->ChangeValue(ToWx(summary));
    m_richFeedback->Show();
    m_editAnswer->Disable();

    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    SExerciseRecord record;
    record.time = ExerciseTimeText(local);
    record.mediaName = theApp.m_strMediaName;
    record.mediaPath = theApp.m_strMediaPath;
    record.english = m_questions[0].question;
    record.chinese = m_questions[0].chinese;
    record.answer = m_questions[0].keyword;
    record.myAnswer = m_strAnswers[0];
    record.score.Format("%d", score.percent);
    record.questions = score.questions;
    AppendExerciseHistory(theApp.m_strExerciseDbPath, record);
}

void CExerciseDlg::OnClipTick()
{
    if (!m_player) {
        m_clipTimer.Stop();
        return;
    }
    if (ClipIsOver(m_player->GetTime(), m_llClipEnd, m_player->IsEndedOrStopped())) {
        m_player->PauseIfPlaying();
        m_clipTimer.Stop();
    }
}

void CExerciseDlg::OnLookUpTick()
{
    m_lookUpTimer.Stop();
    CString text = FromWx(m_richQuestion->GetStringSelection());
    text.Trim();
    if (!text.IsEmpty())
        LookUp(text);
}
