// The engine bound to the capture device: records from the microphone (ALSA
// "default") into the attached store, 100 ms at a time.
#pragma once

#include "lesson/core/waveio.h"

class CWaveRecorder : public CWaveIOBase {
public:
    CWaveRecorder() = default;
    ~CWaveRecorder() override;

protected:
    void PrepareBuffer(CWaveHdr* hdr) override;
    // Hands the recorded bytes to the store.
    void ReclaimBuffer(CWaveHdr* hdr) override;
    bool OpenDevice() override;
    void StartDevice() override;
    void ResumeDevice() override;
};
