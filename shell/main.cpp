// The program's entry: the toolkit's application object starts the shared
// state (program folder, data paths and folders, stored settings) and shows
// the main window; closing it writes the settings back.
#include <unistd.h>

#include <cstdlib>

#include <wx/wx.h>

#include "platform/file.h"
#include "platform/wxtext.h"
#include "shell/quenlow.h"
#include "shell/startupdefaults.h"
#include "shell/uisettings.h"

namespace {

class CMainWindow : public wxFrame {
public:
    CMainWindow() : wxFrame(nullptr, wxID_ANY, ToWx("未载入文件 - Quenlow"))
    {
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
            SaveUiSettings(theApp, theApp.m_strUiDataPath);
            event.Skip();
        });
    }
};

class CQuenlowWinApp : public wxApp {
public:
    bool OnInit() override
    {
        const CString folder = GetProgramFolder();
        // The media engine's configuration path is relative to the program folder.
        if (chdir(ToFsPath(folder).c_str()) != 0)
            wxLogWarning("%s", ToWx("无法进入程序目录：" + folder));
        ApplyStartupDefaults(theApp, folder);
        CreateDataFolders(theApp);
        LoadUiSettings(theApp, theApp.m_strUiDataPath);

        auto* frame = new CMainWindow;
        // Without a window manager (a bare X server) maximising does nothing,
        // so the frame first takes the whole work area itself.
        frame->SetSize(wxGetClientDisplayRect());
        frame->Maximize();
        frame->Show();
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    // The video is embedded as an X11 window.
    setenv("GDK_BACKEND", "x11", 1);
    wxApp::SetInstance(new CQuenlowWinApp);
    return wxEntry(argc, argv);
}
