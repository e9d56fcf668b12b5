// The central view that follows the ribbon category, and the pane operations.
#include <algorithm>

#include <wx/aui/aui.h>
#include <wx/sizer.h>

#include "lesson/doublelangformview.h"
#include "lesson/quenlowview.h"
#include "lesson/speechformview.h"
#include "online/playfrompanpane.h"
#include "online/updateformview.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "catalogue/playlistpane.h"
#include "frame/escapedutyview.h"
#include "frame/helpview.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "core/activeview.h"
#include "core/quenlow.h"
#include "frame/ribbonstatusbar.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/dictionaryformview.h"
#include "vocabulary/myhtmlview.h"
#include "vocabulary/wordmanagementview.h"
#include "vocabulary/wordonlineview.h"

CView* CMainFrame::CreateViewForId(int id)
{
    switch (id) {
    case kViewLesson:
        return new CQuenlowView;
    case kViewWordBook:
        return new CWordManagementView;
    case kViewSpeech:
        return new CSpeechFormView;
    case kViewHelp:
        return new CUpdateFormView;
    case kViewBilingual:
        return new CDoubleLangFormView;
    case kViewDictionaryForm:
        return new CDictionaryFormView;
    case kViewWebPage:
        return new CMyHtmlView;
    case kViewEmptyHelp:
        return new CHelpView;
    case kViewEmptyEscapeDuty:
        return new CEscapeDutyView;
    default:
        return nullptr;
    }
}

CView* CMainFrame::FindView(int id) const
{
    const auto it = m_views.find(id);
    return it == m_views.end() ? nullptr : it->second;
}

void CMainFrame::SwitchView(int id)
{
    m_pOldView = m_pActiveView;
    m_pNewView = FindView(id);
    if (!m_pNewView) {
        CView* view = CreateViewForId(id);
        if (!view)
            return;
        if (!view->Create(m_pViewHost, id)) {
            delete view;
            return;
        }
        m_pViewHost->GetSizer()->Add(view, 1, wxEXPAND);
        view->OnInitialUpdate();
        m_views[id] = view;
        m_pNewView = view;
    }
    // The flag says the bilingual list is up; any other view ends that.
    if (id != kViewBilingual)
        theApp.m_strDoubleLangShown.Empty();
    if (m_pNewView == m_pOldView)
        return;
    m_pActiveView = m_pNewView;
    m_pNewView->Show();
    if (m_pOldView)
        m_pOldView->Hide();
    m_pViewHost->Layout();
}

namespace {

// The central views whose names theApp.m_strActiveView records.
const struct {
    int kind;
    const char* name;
} kRecordedViews[] = {
    {kViewLesson, kActiveLessonView},
    {kViewWordBook, kActiveWordBookView},
    {kViewSpeech, kActiveSpeechView},
    {kViewHelp, kActiveHelpView},
};

} // namespace

int CMainFrame::ActiveViewKind() const
{
    for (const auto& view : kRecordedViews) {
        if (theApp.m_strActiveView == view.name)
            return view.kind;
    }
    return 0;
}

void CMainFrame::ShowCentralView(int kind)
{
    SwitchView(kind);
    for (const auto& view : kRecordedViews) {
        if (view.kind == kind)
            theApp.m_strActiveView = view.name;
    }
}

bool CMainFrame::CanShowBilingualList() const
{
    const bool textView = dynamic_cast<CQuenlowView*>(m_pActiveView) != nullptr ||
                          dynamic_cast<CDoubleLangFormView*>(m_pActiveView) != nullptr;
    return textView && (theApp.m_strTextViewMode == "RTF" || theApp.m_strTextViewMode == "LIST");
}

// The bilingual list in place of the lesson text, or back. The list is built
// once per lesson: a lesson shown in the lesson view sets the mode "RTF".
void CMainFrame::OnBilingualView()
{
    if (!theApp.m_strDoubleLangShown.IsEmpty()) {
        SwitchView(kViewLesson);
        theApp.m_strDoubleLangShown.Empty();
        if (auto* lesson = dynamic_cast<CQuenlowView*>(m_pActiveView))
            lesson->UpdateFontIfChanged();
        return;
    }
    // The Chinese caption belongs to the lesson text; it would cover the list.
    if (auto* lesson = dynamic_cast<CQuenlowView*>(FindView(kViewLesson)))
        lesson->HideCaption();
    SwitchView(kViewBilingual);
    auto* list = dynamic_cast<CDoubleLangFormView*>(m_pActiveView);
    if (list == nullptr)
        return;
    theApp.m_strDoubleLangShown = "true";
    if (theApp.m_strTextViewMode == "RTF") {
        list->UpdateFontIfChanged();
        list->BuildText();
        theApp.m_strTextViewMode = "LIST";
    }
}

bool CMainFrame::DictionaryPageHasFocus() const
{
    return m_wndDetailWordPane && m_wndDetailWordPane->m_pWordView &&
           m_wndDetailWordPane->m_pWordView->HasFocusWithin();
}

void CMainFrame::OnRibbonPageChanged(wxRibbonBarEvent& event)
{
    event.Skip();
    OnChangeRibbonCategory();
}

// Back on 主页 from another view (speech practice may have used the player):
// the lesson's media is opened afresh and plays on where it was left, and its
// subtitle file is handed over again.
void CMainFrame::ResumeLessonAfterOtherView()
{
    const int64_t resumeAt = theApp.m_nResumeTime;
    if (CVlcPlayer* player = GetMainPlayer()) {
        player->Stop();
        player->OpenFile(ToFsPath(theApp.m_strMediaPath).c_str());
    }
    OnPlay();
    KillTimer(kTimerSubtitleSoon);
    SetTimer(kTimerSubtitleSoon, 200);
    if (CVlcPlayer* player = GetMainPlayer())
        player->Seek(resumeAt);
    if (theApp.GetMediaKind(theApp.m_strMediaPath) == 1)
        OnStatusbarProgressPane();
}

void CMainFrame::OnChangeRibbonCategory()
{
    // A category change from inside the handler (tests, the refusal) must not
    // run the handler twice.
    if (m_bHandlingCategory)
        return;
    m_bHandlingCategory = true;
    struct SReset {
        bool& flag;
        ~SReset() { flag = false; }
    } reset{m_bHandlingCategory};

    m_nActiveCategory = m_pRibbonBar->GetActiveCategory();
    const int category = m_nActiveCategory;

    // While the learner works in the dictionary pane's page the central view
    // does not follow the ribbon.
    if (DictionaryPageHasFocus()) {
        theApp.ShowMessage("  工具栏没有被激活。请点击中间的主窗口激活。", "error", 5000);
        return;
    }

    if (ActiveViewKind() == kViewSpeech) {
        if (auto* speech = dynamic_cast<CSpeechFormView*>(m_pActiveView))
            speech->ResetPractice();
    }
    if (ActiveViewKind() == kViewWordBook && category != kCategoryWordBook && theApp.m_pStreamDlg) {
        if (theApp.m_bStreamDlgVisible)
            theApp.m_pStreamDlg->Hide();
        if (theApp.m_pStreamDlg->GetPlayerState() == 3)
            theApp.m_pStreamDlg->StopPlayer();
    }
    if (category != kCategoryHome && theApp.m_strPlayState == "OnPlay" && theApp.m_bScriptLoaded &&
        theApp.m_strPlayingNetFile.IsEmpty()) {
        OnPause();
        ShowPane(m_wndPlayerPane, false);
    }

    if (category == kCategoryHome || category == kCategoryPlaylist) {
        theApp.m_nRibbonCategory = 1;
        if (ActiveViewKind() == kViewLesson)
            return;
        if (category == kCategoryHome) {
            if (theApp.m_bScriptLoaded && theApp.m_strScriptPath != theApp.m_strBlankScriptPath &&
                theApp.m_strPlayingNetFile.IsEmpty())
                ResumeLessonAfterOtherView();
        } else {
            ShowPane(m_wndDetailWordPane, false);
            ShowPane(m_wndPlayerPane, false);
        }
        ShowCentralView(kViewLesson);
        if (theApp.m_bScriptLoaded) {
            if (auto* lesson = dynamic_cast<CQuenlowView*>(m_pActiveView))
                lesson->UpdateFontIfChanged();
        }
        return;
    }

    if (category == kCategoryWordBook) {
        theApp.m_nRibbonCategory = 2;
        if (!theApp.m_strPlayingNetFile.IsEmpty() || !theApp.m_bScriptLoaded ||
            theApp.m_strScriptPath == theApp.m_strBlankScriptPath)
            return;
        theApp.m_strWordLookupMode = "OnWordHome";
        if (ActiveViewKind() == kViewWordBook)
            return;
        ShowCentralView(kViewWordBook);
        if (auto* book = dynamic_cast<CWordManagementView*>(m_pActiveView)) {
            book->RefreshStyle();
            book->ShowLessonWords();
        }
        if (theApp.m_bStreamDlgVisible && theApp.m_pStreamDlg)
            theApp.m_pStreamDlg->Show();
        HideOtherPanes(nullptr);
        return;
    }
    if (theApp.m_pStreamDlg)
        theApp.m_pStreamDlg->Hide();
    theApp.m_bStreamDlgVisible = 0;

    if (category == kCategorySpeech) {
        theApp.m_nRibbonCategory = 3;
        if (!theApp.m_strPlayingNetFile.IsEmpty() || !theApp.m_bScriptLoaded ||
            theApp.m_strScriptPath == theApp.m_strBlankScriptPath || theApp.m_strSubtitleLoaded.IsEmpty() ||
            ActiveViewKind() == kViewSpeech)
            return;
        ShowCentralView(kViewSpeech);
        auto* speech = dynamic_cast<CSpeechFormView*>(m_pActiveView);
        if (!speech)
            return;
        speech->UpdateFontIfChanged();
        if (!speech->CheckMicrophone()) {
            // A microphone plugged in before the next entry gets the practice
            // text of this media again: the view holds only the notice now.
            theApp.m_strMicrophoneReady.Empty();
            theApp.m_strSpeechPrepared.Empty();
            speech->ShowMicrophoneNeeded();
            return;
        }
        theApp.m_strMicrophoneReady = "true";
        if (theApp.m_strSpeechPrepared.IsEmpty())
            PrepareSpeechPractice(*speech);
        // The status bar follows the practice's clips (OnTimeDisplayTick).
        if (!IsTimerRunning(kTimerTimeDisplay))
            SetTimer(kTimerTimeDisplay, kPracticeStatusInterval);
        HideOtherPanes(nullptr);
        return;
    }

    if (category == kCategorySettings) {
        theApp.m_nRibbonCategory = 4;
        if (ActiveViewKind() == kViewHelp)
            return;
        ShowCentralView(kViewHelp);
        if (theApp.m_strHelpPagePrepared.IsEmpty()) {
            if (auto* help = dynamic_cast<CUpdateFormView*>(m_pActiveView)) {
                help->PrepareView();
                help->OnShowHelp();
            }
            theApp.m_strHelpPagePrepared = "true";
        }
        HideOtherPanes(nullptr);
    }
}

void CMainFrame::NoteMediaOpening(const CString& mediaPath)
{
    theApp.m_strExerciseMerged.Empty();
    theApp.m_strSpeechPrepared.Empty();
    if (mediaPath != m_strRecordingsMedia)
        m_strRecordingsMedia.Empty();
}

void CMainFrame::PrepareSpeechPractice(CSpeechFormView& speech)
{
    theApp.m_strSpeechMode.Empty();
    speech.ClearView();
    speech.m_practice.m_bRecording = 0;
    speech.BuildPracticeText();
    // A lesson played to its end opens again: the recordings made with it
    // stay until another media is opened.
    if (m_strRecordingsMedia.IsEmpty() || m_strRecordingsMedia != theApp.m_strPlayFilePath)
        speech.DeleteTempRecordings();
    m_strRecordingsMedia = theApp.m_strPlayFilePath;
    theApp.m_strSpeechPrepared = "true";
}

void CMainFrame::OnStatusbarProgressPane()
{
    ShowPane(m_wndPlayListPane, false);
    ShowPane(m_wndPlayFromPanPane, false);
    ShowPane(m_wndPlayerPane, true);
    DockPane(m_wndPlayerPane);
    m_wndPlayerPane->m_dlgPlayer->Show();
    SetPlayerPaneSize(IsRealLessonLoaded() ? LessonPlayerPaneWidth() : theApp.m_nScreenWidth);
}

bool CMainFrame::IsRealLessonLoaded() const
{
    return theApp.m_strScriptPath != theApp.m_strBlankScriptPath && theApp.m_bScriptLoaded;
}

// Beside a lesson the video takes half the screen, and never more than half
// of a narrower window, so the lesson text stays in sight.
int CMainFrame::LessonPlayerPaneWidth() const
{
    return std::min(theApp.m_nScreenWidth / 2, GetClientSize().x / 2);
}

// The dictionary takes half the screen, and never more than half of a
// narrower window; beside the video of a lesson it leaves the lesson text at
// least half of what the video leaves.
int CMainFrame::DictionaryPaneWidth()
{
    const int client = GetClientSize().x;
    int width = std::min(theApp.m_nScreenWidth / 2, client / 2);
    if (IsRealLessonLoaded() && IsPaneVisible(m_wndPlayerPane))
        width = std::min(width, (client - LessonPlayerPaneWidth()) / 2);
    return std::max(width, 1);
}

void CMainFrame::HideOtherPanes(CDockablePane* keep)
{
    for (CDockablePane* pane : {static_cast<CDockablePane*>(m_wndPlayListPane),
                                static_cast<CDockablePane*>(m_wndPlayerPane),
                                static_cast<CDockablePane*>(m_wndDetailWordPane),
                                static_cast<CDockablePane*>(m_wndPlayFromPanPane)}) {
        if (pane != keep)
            ShowPane(pane, false);
    }
}

void CMainFrame::ShowPane(CDockablePane* pane, bool show)
{
    wxAuiPaneInfo& info = m_auiManager.GetPane(pane);
    if (!info.IsOk() || info.IsShown() == show)
        return;
    info.Show(show);
    m_auiManager.Update();
}

bool CMainFrame::IsPaneVisible(CDockablePane* pane)
{
    const wxAuiPaneInfo& info = m_auiManager.GetPane(pane);
    return info.IsOk() && info.IsShown();
}

void CMainFrame::DockPane(CDockablePane* pane)
{
    wxAuiPaneInfo& info = m_auiManager.GetPane(pane);
    if (info.IsOk() && info.IsFloating()) {
        info.Dock();
        m_auiManager.Update();
    }
}

void CMainFrame::SetPaneSize(CDockablePane* pane, int size)
{
    // A floating pane keeps its own size.
    m_auiManager.SetPaneDockSize(pane, size);
}

void CMainFrame::SetDetailWordPaneSize(int size) { SetPaneSize(m_wndDetailWordPane, size); }
void CMainFrame::SetPlayListPaneSize(int size) { SetPaneSize(m_wndPlayListPane, size); }
void CMainFrame::SetPlayerPaneSize(int size) { SetPaneSize(m_wndPlayerPane, size); }
void CMainFrame::SetPlayFromPanPaneSize(int size) { SetPaneSize(m_wndPlayFromPanPane, size); }

CVlcPlayer* CMainFrame::GetMainPlayer() const
{
    return m_wndPlayerPane && m_wndPlayerPane->m_dlgPlayer ? m_wndPlayerPane->m_dlgPlayer->m_player.get() : nullptr;
}
