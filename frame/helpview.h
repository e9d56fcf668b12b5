// A central view that is only a web page: a browser filling the view. The
// view switcher can create it, but nothing asks for it.
#pragma once

#include "ui/explorer1.h"
#include "ui/viewbase.h"

class CHelpView : public CView {
public:
    bool Create(wxWindow* host, int id) override;
    CExplorer1* GetBrowser() const { return m_browser; }

private:
    CExplorer1* m_browser = nullptr;
};
