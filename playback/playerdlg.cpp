#include "playback/playerdlg.h"

#include <wx/sizer.h>

bool CPlayerDlg::Create(wxWindow* parent, int id)
{
    if (!wxPanel::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxCLIP_CHILDREN))
        return false;
    SetBackgroundColour(*wxBLACK);
    m_staticVideo = new wxPanel(this, IDC_STATIC_VIDEO);
    m_staticVideo->SetBackgroundColour(*wxBLACK);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_staticVideo, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CPlayerDlg::HideControlBar()
{
}

void CPlayerDlg::StopPlayer()
{
}
