// A small borderless pop-up that holds one text progress bar. Long operations
// on the user-interface thread create it without a parent, show it, place it
// (500 x 30 pixels, the bar at 0, 0, 500 x 30), set the bar's range and
// colours, drive the bar item by item and Destroy() the dialog at the end.
#pragma once

#include <wx/dialog.h>

#include "ui/textprogressctrl.h"

class CProgressDlg : public wxDialog {
public:
    enum { IDC_PROGRESS = 1017 };

    CProgressDlg() = default;
    // Creates the dialog hidden, with its bar; the callers then show it.
    bool Create(wxWindow* parent = nullptr);

    // The callers reach the bar directly.
    CTextProgressCtrl* m_ctlProgress = nullptr;
};
