// The keyword dispatcher: windows post the main frame a keyword command
// (CPlayerCommandEvent) instead of calling it, and the frame performs every
// keyword the command's leading token holds, in the fixed order of
// MatchPlayerKeywords.
#include <wx/bmpbuttn.h>
#include <wx/stc/stc.h>

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "lesson/quenlowview.h"
#include "online/panhtmlview.h"
#include "online/playfrompanpane.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/vlcplayer.h"
#include "core/keywordmatch.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/playercommand.h"
#include "core/playorder.h"
#include "core/quenlow.h"
#include "frame/ribbonstatusbar.h"

namespace {

constexpr const char* kPlayLocalFileKeyword = "HalvikSoftPlayerPlayLocalFile:";
constexpr const char* kCurrentPlaylistItem = "当前播放列表";

CString FileNameOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

} // namespace

void CMainFrame::OnPlayerCommand(CPlayerCommandEvent& event)
{
    // The event carries its own copies of both texts.
    DispatchCommand(event.GetKeyword());
}

void CMainFrame::DispatchCommand(const CString& keyword)
{
    // The argument is never read: what a command needs is in theApp.
    for (EPlayerKeyword k : MatchPlayerKeywords(keyword)) {
        switch (k) {
        case EPlayerKeyword::UpdatePlaylistInfo:
        case EPlayerKeyword::AutoUpdate:
        case EPlayerKeyword::ManualUpdate:
        case EPlayerKeyword::SelectFirstLocalFile:
            break;
        case EPlayerKeyword::ManualNoUpdate:
            ShowCaptionMessage(3, "您的软件已经是最新版本，不需要更新。", 5);
            break;
        case EPlayerKeyword::ManualNotConnected:
            ShowCaptionMessage(1, "您的电脑没有联网，不能更新！", 5);
            break;
        case EPlayerKeyword::ManualNetException:
            ShowCaptionMessage(1, "网络有异常，未能与服务器正常连接，不能更新！", 6);
            break;
        case EPlayerKeyword::ManualNoProductId:
            ShowCaptionMessage(1, "未能获取软件的产品ID，不能更新！", 6);
            break;
        case EPlayerKeyword::Play:
            OnPlay();
            break;
        case EPlayerKeyword::Pause:
            OnPause();
            break;
        case EPlayerKeyword::Stop:
            OnStop();
            break;
        case EPlayerKeyword::Reset:
            OnRestartDownloader();
            break;
        case EPlayerKeyword::SetVolume:
            // Both players and the volume slider take the stored volume.
            OnVolumePane();
            break;
        case EPlayerKeyword::PlayProgress:
            // Seeking is only for a playing player; the rest of the command
            // is dropped with it.
            if (theApp.m_strPlayState != "OnPlay")
                return;
            m_pProgressSlider->SetPos(theApp.m_nPlayProgress);
            m_pProgressSlider->Refresh();
            OnProgressSlider();
            break;
        case EPlayerKeyword::RefreshLocalPlaylist:
            RefreshLocalMediaTree();
            break;
        case EPlayerKeyword::OpenDownloader:
            // SendDownloaderCommand starts the downloader first when it is not running.
            SendDownloaderCommand(kCmdShowDownloader);
            break;
        case EPlayerKeyword::PlayPrevious:
            theApp.m_strPlayingNetFile.Empty();
            PlayPrevious();
            break;
        case EPlayerKeyword::PlayNext:
            theApp.m_strPlayingNetFile.Empty();
            PlayNext();
            break;
        case EPlayerKeyword::PlayLocalFile:
            if (!PlayLocalFile())
                return;
            break;
        case EPlayerKeyword::DownloadAndPlay:
            ShowCaptionMessage(3, "成功获取下载地址，正在下载，请稍等......", 2);
            // Stops the downloader's tasks, sends the composed command and
            // starts the watch (kTimerDlAndPlayWatch) with its first-tick state
            // reset; a network file left unfinished is stopped. A download
            // that never started leaves the playing lesson as it is.
            if (!m_downloadProgress.BeginDlAndPlay(theApp.m_strDlAndPlayCommand))
                return;
            if (CStatusBarPane* pane = m_wndStatusBar->FindElement(kStatusPlayStateElement)) {
                pane->SetText("正在下载......");
                pane->Redraw();
            }
            // The first command goes out now rather than at the next second,
            // so a refused address is known a second sooner.
            m_downloaderExchange.HandOver();
            theApp.m_strScriptPath.Empty();
            theApp.m_nResumeTime = 0;
            break;
        case EPlayerKeyword::SetMiniStyle:
            SetMiniStyle(true);
            break;
        case EPlayerKeyword::CancelMiniStyle:
            SetMiniStyle(false);
            break;
        case EPlayerKeyword::HideMainWindow:
            Hide();
            break;
        case EPlayerKeyword::RestoreMainWindow:
            Show();
            Maximize(theApp.m_strMainWindowState != "Normal");
            theApp.m_strMainWindowState.Empty();
            break;
        case EPlayerKeyword::MaximizePanPane:
            ShowPane(m_wndPlayListPane, false);
            ShowPane(m_wndPlayFromPanPane, true);
            SetPlayFromPanPaneSize(theApp.m_nScreenWidth);
            break;
        }
    }
}

void CMainFrame::PlayPrevious()
{
    StepPlayList(EPlayStep::Previous);
    DispatchCommand(kPlayLocalFileKeyword);
}

void CMainFrame::PlayNext()
{
    StepPlayList(EPlayStep::Next);
    DispatchCommand(kPlayLocalFileKeyword);
}

bool CMainFrame::PlayLocalFile()
{
    // A lesson that was just opened and has not begun to play keeps the
    // player: the request is refused before anything is torn down. Only a
    // start still in progress refuses; a finished or failed one does not.
    if (theApp.m_strPlaybackStarted.IsEmpty() && theApp.m_nSentenceCount > 1 && PlaybackStartPending())
        return false;

    m_strRequestedFile.Empty();
    theApp.m_strScriptPath.Empty();
    theApp.m_strPlayingNetFile.Empty();
    theApp.m_nResumeTime = 0;

    const int count = theApp.m_arrPlayList.GetSize();
    const int entry = ChoosePlayEntry(theApp.m_nPlayIndex, count);
    if (entry != kNoPlayableEntry)
        m_strRequestedFile = theApp.m_arrPlayList[entry];
    if (m_strRequestedFile.IsEmpty() || !FileExists(m_strRequestedFile)) {
        theApp.SetMessage(kMessageError, kNoPlayableFileMessage, 5);
        return false;
    }

    CLocalViewTree* tree = m_wndPlayListPane ? m_wndPlayListPane->m_wndTree : nullptr;
    if (tree) {
        wxTreeItemIdValue cookie;
        const wxTreeItemId first = tree->GetFirstChild(tree->GetRootItem(), cookie);
        // A list filled without an index (dropped files): "当前播放列表" shows it.
        if (theApp.m_nPlayIndex < 0 && first.IsOk() && FromWx(tree->GetItemText(first)) == kCurrentPlaylistItem) {
            tree->DeleteChildItems(first);
            for (int i = 0; i < count; ++i) {
                const CString& path = theApp.m_arrPlayList[i];
                const int image = 2 + theApp.GetMediaKind(path);
                tree->AppendItem(first, ToWx(FileNameOf(path)), image, image);
            }
            theApp.m_nPlayIndex = 0;
            tree->Expand(first);
            tree->SetItemImage(first, CLocalViewTree::kImageFolderOpen);
            tree->SetItemImage(first, CLocalViewTree::kImageFolderOpen, wxTreeItemIcon_Selected);
        }
        const wxTreeItemId found = tree->FindItemByText(first, FileNameOf(m_strRequestedFile));
        if (found.IsOk())
            tree->MarkPlayingItem(found);
    }

    // The previous media and its lesson go; so does a download-and-play
    // that might still hand its file over.
    KillTimer(kTimerDlAndPlayWatch);
    KillTimer(kTimerBufferingWait);
    KillTimer(kTimerReopenWait);
    m_downloadProgress.m_bNetTaskAccepted = false;
    for (int id : {kTimerAssFiles, kTimerTimeDisplay, kTimerSubtitleToPlayer, kTimerPlaybackBegun})
        KillTimer(id);
    theApp.m_strPlayingNetFile.Empty();
    if (CVlcPlayer* player = GetMainPlayer())
        player->Stop();
    theApp.m_strMediaPath.Empty();
    theApp.m_strMediaName.Empty();
    theApp.m_strScriptPath.Empty();
    theApp.m_strPlaybackStarted.Empty();
    theApp.m_strDocumentLoaded.Empty();
    theApp.ClearSentenceModel();
    ClearPlayPosition();

    ShowPane(m_wndPlayFromPanPane, false);
    ShowPane(m_wndPlayListPane, false);

    // From the dictionary's or the cloud disk's page the lesson view takes over.
    const bool panPageFocused =
        m_wndPlayFromPanPane && m_wndPlayFromPanPane->m_wndView && m_wndPlayFromPanPane->m_wndView->HasFocusWithin();
    if (DictionaryPageHasFocus() || panPageFocused) {
        ShowCentralView(kViewLesson);
        if (m_pActiveView)
            m_pActiveView->SetFocus();
    }

    if (!FileExists(m_strRequestedFile)) {
        theApp.ShowMessage("没有视频文件！", "error", 5000);
        return false;
    }
    NoteMediaOpening(m_strRequestedFile);
    theApp.m_strPlayFilePath = m_strRequestedFile;
    FindSubtitleFile(m_strRequestedFile);

    ShowPane(m_wndPlayListPane, false);
    return true;
}

void CMainFrame::SetMiniStyle(bool compact)
{
    // The ribbon (with its application button) and the status bar go away in
    // the compact style; the frame shows the player small in the middle.
    wxSizer* sizer = GetSizer();
    sizer->Show(m_wndRibbonBar, !compact);
    sizer->Show(m_wndStatusBar, !compact);
    if (wxWindow* button = m_pRibbonBar->GetApplicationButton())
        button->Show(!compact);
    Layout();
    if (compact) {
        ShowPane(m_wndPlayListPane, false);
        Show();
        Maximize(false);
        const int w = theApp.m_nScreenWidth;
        const int h = theApp.m_nScreenHeight;
        SetSize(w / 4, h / 4, w / 4, h / 4);
        Refresh();
    } else {
        KillTimer(kTimerShowPlayerPane);
        SetTimer(kTimerShowPlayerPane, 500);
        Show();
        Maximize(true);
    }
}

