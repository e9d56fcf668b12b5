// The surface the media engine draws into: an X11 child window kept inside
// the video panel and sized to it.
//
// The engine is handed this window and not the panel's own, because the
// panel's X window is replaced whenever the toolkit re-creates it (floating a
// pane, moving it to the full-screen frame), and the engine cannot follow.
// This window survives: when the panel's X window goes away the window is
// parked (unmapped, on the root window) and comes back when the panel is
// realised again, or when Reattach names a new panel.
//
// No input is selected on the window, so mouse clicks on the video reach the
// panel (the engine's own key and mouse input is switched off at every open).
// The engine must stop drawing (player stopped or released) before this
// object is destroyed.
//
// While the engine's output rests (a paused player, see CPausedVideoRest)
// the window is unmapped and the panel paints a still of the paused picture
// in its place, fitted to the panel as the engine fits the video.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

class CVlcPlayer;
class wxWindow;
class wxPaintEvent;
class wxSizeEvent;
class wxWindowDestroyEvent;

class CVideoWindow {
public:
    CVideoWindow() = default;
    ~CVideoWindow();
    CVideoWindow(const CVideoWindow&) = delete;
    CVideoWindow& operator=(const CVideoWindow&) = delete;

    // Creates the X window inside the panel; false when the toolkit does not
    // run on X11.
    bool Create(wxWindow* panel);
    // Moves the window into another panel (or back into the same one after its
    // X window was re-created).
    void Reattach(wxWindow* newPanel);

    unsigned long GetXWindow() const { return m_window; }
    // The player draws into this window; while its output rests the panel
    // shows its still. The player must not outlive this object.
    void AttachPlayer(CVlcPlayer& player);
    wxWindow* GetPanel() const { return m_panel; }

    // The panel shows `still` instead of the engine's drawing until HideStill.
    void ShowStill(const wxImage& still);
    void HideStill();
    bool IsShowingStill() const { return m_still.IsOk(); }
    // Where a picture of `picture` pixels lies in an area of `area` pixels:
    // as large as fits, centred, its proportions kept.
    static wxRect FitPicture(const wxSize& picture, const wxSize& area);

private:
    friend struct CVideoWindowSignals;

    void Attach(wxWindow* panel);
    void Detach();
    void PlaceInPanel();
    void Park();
    void FitToPanel();
    void OnPanelSize(wxSizeEvent& event);
    void OnPanelDestroy(wxWindowDestroyEvent& event);
    void OnPanelPaint(wxPaintEvent& event);
    void MapWindow(bool mapped);

    wxWindow* m_panel = nullptr;
    void* m_widget = nullptr;    // the panel's GtkWidget whose signals we watch
    void* m_display = nullptr;   // the toolkit's GdkDisplay (X11)
    unsigned long m_window = 0;
    bool m_placed = false;
    wxImage m_still;
    wxBitmap m_stillShown;   // m_still at the size it was last painted
};
