// The program's entry: the toolkit's application object hands start-up and
// shut-down to the shared application object `theApp`.
#include <X11/Xlib.h>

#include <cstdlib>

#include <wx/wx.h>

#include "platform/wxtext.h"
#include "shell/quenlow.h"

namespace {

class CQuenlowWinApp : public wxApp {
public:
    bool OnInit() override
    {
        std::vector<CString> arguments;
        for (int i = 1; i < argc; ++i)
            arguments.push_back(FromWx(argv[i]));
        return theApp.InitInstance(arguments);
    }

    int OnExit() override { return theApp.ExitInstance(); }
};

} // namespace

int main(int argc, char** argv)
{
    // The media engine draws into X11 windows from its own threads.
    XInitThreads();
    setenv("GDK_BACKEND", "x11", 1);
    wxApp::SetInstance(new CQuenlowWinApp);
    return wxEntry(argc, argv);
}
