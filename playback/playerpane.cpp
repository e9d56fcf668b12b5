#include "playback/playerpane.h"

#include <wx/sizer.h>

#include "playback/playerdlg.h"

bool CPlayerPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    SetBackgroundColour(*wxBLACK);
    m_dlgPlayer = new CPlayerDlg;
    if (!m_dlgPlayer->Create(this))
        return false;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_dlgPlayer, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}
