// The main frame's periodic work: the delayed start-up, the once-a-second
// tick, the mailboxes that other windows leave for the frame, the local media
// tree, the batch subtitle fetch, the manual update check, the playback keys
// and dropped files.
#include <atomic>

#include <wx/app.h>
#include <wx/bmpbuttn.h>
#include <wx/combobox.h>
#include <wx/dnd.h>
#include <wx/ribbon/bar.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "catalogue/localviewtree.h"
#include "catalogue/playlistpane.h"
#include "online/inputnetadressdlg.h"
#include "online/playfrompanpane.h"
#include "online/core/onlinesubtitle.h"
#include "online/updatedlg.h"
#include "platform/file.h"
#include "platform/netconnection.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/vlcplayer.h"
#include "ui/searchdlg.h"
#include "core/desktopshortcut.h"
#include "core/hostaddress.h"
#include "core/droppedfiles.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/playercommand.h"
#include "core/productsettings.h"
#include "core/quenlow.h"
#include "frame/ribbonstatusbar.h"
#include "core/updatecheck.h"
#include "core/updateresult.h"
#include "ui/viewbase.h"
#include "vocabulary/core/wordlookup.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/minihtmldlg.h"
#include "vocabulary/wordonlineview.h"
#include "online/panhtmlview.h"
#include "ui/explorer1.h"

namespace {

// Hands dropped files to the frame.
class CFrameDropTarget : public wxFileDropTarget {
public:
    explicit CFrameDropTarget(CMainFrame* frame) : m_frame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override
    {
        std::vector<CString> paths;
        for (const wxString& name : names)
            paths.push_back(FromWx(name));
        m_frame->OnDropFiles(paths);
        return true;
    }

private:
    CMainFrame* m_frame;
};

// The file name part of a path (after the last "/" or "\").
CString FileNameOf(const CString& path)
{
    const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    return path.Mid(slash + 1);
}

} // namespace

// ---------------------------------------------------------------------------
// Timers

void CMainFrame::ShowMessageSlot()
{
    int kind = 0;
    int seconds = 0;
    CString text;
    if (theApp.TakeMessage(kind, text, seconds))
        ShowCaptionMessage(kind, text, seconds);
}

void CMainFrame::ShowTalkDownloads(const STalkDownloadNews& news)
{
    // A new download-and-play ends the talk downloads, so the two never share
    // the pane: while a talk downloads the pane is its own, and a little
    // after it ended unless a download-and-play has begun.
    const bool netFileUnderWay = m_downloadProgress.m_bAwaitingTask || !theApp.m_strPlayingNetFile.IsEmpty();
    if (!news.statusText.IsEmpty() && (news.running || !netFileUnderWay)) {
        if (m_downloadProgress.showStatus)
            m_downloadProgress.showStatus(kStatusDownloadElement, news.statusText);
        theApp.m_strDownloadStatusText = news.statusText;
    }
    const bool listByFile = theApp.m_strPlaylistFilter == "Script" || theApp.m_strPlaylistFilter == "Vedio";
    if (!news.done.empty() && listByFile && m_wndPlayListPane->ShowsTalkList())
        RefillTalkList(theApp.m_strTalkCategory, theApp.m_strTalkSortField, false);
}

void CMainFrame::OnDelayedStartupTick()
{
    KillTimer(kTimerDelayedStartup);
    m_pLessonView = GetActiveView();

    // The playlist opens across the window, unless the learner has opened a
    // pane already: shown beside it, it would squeeze that pane to nothing.
    const bool paneChosen = IsPaneVisible(m_wndPlayFromPanPane) || IsPaneVisible(m_wndDetailWordPane) ||
                            IsPaneVisible(m_wndPlayerPane);
    if (!paneChosen) {
        ShowPane(m_wndPlayListPane, true);
        DockPane(m_wndPlayListPane);
        SetPlayListPaneSize(theApp.m_nScreenWidth);
    }
    // The talk folder is left as it is: ".srt" files below "Playlist" may be
    // the learner's own.
    theApp.m_strStartupDone = "true";
    const wxRect pane = m_wndPlayListPane->GetScreenRect();
    theApp.m_rcPlaylistPane = CRect(pane.x, pane.y, pane.x + pane.width, pane.y + pane.height);
    m_pVolumeSlider->SetPos(theApp.m_nVolume);

    CreateDesktopShortcut();

    if (m_downloaderExchange.BeginReplacement(m_strNewDownloaderPath))
        SetTimer(kTimerDownloaderReplace, kDownloaderReplaceDelayMs);

    // The update server's name is resolved on the frame's worker; the
    // automatic check starts when the address is back (OnUpdateHostResolved).
    const CString host = GetProductSetting("UpdateServerHost");
    m_bUpdateHostPending = m_worker.Post([this, host](const std::atomic<bool>&) -> CFrameWorker::Completion {
        const CString address = ResolveHostIPv4(host);
        return [this, address] { OnUpdateHostResolved(address); };
    });

    m_downloaderExchange.CleanUpExchangeFiles(m_strFirstStartPath);
}

void CMainFrame::OnUpdateHostResolved(const CString& address)
{
    m_bUpdateHostPending = false;
    theApp.m_strUpdateServerHost = address.Find('.') >= 0 ? address : CString();
    theApp.m_strUpdateDataSize.Empty();
    if (FileExists(theApp.m_strUpdateDataPath))
        theApp.m_strUpdateDataSize.Format("%lld", static_cast<long long>(theApp.GetFileLength(theApp.m_strUpdateDataPath)));
    if (m_dlgUpdate)
        m_dlgUpdate->StartUpdateCheck(CString(), CString());
}

void CMainFrame::OnSecondWorkTick()
{
    m_downloaderExchange.ReadDownloaderCommand();
    PollPendingCommand();
    m_downloadProgress.ReadDownloadProgress();
    ShowTalkDownloads(m_talkDownloads.ReadReports());
    ShowMessageSlot();

    // The compact player and a full-screen video stay above other windows.
    const bool onTop = theApp.m_bVideoFullScreen || theApp.m_bWindowFullScreen;
    if (onTop && theApp.m_nTopMostState == 0) {
        SetWindowStyleFlag(GetWindowStyleFlag() | wxSTAY_ON_TOP);
        theApp.m_nTopMostState = 1;
    } else if (!onTop && theApp.m_nTopMostState != 0) {
        SetWindowStyleFlag(GetWindowStyleFlag() & ~wxSTAY_ON_TOP);
        theApp.m_nTopMostState = 0;
    }
    if (theApp.m_bWindowFullScreen && !IsPaneVisible(m_wndPlayerPane))
        ShowPane(m_wndPlayerPane, true);

    m_downloadProgress.OnStallTick();
    m_downloaderExchange.HandOver();
}

void CMainFrame::OnSearchBoxTick()
{
    m_strSearchText = FromWx(m_dlgSearch->m_editSearch->GetValue());
    m_strSearchText.Trim();
    // Three bytes of program text: "abc", or two Chinese characters (four).
    if (m_strSearchText != m_strPrevSearchText && m_strSearchText.GetLength() >= 3) {
        m_strPrevSearchText = m_strSearchText;
        theApp.m_strPlaylistSearch = m_strSearchText;
        m_wndPlayListPane->FillTalkList(theApp.m_strTalkCategory, theApp.m_strTalkSortField);
        SetPaneCaption(m_wndPlayListPane, theApp.m_strPlaylistCaption);
        m_nSearchPollCount = 0;
        return;
    }
    if (++m_nSearchPollCount >= 10) {
        m_nSearchPollCount = 0;
        KillTimer(kTimerSearchBox);
        m_dlgSearch->m_editSearch->ChangeValue(wxString());
        m_dlgSearch->Hide();
    }
}

void CMainFrame::OnUpdateCheckTick()
{
    KillTimer(kTimerUpdateCheck);
    StartManualUpdateCheck();
}

void CMainFrame::StartSubtitlePackageWait(int jobId)
{
    theApp.m_strSubtitleFetched.Empty();
    m_nLessonJobId = jobId;
    m_strSubtitleWaitMedia = theApp.m_strPlayFilePath;
    KillTimer(kTimerSubtitlePackageWait);
    SetTimer(kTimerSubtitlePackageWait, 1000);
}

void CMainFrame::OnSubtitlePackageWaitTick()
{
    // The update dialog unpacks the package, keeps it in the store and names
    // its lesson in m_strScriptPath; the lesson is put in while the media
    // plays. The wait ends with the job (the dialog then shows why no lesson
    // came) or when another media was asked for meanwhile.
    const bool sameMedia = theApp.m_strPlayFilePath == m_strSubtitleWaitMedia;
    if (theApp.m_strSubtitleFetched.GetLength() > 1) {
        KillTimer(kTimerSubtitlePackageWait);
        theApp.m_strSubtitleFetched.Empty();
        if (sameMedia)
            AdoptArrivedLesson();
        return;
    }
    const ESubtitleJobEnd end = m_dlgUpdate ? m_dlgUpdate->JobEnd(m_nLessonJobId) : ESubtitleJobEnd::Failed;
    if (!sameMedia || (end != ESubtitleJobEnd::Queued && end != ESubtitleJobEnd::Running))
        KillTimer(kTimerSubtitlePackageWait);
}

void CMainFrame::OnBatchSubtitleStepTick()
{
    KillTimer(kTimerBatchSubtitleStep);
    const int count = theApp.m_arrSubtitleFetchList.GetSize();
    if (m_nSubtitleFetchIndex >= count) {
        CString text;
        text.Format("字幕下载完成：%d个视频中获取到%d个字幕。", count, m_nBatchFetched);
        theApp.SetMessage(kMessageInfo, text, 5);
        return;
    }
    CString text;
    text.Format("正在处理第%d个视频/共%d个视频。", m_nSubtitleFetchIndex + 1, count);
    theApp.SetMessage(kMessageInfo, text, 5);
    FetchListSubtitle(theApp.m_arrSubtitleFetchList[m_nSubtitleFetchIndex]);
}

void CMainFrame::FetchListSubtitle(const CString& mediaPath)
{
    m_strFetchDigest = m_fileSha1.GetFileSha1(mediaPath, theApp.m_strSha1TmpPath, theApp.m_strSha1TmpPath2);
    // A file without a digest (missing or unreadable), or whose package the
    // store already holds, needs nothing: the batch goes on.
    if (m_strFetchDigest.IsEmpty() || !m_dlgUpdate || m_wndDetailWordPane->IsInSubtitleLibrary(m_strFetchDigest)) {
        ++m_nSubtitleFetchIndex;
        SetTimer(kTimerBatchSubtitleStep, 1000);
        return;
    }
    // The job asks the host and keeps what it fetches under this digest;
    // without a host there is nothing to ask.
    const CString address = OnlineSubtitleAddress(GetProductSetting("SubtitleHost"), m_strFetchDigest);
    if (address.IsEmpty()) {
        ++m_nSubtitleFetchIndex;
        SetTimer(kTimerBatchSubtitleStep, 1000);
        return;
    }
    m_nBatchJobId = m_dlgUpdate->StartSubtitleDownload(address, m_strFetchDigest, mediaPath, true);
    m_nBatchWaitTicks = 0;
    SetTimer(kTimerBatchSubtitleWait, 1000);
}

void CMainFrame::OnBatchSubtitleWaitTick()
{
    // The job ended (fetched, missing or failed), or the wait gave up: the
    // batch goes on either way.
    const ESubtitleJobEnd end = m_dlgUpdate ? m_dlgUpdate->JobEnd(m_nBatchJobId) : ESubtitleJobEnd::Failed;
    const bool ended = end != ESubtitleJobEnd::Queued && end != ESubtitleJobEnd::Running;
    if (ended || ++m_nBatchWaitTicks >= kSubtitleWaitLimit) {
        KillTimer(kTimerBatchSubtitleWait);
        if (end == ESubtitleJobEnd::Fetched)
            ++m_nBatchFetched;
        m_nBatchWaitTicks = 0;
        ++m_nSubtitleFetchIndex;
        SetTimer(kTimerBatchSubtitleStep, 1000);
    }
}

void CMainFrame::OnSubtitleOffsetTick()
{
    KillTimer(kTimerSubtitleOffset);
    theApp.WriteAssFiles();
    if (theApp.m_strScriptPath == theApp.m_strBlankScriptPath || !FileExists(theApp.m_strScriptPath))
        return;
    CString path = theApp.m_strAssBothPath;
    if (theApp.m_nSubtitleMode == 26)
        path = theApp.m_strAssEngPath;
    else if (theApp.m_nSubtitleMode == 27)
        path = theApp.m_strAssChnPath;
    if (CVlcPlayer* player = GetMainPlayer())
        player->SetSubtitleFile(theApp.AnsiToUtf8(path));
}

// ---------------------------------------------------------------------------
// Mailboxes

void CMainFrame::PollPendingCommand()
{
    if (theApp.m_strPendingCommand == "HalvikEnglishPlayNetFile:") {
        theApp.m_strPendingCommand.Empty();
        PlayDownloadingNetFile();
    }
    if (theApp.m_strPendingCommand == "OnOpenNetmedia:") {
        theApp.m_strPendingCommand.Empty();
        ShowNetAddressBar();
    }
    if (theApp.m_strSubtitleCommand == "HalvikEnglishGetNetSubtitles:") {
        theApp.m_strSubtitleCommand.Empty();
        const int count = theApp.m_arrSubtitleFetchList.GetSize();
        CString text;
        text.Format("有%d个视频需要获取字幕......", count);
        theApp.SetMessage(kMessageInfo, text, 5);
        if (count > 0) {
            m_nSubtitleFetchIndex = 0;
            m_nBatchFetched = 0;
            SetTimer(kTimerBatchSubtitleStep, 1000);
        }
    }
    if (theApp.m_strWordPaneCommand == "OnBnClickedButtonPreword:") {
        theApp.m_strWordPaneCommand.Empty();
        ShowLookupHistoryEntry(-1);
    }
    if (theApp.m_strWordPaneCommand == "OnBnClickedButtonNextword:") {
        theApp.m_strWordPaneCommand.Empty();
        ShowLookupHistoryEntry(+1);
    }
    if (theApp.m_strWordPaneCommand == "OnBnClickedButtonSaveword:") {
        theApp.m_strWordPaneCommand.Empty();
        m_wndDetailWordPane->OnSaveWord();
    }
    if (theApp.m_strWordPaneCommand == "OnBnClickedButtonDelword:") {
        theApp.m_strWordPaneCommand.Empty();
        m_wndDetailWordPane->OnDelWord();
    }
    if (theApp.m_strPanCommand.GetLength() > 1) {
        const CString command = theApp.m_strPanCommand;
        DispatchCommand(command);
        theApp.m_strPanCommand.Empty();
    }
}

void CMainFrame::PlayDownloadingNetFile()
{
    theApp.m_arrPlayList.RemoveAll();
    CLocalViewTree* tree = m_wndPlayListPane->m_wndTree;
    wxTreeItemIdValue cookie;
    const wxTreeItemId current = tree->GetFirstChild(tree->GetRootItem(), cookie);
    if (current.IsOk()) {
        tree->DeleteChildItems(current);
        tree->AddFolderMedia(current, theApp.m_strCacheDir);
        tree->Expand(current);
        tree->SetItemImage(current, CLocalViewTree::kImageFolderOpen);
    }

    const CString name = FileNameOf(theApp.m_strMediaPath);
    for (int i = 0; i < theApp.m_arrPlayList.GetSize(); ++i) {
        if (theApp.m_arrPlayList[i].Find(name) >= 0) {
            theApp.m_nPlayIndex = i;
            break;
        }
    }
    theApp.m_strScriptPath.Empty();
    theApp.m_strPlayingNetFile = "true";
    theApp.m_nResumeTime = 0;
    const int count = theApp.m_arrPlayList.GetSize();
    CString file;
    if (theApp.m_nPlayIndex >= 0 && theApp.m_nPlayIndex < count)
        file = theApp.m_arrPlayList[theApp.m_nPlayIndex];
    else if (theApp.m_nPlayIndex < 0 && count > 0)
        file = theApp.m_arrPlayList[0];

    if (dynamic_cast<CWordOnlineView*>(GetActiveView()) || dynamic_cast<CPanHtmlView*>(GetActiveView())) {
        if (m_pLessonView) {
            SwitchView(kViewLesson);
            m_pLessonView->SetFocus();
        }
    }
    if (!FileExists(file)) {
        theApp.SetMessage(kMessageError, "播放文件不存在！", 5);
        return;
    }

    const wxTreeItemId item = current.IsOk() ? tree->FindItemByText(current, FileNameOf(file)) : wxTreeItemId();
    if (item.IsOk())
        tree->MarkPlayingItem(item);

    theApp.m_strMediaPath.Empty();
    theApp.m_strMediaName.Empty();
    theApp.m_strScriptPath.Empty();
    ClearPlayPosition();
    ShowPane(m_wndPlayFromPanPane, false);
    ShowPane(m_wndPlayListPane, false);
    if (!FileExists(file)) {
        theApp.ShowMessage("没有视频文件！", "error", 5000);
        return;
    }
    NoteMediaOpening(file);
    theApp.m_strPlayFilePath = file;
    FindSubtitleFile(file);
}

void CMainFrame::ShowNetAddressBar()
{
    if (!m_dlgNetAddress)
        return;
    const int w = theApp.m_nScreenWidth;
    const wxPoint cursor = wxGetMousePosition();
    m_dlgNetAddress->SetSize(w / 4, cursor.y, w / 2 + 50, 25);
    m_dlgNetAddress->LayoutForScreenWidth(w);
    m_dlgNetAddress->ShowAt(wxPoint(w / 4, cursor.y));
    m_dlgNetAddress->m_editAddress->ChangeValue(wxString());
}

CString CMainFrame::MakeOnlineDictionaryUrl(const CString& word)
{
    return OnlineDictionaryAddress(word);
}

void CMainFrame::ShowLookupHistoryEntry(int direction)
{
    CStringArray& history = theApp.m_arrLookupHistory;
    const int count = history.GetSize();
    int& pos = theApp.m_nLookupHistoryPos;
    if (direction < 0) {
        if (pos <= 0)
            pos = count;
        if (pos <= 0)
            return;
        --pos;
    } else {
        if (pos >= count - 1)
            pos = -1;
        if (pos >= count - 1)
            return;
        ++pos;
    }
    const CString word = history[pos];
    m_wndDetailWordPane->LookUpWord(word);
    if (!theApp.m_dlgMiniHtml || !theApp.m_dlgMiniHtml->m_browser)
        return;
    // Locally the page written is the word's or says it was not found.
    if (theApp.m_strWordLookupMode == "OnWordHome")
        theApp.m_dlgMiniHtml->m_browser->Navigate(theApp.m_strDictWordHtmlPath);
    else
        theApp.m_dlgMiniHtml->m_browser->Navigate(MakeOnlineDictionaryUrl(word));
}

// ---------------------------------------------------------------------------
// The local media tree

bool CMainFrame::IsDirectory(const CString& path) { return IsFolder(path); }

void CMainFrame::RefreshLocalMediaTree()
{
    CLocalViewTree* tree = m_wndPlayListPane->m_wndTree;
    const wxTreeItemId root = tree->GetRootItem();
    tree->DeleteChildItems(root);
    m_wndPlayListPane->SetShowsTalkList(false);
    // The talk list's count no longer describes what the pane shows.
    SetPaneCaption(m_wndPlayListPane, "Playlist(播放列表)");
    tree->AppendItem(root, ToWx("当前播放列表"), CLocalViewTree::kImageFolder, CLocalViewTree::kImageFolder);
    // A store that cannot be read (a read-only drive, say) shows no history
    // at all: an empty one would pass for the learner's. A store not made
    // yet (the first start) holds no history and is no failure.
    constexpr int kCells = 6;
    const bool storeMade = IsRegularFile(theApp.m_strUserDataDbPath);
    if (!storeMade)
        theApp.m_arrPlayHistoryRows.RemoveAll();
    if (!storeMade || theApp.LoadTable(theApp.m_strPlayHistoryTable, CString())) {
        const wxTreeItemId history =
            tree->AppendItem(root, ToWx("播放历史"), CLocalViewTree::kImageFolder, CLocalViewTree::kImageFolder);
        // Newest entries first. A file or folder not found now may be on a
        // drive that is not plugged in: it is left out of the tree, and its
        // record is kept until the learner deletes it.
        const CStringArray rows = theApp.m_arrPlayHistoryRows;
        for (int r = rows.GetSize() / kCells - 1; r >= 0; --r) {
            const CString key = rows[r * kCells];
            CString path = rows[r * kCells + 1];
            path.Trim();
            if (IsRegularFile(path)) {
                const int image = theApp.GetMediaKind(path) + 2;
                tree->AppendItem(history, ToWx(key), image, image);
            }
        }
    } else {
        theApp.ShowMessage("无法读取播放历史：" + theApp.m_strUserDataDbPath, "error", 10000);
    }

    CString cacheName = FileNameOf(theApp.m_strCacheDir.Right(1) == "/" ? theApp.m_strCacheDir.Left(theApp.m_strCacheDir.GetLength() - 1)
                                                                        : theApp.m_strCacheDir);
    cacheName.Trim();
    if (!cacheName.IsEmpty() && IsDirectory(theApp.m_strCacheDir)) {
        tree->ShowExpanderIfFilled(
            tree->AppendItem(root, ToWx(cacheName), CLocalViewTree::kImageFolder, CLocalViewTree::kImageFolder),
            theApp.m_strCacheDir);
        theApp.PutRecord(theApp.m_strLocalPlaylistTable, cacheName, theApp.m_strCacheDir, CString(), CString(),
                         CString(), CString());
    }

    theApp.LoadTable(theApp.m_strLocalPlaylistTable, CString());
    const CStringArray folders = theApp.m_arrLocalPlaylistRows;
    for (int r = 0; r < folders.GetSize() / kCells; ++r) {
        const CString key = folders[r * kCells];
        if (key == cacheName)
            continue;
        CString folder = folders[r * kCells + 1];
        folder.Trim();
        if (IsDirectory(folder))
            tree->ShowExpanderIfFilled(
                tree->AppendItem(root, ToWx(key), CLocalViewTree::kImageFolder, CLocalViewTree::kImageFolder), folder);
    }
}

// ---------------------------------------------------------------------------
// The manual update check

void CMainFrame::StartManualUpdateCheck()
{
    if (m_bUpdateCheckRunning)
        return;
    SUpdateCheckRequest request = MakeUpdateCheckRequest();
    request.isConnected = m_fnNetworkConnected ? m_fnNetworkConnected : std::function<bool()>(IsNetworkConnected);
    // The check waits on the network: it runs on the frame's worker, which
    // hands its outcome back to the user-interface thread. Closing the frame
    // cancels a request under way.
    m_bUpdateCheckRunning =
        m_worker.Post([this, request](const std::atomic<bool>& stopping) -> CFrameWorker::Completion {
            SUpdateCheckRequest cancellable = request;
            cancellable.cancel = &stopping;
            const SUpdateCheckOutcome outcome = CheckForUpdate(cancellable);
            const int result = outcome.result == EUpdateCheckResult::NewVersion ? 1 : 0;
            return [this, result, outcome] {
                OnUpdateCheckDone(result, outcome.messageKind, outcome.message, outcome.messageSeconds);
            };
        });
}

void CMainFrame::OnUpdateCheckDone(int result, int messageKind, const CString& message, int messageSeconds)
{
    m_bUpdateCheckRunning = false;
    theApp.SetMessage(messageKind, message, messageSeconds);
    // A new version is the downloader's work; queuing the command starts the
    // downloader when it does not run. It leaves how the download ended in
    // the result file, which is watched until then.
    if (result != 1)
        return;
    const CString resultPath = UpdateResultPath(theApp.m_strAppDir);
    DeleteFile(resultPath);   // an earlier run's
    if (SendDownloaderCommand(kUpdateDownloaderCommand)) {
        KillTimer(kTimerUpdateDownloadWatch);
        SetTimer(kTimerUpdateDownloadWatch, 1000);
    }
}

void CMainFrame::OnUpdateDownloadWatchTick()
{
    std::optional<SUpdateDownloadEnd> end = TakeUpdateResult(UpdateResultPath(theApp.m_strAppDir));
    if (!end) {
        // A downloader that went away without a word never will tell.
        m_nUpdateWatchIdleTicks = m_downloaderExchange.isDownloaderRunning() ? 0 : m_nUpdateWatchIdleTicks + 1;
        if (m_nUpdateWatchIdleTicks < kUpdateWatchIdleLimit)
            return;
        end = SUpdateDownloadEnd {false, "下载程序没有运行"};
    }
    KillTimer(kTimerUpdateDownloadWatch);
    m_nUpdateWatchIdleTicks = 0;
    theApp.SetMessage(end->done ? kMessageInfo : kMessageError, UpdateEndMessage(*end), 10);
}

// ---------------------------------------------------------------------------
// Keys and drops

bool CMainFrame::IsTypingTarget(wxWindow* focus)
{
    if (auto* text = dynamic_cast<wxTextCtrl*>(focus))
        return text->IsEditable();
    if (auto* combo = dynamic_cast<wxComboBox*>(focus))
        return !combo->HasFlag(wxCB_READONLY);
    return false;   // the lesson texts included: their keys are the player's
}

// Space, the arrows and Esc are the player's wherever the focus is in the
// window: they never reach a focused button (which would open its menu) or
// the lesson text (whose cursor would move and lose the highlight). Only a
// box the learner types into keeps them.
void CMainFrame::OnPlaybackKey(wxKeyEvent& event)
{
    const int code = event.GetKeyCode();
    const bool playerKey = code == WXK_SPACE || code == WXK_ESCAPE || code == WXK_LEFT || code == WXK_RIGHT ||
                           code == WXK_UP || code == WXK_DOWN;
    if (!playerKey || IsTypingTarget(wxWindow::FindFocus())) {
        event.Skip();
        return;
    }
    CVlcPlayer* player = GetMainPlayer();
    switch (code) {
    case WXK_SPACE: {
        const int state = m_fnKeyPlayerState ? m_fnKeyPlayerState() : (player ? player->GetState() : 0);
        if (state == 3)
            OnPause();
        else if (state == 4)
            OnPlay();
        break;
    }
    case WXK_ESCAPE: {
        const bool engineFull = m_fnKeyPlayerFullscreen ? m_fnKeyPlayerFullscreen() : (player && player->IsFullscreen());
        if (!theApp.m_bWindowFullScreen || engineFull) {
            event.Skip();   // not the compact style's: a dialog or list may want it
            break;
        }
        // Leave the compact player style: ribbon and status bar come back,
        // half a second later the player pane.
        GetSizer()->Show(m_wndRibbonBar, true);
        if (m_pRibbonBar->GetApplicationButton())
            m_pRibbonBar->GetApplicationButton()->Show();
        GetSizer()->Show(m_wndStatusBar, true);
        Layout();
        KillTimer(kTimerShowPlayerPane);
        SetTimer(kTimerShowPlayerPane, 500);
        Maximize(true);
        theApp.m_bWindowFullScreen = 0;
        break;
    }
    case WXK_LEFT:
    case WXK_RIGHT: {
        if (theApp.m_strPlayState != "OnPlay")
            break;
        const int64_t delta = code == WXK_LEFT ? -10000 : 10000;
        if (m_fnKeySkip)
            m_fnKeySkip(delta);
        else if (player)
            player->Seek(std::max<int64_t>(0, player->GetTime() + delta));
        break;
    }
    case WXK_UP:
    case WXK_DOWN:
        if (theApp.m_strPlayState != "OnPlay")
            break;
        if (code == WXK_UP)
            PostPlayerCommand(this, "HalvikSoftPlayerPlayPre:", "HalvikSoftPlayerPlayPre:");
        else
            PostPlayerCommand(this, "HalvikSoftPlayerPlayNext:", "HalvikSoftPlayerPlayNext:");
        break;
    default:
        break;
    }
}

void CMainFrame::OnDropFiles(const std::vector<CString>& paths)
{
    const SDroppedFiles dropped = FilterDroppedFiles(paths);
    switch (ApplyDroppedFiles(dropped)) {
    case EDropAction::PlayMedia:
        PostPlayerCommand(this, "HalvikSoftPlayerPlayLocalFile:", "HalvikSoftPlayerPlayLocalFile:");
        break;
    case EDropAction::LoadSubtitle:
        if (m_wndPlayerPane && m_wndPlayerPane->m_dlgPlayer)
            m_wndPlayerPane->m_dlgPlayer->LoadSubtitle(dropped.subtitles[0]);
        break;
    case EDropAction::None:
        break;
    }
}

void CMainFrame::BindWork()
{
    if (m_bWorkBound)
        return;
    m_bWorkBound = true;
    SetDropTarget(new CFrameDropTarget(this));
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnPlaybackKey, this);
    BindFrameCommands();
}
