// The talk search box of the main frame: a pop-up without caption holding
// one edit. The frame's search command shows it at the mouse cursor and
// gives the edit the focus; the frame's timer reads and clears the text. The
// box itself reacts to nothing typed into it.
#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

class CSearchDlg : public wxDialog {
public:
    enum { IDC_SEARCH = 1023 };

    CSearchDlg() = default;
    // Creates the box hidden.
    bool Create(wxWindow* parent);

    wxTextCtrl* m_editSearch = nullptr;

private:
    void OnEnChangeSearch(wxCommandEvent& event);
};
