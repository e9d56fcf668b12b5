// A web view for online translation sites, filled by one browser control. The
// main frame can create it with child id 503; nothing asks for it.
#pragma once

#include "shell/base/viewbase.h"

class CExplorer1;

class CMyHtmlView : public CView {
public:
    static constexpr int kBrowserId = 1001;

    CMyHtmlView() = default;
    bool Create(wxWindow* host, int id) override;

    CExplorer1* m_browser = nullptr;
};
