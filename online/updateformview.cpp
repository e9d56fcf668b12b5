#include "online/updateformview.h"

#include <wx/sizer.h>

#include "shell/base/explorer1.h"
#include "shell/core/commandids.h"
#include "shell/core/quenlow.h"

bool CUpdateFormView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_wndBrowser = CExplorer1::CreateFilling(this, IDC_BROWSER);
    if (m_wndBrowser == nullptr)
        return false;
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnShowHelp(); }, ID_SHOW_HELP_COMMAND);
    return true;
}

void CUpdateFormView::PrepareView()
{
}

void CUpdateFormView::OnShowHelp()
{
    m_wndBrowser->Navigate(theApp.m_strHelpPagePath);
}
