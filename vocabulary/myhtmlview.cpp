#include "vocabulary/myhtmlview.h"

#include <iterator>

#include <wx/sizer.h>
#include <wx/textctrl.h>

#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/productsettings.h"
#include "core/publicpages.h"
#include "core/quenlow.h"
#include "vocabulary/core/addresshistory.h"

namespace {

// The site commands, in the order of kTranslationSites.
constexpr int kSiteCommands[] = {kCmdTranslateSite1, kCmdTranslateSite2, kCmdTranslateSite3, kCmdTranslateSite4,
                                 kCmdTranslateSite5};
static_assert(std::size(kSiteCommands) == std::size(kTranslationSites));

} // namespace

bool CMyHtmlView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    // The page has no find bar of its own here: the view's box sits above it.
    m_findBox = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxTE_PROCESS_ENTER);
    m_findBox->SetHint(ToWx("查找"));
    m_findBox->Hide();
    GetSizer()->Insert(0, m_findBox, 0, wxEXPAND);
    m_findBox->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { FindInPage(FromWx(m_findBox->GetValue())); });
    m_findBox->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) { FindInPage(FromWx(m_findBox->GetValue())); });
    m_findBox->Bind(wxEVT_KEY_DOWN, &CMyHtmlView::OnFindKey, this);
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
    case kCmdPanSearch: ShowFindBox(); return;
    case kCmdTranslateAddress: {
        IMainFrameHost* host = MainFrameHost();
        if (host != nullptr)
            OpenAddress(host->GetComboText(kCmdTranslateAddress));
        return;
    }
    default:
        for (size_t i = 0; i < std::size(kSiteCommands); ++i)
            if (kSiteCommands[i] == command)
                m_browser->Navigate(kTranslationSites[i]);
        return;
    }
}

void CMyHtmlView::ShowFindBox()
{
    m_findBox->Show();
    Layout();
    m_findBox->SetFocus();
    m_findBox->SelectAll();
}

void CMyHtmlView::HideFindBox()
{
    FindInPage(CString());   // the highlights go
    m_findBox->Hide();
    Layout();
}

long CMyHtmlView::FindInPage(const CString& text)
{
    m_nLastFound = m_browser->Find(text);
    return m_nLastFound;
}

void CMyHtmlView::OnFindKey(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
        HideFindBox();
    else
        event.Skip();
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
