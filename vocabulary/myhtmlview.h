// A web view for online translation sites, filled by one browser control. The
// main frame can create it with child id 503; nothing asks for it. Its
// commands move in the browser's history, open one of five translation
// sites, or open the address typed in the ribbon, which joins the address
// history.
#pragma once

#include <vector>

#include "ui/viewbase.h"

class CExplorer1;

class CMyHtmlView : public CView {
public:
    static constexpr int kBrowserId = 1001;

    CMyHtmlView() = default;
    bool Create(wxWindow* host, int id) override;

    void OnCommand(int command);
    // Opens an address and keeps it in the address history.
    void OpenAddress(const CString& address);

    CExplorer1* m_browser = nullptr;
    std::vector<CString> m_arrAddresses;   // the address history, most recent first
};
