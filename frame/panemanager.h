// The frame's docking manager, with one addition: setting the width (or
// height) of a docked pane's dock, which the learner can still drag later.
#pragma once

#include <wx/aui/framemanager.h>

class CPaneManager : public wxAuiManager {
public:
    // Sets the size across the dock that holds the pane. False when the pane
    // is not managed, floats or is hidden.
    bool SetPaneDockSize(wxWindow* pane, int size);
    // The current size across the pane's dock, or -1.
    int GetPaneDockSize(wxWindow* pane);

private:
    wxAuiDockInfo* FindDockOf(wxWindow* pane);
};
