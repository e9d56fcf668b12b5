#include "vocabulary/myhtmlview.h"

#include <wx/sizer.h>

#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "core/commandids.h"
#include "core/productsettings.h"
#include "core/quenlow.h"
#include "vocabulary/core/addresshistory.h"

namespace {

struct STranslationSite {
    int command;
    const char* address;
};

// The first with its query, the second with its path, the others at their roots.
const STranslationSite kSites[] = {
    {kCmdTranslateSite1, "https://translate.example.org/?hl=zh-CN&tab=wT"},
    {kCmdTranslateSite2, "https://fanyi.example.com/translator/"},
    {kCmdTranslateSite3, "https://dict.example.net/"},
    {kCmdTranslateSite4, "https://trans.example.cn/"},
    {kCmdTranslateSite5, "https://yi.example.com/"},
};

} // namespace

bool CMyHtmlView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    for (int command : {kCmdPanBack, kCmdPanForward, kCmdPanStop, kCmdPanRefresh, kCmdPanHome, kCmdPanSearch,
                        kCmdTranslateSite1, kCmdTranslateSite2, kCmdTranslateSite3, kCmdTranslateSite4,
                        kCmdTranslateSite5, kCmdTranslateAddress})
        Bind(wxEVT_MENU, [this, command](wxCommandEvent&) { OnCommand(command); }, command);
    return true;
}

void CMyHtmlView::OnCommand(int command)
{
    switch (command) {
    case kCmdPanBack: m_browser->GoBack(); return;
    case kCmdPanForward: m_browser->GoForward(); return;
    case kCmdPanStop: m_browser->Stop(); return;
    case kCmdPanRefresh: m_browser->Reload(); return;
    case kCmdPanHome: m_browser->Navigate(GetProductSetting("TranslateUrl")); return;
    case kCmdPanSearch: return;   // the page's own find (Ctrl+F) serves
    case kCmdTranslateAddress: {
        IMainFrameHost* host = MainFrameHost();
        if (host != nullptr)
            OpenAddress(host->GetComboText(kCmdTranslateAddress));
        return;
    }
    default:
        for (const STranslationSite& site : kSites)
            if (site.command == command)
                m_browser->Navigate(site.address);
        return;
    }
}

void CMyHtmlView::OpenAddress(const CString& address)
{
    CString trimmed = address;
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return;
    m_browser->Navigate(trimmed);
    m_arrAddresses = AddToAddressHistory(theApp.m_strAppDir + "AppData/IEAdressData/IEAdress.data", trimmed);
}
