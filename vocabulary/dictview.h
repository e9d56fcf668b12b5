// A form of two word lists side by side on white: the first takes the left
// fifth of the view, the second the rest. Nothing creates it.
#pragma once

#include "platform/wintypes.h"
#include "ui/viewbase.h"

class wxListBox;

class CDictView : public CView {
public:
    static constexpr int kLeftListId = 1012;
    static constexpr int kRightListId = 1013;
    static constexpr COLORREF kListTextColor = RGB(0, 125, 0);

    CDictView() = default;
    bool Create(wxWindow* host, int id) override;

    // Places the lists in the view's client area.
    void LayoutControls();
    // Gives both lists the dialog font on a line 30 pixels high at the
    // screen's scale.
    void SetListFont();

    wxListBox* m_leftList = nullptr;
    wxListBox* m_rightList = nullptr;
};
