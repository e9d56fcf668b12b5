// The second player window: a small always-on-top video window without a
// caption, created hidden at start-up. Its only child is the black video
// surface.
#pragma once

#include <wx/dialog.h>

class wxPanel;

class CPureWMPDialog : public wxDialog {
public:
    enum {
        IDD = 419,
        IDC_STATIC_VIDEO = 1106,
    };

    CPureWMPDialog() = default;

    // Creates the window hidden (no parent makes it a top-level window of its own).
    bool Create(wxWindow* parent);
    // No media engine is attached, so there is nothing to stop.
    void StopPlayer();
    // The player's state; 0 (nothing opened) while no media engine is attached.
    int GetPlayerState() const;

    wxPanel* m_staticVideo = nullptr;   // the video surface
};
