#include "vocabulary/wordonlineview.h"

#include <wx/sizer.h>

#include "shell/explorer1.h"

bool CWordOnlineView::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_browser = new CExplorer1;
    if (!m_browser->Create(this, kBrowserId)) {
        delete m_browser;
        m_browser = nullptr;
        return false;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_browser, 1, wxEXPAND);
    SetSizer(sizer);
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
