// Speech practice without its window: the practice sentences, the free
// recording (record, pause, stop, replay, export) and the four practice
// modes, each a chain of numbered timers on the user-interface thread:
//   "sentenceauto"   hear sentence k, repeat it while it is recorded, hear
//                    the recording, go on with k + 1;
//   "sentencemanu"   the same for the sentence the learner clicks;
//   "sentenceselect" / "sentenceselectfinish"
//                    record the chosen sentences one by one, then play the
//                    lesson with the learner's voice in place of them;
//   "sentenceall" / "sentenceallfinish"
//                    speak the whole lesson over the muted video while it is
//                    recorded, then watch the video with the own voice.
// The mode keyword lives in theApp.m_strSpeechMode; the recording files are
// theApp's record, replay, temporary-record and blank ("complete") files.
//
// The view implements ISpeechPracticeView: it runs the timers (and calls
// OnTimer), gives the two players and shows the sentences; the recorder is
// the microphone. Tests drive the timers tick by tick with stand-ins.
#pragma once

#include <vector>

#include "lesson/core/practiceplayer.h"
#include "lesson/core/practicerecorder.h"
#include "lesson/core/practicesentences.h"
#include "platform/cstring.h"
#include "platform/wintypes.h"

class ISpeechPracticeView {
public:
    virtual ~ISpeechPracticeView() = default;

    // Starts (or restarts) timer id; OnTimer(id) follows every period.
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;
    // The main player (the lesson) and the second player (recordings); null
    // while the program has none.
    virtual IPracticePlayer* LessonPlayer() = 0;
    virtual IPracticePlayer* VoicePlayer() = 0;
    // The main frame's player pane.
    virtual void ShowPlayerPane(bool show) = 0;
    // Selects practice line k, keeps it in sight and shows its Chinese
    // sentence in the caption.
    virtual void ShowSentence(int sentence) = 0;
    virtual void SetProgressRange(int range) = 0;
    virtual void SetProgress(int position) = 0;
    // Marks line k as chosen for the role play, or takes the mark off.
    virtual void ShowChosen(int sentence, bool chosen) = 0;
    // Empty caption, no highlighted line, the text scrolled to its start.
    virtual void ClearPracticeMarks() = 0;
};

class CSpeechPractice {
public:
    // The view's timers (id: period, mode).
    enum ETimer {
        kTimerAutoClip = 100,        // 100 ms once, sentenceauto: show and play sentence k
        kTimerAutoRecord = 200,      // clip length once: the clip ended, record
        kTimerAutoProgress = 300,    // 50 ms: recording progress, then replay
        kTimerAutoNext = 400,        // record length + 2000 ms once: next sentence
        kTimerManualWait = 1100,     // 50 ms, sentencemanu: wait for the clip's end
        kTimerManualProgress = 1200, // 50 ms: recording progress, then replay
        kTimerManualDone = 1300,     // record length + 2000 ms once: clean up
        kTimerRoleNext = 2100,       // 100 ms once, sentenceselectfinish: next chosen sentence
        kTimerRoleRecord = 2200,     // clip length once: the clip ended, record
        kTimerRoleProgress = 2300,   // 50 ms: recording progress
        kTimerPerformance = 2400,    // 100 ms: the lesson with the learner's voice
        kTimerVoiceVolume = 8000,    // 100 ms once: the second player's volume again
        kTimerDubPrepare = 3100,     // 100 ms once, sentenceall: progress for sentence k
        kTimerDubFollow = 3200,      // 50 ms: follow sentence k on the muted video
        kTimerDubPlayback = 4100,    // 50 ms, sentenceallfinish: video and recording together
    };
    static constexpr int kProgressStep = 50;
    // Replay after a recording: the clean-up waits this much longer than the
    // recording lasts.
    static constexpr int kReplayExtra = 2000;
    // The dubbing recording starts this much before the first sentence, its
    // playback that much.
    static constexpr int kDubLeadIn = 2000;
    static constexpr int kDubPlaybackLeadIn = 3000;
    // Told when the dubbing has no sentence left to follow and the recording
    // runs on: the command that ends it sits in the dubbing button's menu.
    static constexpr const char* kDubVideoEndedMessage = "视频已播完，录音仍在继续：点“全文配音”下拉菜单中的“结束”停止录音并回放。";
    static constexpr const char* kDubLastSentenceMessage = "最后一句已配完，录音仍在继续：点“全文配音”下拉菜单中的“结束”停止录音并回放。";
    static constexpr int kDubEndMessageMs = 15000;

    CSpeechPractice(ISpeechPracticeView& view, IPracticeRecorder& recorder);
    ~CSpeechPractice();
    CSpeechPractice(const CSpeechPractice&) = delete;
    CSpeechPractice& operator=(const CSpeechPractice&) = delete;

    // ---- Sentences ----
    // Takes the practice sentences; none is chosen, k is 0.
    void SetSentences(const std::vector<SPracticeSentence>& sentences);

    // ---- Recording ----
    // Records into a new file at path (nothing for an empty path). A start
    // that fails shows its message (for messageMs) and records nothing.
    void StartRecording(const CString& path, int messageMs = 3000);
    // Stops the recording and completes its file.
    void StopRecording();

    // ---- Free recording ("DIY") ----
    void OnRecordStart();
    void OnRecordPause();
    void OnRecordStop();
    // Plays a copy of the record file in the second player, so the file stays
    // free for the next recording.
    void OnRecordReplay();
    // Copies the record file to target (nothing to copy onto the file
    // itself). False when the copy failed; the learner is told either way.
    bool ExportRecording(const CString& target);

    // ---- Practice modes ----
    void OnFollowReading();   // from sentence 0
    void OnSentenceAuto();    // from the current sentence
    void OnSentenceManual();
    // A click on sentence k in the manual mode: hear it, then repeat it.
    void PlayManualSentence();
    void OnRolePlay();
    void OnRolePlayStart();
    void OnDubAll();
    void OnDubAllFinish();
    // Flips the choice of sentence k for the role play (false outside the
    // sentences); the new choice.
    bool ToggleSelected(int sentence);

    // Back to idle: no recording, no timer, the players on the blank file and
    // the player pane hidden, no mode, no chosen sentence.
    void ResetPractice();

    void OnTimer(int id);

    // ---- The ribbon's rules ----
    struct SCommandState {
        bool handled = false;   // a command of speech practice
        bool enabled = true;
        bool checked = false;
    };
    SCommandState GetCommandState(int commandId) const;
    static const std::vector<int>& Commands();

    // ---- State ----
    CStringArray m_arrPracticeEnglish;
    CStringArray m_arrPracticeChinese;
    std::vector<int> m_nSentenceStart;   // clip of each sentence, ms
    std::vector<int> m_nSentenceEnd;
    std::vector<char> m_nSelected;       // 1: chosen for the role play
    int m_nPracticeCount = 0;
    int m_nPracticeIndex = 0;            // k, the current sentence
    int m_nClipStart = 0;
    int m_nClipLength = 0;
    int m_nRecordLength = 0;
    int m_nProgress = 0;
    int m_nSelectedCount = 0;
    CString m_strRolePath;
    int m_bRecording = 0;
    BYTE m_bPaused = 0;

private:
    // Sentence k exists.
    bool HasSentence(int k) const { return k >= 0 && k < m_nPracticeCount; }
    // The main player opens the lesson's media and plays clip k; the clip's
    // and the recording's length and the progress range follow it.
    void PlayClip(int k);
    // Opens the media in the main player and plays it from ms.
    void PlayLesson(int ms);
    // A progress tick of a recording; true when the recording ended with it.
    bool RecordingProgressTick(int timer);
    // Plays the recording just made in the second player and starts the
    // clean-up timer; false (the chain ends) when there is none.
    bool ReplayRecording(int cleanupTimer);
    // The second player lets go of the file it held.
    void ReleaseVoicePlayer();
    // The main player's time reached ms, or it will play no further.
    bool LessonReached(int ms);

    void OnAutoClip();
    void OnAutoRecord();
    void OnAutoNext();
    void OnManualWait();
    void OnRoleNext();
    void OnRoleRecord();
    void OnPerformance();
    void OnDubPrepare();
    void OnDubFollow();
    void OnDubPlayback();

    ISpeechPracticeView& m_view;
    IPracticeRecorder& m_recorder;
    // The last StartRecording recorded: only then is there a recording to
    // replay (an older record file may still lie there).
    bool m_bRecordingMade = false;
};
