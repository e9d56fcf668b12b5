// The dictionary pane's web view: shows the rendered dictionary page of a
// word or an online dictionary page, in a browser control that fills it.
#pragma once

#include <wx/panel.h>

#include "platform/cstring.h"

class CExplorer1;

class CWordOnlineView : public wxPanel {
public:
    static constexpr int kBrowserId = 1001;

    CWordOnlineView() = default;
    bool Create(wxWindow* parent, int id = wxID_ANY);

    void Navigate(const CString& address);
    // Pages shown here never raise script-error dialogs, so there is nothing
    // to silence; the call is accepted for the frame's start-up.
    void SetSilent(bool silent);
    // True when the keyboard focus is in this view or one of its children.
    bool HasFocusWithin() const;

    CExplorer1* m_browser = nullptr;
};
