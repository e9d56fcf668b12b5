#include "vocabulary/wordonlineview.h"

#include <wx/sizer.h>

#include "ui/explorer1.h"

bool CWordOnlineView::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    // A link or script that would open a browser window replaces the page here.
    m_browser->SetNewWindowsInPlace(true);
    return true;
}

void CWordOnlineView::Navigate(const CString& address)
{
    if (m_browser != nullptr)
        m_browser->Navigate(address);
}

void CWordOnlineView::SetSilent(bool /*silent*/)
{
}

bool CWordOnlineView::HasFocusWithin() const
{
    for (const wxWindow* window = wxWindow::FindFocus(); window != nullptr; window = window->GetParent()) {
        if (window == this)
            return true;
    }
    return false;
}
