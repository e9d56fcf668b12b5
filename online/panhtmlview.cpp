#include "online/panhtmlview.h"

#include <wx/sizer.h>

#include "online/core/panlinks.h"
#include "ui/explorer1.h"
#include "core/downloaderexchange.h"
#include "core/quenlow.h"

bool CPanHtmlView::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxCLIP_CHILDREN))
        return false;
    m_wndBrowser = CExplorer1::CreateFilling(this, IDC_BROWSER);
    if (m_wndBrowser == nullptr)
        return false;
    m_wndBrowser->SetNewWindowsInPlace(true);
    m_wndBrowser->SetNavigationFilter([this](const CString& address) { return OnBeforeNavigate2(address); });
    m_wndBrowser->SetPageListeners([this](const CString& title) { OnTitleChange(title); },
                                   [this] { OnDocumentComplete(); });
    return true;
}

void CPanHtmlView::Navigate(const CString& address)
{
    m_wndBrowser->Navigate(address);
}

void CPanHtmlView::OnInitialUpdate()
{
    Navigate(theApp.m_strPanHomeUrl);
}

bool CPanHtmlView::OnBeforeNavigate2(const CString& address)
{
    m_strUrl = address;
    if (!IsPanDownloadAddress(address, [](const CString& url) { return theApp.IsMediaUrl(url) != FALSE; }))
        return false;
    m_strTargetName = kDlAndPlayTargetName;
    theApp.m_bSeekOnPlay = 0;
    theApp.m_nResumeTime = 0;
    // The frame's exchange starts the downloader when it sends the command.
    m_strCommand = ComposeDlAndPlayCommand(DownloaderAddressOf(address), theApp.m_strCacheDir);
    theApp.m_strDlAndPlayCommand = m_strCommand;
    theApp.m_strPanCommand = m_strCommand;
    return true;
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
