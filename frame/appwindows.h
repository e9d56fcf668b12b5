// The application's parentless windows: the message window and the second
// player (named by the application object) are created by the main frame,
// and every parentless window of the program is destroyed here at exit.
#pragma once

#include <cstdio>

class wxWindow;

// Each leaves its pointer in theApp null when the window cannot be created
// (said on stderr); every user checks the pointer.
void CreateMessageDialog();
void CreateStreamDialog();

// Creates a window object made with new: the window, or nullptr when its
// Create failed (the object is deleted, and stderr names the window).
template <class TWindow>
TWindow* CreateWindowOrNull(TWindow* window, wxWindow* parent, const char* what)
{
    if (window->Create(parent))
        return window;
    delete window;
    std::fprintf(stderr, "quenlow: the %s window cannot be created\n", what);
    return nullptr;
}

// Destroys every parentless window of the program except the main frame:
// theApp's message window, second player and word window, and the main
// frame's own (CMainFrame::DestroyOwnTopLevelWindows). The pointers become
// null; the windows go with the next pending deletes. A hidden parentless
// window would otherwise keep the program running after the frame closed.
// The frame's close calls it; safe to call again or without a frame.
void DestroyAppWindows();
