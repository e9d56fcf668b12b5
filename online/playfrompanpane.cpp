#include "online/playfrompanpane.h"

#include <wx/sizer.h>

#include "online/panhtmlview.h"

bool CPlayFromPanPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    m_wndView = new CPanHtmlView;
    if (!m_wndView->Create(this, wxID_ANY))
        return false;
    m_wndView->SetSilent(true);
    m_wndSpareView = new CPanHtmlView;
    if (!m_wndSpareView->Create(this, IDC_SPARE_VIEW))
        return false;
    m_wndSpareView->SetSilent(true);
    m_wndSpareView->Hide();

    // A sizer leaves hidden windows out, so the shown view fills the pane.
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndView, 1, wxEXPAND);
    sizer->Add(m_wndSpareView, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}
