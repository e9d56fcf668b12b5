#include "vocabulary/minihtmldlg.h"

#include <wx/sizer.h>

#include "shell/explorer1.h"

bool CMiniHtmlDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(500, 350),
                          wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER))
        return false;
    Hide();
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
