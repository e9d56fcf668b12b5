#include "vocabulary/minihtmldlg.h"

#include <wx/sizer.h>

#include "shell/base/explorer1.h"

bool CMiniHtmlDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(500, 350),
                          wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER))
        return false;
    Hide();
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    return true;
}
