// The application's two hidden auxiliary windows.
#include "shell/frame/appwindows.h"

#include <wx/panel.h>

#include "playback/purewmpdialog.h"
#include "shell/core/quenlow.h"
#include "shell/base/showmsgdlg.h"

void CreateMessageDialog()
{
    CQuenlowApp& app = theApp;
    app.m_pShowMsgDlg = CreateWindowOrNull(new CShowMsgDlg, nullptr, "message");
    if (!app.m_pShowMsgDlg)
        return;
    app.m_pShowMsgDlg->SetSize(0, 0, 500, 50);
    app.m_pShowMsgDlg->Hide();
    app.m_strMsgDlgCreated = "true";
}

void CreateStreamDialog()
{
    CQuenlowApp& app = theApp;
    app.m_pStreamDlg = CreateWindowOrNull(new CPureWMPDialog, nullptr, "second player");
    if (!app.m_pStreamDlg)
        return;
    app.m_pStreamDlg->Hide();
    app.m_bStreamDlgVisible = 0;
    app.m_pStreamDlg->SetSize(app.m_nScreenWidth - 500, 50, 500, 400);
    app.m_pStreamDlg->m_staticVideo->SetSize(0, 0, 500, 400);
}
