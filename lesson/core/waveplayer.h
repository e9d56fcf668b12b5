// The engine bound to the playback device: plays the attached store's
// samples on ALSA "default" until the store has no more to give.
#pragma once

#include "lesson/core/waveio.h"

class CWavePlayer : public CWaveIOBase {
public:
    CWavePlayer() = default;
    ~CWavePlayer() override;

protected:
    // Fills the buffer from the store; a buffer left empty stays idle.
    void PrepareBuffer(CWaveHdr* hdr) override;
    void ReclaimBuffer(CWaveHdr* hdr) override;
    bool OpenDevice() override;
    void StartDevice() override;
    void ResumeDevice() override;
};
