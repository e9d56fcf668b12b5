// Whether a player the window shows as playing really plays. The engine may
// take a file and never get going (a file of zeros named .mp4: it reads on
// for ever without a picture, a sound or a time), report an error, or lose
// its video output after the window was rearranged; its own play command
// then does nothing until the media is opened again. The window asks this
// watch once a second while it shows "playing": one stuck start or error is
// met by opening the media again; a second one means the learner is told and
// the player stops, so the window never claims to play what it cannot.
#pragma once

#include <cstdint>

class CPlaybackWatch {
public:
    // The engine's states as the player reports them (libVLC's numbering).
    static constexpr int kStatePlaying = 3;
    static constexpr int kStatePaused = 4;
    static constexpr int kStateEnded = 6;
    static constexpr int kStateError = 7;

    enum class EAction {
        Keep,     // playing, or still within its time to start
        Reopen,   // open the media again and play on; then call Reopened
        GiveUp,   // tell the learner and stop
    };

    // How long a start may take before the engine counts as stuck: well past
    // what a local file needs to show its first second.
    int64_t m_startLimitMs = 8000;

    // Playback was asked to start (play, resume, reopen) at `now` (ms of a
    // monotonic clock).
    void Start(int64_t now);
    // The media was opened again after a Reopen: this is the last attempt.
    void Reopened(int64_t now);
    // Nothing is shown as playing any more.
    void Stop() { m_watching = false; }
    bool IsWatching() const { return m_watching; }

    // One look at the engine: its state, time and length (ms; -1 unknown).
    EAction Check(int state, int64_t time, int64_t length, int64_t now);

private:
    bool m_watching = false;
    bool m_reopened = false;
    bool m_going = false;         // the time has moved since the start
    int64_t m_startAt = 0;
    int64_t m_firstTime = -1;     // the first time read while playing
};
