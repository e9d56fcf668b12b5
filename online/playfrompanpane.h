// The cloud-disk browser pane: two web views, of which only the first is
// ever shown (the second is created hidden). Neither loads a page until the
// learner opens the pane, since an online page needs a costly browser engine.
#pragma once

#include "shell/base/viewbase.h"

class CPanHtmlView;

class CPlayFromPanPane : public CDockablePane {
public:
    // The view shown gets an id of the toolkit's choosing: its own number
    // lies above the toolkit's window ids (kLargestToolkitId).
    enum { IDC_SPARE_VIEW = 2073 };

    CPlayFromPanPane() = default;

    // Caption "网盘浏览器", id 605.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    CPanHtmlView* m_wndView = nullptr;        // the view shown
    CPanHtmlView* m_wndSpareView = nullptr;   // created hidden
};
