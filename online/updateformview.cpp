#include "online/updateformview.h"

#include <wx/sizer.h>

#include "ui/explorer1.h"
#include "core/commandids.h"
#include "core/quenlow.h"

CUpdateFormView::CUpdateFormView() : m_reloadTimer(this, kTimerReload) {}

CUpdateFormView::~CUpdateFormView()
{
    m_reloadTimer.Stop();
}

bool CUpdateFormView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_wndBrowser = CExplorer1::CreateFilling(this, IDC_BROWSER);
    if (m_wndBrowser == nullptr)
        return false;
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnShowHelp(); }, ID_SHOW_HELP_COMMAND);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) {
        event.Enable(true);
        event.Check(theApp.m_strHelpViewMode == "help");
    }, ID_SHOW_HELP_COMMAND);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { OnReloadTick(); }, kTimerReload);
    return true;
}

void CUpdateFormView::PrepareView()
{
}

void CUpdateFormView::OnShowHelp()
{
    theApp.m_strHelpViewMode = "help";
    m_wndBrowser->Navigate(theApp.m_strHelpPagePath);
    m_reloadTimer.StartOnce(1000);
}

void CUpdateFormView::OnReloadTick()
{
    m_wndBrowser->Navigate(theApp.m_strHelpPagePath);
}
