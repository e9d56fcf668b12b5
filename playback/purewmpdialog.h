// The second player window: a small always-on-top video window without a
// caption, created hidden at start-up, with a media-engine facade of its own.
// The word book plays its example clips through it and speech practice
// replays recordings through its player; they call the facade directly.
#pragma once

#include <memory>

#include <wx/dialog.h>

#include "platform/cstring.h"
#include "playback/videowindow.h"
#include "playback/vlcplayer.h"

class wxPanel;

class CPureWMPDialog : public wxDialog {
public:
    enum {
        IDD = 419,
        IDC_STATIC_VIDEO = 1106,
    };

    CPureWMPDialog() = default;
    ~CPureWMPDialog() override;

    // Creates the window hidden (no parent makes it a top-level window of its
    // own) and binds the player to the video surface.
    bool Create(wxWindow* parent);
    // Stops the player without waiting on the engine
    // (CVlcPlayer::StopWithoutWaiting).
    void StopPlayer();
    // The engine's player state (3 playing, 4 paused).
    int GetPlayerState() const;
    // A file path, or an address beginning with "http:" (opened as a network
    // location with a long cache). Playback is not started; the text is
    // passed as it is. False when the engine refused it (see
    // CVlcPlayer::OpenFile).
    bool OpenMedia(const CString& location);

    // The subtitle menu's commands (kCmdSecondPlayerSubtitle*; no window
    // shows that menu yet): with n subtitle entries in the second player
    // (the engine's "Disable" entry counted), both languages show entry
    // n - 2, English n - 1, Chinese n; "off" switches subtitles off. Each
    // sets theApp.m_strCaptionLanguage ("Both", "Eng", "Chn", empty), which
    // their update handlers show checked.
    void OnSubtitleCommand(int commandId);

    wxPanel* m_staticVideo = nullptr;   // the video surface
    // Declared before the player: the player stops drawing before the
    // window it draws into goes.
    CVideoWindow m_video;
    std::unique_ptr<CVlcPlayer> m_player = std::make_unique<CVlcPlayer>();
    CString m_strLocation;   // the last text given to OpenMedia
};
