#include "ui/searchdlg.h"

#include <wx/font.h>
#include <wx/frame.h>

#include "ui/wxtext.h"

bool CSearchDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                          wxBORDER_NONE | wxFRAME_NO_TASKBAR))
        return false;
    SetFont(wxFont(wxFontInfo(14).Bold().FaceName(ToWx("华文楷体"))));
    SetClientSize(ConvertDialogToPixels(wxSize(185, 17)));
    m_editSearch = new wxTextCtrl(this, IDC_SEARCH, wxString(), wxPoint(0, 0), wxSize(200, 30), wxBORDER_SIMPLE);
    m_editSearch->Bind(wxEVT_TEXT, &CSearchDlg::OnEnChangeSearch, this);
    return true;
}

// Typing changes nothing here: the frame's timer reads the text.
void CSearchDlg::OnEnChangeSearch(wxCommandEvent& event)
{
    event.Skip();
}
