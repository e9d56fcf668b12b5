// Command routing of the main frame and the commands it owns itself.
#include <set>

#include <wx/aui/aui.h>
#include <wx/filedlg.h>
#include <wx/ribbon/bar.h>

#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "catalogue/playlistpane.h"
#include "ui/icons.h"
#include "frame/appwindows.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/mycaptionbar.h"
#include "core/productsettings.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/ribbonlayout.h"
#include "ui/viewbase.h"
#include "vocabulary/detailwordpane.h"

namespace {

bool IsRibbonCommand(int id)
{
    static const std::set<int> ids = [] {
        const std::vector<int> all = GetRibbonCommandIds();
        return std::set<int>(all.begin(), all.end());
    }();
    return ids.count(id) > 0;
}

} // namespace

void CMainFrame::BindCommands()
{
    Bind(wxEVT_RIBBONBAR_PAGE_CHANGED, &CMainFrame::OnRibbonPageChanged, this);
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this);
    Bind(EVT_PLAYERBARSHOW, &CMainFrame::OnShowPlayerBar, this);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateApplicationLook, this, kCmdFirstLook, kCmdLastLook);
    // Commands the frame performs itself are always usable.
    for (int id : {kCmdPlayerPane, kCmdAppAbout, kCmdHomePage, kCmdFileNew, kCmdFileOpen, kCmdFilePrint,
                   kCmdFilePrintDirect, kCmdFilePrintPreview})
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, id);

    // The keys of the program's standard accelerator table. The edit keys are
    // left to the focused text control, which handles them natively.
    wxAcceleratorEntry keys[] = {
        {wxACCEL_CTRL, 'N', kCmdFileNew},
        {wxACCEL_CTRL, 'O', kCmdFileOpen},
        {wxACCEL_CTRL, 'S', kCmdFileSave},
        {wxACCEL_CTRL, 'P', kCmdFilePrint},
        {wxACCEL_NORMAL, WXK_F6, kCmdNextPane},
        {wxACCEL_SHIFT, WXK_F6, kCmdPrevPane},
    };
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(std::size(keys)), keys));
}

bool CMainFrame::TryBefore(wxEvent& event)
{
    // Commands reach the central view first. ProcessEventLocally does not pass
    // the event on to the view's parents, so it cannot come back here.
    const wxEventType type = event.GetEventType();
    if (!m_bRoutingToView && m_pActiveView && (type == wxEVT_MENU || type == wxEVT_UPDATE_UI)) {
        m_bRoutingToView = true;
        const bool handled = m_pActiveView->GetEventHandler()->ProcessEventLocally(event);
        m_bRoutingToView = false;
        if (handled)
            return true;
    }
    return wxFrame::TryBefore(event);
}

bool CMainFrame::TryAfter(wxEvent& event)
{
    // A ribbon command that neither the central view nor the frame handles is
    // shown disabled, so the learner sees at once which commands work here.
    if (event.GetEventType() == wxEVT_UPDATE_UI && IsRibbonCommand(event.GetId())) {
        static_cast<wxUpdateUIEvent&>(event).Enable(false);
        return true;
    }
    return wxFrame::TryAfter(event);
}

void CMainFrame::OnCommand(wxCommandEvent& event)
{
    const int id = event.GetId();
    if (id >= kCmdFirstLook && id <= kCmdLastLook) {
        OnApplicationLook(static_cast<UINT>(id));
        return;
    }
    switch (id) {
    case kCmdPlayerPane:
        OnStatusbarProgressPane();
        return;
    case kCmdAppAbout:
        // The help page opens in the desktop's browser.
        OpenOnDesktop(theApp.m_strHelpPagePath);
        return;
    case kCmdHomePage:
        OpenOnDesktop(GetProductSetting("HomePage"));
        return;
    case kCmdFileNew:
        if (m_pDocument && m_pDocument->OnNewDocument())
            UpdateTitle();
        return;
    case kCmdFileOpen: {
        wxFileDialog dialog(this, ToWx("打开"), wxEmptyString, wxEmptyString, ToWx("Quenlow Files (*.Quenlow)|*.Quenlow|*|*"),
                            wxFD_OPEN | wxFD_FILE_MUST_EXIST);
        if (dialog.ShowModal() == wxID_OK && m_pDocument && m_pDocument->OnOpenDocument(FromWx(dialog.GetPath())))
            UpdateTitle();
        return;
    }
    case kCmdFilePrint:
    case kCmdFilePrintDirect:
    case kCmdFilePrintPreview:
        // There is no print preview to send these to.
        return;
    default:
        event.Skip();
    }
}

void CMainFrame::OnShowPlayerBar(wxCommandEvent& /*event*/)
{
    CPlayerDlg* player = m_wndPlayerPane ? m_wndPlayerPane->m_dlgPlayer : nullptr;
    if (!player)
        return;
    player->ShowCursor(theApp.m_bPlayerBarShown != 0);
    if (!theApp.m_bPlayerBarShown)
        player->HideControlBar();
}

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event)
{
    event.Check(static_cast<UINT>(event.GetId()) == theApp.m_nAppLook);
}

void CMainFrame::ShowCaptionMessage(int kind, const CString& text, int seconds)
{
    // The bar is out of sight under a full-screen video: the latest message
    // waits and is shown once the video is back in its pane.
    if (theApp.m_bVideoFullScreen) {
        m_heldCaption = SHeldCaption{kind, text, seconds};
        return;
    }
    m_heldCaption.reset();
    theApp.m_nCaptionCountdown = seconds;
    m_wndCaptionBar->SetText(text);
    m_wndCaptionBar->SetTextColor(theApp.m_clrMsgText);
    int icon = 454;
    COLORREF back = theApp.m_clrMsgInfoBack;
    if (kind == 1) {
        icon = 453;
        back = theApp.m_clrMsgErrorBack;
    } else if (kind == 2) {
        icon = 455;
        back = theApp.m_clrMsgWarningBack;
    }
    m_wndCaptionBar->SetBackColor(back);
    m_wndCaptionBar->SetIcon(LoadProgramIcon(icon));
    ShowCaptionBar(true);
    m_wndCaptionBar->Refresh();
}

void CMainFrame::ShowHeldCaptionMessage()
{
    if (m_heldCaption && !theApp.m_bVideoFullScreen) {
        const SHeldCaption held = *m_heldCaption;
        ShowCaptionMessage(held.kind, held.text, held.seconds);
    }
}

void CMainFrame::StopPlayers()
{
    if (m_wndPlayerPane && m_wndPlayerPane->m_dlgPlayer)
        m_wndPlayerPane->m_dlgPlayer->StopPlayer();
    if (theApp.m_pStreamDlg)
        theApp.m_pStreamDlg->StopPlayer();
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    StopPlayers();
    DockPane(m_wndPlayListPane);
    DockPane(m_wndDetailWordPane);
    DockPane(m_wndPlayerPane);
    SaveUiSettings();
    m_timers.KillAll();
    m_worker.Stop();
    DestroyAppWindows();
    event.Skip();   // the window goes; the downloader keeps running
}
