// Lets the engine's video output rest while the player is paused.
//
// Without a graphics processor the engine's X11 output converts, scales and
// draws the last picture again every 80 ms for as long as the player is
// paused (libVLC 3 redraws on a fixed period, with or without a change), so
// a paused player kept a few percent of a core busy. Half a second into a
// pause the picture on show is taken as a still (with the subtitle it
// shows), handed to the window that hosts the video, and the video track is
// switched off: the engine then draws nothing at all. Before the player
// plays or seeks the track comes back (playing restarts it at the paused
// time, so the picture goes on from the same frame) and the still goes once
// the engine has had time to draw again; opening other media or stopping
// drops the still at once.
//
// The still is written by the engine on a worker thread (taking it waits
// for the engine's next redraw), never on the interface thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

struct libvlc_media_player_t;
class wxImage;
class wxTimer;

class CPausedVideoRest {
public:
    using ShowStill = std::function<void(const wxImage& still)>;
    using HideStill = std::function<void()>;

    // How long a pause lasts before the output rests, and how long a woken
    // output is given to draw before the still goes.
    static constexpr int kRestDelayMs = 500;
    static constexpr int kRedrawMs = 300;

    CPausedVideoRest(libvlc_media_player_t* player, ShowStill show, HideStill hide);
    // Waits for a still the engine is writing.
    ~CPausedVideoRest();
    CPausedVideoRest(const CPausedVideoRest&) = delete;
    CPausedVideoRest& operator=(const CPausedVideoRest&) = delete;

    // The player was asked to pause (or moved while paused): rest once the
    // pause has lasted kRestDelayMs.
    void Arm();
    // Before the player is asked to play.
    void WakeToPlay();
    // Before the player is asked to seek.
    void WakeToSeek();
    // Before the player opens other media or stops: the still goes now.
    void Drop();

    bool IsResting() const { return m_bResting; }

private:
    struct SSnapshot;

    void OnRestDue();
    void OnSnapshotPoll();
    // Gives the engine its video track back; false when it was not resting.
    bool RestoreTrack();
    void HideSoon();

    libvlc_media_player_t* m_player;
    ShowStill m_show;
    HideStill m_hide;
    std::unique_ptr<wxTimer> m_restTimer;
    std::unique_ptr<wxTimer> m_pollTimer;
    std::unique_ptr<wxTimer> m_hideTimer;
    std::thread m_worker;
    std::shared_ptr<SSnapshot> m_snapshot;   // the one being written, if any
    bool m_bResting = false;
    bool m_bStillShown = false;
    int m_nVideoTrack = -1;      // the engine's video track before it rested
    int64_t m_nPausedTime = -1;  // where the player rested
};
