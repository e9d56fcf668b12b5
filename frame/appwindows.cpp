// The application's hidden parentless windows: made at start-up, destroyed
// together when the main frame closes.
#include "frame/appwindows.h"

#include <wx/panel.h>

#include "lesson/quenlowview.h"
#include "online/inputnetadressdlg.h"
#include "online/updatedlg.h"
#include "playback/purewmpdialog.h"
#include "core/quenlow.h"
#include "ui/showmsgdlg.h"
#include "frame/mainfrm.h"
#include "vocabulary/minihtmldlg.h"

namespace {

// Destroys a window that may be gone already and nulls its pointer.
template <typename Window>
void DestroyAndForget(Window*& window)
{
    if (window && !window->IsBeingDeleted())
        window->Destroy();
    window = nullptr;
}

} // namespace

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

void DestroyAppWindows()
{
    CQuenlowApp& app = theApp;
    DestroyAndForget(app.m_pStreamDlg);
    DestroyAndForget(app.m_pShowMsgDlg);
    DestroyAndForget(app.m_dlgMiniHtml);
    app.m_bStreamDlgVisible = 0;
    if (CMainFrame* frame = GetMainFrame())
        frame->DestroyOwnTopLevelWindows();
}

void CMainFrame::DestroyOwnTopLevelWindows()
{
    DestroyAndForget(m_dlgUpdate);
    DestroyAndForget(m_dlgNetAddress);
    for (const auto& [id, view] : m_views) {
        if (auto* lesson = dynamic_cast<CQuenlowView*>(view))
            lesson->DestroyCaptionDialog();
    }
}
