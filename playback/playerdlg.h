// The main player's window inside the player pane: a black video area in
// which the media engine draws.
#pragma once

#include <memory>

#include <wx/panel.h>

#include "playback/vlcplayer.h"

class CPlayerDlg : public wxPanel {
public:
    enum {
        IDD = 310,
        IDC_STATIC_VIDEO = 1105,
    };

    CPlayerDlg() = default;

    bool Create(wxWindow* parent, int id = IDD);
    // The control bar belongs to full-screen playback; the docked window has
    // none to hide.
    void HideControlBar();
    // No media engine is attached, so there is nothing to stop.
    void StopPlayer();

    wxPanel* m_staticVideo = nullptr;   // the video surface
    // The main lesson player.
    std::unique_ptr<CVlcPlayer> m_player = std::make_unique<CVlcPlayer>();
};
