// The exercise history window ("做题履历"): one list row per handed-in
// exercise (media name, time, number of questions, score), ascending by
// media name; the context menu's "删除" removes the selected rows.
#pragma once

#include <vector>

#include <wx/dialog.h>

#include "platform/cstring.h"

class wxListCtrl;

class CExerHistoryDlg : public wxDialog {
public:
    enum { IDC_LIST = 1015 };

    CExerHistoryDlg() = default;

    bool Create(wxWindow* parent);
    // Fills the list from the exercise database (empty without one).
    void LoadHistory();
    // Deletes the selected rows, then lists anew.
    void OnDelete();
    // The row numbers behind the selected items, in list order.
    std::vector<CString> SelectedRowNumbers() const;

    wxListCtrl* m_list = nullptr;

private:
    void OnContextMenu(wxContextMenuEvent& event);
};
