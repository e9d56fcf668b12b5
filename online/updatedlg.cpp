#include "online/updatedlg.h"

#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/panel.h>
#include <wx/sizer.h>

bool CUpdateDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                          wxCAPTION | wxSYSTEM_MENU | wxFRAME_NO_TASKBAR))
        return false;
    m_panelForm = new wxPanel(this, wxID_ANY);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_panelForm, 1, wxEXPAND);
    SetSizer(sizer);
    Hide();
    return true;
}

int CUpdateDlg::StartUpdateCheck(const CString& /*address*/, const CString& /*localPath*/)
{
    // Starts no worker at present: the update server is not asked and no notice is left.
    return 1;
}

void CUpdateDlg::StartSubtitleDownload()
{
    // Downloads nothing at present, so m_strSubtitleFetched stays as it is.
}
