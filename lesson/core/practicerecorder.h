// The microphone as speech practice uses it: one recording at a time into a
// WAV file, which can pause and resume. CMicrophoneRecorder records from the
// capture device; tests stand in for the interface.
#pragma once

#include <memory>

#include "lesson/core/speechrecording.h"
#include "lesson/core/waverecorder.h"
#include "lesson/core/wavewriter.h"
#include "platform/cstring.h"

class IPracticeRecorder {
public:
    virtual ~IPracticeRecorder() = default;
    // Records into a new file at path; a recording still running is
    // completed first.
    virtual ERecordingStart Start(const CString& path) = 0;
    // Stops and completes the file (nothing happens without a recording).
    // False when the file could not be written whole.
    [[nodiscard]] virtual bool Stop() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
};

class CMicrophoneRecorder final : public IPracticeRecorder {
public:
    ERecordingStart Start(const CString& path) override;
    bool Stop() override;
    void Pause() override;
    void Resume() override;

private:
    // Declared before the recorder: the recorder's workers write into the
    // writer until the recorder is gone.
    std::unique_ptr<CWaveWriter> m_pWriter;
    CWaveRecorder m_recorder;
};
