// The exercise window ("单词练习"): sixty numbered question buttons, the
// current question's sentence with its blank and its Chinese text, an answer
// box with previous and next buttons, the hand-in button, a feedback line,
// the dictionary page of a word and a video surface on which the question's
// sentence plays as a clip. The word book view makes it once (hidden) and
// starts each exercise in it; handing in scores the answers and adds one row
// to the exercise history. Enter and Escape never close it.
#pragma once

#include <memory>
#include <vector>

#include <wx/dialog.h>
#include <wx/timer.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"
#include "vocabulary/core/exercisegen.h"

class CExplorer1;
class CMyButton;
class CVideoWindow;
class CVlcPlayer;
class wxBitmapButton;
class wxPanel;
class wxTextCtrl;

class CExerciseDlg : public wxDialog {
public:
    enum {
        IDC_QUESTION = 1014,
        IDC_FEEDBACK = 1018,
        IDC_FIRST_BUTTON = 1033,
        IDC_ANSWER = 1093,
        IDC_NEXT = 1094,
        IDC_PREVIOUS = 1095,
        IDC_SUBMIT = 1103,
        IDC_VIDEO = 1107,
        IDC_BROWSER = 1001,
    };
    static constexpr int kQuestionButtons = 60;
    // Timer 100 looks up the word selected by a double click; timer 300
    // watches the clip and pauses it at its end.
    enum EExerciseTimer { kTimerLookUpSelection = 100, kTimerClip = 300 };

    CExerciseDlg();
    ~CExerciseDlg() override;

    bool Create(wxWindow* parent);

    // A new exercise on the lesson loaded: its sentences merged (once per
    // media), the questions generated from the new-word book, the window
    // laid out; "没有相关练习！" when there is none.
    void StartExercise();
    // The fonts follow the lesson's when they changed since the last time.
    void UpdateFontIfChanged();
    void ApplyTextFormat();
    void ResetControls();
    void LayoutControls();
    // Before handing in: answered buttons green, the others grey; after:
    // right ones green, wrong ones red (and m_nCorrect counted).
    void ColourButtons();
    void ShowQuestion(int buttonId);
    void OnPrevious();
    void OnNext();
    // Enter in the answer box: the answer is kept and the next question (the
    // first after the last) comes up.
    void OnAnswerEntered();
    void OnSubmit();
    void OnClipTick();
    void OnLookUpTick();

    // The exercise: merged sentences, questions and the learner's answers.
    std::vector<SMergedSentence> m_merged;
    std::vector<SExerciseQuestion> m_questions;
    std::vector<CString> m_strAnswers;
    int m_nQuestionCount = 0;
    int m_nCurrent = 0;
    int m_nCorrect = 0;
    int m_nLastButtonId = 0;
    int64_t m_llClipStart = 0;
    int64_t m_llClipEnd = 0;

    std::vector<CMyButton*> m_btnNumber;
    wxTextCtrl* m_richQuestion = nullptr;
    wxTextCtrl* m_editAnswer = nullptr;
    wxBitmapButton* m_btnPrevious = nullptr;
    wxBitmapButton* m_btnNext = nullptr;
    CMyButton* m_btnSubmit = nullptr;
    wxTextCtrl* m_richFeedback = nullptr;
    CExplorer1* m_browser = nullptr;
    wxPanel* m_staticVideo = nullptr;
    std::unique_ptr<CVlcPlayer> m_player;

private:
    void FocusAnswer();
    void StoreTypedAnswer();
    void SetButtonColours(int buttonId, COLORREF fill, COLORREF text);
    void Highlight(wxTextCtrl* control, const wxColour& background);
    void LookUp(const CString& word);
    void GenerateQuestions();

    std::unique_ptr<CVideoWindow> m_video;
    wxTimer m_lookUpTimer;
    wxTimer m_clipTimer;
};
