// The program's start and end: the document, the main window, the command
// line and the desktop registration of the document type.
#include "frame/quenlowwinapp.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>

#include <memory>

#include <wx/apptrait.h>
#include <wx/display.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include "platform/file.h"
#include "ui/userprofile.h"
#include "ui/wxtext.h"
#include "frame/mainfrm.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "core/shellregistration.h"

namespace {
std::unique_ptr<CQuenlowDoc> g_document;
}

namespace {

// A termination request (SIGTERM, e.g. at logout) closes the main window the
// way the window manager's close does, so settings are saved and the
// program's windows and workers go with it. The toolkit calls this from its
// event loop, not from the signal.
void CloseOnTerminate(int /*signal*/)
{
    if (wxWindow* top = wxTheApp->GetTopWindow())
        top->Close(true);
    else
        wxTheApp->ExitMainLoop();
}

} // namespace

bool CQuenlowWinApp::OnInit()
{
    // The toolkit's own messages go to stderr: a learner never gets an
    // English message box from the toolkit.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    SetSignalHandler(SIGTERM, CloseOnTerminate);

    std::vector<CString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(FromWx(argv[i]));
    return InitInstance(arguments);
}

int CQuenlowWinApp::OnExit()
{
    const int code = ExitInstance();
    // The profile was written when it changed; nothing is left for the
    // toolkit to write (and fail at) while it cleans up.
    RemoveUserProfile();
    return code;
}

namespace {

// The toolkit makes a log target of its own when a message comes while none
// is set, as at clean-up after the program's target is gone. Its usual one
// shows a dialog, which at that point has no application object left to ask
// for a title; stderr is safe at every moment.
class CQuenlowAppTraits : public wxGUIAppTraits {
public:
    wxLog* CreateLogTarget() override { return new wxLogStderr; }
};

} // namespace

wxAppTraits* CQuenlowWinApp::CreateTraits() { return new CQuenlowAppTraits; }

bool CQuenlowWinApp::InitInstance(const std::vector<CString>& arguments)
{
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
    // The profile lives in the user's configuration folder, which a new
    // account may not have yet.
    const wxString configFolder = wxStandardPaths::Get().GetUserConfigDir();
    if (!wxFileName::DirExists(configFolder) && !wxFileName::Mkdir(configFolder, 0700, wxPATH_MKDIR_FULL))
        std::fprintf(stderr, "quenlow: cannot create the configuration folder %s\n", configFolder.utf8_str().data());
    InstallUserProfile(UserProfilePath());
    wxInitAllImageHandlers();
    PreLoadState();

    // Relative paths (the media engine's configuration) start at the program folder.
    const CString folder = GetProgramFolder();
    if (!folder.IsEmpty() && chdir(ToFsPath(folder).c_str()) != 0)
        wxLogDebug("cannot enter the program folder");
    RegisterDocumentType(folder + "quenlow");

    g_document = std::make_unique<CQuenlowDoc>();
    g_document->OnNewDocument();
    auto* frame = new CMainFrame;
    if (!frame->Create(g_document.get())) {
        frame->Destroy();
        return false;
    }

    // A file named on the command line only names the window; one that
    // cannot be opened is reported and the program starts empty.
    if (!arguments.empty()) {
        const CString& path = arguments.front();
        if (g_document->OnOpenDocument(path))
            frame->UpdateTitle();
        else
            theApp.ShowMessage("无法打开文件：" + path, "error", 5000);
    }

    // Without a window manager maximising does nothing, so the frame first
    // takes the whole work area itself.
    frame->SetSize(wxDisplay(0u).GetClientArea());
    frame->Maximize();
    frame->Show();
    SetTopWindow(frame);
    return true;
}

int CQuenlowWinApp::ExitInstance()
{
    g_document.reset();
    return 0;
}

void CQuenlowWinApp::PreLoadState()
{
    // The lesson view's context menu is built when it is shown
    // (CreateEditContextMenu); nothing needs registering beforehand.
}

void CQuenlowWinApp::OnAppAbout() { OpenOnDesktop(theApp.m_strHelpPagePath); }
