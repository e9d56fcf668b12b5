// The program's entry: hands control to the toolkit with the program's own
// application object.
#include <X11/Xlib.h>

#include <cstdlib>

#include "frame/quenlowwinapp.h"

int main(int argc, char** argv)
{
    // The media engine draws into X11 windows from its own threads.
    XInitThreads();
    setenv("GDK_BACKEND", "x11", 1);
    // No window of the program draws with the toolkit's OpenGL; without this
    // the toolkit sets OpenGL up at start anyway, which without a graphics
    // processor loads a software renderer of some 50 MB.
    setenv("GDK_GL", "disable", 0);
    wxApp::SetInstance(new CQuenlowWinApp);
    return wxEntry(argc, argv);
}
