// A dictionary form: a 50-pixel strip with a combo box at the top, and below
// it the first browser alone, or both browsers one above the other. The main
// frame can create it with child id 422; nothing asks for it.
#pragma once

#include "ui/viewbase.h"

class CExplorer1;
class wxComboBox;

class CDictionaryFormView : public CView {
public:
    static constexpr int kFirstBrowserId = 1001;
    static constexpr int kSecondBrowserId = 1002;
    static constexpr int kComboId = 1096;
    static constexpr int kStripHeight = 50;

    CDictionaryFormView() = default;
    bool Create(wxWindow* host, int id) override;

    // Places the strip and the browsers in the view's client area.
    void LayoutControls();

    CExplorer1* m_browser1 = nullptr;
    CExplorer1* m_browser2 = nullptr;
    wxComboBox* m_combo = nullptr;
    bool m_bBothBrowsers = false;   // the second browser shares the space
};
