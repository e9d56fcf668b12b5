// The pop-up dictionary browser: a small window with a browser control in
// which the program shows a single page outside the panes. There is one for
// the whole run (theApp.m_dlgMiniHtml); the main frame creates it hidden.
#pragma once

#include <wx/dialog.h>

class CExplorer1;

class CMiniHtmlDlg : public wxDialog {
public:
    static constexpr int kBrowserId = 1001;

    CMiniHtmlDlg() = default;
    // Creates the window hidden (500 x 350 pixels), the browser filling it.
    bool Create(wxWindow* parent);

    CExplorer1* m_browser = nullptr;
};
