#include "playback/playerpane.h"

#include "playback/playerdlg.h"
#include "core/quenlow.h"

CPlayerPane::~CPlayerPane()
{
    // In full screen the dialog lives in a frame of its own; it still goes
    // with the pane.
    if (m_dlgPlayer && m_dlgPlayer->GetParent() != this) {
        delete m_dlgPlayer;
        m_dlgPlayer = nullptr;
    }
}

bool CPlayerPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    SetBackgroundColour(*wxBLACK);
    m_dlgPlayer = new CPlayerDlg;
    if (!m_dlgPlayer->Create(this))
        return false;
    m_dlgPlayer->SetSize(0, 0, 500, 500);
    m_dlgPlayer->Show();
    Bind(wxEVT_SIZE, &CPlayerPane::OnSize, this);
    // The pane shows no menu of its own; the dialog has one.
    Bind(wxEVT_CONTEXT_MENU, [](wxContextMenuEvent&) {});
    return true;
}

// Before the main frame's delayed start-up the dialog keeps its first size.
void CPlayerPane::OnSize(wxSizeEvent& event)
{
    event.Skip();
    if (theApp.m_strStartupDone.GetLength() <= 1 || !m_dlgPlayer || m_dlgPlayer->GetParent() != this)
        return;
    const wxSize size = GetClientSize();
    m_dlgPlayer->SetSize(0, 0, size.x, size.y);
    m_dlgPlayer->m_staticVideo->SetSize(0, 0, size.x, size.y);
}
