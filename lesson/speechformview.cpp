#include "lesson/speechformview.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <alsa/asoundlib.h>
#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/stc/stc.h>

#include "platform/file.h"
#include "playback/purewmpdialog.h"
#include "playback/vlcplayer.h"
#include "ui/lessontextstyle.h"
#include "ui/mainframehost.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"

namespace {

// The caption's colours: blue text on orange.
constexpr COLORREF kCaptionText = RGB(0, 0, 255);
constexpr COLORREF kCaptionBackground = RGB(255, 153, 18);
// A chosen or highlighted line: white on the same orange, drawn by two
// indicators so the text's own style (and a later font change) stays.
constexpr int kLineBoxIndicator = 13;
constexpr int kLineTextIndicator = 14;
// The text's and the caption's inner margins, in pixels.
constexpr int kTextMargin = 5;
constexpr int kCaptionMargin = 20;

// Pointing picks lines in the manual mode while nothing records, and while
// choosing a role.
bool PointingPicksLines(const CSpeechPractice& practice)
{
    const CString& mode = theApp.m_strSpeechMode;
    return (mode == "sentencemanu" && !practice.m_bRecording) || mode == "sentenceselect";
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...)
{
}

// True when a capture device of that name opens now, or exists but is taken
// by another program.
bool CaptureDeviceOpens(const char* name)
{
    snd_pcm_t* pcm = nullptr;
    const int result = snd_pcm_open(&pcm, name, SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (result == 0) {
        snd_pcm_close(pcm);
        return true;
    }
    return result == -EBUSY;
}

} // namespace

CSpeechFormView::CSpeechFormView()
    : m_timers(this, [this](int id) { OnTimer(id); }),
      m_practice(*this, m_microphone),
      m_lessonPlayer([] {
          IMainFrameHost* host = MainFrameHost();
          return host != nullptr ? host->MainPlayer() : nullptr;
      }),
      m_voicePlayer([]() -> CVlcPlayer* {
          return theApp.m_pStreamDlg != nullptr ? theApp.m_pStreamDlg->m_player.get() : nullptr;
      })
{
}

CSpeechFormView::~CSpeechFormView()
{
    m_timers.KillAll();
}

bool CSpeechFormView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_editText = new wxStyledTextCtrl(this, kTextId);
    SetUpLessonTextCtrl(*m_editText, true);
    m_editText->IndicatorSetStyle(kLineBoxIndicator, wxSTC_INDIC_STRAIGHTBOX);
    m_editText->IndicatorSetForeground(kLineBoxIndicator, ToWxColour(kCaptionBackground));
    m_editText->IndicatorSetAlpha(kLineBoxIndicator, 255);
    m_editText->IndicatorSetUnder(kLineBoxIndicator, true);
    m_editText->IndicatorSetStyle(kLineTextIndicator, wxSTC_INDIC_TEXTFORE);
    m_editText->IndicatorSetForeground(kLineTextIndicator, *wxWHITE);
    m_editText->Bind(wxEVT_MOTION, &CSpeechFormView::OnTextMouseMove, this);
    m_editText->Bind(wxEVT_LEFT_DOWN, &CSpeechFormView::OnTextLeftDown, this);
    m_editCaption = new wxStyledTextCtrl(this, kCaptionId);
    SetUpLessonTextCtrl(*m_editCaption, true);
    m_editCaption->SetUseHorizontalScrollBar(false);
    m_editCaption->SetUseVerticalScrollBar(false);
    m_progress = new wxGauge(this, kProgressId, 100);
    Bind(wxEVT_SIZE, &CSpeechFormView::OnSize, this);

    Bind(wxEVT_MENU, &CSpeechFormView::OnRecordStart, this, kCmdRecord);
    Bind(wxEVT_MENU, &CSpeechFormView::OnRecordPause, this, kCmdRecordPause);
    Bind(wxEVT_MENU, &CSpeechFormView::OnRecordStop, this, kCmdRecordStop);
    Bind(wxEVT_MENU, &CSpeechFormView::OnRecordReplay, this, kCmdReplayRecording);
    Bind(wxEVT_MENU, &CSpeechFormView::OnSpeechExport, this, kCmdExportRecording);
    Bind(wxEVT_MENU, &CSpeechFormView::OnSpeechReset, this, kCmdSpeechReset);
    Bind(wxEVT_MENU, &CSpeechFormView::OnFollowReading, this, kCmdFollowRead);
    Bind(wxEVT_MENU, &CSpeechFormView::OnSentenceAuto, this, kCmdFollowReadAuto);
    Bind(wxEVT_MENU, &CSpeechFormView::OnSentenceManual, this, kCmdFollowReadManual);
    Bind(wxEVT_MENU, &CSpeechFormView::OnRolePlay, this, kCmdRolePlay);
    Bind(wxEVT_MENU, &CSpeechFormView::OnRolePlayStart, this, kCmdRolePlayStart);
    Bind(wxEVT_MENU, &CSpeechFormView::OnDubAll, this, kCmdDubbing);
    Bind(wxEVT_MENU, &CSpeechFormView::OnDubAllFinish, this, kCmdDubbingEnd);
    for (int command : CSpeechPractice::Commands())
        Bind(wxEVT_UPDATE_UI, &CSpeechFormView::OnUpdateCommand, this, command);
    ClearView();
    return true;
}

// ---- What the main frame calls ----

void CSpeechFormView::ResetPractice()
{
    m_practice.ResetPractice();
}

void CSpeechFormView::UpdateFontIfChanged()
{
    if (theApp.m_nFontCountSpeechView == theApp.m_nFontChangeCount)
        return;
    ApplyTextFormat();
    ApplyCaptionFormat();
    theApp.m_nFontCountSpeechView = theApp.m_nFontChangeCount;
}

void CSpeechFormView::ApplyTextFormat()
{
    if (m_editText != nullptr)
        ApplyLessonTextStyle(*m_editText, CurrentLessonTextStyle());
}

void CSpeechFormView::ApplyCaptionFormat()
{
    if (m_editCaption == nullptr)
        return;
    SLessonTextStyle style = CurrentLessonTextStyle();
    style.text = kCaptionText;
    style.background = kCaptionBackground;
    ApplyLessonTextStyle(*m_editCaption, style);
}

BOOL CSpeechFormView::CheckMicrophone()
{
    // ALSA reports a missing device on stderr as well; the message slot is
    // the one report here.
    snd_lib_error_set_handler(IgnoreAlsaError);
    bool found = CaptureDeviceOpens("default");
    int card = -1;
    while (!found && snd_card_next(&card) == 0 && card >= 0)
        found = CaptureDeviceOpens(("plughw:" + std::to_string(card)).c_str());
    snd_lib_error_set_handler(nullptr);
    if (found)
        return TRUE;
    theApp.ShowMessage("请接入话筒！", "error", 5000);
    return FALSE;
}

void CSpeechFormView::ClearView()
{
    if (m_editText == nullptr)
        return;
    SetControlText(*m_editText, "");
    m_bPracticeLayout = false;
    LayoutControls();
}

void CSpeechFormView::ShowMicrophoneNeeded()
{
    ClearView();
    if (m_editText == nullptr)
        return;
    // The notice is read whole however narrow the pane: Chinese breaks
    // between any two characters.
    m_editText->SetWrapMode(wxSTC_WRAP_CHAR);
    SetControlText(*m_editText, kNoMicrophoneText);
}

void CSpeechFormView::BuildPracticeText()
{
    if (m_editText == nullptr)
        return;
    const std::vector<SPracticeSentence> sentences =
        BuildPracticeSentences(theApp.m_arrForeignText, theApp.m_arrChineseText, theApp.m_arrSentenceTiming,
                               theApp.m_nTimeOffset, theApp.m_nRepeatMargin);
    m_practice.SetSentences(sentences);
    m_nHighlighted = -1;
    // Practice lines never wrap: line k is sentence k.
    m_editText->SetWrapMode(wxSTC_WRAP_NONE);
    SetControlText(*m_editText, FormatPracticeText(sentences));
    m_editText->SetMarginLeft(kTextMargin);
    m_editText->SetMarginRight(kTextMargin);
    m_editCaption->SetMarginLeft(kCaptionMargin);
    m_editCaption->SetMarginRight(kCaptionMargin);
    m_bPracticeLayout = true;
    LayoutControls();
    m_practice.m_bPaused = 0;
}

void CSpeechFormView::DeleteTempRecordings()
{
    for (const SFolderEntry& entry : ListFolder(theApp.m_strAppDir + "AppData/Temp/")) {
        if (!entry.isFolder && entry.name.Find(".wav") >= 0)
            DeleteFile(entry.path);
    }
}

// ---- Practice lines ----

void CSpeechFormView::MarkLine(int line, bool marked)
{
    if (m_editText == nullptr || line < 0 || line >= m_editText->GetLineCount())
        return;
    // The line with its line end.
    const int start = m_editText->PositionFromLine(line);
    const int end = std::min(m_editText->GetLineEndPosition(line) + 1, m_editText->GetLength());
    for (int indicator : {kLineBoxIndicator, kLineTextIndicator}) {
        m_editText->SetIndicatorCurrent(indicator);
        if (marked)
            m_editText->IndicatorFillRange(start, end - start);
        else
            m_editText->IndicatorClearRange(start, end - start);
    }
}

void CSpeechFormView::ToggleSentenceSelected(int line)
{
    m_practice.ToggleSelected(line);
}

void CSpeechFormView::HighlightLine(int line)
{
    if (m_nHighlighted >= 0)
        MarkLine(m_nHighlighted, false);
    if (line >= 0)
        MarkLine(line, true);
    m_nHighlighted = line;
}

int CSpeechFormView::PracticeLineAt(int position) const
{
    if (m_editText == nullptr || position < 0)
        return -1;
    for (int k = 0; k < m_practice.m_nPracticeCount; ++k) {
        const int start = m_editText->PositionFromLine(k);
        const int end = m_editText->GetLineEndPosition(k) + 1;
        if (start < position && position < end)
            return k;
        if (start >= position)
            break;
    }
    return -1;
}

// ---- ISpeechPracticeView ----

IPracticePlayer* CSpeechFormView::LessonPlayer()
{
    if (m_getLessonPlayer)
        return m_getLessonPlayer();
    return m_lessonPlayer.Player() != nullptr ? &m_lessonPlayer : nullptr;
}

IPracticePlayer* CSpeechFormView::VoicePlayer()
{
    if (m_getVoicePlayer)
        return m_getVoicePlayer();
    return m_voicePlayer.Player() != nullptr ? &m_voicePlayer : nullptr;
}

void CSpeechFormView::ShowPlayerPane(bool show)
{
    IMainFrameHost* host = MainFrameHost();
    if (host == nullptr)
        return;
    if (!show) {
        host->HidePlayerPane();
        return;
    }
    // The frame's own player-pane command shows and sizes the pane.
    wxCommandEvent command(wxEVT_MENU, kCmdPlayerPane);
    if (wxEvtHandler* target = host->CommandTarget())
        target->ProcessEvent(command);
}

void CSpeechFormView::ShowSentence(int sentence)
{
    if (m_editText == nullptr || sentence < 0 || sentence >= m_practice.m_nPracticeCount)
        return;
    m_nLineStart = m_editText->PositionFromLine(sentence);
    m_nLineLength = m_editText->GetLineEndPosition(sentence) - m_nLineStart + 1;
    m_editText->SetSelection(m_nLineStart, m_nLineStart + m_nLineLength);
    m_editText->SetFocus();
    // Near the bottom the text moves on by most of a page; a line out of
    // sight altogether comes to the top.
    const int visible = std::max(m_editText->LinesOnScreen(), 1);
    int first = m_editText->GetFirstVisibleLine();
    if (sentence - first > visible - 2) {
        m_editText->ScrollLines(std::max(visible - 4, 1));
        first = m_editText->GetFirstVisibleLine();
    }
    if (sentence < first || sentence >= first + visible)
        m_editText->ScrollToLine(std::max(sentence - 1, 0));
    SetControlText(*m_editCaption, m_practice.m_arrPracticeChinese[sentence]);
}

void CSpeechFormView::SetProgressRange(int range)
{
    if (m_progress == nullptr)
        return;
    m_progress->SetRange(std::max(range, 1));
}

void CSpeechFormView::SetProgress(int position)
{
    if (m_progress != nullptr)
        m_progress->SetValue(std::clamp(position, 0, m_progress->GetRange()));
}

void CSpeechFormView::ShowChosen(int sentence, bool chosen)
{
    MarkLine(sentence, chosen);
}

void CSpeechFormView::ClearPracticeMarks()
{
    if (m_editCaption != nullptr)
        SetControlText(*m_editCaption, "");
    m_nHighlighted = -1;
    if (m_editText == nullptr)
        return;
    for (int indicator : {kLineBoxIndicator, kLineTextIndicator}) {
        m_editText->SetIndicatorCurrent(indicator);
        m_editText->IndicatorClearRange(0, m_editText->GetLength());
    }
    m_editText->GotoPos(0);
    m_editText->ScrollToLine(0);
}

// ---- Commands ----

void CSpeechFormView::OnRecordStart(wxCommandEvent&) { m_practice.OnRecordStart(); }
void CSpeechFormView::OnRecordPause(wxCommandEvent&) { m_practice.OnRecordPause(); }
void CSpeechFormView::OnRecordStop(wxCommandEvent&) { m_practice.OnRecordStop(); }
void CSpeechFormView::OnRecordReplay(wxCommandEvent&) { m_practice.OnRecordReplay(); }
void CSpeechFormView::OnSpeechReset(wxCommandEvent&) { ResetPractice(); }
void CSpeechFormView::OnFollowReading(wxCommandEvent&) { m_practice.OnFollowReading(); }
void CSpeechFormView::OnSentenceAuto(wxCommandEvent&) { m_practice.OnSentenceAuto(); }
void CSpeechFormView::OnSentenceManual(wxCommandEvent&) { m_practice.OnSentenceManual(); }
void CSpeechFormView::OnRolePlay(wxCommandEvent&) { m_practice.OnRolePlay(); }
void CSpeechFormView::OnRolePlayStart(wxCommandEvent&) { m_practice.OnRolePlayStart(); }
void CSpeechFormView::OnDubAll(wxCommandEvent&) { m_practice.OnDubAll(); }
void CSpeechFormView::OnDubAllFinish(wxCommandEvent&) { m_practice.OnDubAllFinish(); }

void CSpeechFormView::OnSpeechExport(wxCommandEvent&)
{
    const CString target = m_chooseExportFile ? m_chooseExportFile() : AskExportFile();
    if (!target.IsEmpty())
        m_practice.ExportRecording(target);
}

CString CSpeechFormView::AskExportFile()
{
    wxFileDialog dialog(this, ToWx("另存为"), wxEmptyString, "record.wav", "MyType Files (*.wav)|*.wav",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() != wxID_OK)
        return CString();
    CString path = FromWx(dialog.GetPath());
    // A name typed without an extension gets the default one.
    const int slash = path.ReverseFind('/');
    if (path.Mid(slash + 1).Find('.') < 0)
        path += ".wave";
    return path;
}

void CSpeechFormView::OnUpdateCommand(wxUpdateUIEvent& event)
{
    const CSpeechPractice::SCommandState state = m_practice.GetCommandState(event.GetId());
    event.Enable(state.enabled);
    event.Check(state.checked);
}

// ---- Mouse ----

bool CSpeechFormView::PointAt(int position)
{
    const int line = PracticeLineAt(position);
    if (line < 0)
        return false;
    m_nLineStart = m_editText->PositionFromLine(line);
    m_nLineLength = m_editText->GetLineEndPosition(line) - m_nLineStart + 1;
    m_editText->SetSelection(m_nLineStart, m_nLineStart + m_nLineLength);
    SetControlText(*m_editCaption, m_practice.m_arrPracticeChinese[line]);
    m_practice.m_nPracticeIndex = line;
    return true;
}

void CSpeechFormView::ClickCurrentSentence()
{
    const CString& mode = theApp.m_strSpeechMode;
    if (mode == "sentencemanu" && !m_practice.m_bRecording)
        m_practice.PlayManualSentence();
    if (mode == "sentenceselect")
        ToggleSentenceSelected(m_practice.m_nPracticeIndex);
    if (mode == "sentencemanu")
        HighlightLine(m_practice.m_nPracticeIndex);
}

void CSpeechFormView::OnTextMouseMove(wxMouseEvent& event)
{
    if (theApp.m_strMicrophoneReady.IsEmpty() || !PointingPicksLines(m_practice)) {
        event.Skip();
        return;
    }
    m_nHoverChar = m_editText->PositionFromPointClose(event.GetX(), event.GetY());
    // Over a line the text does not see the move: its own cursor and drag
    // selection would replace the hand and the line.
    if (PointAt(m_nHoverChar))
        m_editText->SetCursor(wxCursor(wxCURSOR_HAND));
    else
        event.Skip();
}

void CSpeechFormView::OnTextLeftDown(wxMouseEvent& event)
{
    // The text takes the click afterwards (its caret and focus).
    event.Skip();
    if (theApp.m_strMicrophoneReady.IsEmpty())
        return;
    const CString& mode = theApp.m_strSpeechMode;
    if (mode != "sentencemanu" && mode != "sentenceselect")
        return;
    // The line under the click, also when no move came before it.
    if (PointingPicksLines(m_practice)) {
        m_nHoverChar = m_editText->PositionFromPointClose(event.GetX(), event.GetY());
        if (!PointAt(m_nHoverChar))
            return;
    }
    ClickCurrentSentence();
}

// ---- Layout ----

void CSpeechFormView::OnSize(wxSizeEvent& event)
{
    LayoutControls();
    event.Skip();
}

void CSpeechFormView::LayoutControls()
{
    if (m_editText == nullptr)
        return;
    const wxSize client = GetClientSize();
    if (!m_bPracticeLayout) {
        m_editText->SetSize(0, 0, client.x, client.y);
        m_editText->Show();
        m_editCaption->Hide();
        m_progress->Hide();
        return;
    }
    const int below = kCaptionHeight + kProgressHeight;
    m_editText->SetSize(0, 0, client.x, std::max(client.y - below, 0));
    m_editCaption->SetSize(0, client.y - below, client.x, kCaptionHeight);
    m_progress->SetSize(0, client.y - kProgressHeight, client.x, kProgressHeight);
    m_editText->Show();
    m_editCaption->Show();
    m_progress->Show();
}
