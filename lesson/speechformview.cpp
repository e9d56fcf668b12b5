#include "lesson/speechformview.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <alsa/asoundlib.h>
#include <wx/gauge.h>
#include <wx/stc/stc.h>

#include "shell/base/lessontextstyle.h"
#include "platform/file.h"
#include "shell/core/quenlow.h"

namespace {

// The caption's colours: blue text on orange.
constexpr COLORREF kCaptionText = RGB(0, 0, 255);
constexpr COLORREF kCaptionBackground = RGB(255, 153, 18);

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

CSpeechFormView::CSpeechFormView() : m_timers(this, [this](int id) { OnTimer(id); })
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
    m_editCaption = new wxStyledTextCtrl(this, kCaptionId);
    SetUpLessonTextCtrl(*m_editCaption, true);
    m_editCaption->SetUseHorizontalScrollBar(false);
    m_editCaption->SetUseVerticalScrollBar(false);
    m_progress = new wxGauge(this, kProgressId, 100);
    Bind(wxEVT_SIZE, &CSpeechFormView::OnSize, this);
    ClearView();
    return true;
}

void CSpeechFormView::ResetPractice()
{
    m_timers.KillAll();
    m_bRecording = 0;
    theApp.m_strSpeechMode.Empty();
    if (m_editCaption != nullptr)
        SetControlText(*m_editCaption, "");
    if (m_progress != nullptr)
        m_progress->SetValue(0);
    if (m_editText != nullptr)
        m_editText->ScrollToLine(0);
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

void CSpeechFormView::BuildPracticeText()
{
    if (m_editText == nullptr)
        return;
    CString text;
    for (const CString& english : theApp.m_arrForeignText) {
        CString line = english;
        line.Remove('\r');
        line.Remove('\n');
        text += line + "\n";
    }
    SetControlText(*m_editText, text);
    m_bPracticeLayout = true;
    LayoutControls();
}

void CSpeechFormView::DeleteTempRecordings()
{
    for (const SFolderEntry& entry : ListFolder(theApp.m_strAppDir + "AppData/Temp/")) {
        if (!entry.isFolder && entry.name.Find(".wav") >= 0)
            DeleteFile(entry.path);
    }
}

void CSpeechFormView::OnTimer(int /*id*/)
{
    // The view's timers tick without a practice step to run.
}

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
    m_editText->SetSize(0, 0, client.x, std::max(client.y - 40, 0));
    m_editCaption->SetSize(0, client.y - 40, client.x, 30);
    m_progress->SetSize(0, client.y - 10, client.x, 10);
    m_editText->Show();
    m_editCaption->Show();
    m_progress->Show();
}
