#include "vocabulary/exercisedlg.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/bmpbuttn.h>
#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/panel.h>
#include <wx/textctrl.h>

#include "playback/videowindow.h"
#include "playback/vlcplayer.h"
#include "platform/codepage.h"
#include "ui/explorer1.h"
#include "ui/mybutton.h"
#include "ui/wxcolour.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

namespace {

const COLORREF kWrong = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRight = RGB(0, 119, 0);
const COLORREF kCurrent = RGB(0, 0, 255);
const COLORREF kUnanswered = RGB(238, 238, 238);
const COLORREF kUnansweredText = RGB(153, 0, 0);

constexpr int kMargin = 10;
constexpr int kButtonSize = 30;
constexpr int kButtonGap = 10;
constexpr int kButtonsPerRow = 20;

} // namespace

CExerciseDlg::CExerciseDlg() : m_lookUpTimer(this, kTimerLookUpSelection), m_clipTimer(this, kTimerClip) {}

CExerciseDlg::~CExerciseDlg()
{
    m_lookUpTimer.Stop();
    m_clipTimer.Stop();
    if (m_player)
        m_player->Stop();
}

bool CExerciseDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, ToWx("单词练习"), wxDefaultPosition, wxSize(900, 600),
                          wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxMAXIMIZE_BOX))
        return false;
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);
    SetBackgroundColour(ToWxColour(theApp.m_clrBackground));

    for (int k = 0; k < kQuestionButtons; ++k) {
        auto* button = new CMyButton(this, IDC_FIRST_BUTTON + k, wxString::Format("%d", k + 1));
        button->Bind(wxEVT_BUTTON, [this, k](wxCommandEvent&) {
            ColourButtons();
            ShowQuestion(IDC_FIRST_BUTTON + k);
        });
        m_btnNumber.push_back(button);
    }
    m_richQuestion = new wxTextCtrl(this, IDC_QUESTION, wxString(), wxDefaultPosition, wxDefaultSize,
                                    wxTE_MULTILINE | wxTE_RICH2 | wxTE_READONLY);
    m_richQuestion->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
        event.Skip();
        m_lookUpTimer.StartOnce(200);
    });
    m_editAnswer = new wxTextCtrl(this, IDC_ANSWER, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_editAnswer->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { OnAnswerEntered(); });
    m_btnPrevious = new wxBitmapButton(this, IDC_PREVIOUS, wxArtProvider::GetBitmap(wxART_GO_BACK, wxART_BUTTON));
    m_btnNext = new wxBitmapButton(this, IDC_NEXT, wxArtProvider::GetBitmap(wxART_GO_FORWARD, wxART_BUTTON));
    m_btnPrevious->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPrevious(); });
    m_btnNext->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnNext(); });
    m_btnSubmit = new CMyButton(this, IDC_SUBMIT, ToWx("交卷"));
    m_btnSubmit->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnSubmit(); });
    m_richFeedback = new wxTextCtrl(this, IDC_FEEDBACK, wxString(), wxDefaultPosition, wxDefaultSize,
                                    wxTE_MULTILINE | wxTE_RICH2 | wxTE_READONLY);
    m_browser = new CExplorer1;
    if (!m_browser->Create(this, IDC_BROWSER))
        return false;
    m_staticVideo = new wxPanel(this, IDC_VIDEO);
    m_staticVideo->SetBackgroundColour(*wxBLACK);

    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnLookUpTick(); }, kTimerLookUpSelection);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnClipTick(); }, kTimerClip);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();
        if (m_nQuestionCount > 0)
            LayoutControls();
    });
    // Closing stops the clip and keeps the window for the next exercise.
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (m_player)
            m_player->Stop();
        if (event.CanVeto()) {
            event.Veto();
            Hide();
        } else {
            event.Skip();
        }
    });
    ResetControls();
    Hide();
    return true;
}

void CExerciseDlg::UpdateFontIfChanged()
{
    if (theApp.m_nFontChangeCount == theApp.m_nFontCountExercise)
        return;
    ApplyTextFormat();
    theApp.m_nFontCountExercise = theApp.m_nFontChangeCount;
}

void CExerciseDlg::ApplyTextFormat()
{
    const wxColour text = ToWxColour(theApp.m_clrText);
    const wxColour back = ToWxColour(theApp.m_clrBackground);
    wxFont question(wxFontInfo(14).Bold().FaceName(ToWx(theApp.m_strFontName.Left(31))));
    m_richQuestion->SetDefaultStyle(wxTextAttr(text, back, question));
    m_richQuestion->SetBackgroundColour(back);
    const int size = theApp.m_nFontSize > 0 ? theApp.m_nFontSize : 12;
    wxFont feedback(wxFontInfo(size).Bold().FaceName(ToWx(theApp.m_strFontName.Left(31))));
    m_richFeedback->SetDefaultStyle(wxTextAttr(text, back, feedback));
    m_richFeedback->SetBackgroundColour(back);
}

void CExerciseDlg::ResetControls()
{
    m_nLastButtonId = 0;
    for (CMyButton* button : m_btnNumber)
        button->Hide();
    for (wxWindow* window : {static_cast<wxWindow*>(m_btnPrevious), static_cast<wxWindow*>(m_editAnswer),
                             static_cast<wxWindow*>(m_btnNext), static_cast<wxWindow*>(m_btnSubmit),
                             static_cast<wxWindow*>(m_richQuestion), static_cast<wxWindow*>(m_richFeedback)})
        window->Hide();
    m_richQuestion->Clear();
    m_richFeedback->Clear();
    m_browser->SetSize(0, 0, 0, 0);
    m_btnPrevious->Enable();
    m_strAnswers.clear();
}

void CExerciseDlg::LayoutControls()
{
    // The clip player opens the media paused; a video surface is made once.
    if (!m_player) {
        m_player = std::make_unique<CVlcPlayer>();
        m_video = std::make_unique<CVideoWindow>();
        if (m_video->Create(m_staticVideo))
            m_player->SetHwnd(m_video->GetXWindow());
    }
    m_player->OpenFile(AnsiToUtf8Bytes(theApp.m_strMediaPath.view()).c_str());
    m_player->PauseIfPlaying();

    m_nQuestionCount = std::min(static_cast<int>(m_questions.size()), kQuestionButtons);
    const wxSize client = GetClientSize();
    const int w = client.x;
    const int h = client.y;
    m_richQuestion->SetSize(kMargin, 130, w - 20, 80);
    m_btnPrevious->SetSize(kMargin, 220, 32, 32);
    m_editAnswer->SetSize(47, 220, 200, 32);
    m_btnNext->SetSize(252, 220, 32, 32);
    m_btnSubmit->SetSize(300, 220, 96, 32);
    m_btnSubmit->SetBkColor(kRight);
    m_btnSubmit->SetTextColor(kWhite);
    m_richFeedback->SetSize(400, 220, std::max(1, w - 360), 40);
    const int half = std::max(1, (w - 20) / 2);
    m_browser->SetSize(kMargin, 270, half, std::max(1, h - 280));
    m_staticVideo->SetSize(kMargin + half, 270, half, std::max(1, h - 280));
    for (int k = 0; k < kQuestionButtons; ++k) {
        CMyButton* button = m_btnNumber[k];
        button->SetSize(kMargin + (k % kButtonsPerRow) * (kButtonSize + kButtonGap),
                        kMargin + (k / kButtonsPerRow) * (kButtonSize + kButtonGap), kButtonSize, kButtonSize);
        button->Show(k < m_nQuestionCount);
    }
    m_browser->Show();
    m_editAnswer->Enable(theApp.m_strExerciseSubmitted.IsEmpty());
    m_btnPrevious->Disable();
    for (wxWindow* window : {static_cast<wxWindow*>(m_btnPrevious), static_cast<wxWindow*>(m_editAnswer),
                             static_cast<wxWindow*>(m_btnNext), static_cast<wxWindow*>(m_btnSubmit),
                             static_cast<wxWindow*>(m_richQuestion), static_cast<wxWindow*>(m_richFeedback)})
        window->Show();
    FocusAnswer();
    m_nCurrent = 0;
    ColourButtons();
    if (m_nLastButtonId > 0)
        SetButtonColours(m_nLastButtonId, kCurrent, kWhite);
}

void CExerciseDlg::ColourButtons()
{
    m_nCorrect = 0;
    const bool submitted = !theApp.m_strExerciseSubmitted.IsEmpty();
    for (int k = 0; k < m_nQuestionCount; ++k) {
        const CString answer = k < static_cast<int>(m_strAnswers.size()) ? m_strAnswers[k] : CString();
        if (!submitted) {
            if (!answer.IsEmpty())
                SetButtonColours(IDC_FIRST_BUTTON + k, kRight, kWhite);
            else
                SetButtonColours(IDC_FIRST_BUTTON + k, kUnanswered, kUnansweredText);
        } else if (answer == m_questions[k].keyword) {
            SetButtonColours(IDC_FIRST_BUTTON + k, kRight, kWhite);
            ++m_nCorrect;
        } else {
            SetButtonColours(IDC_FIRST_BUTTON + k, kWrong, kWhite);
        }
    }
}

void CExerciseDlg::SetButtonColours(int buttonId, COLORREF fill, COLORREF text)
{
    const int k = buttonId - IDC_FIRST_BUTTON;
    if (k < 0 || k >= kQuestionButtons)
        return;
    m_btnNumber[k]->SetBkColor(fill);
    m_btnNumber[k]->SetTextColor(text);
    m_btnNumber[k]->Refresh();
}
