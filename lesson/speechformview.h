// The speech practice view: the lesson's practice sentences, the Chinese line
// of the current one and the recording progress. The main frame creates it
// with child id 417 when the ribbon category 口语练习 becomes active.
#pragma once

#include "platform/cstring.h"
#include "shell/base/viewbase.h"
#include "shell/base/windowtimers.h"

class wxGauge;
class wxStyledTextCtrl;

class CSpeechFormView : public CView {
public:
    static constexpr int kTextId = 1014;
    static constexpr int kProgressId = 1017;
    static constexpr int kCaptionId = 1018;

    CSpeechFormView();
    ~CSpeechFormView() override;

    bool Create(wxWindow* host, int id) override;

    // Returns the view to idle: stops the view's timers, empties the caption
    // and the progress, clears the recording flag and the practice mode, and
    // scrolls the practice text to its start.
    void ResetPractice();
    // Re-applies the text and caption formats when the application's
    // font-change counter moved since this view last applied them.
    void UpdateFontIfChanged();
    // The lesson font and colours on the practice text.
    void ApplyTextFormat();
    // The lesson font in blue on orange on the caption.
    void ApplyCaptionFormat();
    // TRUE when the system has a sound input device; otherwise the message
    // "请接入话筒！" goes to the show-message slot and the result is FALSE.
    BOOL CheckMicrophone();
    // The practice text over the whole view, empty; caption and progress hidden.
    void ClearView();
    // Shows the English text of every sentence of the lesson, one per line,
    // with the caption and the progress below it.
    void BuildPracticeText();
    // Deletes every file with ".wav" in its name from the program's
    // "AppData/Temp/" folder.
    void DeleteTempRecordings();

    void OnTimer(int id);

    wxStyledTextCtrl* m_editText = nullptr;
    wxStyledTextCtrl* m_editCaption = nullptr;
    wxGauge* m_progress = nullptr;
    // A recording is running.
    int m_bRecording = 0;
    CWindowTimers m_timers;

private:
    void OnSize(wxSizeEvent& event);
    // Places the controls: the text alone over the whole view, or the text
    // above a 30-pixel caption and a 10-pixel progress bar.
    void LayoutControls();

    bool m_bPracticeLayout = false;
};
