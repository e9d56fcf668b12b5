// The speech practice view: the lesson's practice sentences, numbered, one a
// line; the Chinese sentence of the current one below them; and the progress
// of a recording. The main frame creates it with child id 417 when the
// ribbon category 口语练习 becomes active. The practice itself (recording,
// the modes and their timers) is CSpeechPractice; the view shows it, runs its
// timers, gives it the two players and takes the ribbon's commands and the
// mouse.
#pragma once

#include <functional>

#include "lesson/core/practicerecorder.h"
#include "lesson/core/speechpractice.h"
#include "lesson/vlcpracticeplayer.h"
#include "platform/cstring.h"
#include "ui/viewbase.h"
#include "ui/windowtimers.h"

class wxCommandEvent;
class wxGauge;
class wxMouseEvent;
class wxSizeEvent;
class wxStyledTextCtrl;
class wxUpdateUIEvent;

class CSpeechFormView : public CView, public ISpeechPracticeView {
public:
    static constexpr int kTextId = 1014;
    static constexpr int kProgressId = 1017;
    static constexpr int kCaptionId = 1018;
    // The caption's and the progress bar's strips below the text, in pixels.
    static constexpr int kCaptionHeight = 30;
    static constexpr int kProgressHeight = 10;

    CSpeechFormView();
    ~CSpeechFormView() override;

    bool Create(wxWindow* host, int id) override;

    // ---- What the main frame calls ----
    // Returns the view to idle: no recording, no timer, both players on the
    // blank file, the player pane hidden, no mode, no chosen or highlighted
    // line, the caption and the progress empty, the text at its start.
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
    // Without a microphone: the view says that practice needs one (the text
    // of kNoMicrophoneText, wrapped within the pane), every mode stays
    // disabled.
    void ShowMicrophoneNeeded();
    static constexpr const char* kNoMicrophoneText =
        "口语练习需要话筒。请接入话筒，然后换到其他页面再回到“口语练习”。";
    // Joins the lesson's lines into practice sentences and shows them
    // numbered, with the caption and the progress below.
    void BuildPracticeText();
    // Deletes every file with ".wav" in its name from the program's
    // "AppData/Temp/" folder.
    void DeleteTempRecordings();

    // ---- Recording and practice lines ----
    void StartRecording(const CString& path) { m_practice.StartRecording(path); }
    void StopRecording() { m_practice.StopRecording(); }
    // Chooses practice line k for the role play, or takes the choice back.
    void ToggleSentenceSelected(int line);
    // Highlights practice line k (-1: none), taking the highlight off the
    // line that had it.
    void HighlightLine(int line);
    // The practice line under a text position (strictly inside the line,
    // its line end counted); -1 for none.
    int PracticeLineAt(int position) const;

    // ---- Commands ----
    void OnRecordStart(wxCommandEvent& event);
    void OnRecordPause(wxCommandEvent& event);
    void OnRecordStop(wxCommandEvent& event);
    void OnRecordReplay(wxCommandEvent& event);
    void OnSpeechExport(wxCommandEvent& event);
    void OnSpeechReset(wxCommandEvent& event);
    void OnFollowReading(wxCommandEvent& event);
    void OnSentenceAuto(wxCommandEvent& event);
    void OnSentenceManual(wxCommandEvent& event);
    void OnRolePlay(wxCommandEvent& event);
    void OnRolePlayStart(wxCommandEvent& event);
    void OnDubAll(wxCommandEvent& event);
    void OnDubAllFinish(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);

    // ---- Mouse over the practice text ----
    // Pointing at a line makes it the current sentence (in the manual mode
    // while nothing records, and while choosing a role); a click plays it
    // (manual mode) or chooses it (role).
    void OnTextMouseMove(wxMouseEvent& event);
    void OnTextLeftDown(wxMouseEvent& event);
    // The pointing step at a text position; false when no line is there.
    bool PointAt(int position);
    // The click step on the current sentence.
    void ClickCurrentSentence();

    void OnTimer(int id) { m_practice.OnTimer(id); }

    // ---- ISpeechPracticeView ----
    void SetTimer(int id, int milliseconds) override { m_timers.SetTimer(id, milliseconds); }
    void KillTimer(int id) override { m_timers.KillTimer(id); }
    IPracticePlayer* LessonPlayer() override;
    IPracticePlayer* VoicePlayer() override;
    void ShowPlayerPane(bool show) override;
    void ShowSentence(int sentence) override;
    void SetProgressRange(int range) override;
    void SetProgress(int position) override;
    void ShowChosen(int sentence, bool chosen) override;
    void ClearPracticeMarks() override;

    wxStyledTextCtrl* m_editText = nullptr;
    wxStyledTextCtrl* m_editCaption = nullptr;
    wxGauge* m_progress = nullptr;
    CWindowTimers m_timers;
    // Declared before the practice, which records through it.
    CMicrophoneRecorder m_microphone;
    CSpeechPractice m_practice;

    int m_nHighlighted = -1;   // line highlighted in the manual mode
    int m_nHoverChar = -1;     // text position under the mouse
    int m_nLineStart = 0;      // the line last selected: first position
    int m_nLineLength = 0;     // and length with its line end

    // Where the players come from; tests stand in for them. Unset: the main
    // frame's player and the second player window's.
    std::function<IPracticePlayer*()> m_getLessonPlayer;
    std::function<IPracticePlayer*()> m_getVoicePlayer;
    // The export's file choice (empty: cancelled); unset: a save dialog.
    std::function<CString()> m_chooseExportFile;

private:
    void OnSize(wxSizeEvent& event);
    // Places the controls: the text alone over the whole view, or the text
    // above the caption and the progress bar.
    void LayoutControls();
    // Marks or unmarks a line white on orange.
    void MarkLine(int line, bool marked);
    CString AskExportFile();

    bool m_bPracticeLayout = false;
    CVlcPracticePlayer m_lessonPlayer;
    CVlcPracticePlayer m_voicePlayer;
};
