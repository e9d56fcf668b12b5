// Speech practice: sentences, recording, the free recording, reset, the
// timers' dispatch and the ribbon's rules. The modes' chains are in
// speechpractice_modes.cpp.
#include "lesson/core/speechpractice.h"

#include <filesystem>
#include <system_error>

#include "platform/file.h"
#include "core/activeview.h"
#include "core/commandids.h"
#include "core/quenlow.h"

namespace {

// Whether two paths name one existing file (also through links or "..").
bool SameFile(const CString& a, const CString& b)
{
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::u8path(ToFsPath(a)), std::filesystem::u8path(ToFsPath(b)),
                                       error) &&
           !error;
}

} // namespace

CSpeechPractice::CSpeechPractice(ISpeechPracticeView& view, IPracticeRecorder& recorder)
    : m_view(view), m_recorder(recorder)
{
}

CSpeechPractice::~CSpeechPractice()
{
    if (m_bRecording)
        (void)m_recorder.Stop();   // nobody is left to tell
}

void CSpeechPractice::SetSentences(const std::vector<SPracticeSentence>& sentences)
{
    m_arrPracticeEnglish.RemoveAll();
    m_arrPracticeChinese.RemoveAll();
    m_nSentenceStart.clear();
    m_nSentenceEnd.clear();
    for (const SPracticeSentence& sentence : sentences) {
        m_arrPracticeEnglish.Add(sentence.english);
        m_arrPracticeChinese.Add(sentence.chinese);
        m_nSentenceStart.push_back(sentence.start);
        m_nSentenceEnd.push_back(sentence.end);
    }
    m_nPracticeCount = static_cast<int>(sentences.size());
    m_nSelected.assign(sentences.size(), 0);
    m_nSelectedCount = 0;
    m_nPracticeIndex = 0;
}

// ---- Recording ----

void CSpeechPractice::StartRecording(const CString& path, int messageMs)
{
    if (path.IsEmpty())
        return;
    m_bRecordingMade = false;
    const ERecordingStart result = m_recorder.Start(path);
    m_bPaused = 0;
    if (result != ERecordingStart::Started) {
        // The recorder has let go of any recording before: none runs now.
        m_bRecording = 0;
        theApp.ShowMessage(RecordingStartMessage(result), "error", messageMs);
        return;
    }
    m_bRecording = 1;
    m_bRecordingMade = true;
}

void CSpeechPractice::StopRecording()
{
    if (!m_recorder.Stop())
        theApp.ShowMessage(kRecordingNotSavedMessage, "error", 5000);
    m_bRecording = 0;
    m_bPaused = 0;
}

// ---- Free recording ----

void CSpeechPractice::OnRecordStart()
{
    if (theApp.m_strRecordState == "record") {
        theApp.ShowMessage("正在录音中！", "warning", 3000);
        return;
    }
    if (m_bPaused == 0) {
        StartRecording(theApp.m_strRecordWavPath, 5000);
        // A start that failed leaves the buttons idle: no recording to pause
        // or stop.
        if (!m_bRecording)
            return;
    } else {
        m_recorder.Resume();
    }
    theApp.m_strRecordState = "record";
    theApp.m_strSpeechMode = "DIY";
    m_bPaused = 0;
    m_bRecording = 1;
}

void CSpeechPractice::OnRecordPause()
{
    if (theApp.m_strRecordState == "pause") {
        theApp.ShowMessage("暂停中！", "warning", 5000);
        return;
    }
    if (!m_bRecording)
        return;
    theApp.m_strRecordState = "pause";
    m_recorder.Pause();
    m_bPaused = 1;
}

void CSpeechPractice::OnRecordStop()
{
    m_bPaused = 0;
    theApp.m_strRecordState.Empty();
    theApp.m_strSpeechMode.Empty();
    StopRecording();
}

void CSpeechPractice::OnRecordReplay()
{
    const CString& record = theApp.m_strRecordWavPath;
    const CString& replay = theApp.m_strReplayWavPath;
    if (FileExists(replay))
        DeleteFile(replay);
    if (!FileExists(record))
        return;
    if (!CopyFile(record, replay)) {
        theApp.ShowMessage(kRecordingNotSavedMessage, "error", 5000);
        return;
    }
    if (IPracticePlayer* voice = m_view.VoicePlayer()) {
        voice->Open(replay);
        voice->Play();
        voice->SetVolume(100);
    }
}

bool CSpeechPractice::ExportRecording(const CString& target)
{
    // A copy onto the recording itself would have nothing to do; the file
    // is where the learner wants it.
    if (!SameFile(theApp.m_strRecordWavPath, target) && !CopyFile(theApp.m_strRecordWavPath, target)) {
        theApp.ShowMessage("导出失败！", "error", 5000);
        return false;
    }
    theApp.ShowMessage("保存完了！", "msg", 5000);
    return true;
}

// ---- Reset ----

void CSpeechPractice::ResetPractice()
{
    if (m_bRecording)
        StopRecording();
    // A free recording ends here too; its buttons must not stay as if it ran.
    theApp.m_strRecordState.Empty();
    for (int id : {kTimerAutoClip, kTimerAutoRecord, kTimerAutoProgress, kTimerAutoNext, kTimerManualWait,
                   kTimerManualProgress, kTimerManualDone, kTimerRoleNext, kTimerRoleRecord, kTimerRoleProgress,
                   kTimerPerformance, kTimerDubPrepare, kTimerDubFollow, kTimerDubPlayback})
        m_view.KillTimer(id);
    if (IPracticePlayer* lesson = m_view.LessonPlayer()) {
        lesson->Stop();
        // The modes mute the lesson; the learner's volume comes back.
        lesson->SetVolume(theApp.m_nVolume);
        lesson->Open(theApp.m_strCompleteWavPath);
        lesson->Stop();
    }
    m_view.ShowPlayerPane(false);
    ReleaseVoicePlayer();
    m_view.SetProgress(0);
    m_bRecording = 0;
    theApp.m_strSpeechMode.Empty();
    for (int k = 0; k < m_nPracticeCount; ++k) {
        if (m_nSelected[static_cast<size_t>(k)]) {
            m_nSelected[static_cast<size_t>(k)] = 0;
            m_view.ShowChosen(k, false);
        }
    }
    m_view.ClearPracticeMarks();
}

void CSpeechPractice::ReleaseVoicePlayer()
{
    if (IPracticePlayer* voice = m_view.VoicePlayer()) {
        voice->Stop();
        voice->Open(theApp.m_strCompleteWavPath);
        voice->Stop();
    }
}

// ---- Timers ----

void CSpeechPractice::OnTimer(int id)
{
    // The chains belong to the view: once another view is central they end.
    if (theApp.m_strActiveView != kActiveSpeechView) {
        m_view.KillTimer(id);
        ResetPractice();
        return;
    }
    switch (id) {
    case kTimerAutoClip: OnAutoClip(); break;
    case kTimerAutoRecord: OnAutoRecord(); break;
    case kTimerAutoProgress:
        if (RecordingProgressTick(id))
            ReplayRecording(kTimerAutoNext);
        break;
    case kTimerAutoNext: OnAutoNext(); break;
    case kTimerManualWait: OnManualWait(); break;
    case kTimerManualProgress:
        if (RecordingProgressTick(id))
            ReplayRecording(kTimerManualDone);
        break;
    case kTimerManualDone:
        m_view.KillTimer(id);
        ReleaseVoicePlayer();
        break;
    case kTimerRoleNext: OnRoleNext(); break;
    case kTimerRoleRecord: OnRoleRecord(); break;
    case kTimerRoleProgress:
        if (RecordingProgressTick(id)) {
            ++m_nPracticeIndex;
            m_view.SetTimer(kTimerRoleNext, 100);
        }
        break;
    case kTimerPerformance: OnPerformance(); break;
    case kTimerVoiceVolume:
        m_view.KillTimer(id);
        if (IPracticePlayer* voice = m_view.VoicePlayer())
            voice->SetVolume(100);
        break;
    case kTimerDubPrepare: OnDubPrepare(); break;
    case kTimerDubFollow: OnDubFollow(); break;
    case kTimerDubPlayback: OnDubPlayback(); break;
    default: m_view.KillTimer(id); break;
    }
}

// ---- The ribbon's rules ----

const std::vector<int>& CSpeechPractice::Commands()
{
    static const std::vector<int> commands = {
        kCmdRecord,    kCmdRecordPause, kCmdRecordStop, kCmdReplayRecording, kCmdExportRecording,
        kCmdSpeechReset, kCmdFollowRead, kCmdFollowReadAuto, kCmdFollowReadManual, kCmdRolePlay,
        kCmdRolePlayStart, kCmdDubbing, kCmdDubbingEnd,
    };
    return commands;
}

CSpeechPractice::SCommandState CSpeechPractice::GetCommandState(int commandId) const
{
    const bool microphone = theApp.m_strMicrophoneReady == "true";
    const CString& mode = theApp.m_strSpeechMode;
    const CString& state = theApp.m_strRecordState;
    const bool following = mode == "sentenceauto" || mode == "sentencemanu";
    SCommandState result;
    result.handled = true;
    switch (commandId) {
    case kCmdRecord:
        result.checked = state == "record";
        result.enabled = microphone && (mode.IsEmpty() || mode == "DIY");
        break;
    case kCmdRecordPause:
        result.checked = state == "pause";
        result.enabled = microphone && !state.IsEmpty();
        break;
    case kCmdRecordStop:
        result.enabled = microphone && mode == "DIY" && !state.IsEmpty();
        break;
    case kCmdReplayRecording:
    case kCmdExportRecording:
        result.enabled = microphone && FileExists(theApp.m_strRecordWavPath) && !m_bRecording;
        break;
    case kCmdSpeechReset:
        result.enabled = !(microphone && mode == "DIY");
        break;
    case kCmdFollowRead:
        result.enabled = microphone && !m_bRecording;
        result.checked = following;
        break;
    case kCmdFollowReadAuto:
        result.enabled = following;
        result.checked = mode == "sentenceauto";
        break;
    case kCmdFollowReadManual:
        result.checked = mode == "sentencemanu";
        break;
    case kCmdRolePlay:
        result.enabled = microphone && !m_bRecording;
        result.checked = mode == "sentenceselect";
        break;
    case kCmdRolePlayStart:
        break;
    case kCmdDubbing:
        result.enabled = (microphone && !m_bRecording) || mode == "sentenceall";
        result.checked = mode == "sentenceall";
        break;
    case kCmdDubbingEnd:
        result.enabled = mode == "sentenceall";
        break;
    default:
        result.handled = false;
        break;
    }
    return result;
}
