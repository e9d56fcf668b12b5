#include "online/panhtmlview.h"

#include <wx/sizer.h>

#include "shell/base/explorer1.h"

bool CPanHtmlView::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_wndBrowser = CExplorer1::CreateFilling(this, IDC_BROWSER);
    if (m_wndBrowser == nullptr)
        return false;
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
