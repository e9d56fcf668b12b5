// A dictionary form with two browser controls, one above the other. The main
// frame can create it with child id 422; nothing asks for it.
#pragma once

#include "shell/base/viewbase.h"

class CExplorer1;

class CDictionaryFormView : public CView {
public:
    static constexpr int kFirstBrowserId = 1001;
    static constexpr int kSecondBrowserId = 1002;

    CDictionaryFormView() = default;
    bool Create(wxWindow* host, int id) override;

    CExplorer1* m_browser1 = nullptr;
    CExplorer1* m_browser2 = nullptr;
};
