// The help page view: a central view filled by a browser control that shows
// the local help page.
#pragma once

#include <wx/timer.h>

#include "ui/viewbase.h"

class CExplorer1;

class CUpdateFormView : public CView {
public:
    enum {
        IDC_BROWSER = 1001,
    };
    // One second after the page is shown it is loaded once more, when the
    // frame has finished arranging the new view.
    enum EUpdateFormViewTimer { kTimerReload = 100 };

    CUpdateFormView();
    ~CUpdateFormView() override;

    bool Create(wxWindow* host, int id) override;   // child id 424
    // Nothing to prepare; the frame calls it once before the first OnShowHelp.
    void PrepareView();
    // Shows the help page m_strHelpPagePath in the view's browser (and again
    // a second later); the ribbon's 查看 shows pressed from then on.
    void OnShowHelp();
    void OnReloadTick();

    CExplorer1* m_wndBrowser = nullptr;

private:
    wxTimer m_reloadTimer;
};
