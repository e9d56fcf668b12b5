#include "vocabulary/dictionaryformview.h"

#include <wx/sizer.h>

#include "shell/base/explorer1.h"

bool CDictionaryFormView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser1 = new CExplorer1;
    if (!m_browser1->Create(this, kFirstBrowserId)) {
        delete m_browser1;
        m_browser1 = nullptr;
        return false;
    }
    m_browser2 = new CExplorer1;
    if (!m_browser2->Create(this, kSecondBrowserId)) {
        delete m_browser2;
        m_browser2 = nullptr;
        return false;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_browser1, 1, wxEXPAND);
    sizer->Add(m_browser2, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}
