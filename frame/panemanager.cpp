#include "frame/panemanager.h"

wxAuiDockInfo* CPaneManager::FindDockOf(wxWindow* pane)
{
    wxAuiPaneInfo& info = GetPane(pane);
    if (!info.IsOk() || info.IsFloating() || !info.IsShown())
        return nullptr;
    for (size_t d = 0; d < m_docks.GetCount(); ++d) {
        wxAuiDockInfo& dock = m_docks.Item(d);
        for (size_t p = 0; p < dock.panes.GetCount(); ++p) {
            if (dock.panes.Item(p)->window == pane)
                return &dock;
        }
    }
    return nullptr;
}

bool CPaneManager::SetPaneDockSize(wxWindow* pane, int size)
{
    // The docks are rebuilt from the panes on each update: make them current.
    Update();
    wxAuiDockInfo* dock = FindDockOf(pane);
    if (!dock || size <= 0)
        return false;
    dock->size = size;
    Update();
    return true;
}

int CPaneManager::GetPaneDockSize(wxWindow* pane)
{
    wxAuiDockInfo* dock = FindDockOf(pane);
    return dock ? dock->size : -1;
}
