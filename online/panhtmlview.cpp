#include "online/panhtmlview.h"

#include <wx/sizer.h>

#include "shell/explorer1.h"

bool CPanHtmlView::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_wndBrowser = new CExplorer1;
    if (!m_wndBrowser->Create(this, IDC_BROWSER))
        return false;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndBrowser, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CPanHtmlView::Navigate(const CString& address)
{
    m_wndBrowser->Navigate(address);
}

void CPanHtmlView::SetSilent(bool /*silent*/)
{
}

bool CPanHtmlView::HasFocusWithin() const
{
    for (const wxWindow* window = wxWindow::FindFocus(); window; window = window->GetParent())
        if (window == this)
            return true;
    return false;
}
