// The playlist pane ("Playlist(播放列表)", id 602): a toolbar for the
// playlist folders and the local media tree, which shows either the talk
// catalogue (one item per talk) or the local media view (the current play
// list, the play history and the playlist folders). The pane's commands act
// on the tree's selected items: playlist folders and history entries, talk
// downloads, exports of lesson scripts as dialogue text and LRC files.
#pragma once

#include <functional>
#include <vector>

#include <wx/timer.h>
#include <wx/treectrl.h>

#include "catalogue/core/talkdownload.h"
#include "core/downloaderexchange.h"
#include "ui/viewbase.h"

class CLocalViewTree;
class CPaneToolBar;

class CPlayListPane : public CDockablePane {
public:
    enum { IDC_TOOLBAR = 132 };
    // Timer 300 hides the talk information page once the pointer has left it.
    enum EPlayListPaneTimer { kTimerFocusTree = 200, kTimerTalkInfo = 300 };

    CPlayListPane() = default;
    ~CPlayListPane() override;

    // Caption "Playlist(播放列表)", id 602.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // Tree text and line colour m_clrText, background m_clrBackground.
    void ApplyColors();

    // ---- The talk catalogue ----
    // Fills the tree with the talks of a category ("" for all) sorted by a
    // column ("" for "id"), as theApp's filter, popularity, language and
    // one-shot search text choose; the caption becomes "共有%d项" (also in
    // theApp.m_strPlaylistCaption). A category without talks leaves the
    // tree empty and the caption as it was.
    void FillTalkList(const CString& category, const CString& sortField);
    // Whether the tree holds the talk catalogue (not the local media view).
    bool ShowsTalkList() const { return m_bShowsTalkList; }
    void SetShowsTalkList(bool shows) { m_bShowsTalkList = shows; }
    // Loads the popular talk ids once.
    void LoadFamousIds();
    bool IsFamousTalk(const CString& itemText) const;
    // Recomputes every talk's word-frequency figure from the new-word book
    // and the lesson scripts in the playlist folder, with a progress bar.
    void RebuildWordFrequency();
    // Shows a talk's summary and its speaker's in the pop-up browser near the
    // pointer, across the pane.
    void ShowTalkInfo(const CString& itemText);

    // ---- Folders ----
    static bool FolderExists(const CString& path);
    static bool CreateFolder(const CString& path);
    // Collects the subtitle files directly in the folder into m_arrSrtFiles.
    // They are kept: a subtitle beside a talk may be the learner's own.
    void DeleteSrtFiles(const CString& folder);

    // ---- The commands (toolbar and context menus) ----
    void OnCommand(int commandId);
    // The menu for the caret item: none, the history menu or the item menu
    // (talk items get the download and export menu). Empty when none.
    std::vector<int> ContextMenuCommands() const;

    void OnNewPlayFolder();
    // The folder picker, replaceable by tests.
    std::function<CString()> m_browseForFolder;
    void OnDeletePlayFolder();
    void OnRefreshPlayFolders();
    void OnOpenItemFolder();
    void OnGetOnlineSubtitles();
    void OnDeleteHistoryItems();
    void OnDownloadTalk(ETalkQuality quality);
    void OnPlayTalkOnline(ETalkQuality quality);
    void OnExportTalks(bool lrc);
    void OnExportLocal(bool lrc);

    // The top-level item above an item, and the texts from it down to the
    // item joined by "/".
    wxTreeItemId GetRootItemOf(wxTreeItemId item) const;
    CString GetItemTreePath(wxTreeItemId item) const;
    // The media file a local item stands for: the folder stored for its
    // top-level item, then the rest of its tree path.
    CString GetItemMediaPath(wxTreeItemId item) const;
    // The file an item stands for: the play-list entry of an item of
    // "当前播放列表", the stored path of a history entry, else the path below
    // its playlist folder.
    CString GetItemFilePath(wxTreeItemId item) const;
    // Loads a folder with all its sub-folders under an item.
    void LoadFolderTree(const CString& folder, wxTreeItemId parent);

    CLocalViewTree* m_wndTree = nullptr;
    CPaneToolBar* m_wndToolBar = nullptr;
    std::vector<CString> m_arrFamousIds;          // popular talk ids
    CStringArray m_arrSrtFiles;                   // what DeleteSrtFiles found last
    std::vector<CString> m_arrExportScripts;      // scripts of a local export

private:
    bool CreateToolBar();
    void OnContextMenu(wxContextMenuEvent& event);
    void OnTimer(wxTimerEvent& event);
    bool IsTalkItem(wxTreeItemId item) const;
    std::vector<CString> SelectedTalkFileNames() const;
    void CollectFolderScripts(wxTreeItemId folder);
    void AddScriptOfItem(wxTreeItemId item);
    bool EnsureExportFolder(const CString& folder);
    bool ExportScript(const CString& script, const CString& output, bool lrc);
    void PostToFrame(const CString& keyword, const CString& argument);

    CDownloaderExchange m_downloaderExchange;   // starts the downloader for talk downloads
    bool m_bShowsTalkList = false;
    wxTimer m_focusTimer;
    wxTimer m_talkInfoTimer;
};
