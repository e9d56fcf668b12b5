// The help page view: a central view filled by a browser control that shows
// the local help page.
#pragma once

#include "shell/base/viewbase.h"

class CExplorer1;

class CUpdateFormView : public CView {
public:
    enum {
        IDC_BROWSER = 1001,
    };

    CUpdateFormView() = default;

    bool Create(wxWindow* host, int id) override;   // child id 424
    // Nothing to prepare; the frame calls it once before the first OnShowHelp.
    void PrepareView();
    // Shows the help page m_strHelpPagePath in the view's browser.
    void OnShowHelp();

    CExplorer1* m_wndBrowser = nullptr;
};
