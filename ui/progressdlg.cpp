#include "ui/progressdlg.h"

#include <wx/frame.h>

bool CProgressDlg::Create(wxWindow* parent)
{
    // No caption and no border; the size is the layout's default, which
    // every caller replaces right after showing the dialog.
    if (!wxDialog::Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                          wxBORDER_NONE | wxFRAME_NO_TASKBAR))
        return false;
    SetClientSize(ConvertDialogToPixels(wxSize(316, 183)));

    m_ctlProgress = new CTextProgressCtrl;
    if (!m_ctlProgress->Create(this, IDC_PROGRESS, wxPoint(0, 0), ConvertDialogToPixels(wxSize(168, 14)),
                               wxBORDER_SIMPLE)) {
        delete m_ctlProgress;
        m_ctlProgress = nullptr;
        return false;
    }
    return true;
}
