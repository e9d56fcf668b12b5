// The practice modes' chains of timers. Waits for a time of the lesson take
// a player that will play no further (the media ended early, was stopped or
// failed) as having reached it, so no chain waits for ever.
#include <algorithm>

#include "lesson/core/speechpractice.h"
#include "platform/file.h"
#include "core/quenlow.h"

// ---- Shared steps ----

void CSpeechPractice::PlayLesson(int ms)
{
    if (IPracticePlayer* lesson = m_view.LessonPlayer()) {
        lesson->Open(theApp.m_strMediaPath);
        lesson->PlayFrom(MediaTime(ms));
    }
}

void CSpeechPractice::PlayClip(int k)
{
    m_nClipStart = m_nSentenceStart[static_cast<size_t>(k)];
    PlayLesson(m_nClipStart);
    m_nClipLength = m_nSentenceEnd[static_cast<size_t>(k)] - m_nClipStart;
    m_nRecordLength = m_nClipLength;
    m_view.SetProgressRange(m_nRecordLength);
}

bool CSpeechPractice::LessonReached(int ms)
{
    IPracticePlayer* lesson = m_view.LessonPlayer();
    return lesson == nullptr || lesson->HasFinished() || lesson->GetTime() >= ms;
}

bool CSpeechPractice::RecordingProgressTick(int timer)
{
    // The learner gets as long as the clip lasted.
    m_view.SetProgress(m_nProgress);
    m_nProgress += kProgressStep;
    if (m_nProgress <= m_nRecordLength)
        return false;
    m_view.KillTimer(timer);
    m_view.SetProgress(0);
    StopRecording();
    return true;
}

bool CSpeechPractice::ReplayRecording(int cleanupTimer)
{
    // A recording that never started ends the chain here; an older record
    // file (a free recording) is left alone.
    if (!m_bRecordingMade)
        return false;
    const CString& record = theApp.m_strRecordWavPath;
    const CString& temporary = theApp.m_strTmpRecordWavPath;
    if (FileExists(record)) {
        if (FileExists(temporary))
            DeleteFile(temporary);
        if (!MoveFile(record, temporary)) {
            theApp.ShowMessage(kRecordingNotSavedMessage, "error", 5000);
            return false;
        }
    }
    if (!FileExists(temporary))
        return false;
    if (IPracticePlayer* voice = m_view.VoicePlayer()) {
        voice->Open(temporary);
        voice->Play();
        voice->SetVolume(100);
    }
    m_view.SetTimer(cleanupTimer, TimerPeriod(static_cast<int64_t>(m_nRecordLength) + kReplayExtra));
    return true;
}

// ---- Automatic follow-reading ----

void CSpeechPractice::OnFollowReading()
{
    m_nPracticeIndex = 0;
    OnSentenceAuto();
}

void CSpeechPractice::OnSentenceAuto()
{
    ResetPractice();
    theApp.m_strSpeechMode = "sentenceauto";
    m_view.SetTimer(kTimerAutoClip, 100);
}

void CSpeechPractice::OnAutoClip()
{
    m_view.KillTimer(kTimerAutoClip);
    if (!HasSentence(m_nPracticeIndex))
        return;
    m_view.ShowSentence(m_nPracticeIndex);
    PlayClip(m_nPracticeIndex);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->SetVolume(theApp.m_nVolume);
    m_view.SetTimer(kTimerAutoRecord, TimerPeriod(m_nClipLength));
}

void CSpeechPractice::OnAutoRecord()
{
    m_view.KillTimer(kTimerAutoRecord);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->Pause();
    m_nProgress = 0;
    m_view.SetTimer(kTimerAutoProgress, kProgressStep);
    StartRecording(theApp.m_strRecordWavPath);
}

void CSpeechPractice::OnAutoNext()
{
    m_view.KillTimer(kTimerAutoNext);
    ReleaseVoicePlayer();
    if (FileExists(theApp.m_strTmpRecordWavPath))
        DeleteFile(theApp.m_strTmpRecordWavPath);
    if (theApp.m_strSpeechMode == "sentenceauto" && m_nPracticeIndex + 1 < m_nPracticeCount) {
        ++m_nPracticeIndex;
        m_view.SetTimer(kTimerAutoClip, 100);
    }
}

// ---- Manual follow-reading ----

void CSpeechPractice::OnSentenceManual()
{
    ResetPractice();
    theApp.m_strSpeechMode = "sentencemanu";
}

void CSpeechPractice::PlayManualSentence()
{
    if (theApp.m_strSpeechMode != "sentencemanu" || m_bRecording || !HasSentence(m_nPracticeIndex))
        return;
    // A new sentence ends the replay of the one before.
    m_view.KillTimer(kTimerManualDone);
    if (IPracticePlayer* voice = m_view.VoicePlayer())
        voice->Stop();
    PlayClip(m_nPracticeIndex);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->SetVolume(theApp.m_nVolume);
    m_view.SetTimer(kTimerManualWait, kProgressStep);
}

void CSpeechPractice::OnManualWait()
{
    // The clip that was clicked, whatever line the pointer rests on now.
    if (!LessonReached(m_nClipStart + m_nClipLength))
        return;
    m_view.KillTimer(kTimerManualWait);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->Pause();
    if (IPracticePlayer* voice = m_view.VoicePlayer())
        voice->Stop();
    m_nProgress = 0;
    m_view.SetTimer(kTimerManualProgress, kProgressStep);
    StartRecording(theApp.m_strRecordWavPath);
}

// ---- Role play ----

bool CSpeechPractice::ToggleSelected(int sentence)
{
    if (!HasSentence(sentence))
        return false;
    char& chosen = m_nSelected[static_cast<size_t>(sentence)];
    chosen = chosen ? 0 : 1;
    m_view.ShowChosen(sentence, chosen != 0);
    return chosen != 0;
}

void CSpeechPractice::OnRolePlay()
{
    ResetPractice();
    theApp.m_strSpeechMode = "sentenceselect";
}

void CSpeechPractice::OnRolePlayStart()
{
    if (theApp.m_strSpeechMode != "sentenceselect")
        ResetPractice();
    theApp.m_strSpeechMode = "sentenceselectfinish";
    m_nSelectedCount = static_cast<int>(std::count(m_nSelected.begin(), m_nSelected.end(), 1));
    if (m_nSelectedCount == 0) {
        theApp.ShowMessage("请选择要模仿的句子！", "error", 3000);
        return;
    }
    m_nPracticeIndex = 0;
    m_view.SetTimer(kTimerRoleNext, 100);
}

void CSpeechPractice::OnRoleNext()
{
    m_view.KillTimer(kTimerRoleNext);
    if (m_nPracticeCount == 0)
        return;
    int k = std::max(m_nPracticeIndex, 0);
    while (k < m_nPracticeCount && !m_nSelected[static_cast<size_t>(k)])
        ++k;
    if (k < m_nPracticeCount) {
        m_nPracticeIndex = k;
        m_view.ShowSentence(k);
        PlayClip(k);
        m_view.SetTimer(kTimerRoleRecord, TimerPeriod(m_nClipLength));
        return;
    }
    // Every chosen sentence is recorded: the performance.
    m_view.ShowPlayerPane(true);
    m_nClipStart = m_nSentenceStart[0];
    PlayLesson(m_nClipStart);
    m_view.SetTimer(kTimerPerformance, 100);
    m_nPracticeIndex = 0;
    m_view.ShowSentence(0);
}

void CSpeechPractice::OnRoleRecord()
{
    m_view.KillTimer(kTimerRoleRecord);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->Pause();
    m_nProgress = 0;
    m_view.SetTimer(kTimerRoleProgress, kProgressStep);
    m_strRolePath = RolePlayRecordingPath(theApp.m_strRecordWavPath, m_nPracticeIndex);
    StartRecording(m_strRolePath);
}

void CSpeechPractice::OnPerformance()
{
    IPracticePlayer* lesson = m_view.LessonPlayer();
    IPracticePlayer* voice = m_view.VoicePlayer();
    const int k = m_nPracticeIndex;
    // The performance ends with the last sentence, or where the media ends;
    // the lesson's own sound comes back for what follows.
    const bool over = m_nPracticeCount == 0 ||
                      (k >= m_nPracticeCount && LessonReached(m_nSentenceEnd[static_cast<size_t>(m_nPracticeCount - 1)]));
    if (lesson == nullptr || lesson->HasFinished() || over) {
        m_view.KillTimer(kTimerPerformance);
        if (lesson != nullptr)
            lesson->SetVolume(theApp.m_nVolume);
        return;
    }
    if (k >= m_nPracticeCount || lesson->GetTime() < m_nSentenceStart[static_cast<size_t>(k)])
        return;
    m_view.ShowSentence(k);
    const CString file = RolePlayRecordingPath(theApp.m_strRecordWavPath, k);
    // A chosen sentence whose recording is missing keeps the lesson's voice.
    if (m_nSelected[static_cast<size_t>(k)] && voice != nullptr && FileExists(file)) {
        lesson->SetVolume(0);
        voice->Open(file);
        voice->Play();
        voice->SetVolume(100);
        m_view.SetTimer(kTimerVoiceVolume, 100);
    } else {
        lesson->SetVolume(theApp.m_nVolume);
        if (voice != nullptr)
            voice->Stop();
    }
    ++m_nPracticeIndex;
}

// ---- Whole-text dubbing ----

void CSpeechPractice::OnDubAll()
{
    ResetPractice();
    if (m_nPracticeCount == 0)
        return;
    theApp.m_strSpeechMode = "sentenceall";
    m_nPracticeIndex = 0;
    m_view.SetTimer(kTimerDubPrepare, 100);
    // The learner dubs the video they see.
    m_view.ShowPlayerPane(true);
    PlayLesson(m_nSentenceStart[0] - kDubLeadIn);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->SetVolume(0);
    m_view.ShowSentence(0);
    StartRecording(theApp.m_strRecordWavPath);
}

void CSpeechPractice::OnDubPrepare()
{
    m_view.KillTimer(kTimerDubPrepare);
    if (!HasSentence(m_nPracticeIndex))
        return;
    const size_t k = static_cast<size_t>(m_nPracticeIndex);
    m_nRecordLength = m_nSentenceEnd[k] - m_nSentenceStart[k];
    m_view.SetProgressRange(m_nRecordLength);
    m_view.SetProgress(0);
    m_nProgress = 0;
    m_view.SetTimer(kTimerDubFollow, kProgressStep);
}

void CSpeechPractice::OnDubFollow()
{
    IPracticePlayer* lesson = m_view.LessonPlayer();
    if (!HasSentence(m_nPracticeIndex) || lesson == nullptr || lesson->HasFinished()) {
        // The video is over: the learner finishes when ready, and is told how.
        m_view.KillTimer(kTimerDubFollow);
        m_nPracticeIndex = m_nPracticeCount;
        theApp.ShowMessage(kDubVideoEndedMessage, "msg", kDubEndMessageMs);
        return;
    }
    const size_t k = static_cast<size_t>(m_nPracticeIndex);
    const int64_t time = lesson->GetTime();
    m_nProgress = static_cast<int>(std::clamp<int64_t>(time - m_nSentenceStart[k], 0, m_nRecordLength));
    m_view.SetProgress(m_nProgress);
    lesson->SetVolume(0);
    if (time < m_nSentenceEnd[k])
        return;
    ++m_nPracticeIndex;
    m_view.SetProgress(m_nRecordLength);
    m_view.KillTimer(kTimerDubFollow);
    if (HasSentence(m_nPracticeIndex)) {
        m_view.ShowSentence(m_nPracticeIndex);
        m_view.SetTimer(kTimerDubPrepare, 100);
    } else {
        theApp.ShowMessage(kDubLastSentenceMessage, "msg", kDubEndMessageMs);
    }
}

void CSpeechPractice::OnDubAllFinish()
{
    if (theApp.m_strSpeechMode != "sentenceall")
        return;
    m_view.SetProgress(0);
    StopRecording();
    theApp.m_strSpeechMode = "sentenceallfinish";
    const CString& temporary = theApp.m_strTmpRecordWavPath;
    if (FileExists(temporary))
        DeleteFile(temporary);
    if (!CopyFile(theApp.m_strRecordWavPath, temporary))
        theApp.ShowMessage(kRecordingNotSavedMessage, "error", 5000);
    m_view.ShowPlayerPane(true);
    PlayLesson(m_nSentenceStart[0] - kDubPlaybackLeadIn);
    if (IPracticePlayer* lesson = m_view.LessonPlayer())
        lesson->SetVolume(0);
    if (IPracticePlayer* voice = m_view.VoicePlayer()) {
        voice->Open(temporary);
        voice->Play();
        voice->SetVolume(100);
    }
    m_view.KillTimer(kTimerDubPrepare);
    m_view.KillTimer(kTimerDubFollow);
    m_view.SetTimer(kTimerDubPlayback, kProgressStep);
    m_nPracticeIndex = 0;
    m_view.ShowSentence(0);
}

void CSpeechPractice::OnDubPlayback()
{
    IPracticePlayer* lesson = m_view.LessonPlayer();
    IPracticePlayer* voice = m_view.VoicePlayer();
    if (lesson == nullptr || lesson->HasFinished() || !HasSentence(m_nPracticeIndex)) {
        m_view.KillTimer(kTimerDubPlayback);
        return;
    }
    const int64_t time = lesson->GetTime();
    m_nClipStart = MediaTime(time);
    if (voice != nullptr)
        voice->SetVolume(100);
    if (time >= m_nSentenceEnd[static_cast<size_t>(m_nPracticeIndex)]) {
        ++m_nPracticeIndex;
        if (!HasSentence(m_nPracticeIndex)) {
            m_view.KillTimer(kTimerDubPlayback);
            lesson->Pause();
            return;
        }
        m_view.ShowSentence(m_nPracticeIndex);
    }
    // The lesson's sound comes back once the recording has played out (not
    // while the second player is still starting it).
    if (voice == nullptr || voice->HasFinished())
        lesson->SetVolume(theApp.m_nVolume);
}
