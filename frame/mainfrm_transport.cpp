// The main player's transport commands and the opening of a lesson with its
// media: the lesson is chosen, loaded into the lesson view a second later
// (kTimerLessonOpen), the media opened and played, and once playback has
// begun (kTimerPlaybackBegun) the subtitle files for the video are written
// (kTimerAssFiles) and one of them is given to the player
// (kTimerSubtitleToPlayer).

#include <algorithm>
#include <utility>

#include <wx/app.h>
#include <wx/sizer.h>
#include <wx/stc/stc.h>

#include "catalogue/playlistpane.h"
#include "lesson/core/lessonloader.h"
#include "online/core/onlinesubtitle.h"
#include "online/updatedlg.h"
#include "lesson/quenlowview.h"
#include "lesson/speechformview.h"
#include "core/productsettings.h"
#include "platform/file.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "playback/vlcplayer.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/playercommand.h"
#include "core/playbackclock.h"
#include "core/playorder.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"
#include "core/quenlowdoc.h"
#include "frame/ribbonstatusbar.h"
#include "vocabulary/detailwordpane.h"

namespace {

// kTimerPlaybackBegun gives up after this many 200 ms ticks (30 s): a file
// that never starts must not keep later play requests refused.
constexpr int kPlaybackWaitTicks = 150;
// kTimerLessonOpen falls back to the blank lesson after this many ticks.
constexpr int kLessonWaitTicks = 10;

CString FileNameOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

// The path with its trailing extension (after the last "." of the file name)
// replaced; a name without extension gets it appended.
CString WithExtension(const CString& path, const char* extension)
{
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    const CString stem = dot > slash + 1 ? path.Left(dot) : path;
    return stem + extension;
}

// A subtitle file or lesson database that could not be used still opens as an
// empty lesson with its media; the caption bar tells the learner why the text
// is missing.
void ReportLessonLoad(ELessonLoadResult result, const CString& path)
{
    // The lesson of a subtitle package sits in a staging file of the
    // program's own: the learner is told whose lesson it is, not where.
    const CString shown = path == theApp.m_strTmpScriptPath ? "字幕库中" + theApp.m_strMediaName + "的课文" : path;
    if (result == ELessonLoadResult::Refused)
        theApp.ShowMessage("无法读取课文文件：" + shown, "error", 5000);
    else if (result == ELessonLoadResult::Unreadable)
        theApp.ShowMessage("无法读取字幕文件：" + shown, "error", 5000);
    else if (result == ELessonLoadResult::TooLarge)
        theApp.ShowMessage(SubtitleTooLargeMessage(shown), "error", 5000);
    else if (result == ELessonLoadResult::NoSentences)
        theApp.ShowMessage("字幕文件中没有可用的字幕：" + shown, "warning", 5000);
}

// Opens the learner's media and starts it; when the engine refuses either
// step the caption bar names the file. Returns whether playback was started.
bool OpenAndPlay(CVlcPlayer& player, const CString& mediaPath)
{
    const bool started = player.OpenFile(ToFsPath(mediaPath).c_str()) && player.Play();
    if (!started)
        theApp.ShowMessage("无法播放媒体：" + mediaPath, "error", 5000);
    return started;
}

// Opens the media and plays it from `ms`. The time goes with the opening: a
// seek right after it is lost when the engine is not yet playing (seen with
// a file still being downloaded, which then started over from 00:00).
bool OpenAndPlayFrom(CVlcPlayer& player, const CString& mediaPath, int64_t ms)
{
    return player.OpenFile(ToFsPath(mediaPath).c_str()) && player.PlayFrom(ms);
}

void ScrollTextToTop(CQuenlowView& view)
{
    if (!view.m_richText)
        return;
    view.m_richText->ScrollToLine(0);
    view.m_richText->SetSelection(0, 0);
}

} // namespace

CString CMainFrame::ToUtf8(const CString& text) const { return theApp.AnsiToUtf8(text); }

CString CMainFrame::FormatPlayTime(int64_t ms)
{
    const int64_t minutes = ms / 60000;
    const int64_t seconds = ms / 1000 - minutes * 60;
    CString text;
    text.Format("%s%d:%s%d", minutes < 10 ? "0" : "", static_cast<int>(minutes), seconds < 10 ? "0" : "",
                static_cast<int>(seconds));
    return text;
}

void CMainFrame::SetPlayStateText(const CString& text)
{
    if (CStatusBarPane* pane = m_wndStatusBar->FindElement(kStatusPlayStateElement)) {
        pane->SetText(text);
        pane->Redraw();
    }
    theApp.m_strPlayStateText = text;
}

void CMainFrame::SetPlayState(const char* state)
{
    theApp.m_strPlayState = state;
    if (theApp.m_strPlayState != "OnPlay")
        return;
    if (auto* view = dynamic_cast<CQuenlowView*>(FindView(kViewLesson)))
        view->ResumeFollowing();
}

bool CMainFrame::SendDownloaderCommand(const CString& command) { return m_downloaderExchange.SendCommand(command); }

bool CMainFrame::PlaybackStartPending() const
{
    return IsTimerRunning(kTimerLessonOpen) || IsTimerRunning(kTimerPlaybackBegun);
}

// ---- Transport -----------------------------------------------------------------

void CMainFrame::OnPlay()
{
    KillTimer(kTimerTimeDisplay);
    SetTimer(kTimerTimeDisplay, 1000);
    CVlcPlayer* player = GetMainPlayer();
    // Speech practice leaves a short sound of its own in the lesson's player
    // when it ends; a view shown without reopening the lesson's media would
    // then play that sound under the lesson's name. The lesson's media is
    // opened again and plays on from where it was left.
    if (player && !theApp.m_strMediaPath.IsEmpty() &&
        player->OpenedMedia() != theApp.AnsiToUtf8(theApp.m_strMediaPath).str()) {
        PlayFromResumeTime();
        return;
    }
    if (player && !player->Play()) {
        // With no media at all there is nothing to stop.
        if (!theApp.m_strMediaPath.IsEmpty()) {
            ReportUnplayable();
            return;
        }
        theApp.ShowMessage("无法播放媒体：", "error", 5000);
    }
    SetPlayState("OnPlay");
    theApp.m_strPlaybackStarted = "true";
    SetPlayStateText("播放中");
    WatchPlaybackStart();
}

void CMainFrame::WatchPlaybackStart() { m_playbackWatch.Start(CPlaybackClock::SteadyMilliseconds()); }

void CMainFrame::ReportUnplayable()
{
    KillTimer(kTimerPlaybackBegun);
    OnStop();
    if (m_wndPlayerPane && m_wndPlayerPane->m_dlgPlayer && m_wndPlayerPane->m_dlgPlayer->m_staticVideo)
        m_wndPlayerPane->m_dlgPlayer->m_staticVideo->Refresh();
    theApp.ShowMessage("无法播放媒体：" + theApp.m_strMediaPath, "error", 5000);
}

bool CMainFrame::CheckPlayback(CVlcPlayer& player)
{
    // A file still arriving has the download watches: its end or an error
    // may only mean that more is to come.
    if (m_downloadProgress.m_bAwaitingTask || !theApp.m_strPlayingNetFile.IsEmpty())
        return false;
    const int64_t now = CPlaybackClock::SteadyMilliseconds();
    switch (m_playbackWatch.Check(player.GetState(), player.GetTime(), player.GetLength(), now)) {
    case CPlaybackWatch::EAction::Keep:
        return false;
    case CPlaybackWatch::EAction::Reopen:
        PlayFromResumeTime();
        if (m_playbackWatch.IsWatching()) {   // not refused at once
            m_playbackWatch.Reopened(now);
            SetTimer(kTimerTimeDisplay, 1000);
        }
        return true;
    case CPlaybackWatch::EAction::GiveUp:
        ReportUnplayable();
        return true;
    }
    return false;
}

void CMainFrame::OnPause()
{
    if (CVlcPlayer* player = GetMainPlayer()) {
        theApp.m_nResumeTime = static_cast<int>(player->GetTime());
        // The engine's own pause toggles; asking for "paused" never resumes a
        // player that is already paused.
        const int state = player->GetState();
        if (state == CVlcPlayer::kStatePlaying || state == CVlcPlayer::kStateBuffering)
            player->PauseIfPlaying();
    }
    SetPlayState("OnPause");
    SetPlayStateText("暂停");
}

void CMainFrame::OnStop()
{
    KillTimer(kTimerTimeDisplay);
    m_playbackWatch.Stop();
    SetPlayState("OnStop");
    if (CVlcPlayer* player = GetMainPlayer())
        player->Stop();
    SetPlayStateText("停止");
    if (CStatusBarPane* pane = m_wndStatusBar->FindElement(kStatusTimeElement)) {
        pane->SetText("00:00/00:00");
        pane->Redraw();
    }
}

void CMainFrame::ClearPlayPosition()
{
    theApp.m_strTimeText = "00:00/00:00";
    theApp.m_nPlayProgress = 0;
    m_pProgressSlider->SetPos(0);
    m_pProgressSlider->Refresh();
    for (const auto& [element, text] : {std::pair<int, const char*>{kStatusTimeElement, "00:00/00:00"},
                                        std::pair<int, const char*>{kStatusSentenceElement, "第0句/共0句"}}) {
        if (CStatusBarPane* pane = m_wndStatusBar->FindElement(element)) {
            pane->SetText(text);
            pane->Redraw();
        }
    }
}

void CMainFrame::PlayFromResumeTime()
{
    if (CVlcPlayer* player = GetMainPlayer()) {
        const int64_t at = theApp.m_bSeekOnPlay ? m_nStoredSeekTime : theApp.m_nResumeTime;
        theApp.m_bSeekOnPlay = 0;
        if (!OpenAndPlayFrom(*player, theApp.m_strMediaPath, at)) {
            ReportUnplayable();
            return;
        }
    }
    SetPlayState("OnPlay");
    SetPlayStateText("播放中");
    WatchPlaybackStart();
    KillTimer(kTimerSubtitleSoon);
    SetTimer(kTimerSubtitleSoon, 200);
}

void CMainFrame::ReopenNetFile()
{
    CVlcPlayer* player = GetMainPlayer();
    if (!player)
        return;
    if (!OpenAndPlayFrom(*player, theApp.m_strMediaPath, theApp.m_nResumeTime)) {
        if (!m_downloadProgress.WaitToReopen())
            theApp.ShowMessage("无法播放媒体：" + theApp.m_strMediaPath, "error", 5000);
        return;
    }
    m_nPlaybackWaitTicks = 0;
    KillTimer(kTimerPlaybackBegun);
    SetTimer(kTimerPlaybackBegun, 200);
}

void CMainFrame::OnReloadAndResume()
{
    if (CVlcPlayer* player = GetMainPlayer())
        theApp.m_nResumeTime = static_cast<int>(std::max<int64_t>(player->GetTime(), 0));
    PlayFromResumeTime();
}

void CMainFrame::OnRestartDownloader()
{
    if (CVlcPlayer* player = GetMainPlayer())
        player->Stop();
    KillTimer(kTimerDlAndPlayWatch);
    KillTimer(kTimerBufferingWait);
    if (theApp.m_bRestartPending)
        SendDownloaderCommand(kCmdRestartDownloader);
    PlayFromResumeTime();
}

void CMainFrame::ReplaySentence()
{
    CVlcPlayer* player = GetMainPlayer();
    if (!player || !FileExists(theApp.m_strMediaPath))
        return;
    if (!OpenAndPlay(*player, theApp.m_strMediaPath)) {
        ReportUnplayable();
        return;
    }
    const int current = theApp.m_nCurrentSentence;
    if (current >= 0 && current < static_cast<int>(theApp.m_arrSentenceTiming.size()))
        player->Seek(theApp.m_arrSentenceTiming[static_cast<size_t>(current)].starttime);
    SetPlayStateText("播放中");
    WatchPlaybackStart();
}

void CMainFrame::OnUseOnlineDict()
{
    theApp.m_strWordLookupMode = "OnWordWeb";
    if (m_wndDetailWordPane != nullptr)
        m_wndDetailWordPane->UpdateControlStates();   // the word box is for the local dictionary
}

void CMainFrame::OnUseLocalDict()
{
    theApp.m_strWordLookupMode = "OnWordHome";
    if (m_wndDetailWordPane != nullptr)
        m_wndDetailWordPane->UpdateControlStates();
}

void CMainFrame::BindTransportCommands()
{
    Bind(EVT_PLAYERCOMMAND, &CMainFrame::OnPlayerCommand, this);

    const auto command = [this](int id, void (CMainFrame::*handler)()) {
        Bind(wxEVT_MENU, [this, handler](wxCommandEvent&) { (this->*handler)(); }, id);
    };
    command(kCmdPlay, &CMainFrame::OnPlay);
    command(kCmdPause, &CMainFrame::OnPause);
    command(kCmdStop, &CMainFrame::OnStop);
    command(kCmdRestart, &CMainFrame::OnRestartDownloader);
    command(kCmdUseOnlineDict, &CMainFrame::OnUseOnlineDict);
    command(kCmdUseLocalDict, &CMainFrame::OnUseLocalDict);

    // Play, pause and stop follow the player state (point-read pauses
    // through the frame, so a pause at a sentence's end counts too); none of
    // them before anything has played.
    const auto free = [] { return !theApp.m_strPlaybackStarted.IsEmpty(); };
    Bind(wxEVT_UPDATE_UI, [free](wxUpdateUIEvent& e) {
        e.Enable(!theApp.m_strPlayState.IsEmpty() && theApp.m_strPlayState != "OnPlay" && free());
    }, kCmdPlay);
    for (int id : {kCmdPause, kCmdStop})
        Bind(wxEVT_UPDATE_UI, [free](wxUpdateUIEvent& e) { e.Enable(theApp.m_strPlayState == "OnPlay" && free()); },
             id);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(theApp.m_strMediaPath.GetLength() > 1); }, kCmdRestart);
    // Reload and resume: the media opened afresh from the main player's time.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnReloadAndResume(); }, kCmdReloadResume);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) {
        e.Enable(IsPaneVisible(m_wndPlayerPane));
        e.Check(false);
    }, kCmdReloadResume);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Check(theApp.m_strWordLookupMode == "OnWordWeb"); },
         kCmdUseOnlineDict);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Check(theApp.m_strWordLookupMode == "OnWordHome"); },
         kCmdUseLocalDict);

    // The download watches reach the player, the timers and the downloader
    // through the frame.
    CDownloadProgress& watch = m_downloadProgress;
    watch.playerTime = [this] { return GetMainPlayer() ? GetMainPlayer()->GetTime() : int64_t{0}; };
    watch.playerLength = [this] { return GetMainPlayer() ? GetMainPlayer()->GetLength() : int64_t{0}; };
    watch.playerState = [this] { return GetMainPlayer() ? GetMainPlayer()->GetState() : 0; };
    watch.pausePlayer = [this] {
        if (CVlcPlayer* player = GetMainPlayer())
            player->PauseIfPlaying();
    };
    watch.isPlayerFullscreen = [] { return theApp.m_bVideoFullScreen != 0; };
    // The download's file replaces the media playing: nothing of its lesson
    // shows while the new file buffers.
    watch.stopPlayback = [this] {
        OnStop();
        ClearPlayPosition();
    };
    watch.playFromResumeTime = [this] { PlayFromResumeTime(); };
    watch.reopenMedia = [this] { ReopenNetFile(); };
    watch.dlAndPlayCommandWaiting = [this] { return m_downloaderExchange.IsWaiting(theApp.m_strDlAndPlayCommand); };
    watch.moveCursorDown = [](int pixels) {
        const wxPoint at = wxGetMousePosition();
        if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr)
            top->WarpPointer(top->ScreenToClient(at).x, top->ScreenToClient(at).y + pixels);
    };
    watch.setTimer = [this](int id, int ms) { SetTimer(id, ms); };
    watch.killTimer = [this](int id) { KillTimer(id); };
    watch.sendCommand = [this](const CString& text) { return SendDownloaderCommand(text); };
    watch.showStatus = [this](int element, const CString& text) {
        if (CStatusBarPane* pane = m_wndStatusBar->FindElement(element)) {
            pane->SetText(text);
            pane->Redraw();
        }
    };
}

// ---- Lesson opening ----------------------------------------------------------------

void CMainFrame::PlayMediaWithScript(const CString& mediaPath)
{
    // Refused while the learner works in the dictionary's page, and while a
    // lesson that was just opened has not begun to play.
    if (DictionaryPageHasFocus())
        return;
    if (theApp.m_strPlaybackStarted.IsEmpty() && theApp.m_nSentenceCount > 1 && PlaybackStartPending())
        return;

    CVlcPlayer* player = GetMainPlayer();
    if (FileExists(mediaPath)) {
        // The lesson has the media's name with ".script" for ".mp4"/".mp3"
        // (as written, in lower case).
        CString lesson = mediaPath;
        lesson.Replace(".mp4", ".script");
        lesson.Replace(".mp3", ".script");
        if (lesson == mediaPath || !FileExists(lesson)) {
            theApp.ShowMessage("  没有相匹配的字幕文件！", "error", 5000);
            OpenOnDesktop(mediaPath);
            return;
        }
        NoteMediaOpening(mediaPath);
        theApp.m_strPlaybackStarted.Empty();
        ClearPlayPosition();
        theApp.m_strMediaPath = mediaPath;
        theApp.m_strMediaName = FileNameOf(mediaPath);
        theApp.m_strScriptPath = lesson;
        theApp.m_strPlayFilePath = mediaPath;
        theApp.m_bScriptLoaded = 1;

        ShowCentralView(kViewLesson);
        if (m_pDocument) {
            m_pDocument->SetTitle(theApp.m_strMediaName);
            UpdateTitle();
        }
        if (player)
            OpenAndPlay(*player, theApp.m_strMediaPath);
        m_nPlaybackWaitTicks = 0;
        SetTimer(kTimerPlaybackBegun, 200);
        ShowPane(m_wndPlayListPane, false);
        ShowPane(m_wndDetailWordPane, false);

        if (auto* view = dynamic_cast<CQuenlowView*>(m_pActiveView)) {
            ReportLessonLoad(view->LoadSubtitleFile(), theApp.m_strScriptPath);
            theApp.m_strDocumentLoaded = "true";
            theApp.m_strTextViewMode = "RTF";   // the bilingual list is built anew
            view->StartFollowing();
            view->ApplyTextFormat();
            ScrollTextToTop(*view);
            theApp.m_nLineHeight = view->GetLineHeight();
        }
    }
    if (player)
        player->Play();
    if (theApp.GetMediaKind(theApp.m_strMediaPath) == 1)
        OnStatusbarProgressPane();
}

void CMainFrame::FindSubtitleFile(const CString& mediaPath)
{
    // A lesson beside the media, in this order of kinds; else one from the
    // subtitle store or the subtitle host, matched by the media's digest.
    theApp.m_bScriptLoaded = 1;
    theApp.m_strSidecarScriptPath = WithExtension(mediaPath, ".script");
    bool found = false;
    for (const char* extension : {".script", ".srt", ".ass", ".lrc"}) {
        const CString candidate = WithExtension(mediaPath, extension);
        if (FileExists(candidate)) {
            theApp.m_strSidecarScriptPath = candidate;
            theApp.m_strScriptPath = candidate;
            found = true;
            break;
        }
    }
    if (!found)
        FetchOnlineSubtitle();
    m_nLessonOpenAttempts = 0;
    KillTimer(kTimerTimeDisplay);
    KillTimer(kTimerLessonOpen);
    SetTimer(kTimerLessonOpen, 1000);
}

void CMainFrame::FetchOnlineSubtitle()
{
    const CString candidate = WithExtension(theApp.m_strPlayFilePath, ".script");
    if (FileExists(candidate)) {
        theApp.m_strScriptPath = candidate;
        return;
    }
    theApp.m_strSidecarScriptPath = candidate;
    theApp.m_strMediaSha1 = m_fileSha1.GetFileSha1(theApp.m_strPlayFilePath, theApp.m_strSha1TmpPath,
                                                   theApp.m_strSha1TmpPath2);
    if (theApp.m_strMediaSha1.IsEmpty()) {
        UseBlankLesson(theApp);
        return;
    }
    if (!m_dlgUpdate) {
        // No worker to read the store on: it is read here.
        if (m_wndDetailWordPane->LoadSubtitleFromLibrary().IsEmpty())
            UseBlankLesson(theApp);
        return;
    }
    // The store is read on the dialog's worker (a package there may take a
    // while to unpack), then the host asked when the store has no lesson;
    // the media plays meanwhile. A media is looked up online once a run
    // (sequential play would ask at every repeat); the learner asks again
    // with the batch fetch. A look-up still under way goes on serving this
    // play.
    const std::string digest = theApp.m_strMediaSha1.str();
    const auto asked = m_onlineLookups.find(digest);
    if (asked != m_onlineLookups.end()) {
        const ESubtitleJobEnd end = m_dlgUpdate->JobEnd(asked->second);
        if (end == ESubtitleJobEnd::Queued || end == ESubtitleJobEnd::Running) {
            PlayWithoutLessonMeanwhile(theApp);
            StartSubtitlePackageWait(asked->second);
            return;
        }
    }
    theApp.m_strSubtitleUrl = asked == m_onlineLookups.end()
                                  ? OnlineSubtitleAddress(GetProductSetting("SubtitleHost"), theApp.m_strMediaSha1)
                                  : CString();
    const bool askHost = !theApp.m_strSubtitleUrl.IsEmpty();
    // Whether a library holds the digest is one keyed look-up; with neither
    // a package to unpack nor a host to ask, the media plays with the blank
    // lesson at once.
    if (!askHost && !m_wndDetailWordPane->IsInSubtitleLibrary(theApp.m_strMediaSha1)) {
        UseBlankLesson(theApp);
        return;
    }
    const int job = m_dlgUpdate->StartSubtitleLookup(askHost);
    if (askHost)
        m_onlineLookups[digest] = job;
    PlayWithoutLessonMeanwhile(theApp);
    StartSubtitlePackageWait(job);
}

void CMainFrame::AdoptArrivedLesson()
{
    theApp.m_bScriptLoaded = 1;
    LoadPendingLesson();
    // The video's subtitle files come from the new lesson.
    KillTimer(kTimerAssFiles);
    SetTimer(kTimerAssFiles, 1000);
}

void CMainFrame::LoadPendingLesson()
{
    // During speech practice the lesson loads behind the practice view, which
    // stays with the ribbon's category and keeps its commands.
    const bool practising = ActiveViewKind() == kViewSpeech;
    if (!practising && !dynamic_cast<CQuenlowView*>(m_pActiveView)) {
        ShowCentralView(kViewLesson);
    }
    auto* view = dynamic_cast<CQuenlowView*>(practising ? FindView(kViewLesson) : m_pActiveView);
    if (!view)
        return;
    if (view->m_richText)
        view->m_richText->SetReadOnly(false);
    view->ApplyTextFormat();
    ReportLessonLoad(view->LoadSubtitleFile(), theApp.m_strScriptPath);
    if (theApp.m_strCaptionDlgCreated.IsEmpty()) {
        // CreateCaptionDialog gives the caption window its text format.
        view->CreateCaptionDialog();
        theApp.m_strCaptionDlgCreated = "true";
    }
    theApp.m_strDocumentLoaded = "true";
    theApp.m_strTextViewMode = "RTF";   // the bilingual list is built anew
    view->StartFollowing();
    if (view->m_richText)
        view->m_richText->SetReadOnly(true);
    ScrollTextToTop(*view);
    theApp.m_nLineHeight = view->GetLineHeight();
    // The practice follows the lesson now loaded: at once when nothing is
    // being practised, else at the next entry into the category.
    theApp.m_strSpeechPrepared.Empty();
    auto* speech = practising ? dynamic_cast<CSpeechFormView*>(m_pActiveView) : nullptr;
    if (speech && !theApp.m_strMicrophoneReady.IsEmpty() && theApp.m_strSpeechMode.IsEmpty() &&
        !speech->m_practice.m_bRecording)
        PrepareSpeechPractice(*speech);
}

// kTimerLessonOpen: waits for the lesson file, then loads it, opens and plays the
// media and records it in the play history.
void CMainFrame::OnLessonOpenTick()
{
    ++m_nLessonOpenAttempts;
    const CString& lesson = theApp.m_strScriptPath;
    const bool haveLesson = !lesson.IsEmpty() && FileExists(lesson);
    if (!haveLesson && lesson == theApp.m_strBlankScriptPath) {
        // The blank lesson itself is gone: say so once and play the media
        // without any lesson text.
        KillTimer(kTimerLessonOpen);
        theApp.SetMessage(kMessageError, "空白字幕文件不存在，只播放媒体文件。", 5);
        theApp.m_bScriptLoaded = 0;
        theApp.ClearSentenceModel();
        if (auto* view = dynamic_cast<CQuenlowView*>(FindView(kViewLesson)); view && view->m_richText) {
            view->m_richText->SetReadOnly(false);
            view->m_richText->ClearAll();
        }
        OpenPendingMedia();
        return;
    }
    if (haveLesson) {
        KillTimer(kTimerLessonOpen);
        LoadPendingLesson();
        OpenPendingMedia();
        // In speech practice the practice uses the player: the lesson waits
        // at its start, as one entered from the home category would.
        if (ActiveViewKind() == kViewSpeech) {
            OnStop();
            SetTimer(kTimerTimeDisplay, kPracticeStatusInterval);
        }
        return;
    }
    if (m_nLessonOpenAttempts > kLessonWaitTicks) {
        theApp.SetMessage(kMessageError, "下载字幕文件失败！", 5);
        theApp.m_strScriptPath = theApp.m_strBlankScriptPath;
        theApp.m_bScriptLoaded = 0;
    }
}

void CMainFrame::OpenPendingMedia()
{
    theApp.m_strMediaPath = theApp.m_strPlayFilePath;
    theApp.m_strMediaName = FileNameOf(theApp.m_strMediaPath);
    if (m_pDocument) {
        m_pDocument->SetTitle(theApp.m_strMediaName);
        UpdateTitle();
    }
    // Through the player dialog, which starts the medium's subtitle files
    // afresh; OnPlay reports a media file that the engine refused.
    if (m_wndPlayerPane && m_wndPlayerPane->m_dlgPlayer)
        m_wndPlayerPane->m_dlgPlayer->OpenMedia(ToFsPath(theApp.m_strMediaPath).c_str());
    OnPlay();
    // Key: the file name; first content: the full path (bound parameters,
    // so any name is stored as it is). A failed save is told in the caption bar.
    theApp.AddPlayHistory(theApp.m_strMediaName, theApp.m_strMediaPath);

    m_nPlaybackWaitTicks = 0;
    KillTimer(kTimerPlaybackBegun);
    SetTimer(kTimerPlaybackBegun, 200);
    if (theApp.m_bScriptLoaded && theApp.m_strScriptPath != theApp.m_strBlankScriptPath) {
        KillTimer(kTimerAssFiles);
        SetTimer(kTimerAssFiles, 1000);
    } else if (theApp.GetMediaKind(theApp.m_strMediaPath) == 1) {
        OnStatusbarProgressPane();
    }
}

// kTimerPlaybackBegun: once the player is past 100 ms, playback has begun.
void CMainFrame::OnPlaybackBegunTick()
{
    CVlcPlayer* player = GetMainPlayer();
    const int state = player ? player->GetState() : 0;
    if (state == CVlcPlayer::kStateError || (state == CVlcPlayer::kStateEnded && player->GetLength() <= 0)) {
        // A file still being downloaded may only be unreadable so far: the
        // download watch opens it again as more arrives.
        if (m_downloadProgress.WaitToReopen()) {
            KillTimer(kTimerPlaybackBegun);
            player->Stop();
            return;
        }
        // The engine took the file but cannot play it (empty or damaged; an
        // empty file "ends" at once without a length): say so, stop, and
        // leave no picture of the media before.
        ReportUnplayable();
        return;
    }
    if (!player || player->GetTime() <= 100) {
        // A file that never gets going stops being waited for.
        if (++m_nPlaybackWaitTicks >= kPlaybackWaitTicks)
            KillTimer(kTimerPlaybackBegun);
        return;
    }
    KillTimer(kTimerPlaybackBegun);
    player->SetVolume(theApp.m_nVolume);
    player->SetSpu(-1);   // the video's own subtitles off: ours come as files
    theApp.m_strPlaybackStarted = "true";
    SetPlayState("OnPlay");
    SetPlayStateText("播放中");
    if (theApp.GetMediaKind(theApp.m_strMediaPath) == 1)
        OnStatusbarProgressPane();
    SetTimer(kTimerTimeDisplay, 1000);
}

// kTimerAssFiles: the three subtitle files for the video, from the loaded lesson.
void CMainFrame::OnAssFilesTick()
{
    KillTimer(kTimerAssFiles);
    // Another media file starts without the previous one's adjustment; the
    // same file opened again (a loop, a player reset, a reload) keeps the
    // timing the learner fitted to it.
    if (theApp.m_strTimeOffsetMedia != theApp.m_strMediaPath) {
        theApp.m_nTimeOffset = 0;
        theApp.m_strTimeOffsetMedia = theApp.m_strMediaPath;
    }
    theApp.m_strTimeOffsetText.Format("%d", -theApp.m_nTimeOffset);
    theApp.WriteAssFiles();
    SetTimer(kTimerSubtitleToPlayer, 500);
    if (m_pRibbonBar->FindStandIn(kCmdOffsetEdit))
        m_pRibbonBar->SetEditText(kCmdOffsetEdit, theApp.m_strTimeOffsetText);
}

// kTimerSubtitleToPlayer: the subtitle file of the chosen mode and the audio track.
void CMainFrame::OnSubtitleToPlayerTick()
{
    KillTimer(kTimerSubtitleToPlayer);
    CVlcPlayer* player = GetMainPlayer();
    if (!player)
        return;
    if (theApp.m_strScriptPath != theApp.m_strBlankScriptPath && FileExists(theApp.m_strScriptPath) &&
        theApp.m_bScriptLoaded) {
        const CString* file = &theApp.m_strAssBothPath;
        if (theApp.m_nSubtitleMode == 26)
            file = &theApp.m_strAssEngPath;
        else if (theApp.m_nSubtitleMode == 27)
            file = &theApp.m_strAssChnPath;
        if (!file->IsEmpty())
            player->SetSubtitleFile(theApp.AnsiToUtf8(*file).GetString());
    }
    // The chosen position in the listed tracks of this medium.
    theApp.m_arrAudioTracks = player->ListAudioTracks();
    player->SelectListedAudioTrack(theApp.m_arrAudioTracks, theApp.m_nAudioTrack);
}

// kTimerTimeDisplay: time display, progress, sentence counter, volume at the start
// and the next play-list entry at the end.
void CMainFrame::OnTimeDisplayTick()
{
    const auto show = [this](int element, const CString& text) {
        if (CStatusBarPane* pane = m_wndStatusBar->FindElement(element)) {
            pane->SetText(text);
            pane->Redraw();
        }
    };
    if (theApp.m_strMediaPath.IsEmpty()) {
        theApp.m_strTimeText = "000:00/000:00";
        show(kStatusTimeElement, theApp.m_strTimeText);
        return;
    }
    CVlcPlayer* player = GetMainPlayer();
    if (!player)
        return;
    // In speech practice the practice drives the player (its clips, the
    // muted video): the status bar shows what it plays, while the lesson's
    // own state and time wait for the learner's return.
    if (ActiveViewKind() == kViewSpeech) {
        ShowPracticePlayback(*player);
        SetTimer(kTimerTimeDisplay, kPracticeStatusInterval);
        return;
    }
    theApp.m_nMediaLength = player->GetLength();
    if (theApp.m_nMediaLength < 1)
        theApp.m_nMediaLength = 999;
    m_downloadProgress.OnCatchUpTick();
    if (theApp.m_strPlayState != "OnPlay") {
        // Back from practice the lesson's state and time return.
        for (const auto& [element, text] : {std::pair{kStatusPlayStateElement, theApp.m_strPlayStateText},
                                            std::pair{kStatusTimeElement, theApp.m_strTimeText}}) {
            if (CStatusBarPane* pane = m_wndStatusBar->FindElement(element); pane && pane->GetText() != text)
                show(element, text);
        }
        SetTimer(kTimerTimeDisplay, 1000);   // once a second until playing again
        return;
    }
    if (CheckPlayback(*player))
        return;

    const int64_t t = player->GetEstimatedTime();
    if (t > 0 && t < 2000)
        player->SetVolume(theApp.m_nVolume);
    const int64_t length = theApp.m_nMediaLength;
    // The whole medium is heard: the next one comes at its very end.
    if (ReachedMediaEnd(t, length, player->GetState() == CVlcPlayer::kStateEnded) && t > 2000) {
        // The end of a file still being downloaded is only the end of what
        // has arrived: the player waits there instead of going on.
        if (!m_downloadProgress.WaitAtDownloadedEnd(t))
            PlayNext();
        return;
    }
    // The next tick comes just past the next second (or at the end), so the
    // clock shows each second as it begins.
    SetTimer(kTimerTimeDisplay, NextTimeDisplayDelay(t, length));
    const int64_t position = t * 10000 / length;
    m_pProgressSlider->SetPos(static_cast<int>(position));
    m_pProgressSlider->Refresh();
    theApp.m_nPlayProgress = static_cast<int>(position);
    theApp.m_nResumeTime = static_cast<int>(t);

    theApp.m_strLengthText = FormatPlayTime(length);
    theApp.m_strTimeText = (t >= 1000 ? FormatPlayTime(t) : CString("00:00")) + "/" + theApp.m_strLengthText;
    show(kStatusTimeElement, theApp.m_strTimeText);

    ShowSentenceCounter();
}

void CMainFrame::ShowPracticePlayback(CVlcPlayer& player)
{
    const int state = player.GetState();
    const bool playing = state == CVlcPlayer::kStatePlaying || state == CVlcPlayer::kStateBuffering;
    const bool paused = state == CVlcPlayer::kStatePaused;
    const CString stateText = playing ? "播放中" : (paused ? "暂停" : "停止");
    CString timeText = "00:00/00:00";
    if (playing || paused) {
        const int64_t t = std::max<int64_t>(player.GetTime(), 0);
        timeText = FormatPlayTime(t) + "/" + FormatPlayTime(std::max<int64_t>(player.GetLength(), 0));
    }
    for (const auto& [element, text] : {std::pair{kStatusPlayStateElement, stateText}, std::pair{kStatusTimeElement, timeText}}) {
        CStatusBarPane* pane = m_wndStatusBar->FindElement(element);
        if (pane && pane->GetText() != text) {
            pane->SetText(text);
            pane->Redraw();
        }
    }
}

void CMainFrame::ShowSentenceCounter()
{
    CString counter = "第0句/共0句";
    if (theApp.m_nSentenceCount > 0)
        counter.Format("第%d句/共%d句", theApp.m_nCurrentSentence + 1, theApp.m_nSentenceCount);
    if (CStatusBarPane* pane = m_wndStatusBar->FindElement(kStatusSentenceElement)) {
        pane->SetText(counter);
        pane->Redraw();
    }
}

bool CMainFrame::OnTransportTimer(int id)
{
    switch (id) {
    case kTimerAssFiles:
        OnAssFilesTick();
        return true;
    case kTimerTimeDisplay:
        OnTimeDisplayTick();
        return true;
    case kTimerSubtitleSoon:
        KillTimer(kTimerSubtitleSoon);
        SetTimer(kTimerSubtitleToPlayer, 1000);
        return true;
    case kTimerSubtitleToPlayer:
        OnSubtitleToPlayerTick();
        return true;
    case kTimerPlaybackBegun:
        OnPlaybackBegunTick();
        return true;
    case kTimerLessonOpen:
        OnLessonOpenTick();
        return true;
    case kTimerDlAndPlayWatch:
        m_downloadProgress.OnDlAndPlayTick();
        return true;
    case kTimerBufferingWait:
        m_downloadProgress.OnBufferingTick();
        return true;
    case kTimerRestartRearm:
        m_downloadProgress.OnRestartRearmTick();
        return true;
    case kTimerSecondDelete:
        m_downloadProgress.OnSecondDeleteTick();
        return true;
    case kTimerReopenWait:
        m_downloadProgress.OnReopenTick();
        return true;
    default:
        return false;
    }
}
