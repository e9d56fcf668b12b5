#include "playback/purewmpdialog.h"

#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/panel.h>

#include "shell/quenlow.h"

bool CPureWMPDialog::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxPoint(0, 0), wxDefaultSize,
                          wxRESIZE_BORDER | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR))
        return false;
    // Enter and Esc neither close nor hide the window.
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);
    SetBackgroundColour(*wxBLACK);

    // The form's layout in dialog units; the application object moves both
    // the window and the surface in pixels right after creation.
    SetSize(ConvertDialogToPixels(wxSize(531, 225)));
    m_staticVideo = new wxPanel(this, IDC_STATIC_VIDEO, ConvertDialogToPixels(wxPoint(2, 0)),
                                ConvertDialogToPixels(wxSize(529, 190)));
    m_staticVideo->SetBackgroundColour(*wxBLACK);
    // The surface follows the window only once lesson playback has started;
    // before that it keeps the place it was given.
    Bind(wxEVT_SIZE, [this](wxSizeEvent&) {
        if (!theApp.m_strPlaybackStarted.IsEmpty())
            m_staticVideo->SetSize(0, 0, GetClientSize().x, GetClientSize().y);
    });
    Hide();
    return true;
}

void CPureWMPDialog::StopPlayer()
{
}

int CPureWMPDialog::GetPlayerState() const
{
    return 0;
}
