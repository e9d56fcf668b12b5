// The program's only access to the media engine (libVLC 3.0): one engine
// instance and one media player per facade, bound to one video window.
//
// Paths and subtitle file names are UTF-8. Every reading operation goes
// straight to the engine; nothing is cached. When the engine could not be
// created every reading gives a neutral value (times -1, state 0, counts 0)
// and every other operation does nothing.
//
// All calls come from the user-interface thread. No engine callback is
// registered except the one handed to AttachTimeChanged.
//
// Without a graphics processor a player given RestVideoWhilePaused lets the
// engine's video output rest while paused (see CPausedVideoRest): the video
// track is off and the window shows a still of the paused picture until the
// player plays, seeks, opens other media or stops.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cstring.h"

struct libvlc_event_t;
struct libvlc_media_player_t;
class wxImage;

// Same shape as the engine's libvlc_callback_t.
using VlcEventCallback = void (*)(const libvlc_event_t* event, void* userData);

class CVlcPlayerImpl;

class CVlcPlayer {
public:
    CVlcPlayer();
    // Appends extra engine arguments after the program's own; lets tests make
    // the engine fail or change its options.
    explicit CVlcPlayer(const std::vector<std::string>& extraEngineArguments);
    ~CVlcPlayer();
    CVlcPlayer(const CVlcPlayer&) = delete;
    CVlcPlayer& operator=(const CVlcPlayer&) = delete;

    // The X11 window the engine draws into (see CVideoWindow).
    void SetHwnd(unsigned long xWindowId);

    // Prepares a local media file (UTF-8 path); playback starts with Play.
    // False when there is no engine or no path, or the engine refuses the
    // media (the player is then left without media). A missing or damaged
    // file is found only once playback starts (GetState reports the error).
    bool OpenFile(const char* utf8Path);
    bool OpenPath(const char* utf8Path) { return OpenFile(utf8Path); }
    // Prepares a network address with one media option (":network-caching=...").
    // False as for OpenFile.
    bool OpenLocation(const char* address, const char* option);
    // The path or address last opened ("" when none): several windows share
    // the lesson's player, and one may have left a sound of its own in it.
    const std::string& OpenedMedia() const;

    // False when there is no engine or the engine refuses to start (no media).
    bool Play();
    // Plays the media from `ms`. A seek given before the engine has opened
    // the media is lost, so unopened media start there through a media
    // option; opened media (playing or paused) seek.
    bool PlayFrom(int64_t ms);
    void Pause();   // the engine toggles between paused and playing
    // Pauses without toggling: a player already paused or stopped stays so.
    void PauseIfPlaying();
    // `showStill` gets the paused picture to show while the engine's video
    // output rests, `hideStill` is called once the engine draws again.
    // Nothing changes with a graphics processor (the engine's OpenGL output
    // is left as it is).
    void RestVideoWhilePaused(std::function<void(const wxImage&)> showStill, std::function<void()> hideStill);
    // The video track is off and the still stands in for it.
    bool IsVideoResting() const;
    // Stops at once; may wait (see StopWithoutWaiting).
    void Stop();
    // Stops without holding up the caller. An engine that shows an embedded
    // subtitle holds a stop for seconds while its video output gives the
    // subtitle up, so the subtitle goes off and the player pauses now, and
    // the stop follows on a 150 ms one-shot timer. Opening or playing
    // before then cancels that stop. The player reports itself
    // stopped from this call on.
    void StopWithoutWaiting();
    bool IsStopPending() const;

    int64_t GetLength();    // ms; -1 when unknown
    int64_t GetTime();      // ms; -1 when unknown
    // The time now, estimated between the engine's reports (which come only
    // every 250-500 ms); what the text following playback reads. -1 when
    // unknown.
    int64_t GetEstimatedTime();
    void Seek(int64_t ms);
    void SetTime(int64_t ms) { Seek(ms); }
    float GetPosition();    // 0.0 .. 1.0
    void SetPosition(float position);
    int GetState();         // 0 nothing .. 3 playing, 4 paused .. 7 error
    static constexpr int kStateBuffering = 2;
    static constexpr int kStatePlaying = 3;
    static constexpr int kStatePaused = 4;
    static constexpr int kStateStopped = 5;
    static constexpr int kStateEnded = 6;   // GetState at the end of the medium
    static constexpr int kStateError = 7;
    // The medium ran to its end or playback was stopped: a clip waiting for
    // its end time will not get there.
    bool IsEndedOrStopped() { return IsEndedOrStoppedState(GetState()); }
    static bool IsEndedOrStoppedState(int state) { return state == kStateEnded || state == kStateStopped; }
    int WillPlay();

    // 0 .. 200. The engine takes a volume only while it has an audio output:
    // the volume is kept and given again until it has been taken.
    void SetVolume(int volume);
    // A volume given has not been taken by the engine yet.
    bool HasPendingVolume() const;
    int GetVolume();
    void SetMute(bool mute);
    bool GetMute();

    // Only remembered: the engine's own full screen has no effect on a video
    // embedded in our window, the program shows full screen itself.
    void SetFullscreen(bool fullscreen);
    bool IsFullscreen();

    // Adds a subtitle file (UTF-8 path) to the media, before or during playback.
    void SetSubtitleFile(const char* utf8Path);
    int GetSpuCount();
    // n is a position in the engine's subtitle list, 0 being its "Disable"
    // entry; -1 or a position past the list switches subtitles off.
    void SetSpu(int n);
    // n is a position in the engine's audio track list, 0 being "Disable";
    // a position outside the list changes nothing.
    void SetAudioTrack(int n);
    void SelectAudioTrack(int n) { SetAudioTrack(n); }

    // The media's named subtitle / audio tracks as "name::id" entries (names
    // in the engine's UTF-8); empty without a player, or when the engine
    // reports no track or more than 9 subtitle / 5 audio tracks.
    CStringArray ListSubtitleTracks();
    CStringArray ListAudioTracks();
    // Select the track at a position of such a list (as the menus show it)
    // by the engine id its entry carries; the lists leave out nameless
    // tracks, so a position in the engine's own list may be another track.
    // A position outside the list changes nothing.
    void SelectListedSubtitle(const CStringArray& tracks, int position);
    void SelectListedAudioTrack(const CStringArray& tracks, int position);
    // The engine's id in a listed entry ("name::id"); empty when it has none.
    static std::optional<int> TrackIdOf(const CString& entry);
    // The engine's id of the subtitle track shown (-1: none).
    int GetSpuId();

    // The read-bytes counter of the media last opened (0 without one).
    int GetReadBytes();
    void AttachTimeChanged(VlcEventCallback callback, void* userData);

    // The engine's player, for tests that check what the engine was told.
    libvlc_media_player_t* RawPlayer();

private:
    std::unique_ptr<CVlcPlayerImpl> m_pImpl;
};
