// The web view of the cloud-disk browser pane: a panel filled by a browser
// control. It loads nothing until it is told to navigate.
#pragma once

#include <wx/panel.h>

#include "platform/cstring.h"

class CExplorer1;

class CPanHtmlView : public wxPanel {
public:
    enum { IDC_BROWSER = 1001 };

    CPanHtmlView() = default;

    bool Create(wxWindow* parent, int id);
    void Navigate(const CString& address);
    // Script-error dialogs: the browser control shows none, so this changes nothing.
    void SetSilent(bool silent);
    // True when the focused window is this view or one of its descendants.
    bool HasFocusWithin() const;

    CExplorer1* m_wndBrowser = nullptr;
};
