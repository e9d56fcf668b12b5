// The application's parentless windows that the application object names
// (the message window and the second player): created by the main frame,
// destroyed here at exit.
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
