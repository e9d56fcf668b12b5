// The hidden update dialog: a window that the main frame creates once at
// start-up and never shows. It is the receiver of the update check's and the
// download workers' reports.
#pragma once

#include <wx/dialog.h>

#include "platform/cstring.h"

class wxPanel;

class CUpdateDlg : public wxDialog {
public:
    CUpdateDlg() = default;

    // Creates the window hidden, with an empty form panel (template 424).
    bool Create(wxWindow* parent);

    // Starts the automatic update check; the two texts are not used by the
    // check. Returns 1.
    int StartUpdateCheck(const CString& address, const CString& localPath);
    // Downloads the online subtitle package of m_strSubtitleUrl.
    void StartSubtitleDownload();

    wxPanel* m_panelForm = nullptr;
};
