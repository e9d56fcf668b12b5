// The toolkit's application object: starts the program (data folders,
// document type, the main window) and ends it. The shared state lives in
// `theApp` (core/quenlow.h).
#pragma once

#include <vector>

#include <wx/app.h>

#include "platform/cstring.h"

class CQuenlowWinApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;
    wxAppTraits* CreateTraits() override;

    // Starts the program; false ends it at once.
    bool InitInstance(const std::vector<CString>& arguments);
    int ExitInstance();
    void PreLoadState();
    void OnAppAbout();
};
