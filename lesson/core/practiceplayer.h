// A media player as speech practice drives it: the lesson's clips play in the
// main player, the learner's recordings in the second one. The window layer
// binds it to the media engine; tests stand in for it.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

class IPracticePlayer {
public:
    virtual ~IPracticePlayer() = default;

    // Loads a file (a path in program text); nothing plays until Play or
    // PlayFrom. False when the player refused it.
    virtual bool Open(const CString& path) = 0;
    virtual void Play() = 0;
    // Plays the loaded file from ms (a time of at least 0).
    virtual void PlayFrom(int ms) = 0;
    // Pauses what plays; a paused or stopped player stays so.
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void SetVolume(int volume) = 0;
    // ms on the media's time line, estimated between the engine's reports;
    // -1 while unknown.
    virtual int64_t GetTime() = 0;
    // Playback will go no further: the media ended, was stopped or failed.
    // A clip waiting for a time counts that time as reached.
    virtual bool HasFinished() = 0;
};
