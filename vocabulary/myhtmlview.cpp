#include "vocabulary/myhtmlview.h"

#include <wx/sizer.h>

#include "shell/explorer1.h"

bool CMyHtmlView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
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
