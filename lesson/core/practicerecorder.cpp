#include "lesson/core/practicerecorder.h"

ERecordingStart CMicrophoneRecorder::Start(const CString& path)
{
    return StartRecordingFile(m_recorder, m_pWriter, path);
}

bool CMicrophoneRecorder::Stop()
{
    return FinishRecordingFile(m_recorder, m_pWriter.get());
}

void CMicrophoneRecorder::Pause()
{
    m_recorder.Pause();
}

void CMicrophoneRecorder::Resume()
{
    m_recorder.Resume();
}
