// The two kinds of window that the main frame hosts: central views (one shown
// at a time, chosen by the ribbon category) and dockable panes.
#pragma once

#include <wx/panel.h>

#include "platform/cstring.h"

// A central view. The frame creates it on first use with its own child id and
// keeps it until the frame goes; OnInitialUpdate runs once after creation.
class CView : public wxPanel {
public:
    CView() = default;
    // Creates the view's window as a hidden child of the frame's view host.
    virtual bool Create(wxWindow* host, int id);
    virtual void OnInitialUpdate() {}
};

// A dockable pane: a panel with a caption and an id that the frame docks with
// its pane manager.
class CDockablePane : public wxPanel {
public:
    CDockablePane() = default;
    virtual bool Create(wxWindow* frame, const CString& caption, int id);
    const CString& GetCaption() const { return m_strCaption; }

private:
    CString m_strCaption;
};
