#include "shell/helpview.h"

#include <wx/sizer.h>

bool CHelpView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = new CExplorer1;
    if (!m_browser->Create(this, wxID_ANY)) {
        delete m_browser;
        m_browser = nullptr;
        return false;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_browser, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}
