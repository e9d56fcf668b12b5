// The frame's own ribbon and status-bar commands with their update rules:
// dictionary and look-up modes, skip-blank, point-read, subtitle offset, the
// talk catalogue's categories, sorts and filters, the search box, the panes,
// the update command and the status bar's sliders and elements.
#include <functional>

#include <wx/aui/aui.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/dataobj.h>
#include <wx/ribbon/bar.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "catalogue/playlistpane.h"
#include "online/playfrompanpane.h"
#include "playback/playerpane.h"
#include "playback/purewmpdialog.h"
#include "playback/vlcplayer.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "frame/mainfrm.h"
#include "frame/mainribbon.h"
#include "ui/messagebox.h"
#include "core/desktopopen.h"
#include "core/mediatime.h"
#include "core/quenlow.h"
#include "frame/ribbonstatusbar.h"
#include "ui/searchdlg.h"
#include "vocabulary/detailwordpane.h"

namespace {

// Talk categories and sort columns with the value each command sets.
struct SValueCommand {
    int id;
    const char* value;
};
const SValueCommand kCategoryCommands[] = {
    {kCmdCategoryAll, ""},
    {kCmdCategoryTechnology, "1"},
    {kCmdCategoryEntertainment, "2"},
    {kCmdCategoryDesign, "3"},
    {kCmdCategoryScience, "4"},
    {kCmdCategoryBusiness, "5"},
    {kCmdCategoryGlobalIssues, "6"},
    {kCmdCategoryOthers, "99"},
};
const SValueCommand kSortCommands[] = {
    {kCmdSortById, "id"},
    {kCmdSortBySpeaker, "speaker"},
    {kCmdSortByTitle, "title"},
    {kCmdSortByVideoName, "vedioname"},
    {kCmdSortByDuration, "duration"},
    {kCmdSortByWordFrequency, "wordfrq"},
};

CString Toggled(const CString& flag) { return flag.IsEmpty() ? CString("true") : CString(); }

} // namespace

void CMainFrame::BindFrameCommands()
{
    const auto command = [this](int id, std::function<void()> action) {
        Bind(wxEVT_MENU, [action](wxCommandEvent&) { action(); }, id);
    };
    const auto update = [this](int id, std::function<void(wxUpdateUIEvent&)> rule) {
        Bind(wxEVT_UPDATE_UI, [rule](wxUpdateUIEvent& event) { rule(event); }, id);
    };
    const auto always = [](wxUpdateUIEvent& event) { event.Enable(true); };
    const auto whilePlaying = [](wxUpdateUIEvent& event) { event.Enable(theApp.m_strPlayState == "OnPlay"); };

    // Panes and folders.
    command(kCmdPlaylist, [this] { OnPlaylist(); });
    update(kCmdPlaylist, always);
    command(kCmdOpenPlaylistFolder, [this] { OnOpenPlaylistFolder(); });
    update(kCmdOpenPlaylistFolder, always);
    command(kCmdToggleRibbonPanels, [this] { OnToggleRibbonPanels(); });
    update(kCmdToggleRibbonPanels, always);
    command(kCmdOpenDict, [this] { OnOpendict(); });
    update(kCmdOpenDict, always);
    command(kCmdPlayFromPan, [this] { OnPlayFromPan(); });
    update(kCmdPlayFromPan, always);

    // The bilingual list in place of the lesson text.
    command(kCmdBilingualListView, [this] { OnBilingualView(); });
    update(kCmdBilingualListView, [this](wxUpdateUIEvent& e) {
        const bool usable = CanShowBilingualList();
        e.Enable(usable);
        e.Check(usable && !theApp.m_strDoubleLangShown.IsEmpty());
    });

    // Look-up modes.
    command(kCmdLocalWord, [] { theApp.m_strWordLookupMode = "OnWordHome"; });
    update(kCmdLocalWord, [](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strWordLookupMode == "OnWordHome"); });
    command(kCmdOnlineWord, [] { theApp.m_strWordLookupMode = "OnWordWeb"; });
    update(kCmdOnlineWord, [](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strWordLookupMode == "OnWordWeb"); });

    // Skip-blank needs a loaded lesson of a local file.
    command(kCmdSkipBlank, [] { theApp.m_strSkipBlank = Toggled(theApp.m_strSkipBlank); });
    update(kCmdSkipBlank, [](wxUpdateUIEvent& e) {
        const bool usable = theApp.m_strPlayingNetFile.IsEmpty() && theApp.m_bScriptLoaded;
        e.Enable(usable);
        e.Check(usable && !theApp.m_strSkipBlank.IsEmpty());
    });

    // Point-read and what follows a point-read.
    command(kCmdPointRead, [] { theApp.m_strPointRead = Toggled(theApp.m_strPointRead); });
    update(kCmdPointRead, [](wxUpdateUIEvent& e) { e.Enable(true); e.Check(!theApp.m_strPointRead.IsEmpty()); });
    for (const auto& [id, mode] : {std::pair<int, const char*>{kCmdClickPause, "Pause"},
                                   std::pair<int, const char*>{kCmdClickContinue, "Continue"}}) {
        const CString value = mode;
        command(id, [value] { theApp.m_strClickReadMode = value; });
        update(id, [value](wxUpdateUIEvent& e) {
            const bool on = !theApp.m_strPointRead.IsEmpty();
            e.Enable(on);
            e.Check(on && theApp.m_strClickReadMode == value);
        });
    }

    // Subtitle offset.
    command(kCmdFast, [this] { OnSubtitleOffsetStep(-200); });
    update(kCmdFast, whilePlaying);
    command(kCmdSlow, [this] { OnSubtitleOffsetStep(200); });
    update(kCmdSlow, whilePlaying);
    command(kCmdOffsetReset, [this] { SetSubtitleOffset(0); });
    update(kCmdOffsetReset, whilePlaying);
    command(kCmdOffsetEdit, [this] { OnSubtitleOffsetTyped(); });
    update(kCmdOffsetEdit, always);

    // The talk catalogue: categories and sort columns keep the other member.
    for (const SValueCommand& c : kCategoryCommands) {
        const CString value = c.value;
        command(c.id, [this, value] { RefillTalkList(value, theApp.m_strTalkSortField, true); });
        update(c.id, [value](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strTalkCategory == value); });
    }
    for (const SValueCommand& c : kSortCommands) {
        const CString value = c.value;
        command(c.id, [this, value] { RefillTalkList(theApp.m_strTalkCategory, value, true); });
        update(c.id, [value](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strTalkSortField == value); });
    }
    for (const auto& [id, filter] : {std::pair<int, const char*>{kCmdFilterBoth, "Both"},
                                     std::pair<int, const char*>{kCmdFilterScript, "Script"},
                                     std::pair<int, const char*>{kCmdFilterVideo, "Vedio"}}) {
        const CString value = filter;
        const bool showPane = id != kCmdFilterVideo;
        command(id, [this, value, showPane] {
            theApp.m_strPlaylistFilter = value;
            RefillTalkList(theApp.m_strTalkCategory, theApp.m_strTalkSortField, showPane);
        });
        update(id, [value](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strPlaylistFilter == value); });
    }
    for (const auto& [id, language] : {std::pair<int, const char*>{kCmdPlaylistEng, "eng"},
                                       std::pair<int, const char*>{kCmdPlaylistChn, "chn"}}) {
        const CString value = language;
        command(id, [this, value] {
            theApp.m_strPlaylistLanguage = value;
            RefillTalkList(theApp.m_strTalkCategory, theApp.m_strTalkSortField, true);
        });
        update(id, [value](wxUpdateUIEvent& e) { e.Enable(true); e.Check(theApp.m_strPlaylistLanguage == value); });
    }
    command(kCmdShowTalkInfo, [] { theApp.m_strShowTalkInfo = Toggled(theApp.m_strShowTalkInfo); });
    update(kCmdShowTalkInfo, [](wxUpdateUIEvent& e) { e.Enable(true); e.Check(!theApp.m_strShowTalkInfo.IsEmpty()); });
    command(kCmdPopularOnly, [this] {
        theApp.m_strPopularOnly = Toggled(theApp.m_strPopularOnly);
        if (!theApp.m_strPopularOnly.IsEmpty())
            m_wndPlayListPane->LoadFamousIds();
        RefillTalkList(theApp.m_strTalkCategory, theApp.m_strTalkSortField, true);
    });
    update(kCmdPopularOnly, [](wxUpdateUIEvent& e) { e.Enable(true); e.Check(!theApp.m_strPopularOnly.IsEmpty()); });
    command(kCmdRebuildWordFrequency, [this] {
        if (ShowMessageBox("大约要耗时4个小时，\n您确定要重新生成吗？", "HalvikEnglish", wxOK | wxCANCEL, this) == wxOK)
            m_wndPlayListPane->RebuildWordFrequency();
    });
    command(kCmdSearch, [this] { OnSearchCommand(); });
    update(kCmdSearch, always);

    // Update.
    command(kCmdUpdateSoft, [this] {
        // The server may take many seconds to answer: the learner sees at
        // once that the check runs; its outcome replaces this caption.
        ShowCaptionMessage(kMessageInfo, kUpdateCheckRunningText, 30);
        SetTimer(kTimerUpdateCheck, 1000);
    });
    update(kCmdUpdateSoft, always);

    // The status bar.
    command(kCmdProgressSlider, [this] { OnProgressSlider(); });
    update(kCmdProgressSlider, [this](wxUpdateUIEvent& e) {
        e.Enable(theApp.m_strPlayState == "OnPlay" && ActiveViewKind() == kViewLesson &&
                 theApp.m_nMediaLength > 10000);
    });
    command(kCmdVolumePane, [this] { OnVolumePane(); });
    update(kCmdVolumePane, always);
    command(kCmdVolumeSlider, [this] { OnVolumeSlider(); });
    update(kCmdVolumeSlider, always);
    command(kCmdSentenceCounter, [] {});
    update(kCmdSentenceCounter, always);
    command(kCmdDownloadInfo, [this] { ShowDownloader(); });
    update(kCmdDownloadInfo, always);
}

void CMainFrame::SetPaneCaption(CDockablePane* pane, const CString& text)
{
    pane->SetLabel(ToWx(text));
    wxAuiPaneInfo& info = m_auiManager.GetPane(pane);
    if (info.IsOk()) {
        info.Caption(ToWx(text));
        m_auiManager.Update();
    }
}

void CMainFrame::ShowPlayListPane()
{
    DockPane(m_wndPlayListPane);
    ShowPane(m_wndPlayListPane, true);
    SetPlayListPaneSize(theApp.m_nScreenWidth);
    ShowPane(m_wndDetailWordPane, false);
    ShowPane(m_wndPlayerPane, false);
    ShowPane(m_wndPlayFromPanPane, false);
}

void CMainFrame::OnPlaylist()
{
    ShowPane(m_wndPlayListPane, true);
    DockPane(m_wndPlayListPane);
    SetPlayListPaneSize(theApp.m_strContentKind == "ted" ? theApp.m_nScreenWidth : theApp.m_nScreenWidth / 2);
    ShowPane(m_wndDetailWordPane, false);
    ShowPane(m_wndPlayerPane, false);
}

void CMainFrame::OnOpendict() { ShowDictionaryPane(); }

void CMainFrame::OnPlayFromPan()
{
    ShowPane(m_wndDetailWordPane, false);
    ShowPane(m_wndPlayerPane, false);
    ShowPane(m_wndPlayListPane, false);
    DockPane(m_wndPlayFromPanPane);
    ShowPane(m_wndPlayFromPanPane, true);
    SetPlayFromPanPaneSize(theApp.m_nScreenWidth);
    m_wndPlayFromPanPane->OnFirstShow();
}

void CMainFrame::OnOpenPlaylistFolder() { OpenOnDesktop(theApp.m_strAppDir + "Playlist/"); }

void CMainFrame::OnToggleRibbonPanels()
{
    wxRibbonBar* bar = m_pRibbonBar->GetRibbonBar();
    if (m_strPanelsShown == "true") {
        m_strPanelsShown = "false";
        bar->ShowPanels(false);
        theApp.m_nVisibleLines += 3;
    } else {
        m_strPanelsShown = "true";
        bar->ShowPanels(true);
        theApp.m_nVisibleLines -= 3;
    }
    Layout();
}

void CMainFrame::OnSubtitleOffsetStep(int step)
{
    SetSubtitleOffset(theApp.m_nTimeOffset + step);
}

void CMainFrame::SetSubtitleOffset(int offset)
{
    theApp.m_nTimeOffset = offset;
    theApp.m_strTimeOffsetMedia = theApp.m_strMediaPath;
    // The box shows how far the subtitles come earlier: "200" after one
    // press of 快进200毫秒.
    theApp.m_strTimeOffsetText.Format("%d", -theApp.m_nTimeOffset);
    if (!m_pRibbonBar->FindStandIn(kCmdOffsetEdit))
        return;
    m_pRibbonBar->SetEditText(kCmdOffsetEdit, theApp.m_strTimeOffsetText);
    // Several presses within a second lead to one rewrite of the subtitle files.
    KillTimer(kTimerSubtitleOffset);
    SetTimer(kTimerSubtitleOffset, 1000);
}

void CMainFrame::OnSubtitleOffsetTyped()
{
    const CString typed = m_pRibbonBar->GetEditText(kCmdOffsetEdit);
    int earlier = 0;
    if (!ParseOffsetText(typed, earlier)) {
        CString shown;
        shown.Format("%d", -theApp.m_nTimeOffset);
        m_pRibbonBar->SetEditText(kCmdOffsetEdit, shown);
        CString message;
        message.Format("偏移量须是 -%d 到 %d 之间的整数（毫秒，正数让字幕提前）。", kMaxTypedOffsetMs,
                       kMaxTypedOffsetMs);
        theApp.ShowMessage(message, "error", 5000);
        return;
    }
    if (-earlier == theApp.m_nTimeOffset) {
        // Only the way it was written changes ("+200", " 200 ").
        CString shown;
        shown.Format("%d", earlier);
        m_pRibbonBar->SetEditText(kCmdOffsetEdit, shown);
        return;
    }
    SetSubtitleOffset(-earlier);
}

void CMainFrame::RefillTalkList(const CString& category, const CString& sortField, bool showPane)
{
    m_wndPlayListPane->FillTalkList(category, sortField);
    // Every refill shows its own count, also after the local view took the
    // caption.
    SetPaneCaption(m_wndPlayListPane, theApp.m_strPlaylistCaption);
    if (showPane)
        ShowPlayListPane();
}

void CMainFrame::OnSearchCommand()
{
    m_dlgSearch->Show();
    m_dlgSearch->m_editSearch->SetFocus();
    const wxPoint cursor = wxGetMousePosition();
    m_dlgSearch->SetSize(cursor.x + 30, cursor.y - 20, 200, 30);
    SetTimer(kTimerSearchBox, 1000);
    ShowPlayListPane();
}

void CMainFrame::OnProgressSlider()
{
    if (theApp.m_nMediaLength < 1000) {
        ShowCaptionMessage(2, "当前状态不支持拖放！", 5);
        return;
    }
    CVlcPlayer* player = GetMainPlayer();
    const int64_t pos = m_pProgressSlider->GetPos();
    const int64_t length = theApp.m_nMediaLength;
    if (theApp.m_strPlayingNetFile.IsEmpty()) {
        if (player)
            player->Seek(pos * length / 10000);
        return;
    }
    // A file still downloading: never seek beyond what has arrived, less a
    // thirtieth of the file as margin.
    const uint64_t total = static_cast<uint64_t>(theApp.m_nNetFileSize);
    const uint64_t downloaded = m_downloadProgress.m_nDownloadedBytes;
    const uint64_t target = static_cast<uint64_t>(pos) * total / 10000;
    const uint64_t margin = total / 30;
    if (downloaded > target + margin) {
        if (player)
            player->Seek(pos * length / 10000);
    } else if (total != 0 && downloaded > margin) {
        if (player)
            player->Seek(static_cast<int64_t>((downloaded - margin) * static_cast<uint64_t>(length) / total));
    }
}

// The volume is the learner's one setting for both players.
void CMainFrame::ApplyVolumeToPlayers()
{
    if (CVlcPlayer* player = GetMainPlayer())
        player->SetVolume(theApp.m_nVolume);
    if (theApp.m_pStreamDlg && theApp.m_pStreamDlg->m_player)
        theApp.m_pStreamDlg->m_player->SetVolume(theApp.m_nVolume);
}

void CMainFrame::OnVolumePane()
{
    ApplyVolumeToPlayers();
    m_pVolumeSlider->SetPos(theApp.m_nVolume);
}

void CMainFrame::OnVolumeSlider()
{
    theApp.m_nVolume = m_pVolumeSlider->GetPos();
    ApplyVolumeToPlayers();
}

void CMainFrame::ShowDownloader()
{
    // Queuing starts the downloader when it does not run.
    SendDownloaderCommand(kCmdShowDownloader);
}

void CMainFrame::LookUpClipboardText()
{
    // A selection in an HTML window switches the toolkit to the primary
    // selection and leaves it there; the look-up reads the clipboard.
    wxTheClipboard->UsePrimarySelection(false);
    if (wxTheClipboard->Open()) {
        wxTextDataObject data;
        if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(data))
            m_strClipText = FromWx(data.GetText());
        wxTheClipboard->Close();
        m_strClipText.Trim();
    }
    if (m_strClipText.IsEmpty() || m_strClipText == m_strLastClipText)
        return;
    if (m_strClipText.Find(' ', 1) > 0)
        m_wndDetailWordPane->TranslateText(m_strClipText);
    else
        m_wndDetailWordPane->LookUpWord(m_strClipText);
    if (m_wndDetailWordPane->m_comboWord) {
        m_wndDetailWordPane->m_comboWord->ChangeValue(ToWx(m_strClipText));
        m_wndDetailWordPane->m_comboWord->SetFocus();
    }
    m_strLastClipText = m_strClipText;
    ShowPane(m_wndDetailWordPane, true);
    CVlcPlayer* player = GetMainPlayer();
    if (player && player->GetState() == 3) {
        OnPause();
        SetTimer(kTimerSubtitleToPlayer, 200);
    }
}
