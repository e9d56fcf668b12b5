// A web view for online translation sites, filled by one browser control. The
// main frame can create it with child id 503; nothing asks for it. Its
// commands move in the browser's history, find text in the page, open one of
// five translation sites, or open the address typed in the ribbon, which
// joins the address history.
#pragma once

#include <vector>

#include "ui/viewbase.h"

class CExplorer1;
class wxKeyEvent;
class wxTextCtrl;

class CMyHtmlView : public CView {
public:
    static constexpr int kBrowserId = 1001;

    CMyHtmlView() = default;
    bool Create(wxWindow* host, int id) override;

    void OnCommand(int command);
    // Opens an address and keeps it in the address history.
    void OpenAddress(const CString& address);

    // The find box above the page: 查找 shows it; typing finds the text in
    // the page, Enter the next match, Esc hides it and ends the search.
    void ShowFindBox();
    void HideFindBox();
    // Finds text in the page (CExplorer1::Find); the result is kept.
    long FindInPage(const CString& text);

    CExplorer1* m_browser = nullptr;
    wxTextCtrl* m_findBox = nullptr;
    long m_nLastFound = -1;
    std::vector<CString> m_arrAddresses;   // the address history, most recent first

private:
    void OnFindKey(wxKeyEvent& event);
};
