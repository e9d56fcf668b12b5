// A stand-in for the practice players in tests: it does what it is told at
// once, reports it, and takes its time from the test.
#pragma once

#include <functional>

#include "lesson/core/practiceplayer.h"
#include "platform/cstring.h"

// A player whose time the test moves. Stopping it, as the engine does,
// leaves it finished until something is opened.
class CStandInPlayer : public IPracticePlayer {
public:
    bool Open(const CString& path) override
    {
        opened = path;
        playing = false;
        finished = false;
        if (onOpen)
            onOpen(path);
        time = -1;
        return true;
    }
    void Play() override { playing = true; }
    void PlayFrom(int ms) override
    {
        playedFrom = ms;
        time = ms;
        playing = true;
    }
    void Pause() override { playing = false; }
    void Stop() override
    {
        playing = false;
        finished = true;
    }
    void SetVolume(int v) override { volume = v; }
    int64_t GetTime() override { return time; }
    bool HasFinished() override { return finished; }

    CString opened;
    int playedFrom = -1;
    int64_t time = -1;
    bool playing = false;
    bool finished = false;
    int volume = -1;
    // Runs at every Open (a test's own check of what is opened).
    std::function<void(const CString&)> onOpen;
};
