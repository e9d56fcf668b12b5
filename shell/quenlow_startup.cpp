// The program's start and end: the document, the main window, the command
// line and the desktop registration of the document type.
#include <unistd.h>

#include <memory>

#include <wx/app.h>
#include <wx/display.h>
#include <wx/log.h>
#include <wx/image.h>
#include <wx/stdpaths.h>

#include "platform/file.h"
#include "platform/process.h"
#include "platform/wxtext.h"
#include "shell/mainfrm.h"
#include "shell/quenlow.h"
#include "shell/quenlowdoc.h"
#include "shell/shellregistration.h"

namespace {
std::unique_ptr<CQuenlowDoc> g_document;
}

bool CQuenlowApp::InitInstance(const std::vector<CString>& arguments)
{
    wxStandardPaths::Get().SetFileLayout(wxStandardPaths::FileLayout_XDG);
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
            ShowMessage("无法打开文件：" + path, "error", 5000);
    }

    // Without a window manager maximising does nothing, so the frame first
    // takes the whole work area itself.
    frame->SetSize(wxDisplay(0u).GetClientArea());
    frame->Maximize();
    frame->Show();
    wxTheApp->SetTopWindow(frame);
    return true;
}

int CQuenlowApp::ExitInstance()
{
    g_document.reset();
    return 0;
}

void CQuenlowApp::PreLoadState()
{
    // The lesson view's context menu is built when it is shown
    // (CreateEditContextMenu); nothing needs registering beforehand.
}

void CQuenlowApp::OnAppAbout() { ShellOpen(m_strHelpPagePath); }
