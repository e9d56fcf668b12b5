// The application's two hidden auxiliary windows.
#include <wx/panel.h>

#include "playback/purewmpdialog.h"
#include "shell/quenlow.h"
#include "shell/showmsgdlg.h"

void CQuenlowApp::CreateMessageDialog()
{
    m_pShowMsgDlg = new CShowMsgDlg;
    m_pShowMsgDlg->Create(nullptr);
    m_pShowMsgDlg->SetSize(0, 0, 500, 50);
    m_pShowMsgDlg->Hide();
    m_strMsgDlgCreated = "true";
}

void CQuenlowApp::CreateStreamDialog()
{
    m_pStreamDlg = new CPureWMPDialog;
    m_pStreamDlg->Create(nullptr);
    m_pStreamDlg->Hide();
    m_bStreamDlgVisible = 0;
    m_pStreamDlg->SetSize(m_nScreenWidth - 500, 50, 500, 400);
    m_pStreamDlg->m_staticVideo->SetSize(0, 0, 500, 400);
}
