// The playlist pane: a dockable pane filled by the local media tree, in which
// the talk catalogue or the local playlists are shown.
#pragma once

#include "shell/base/viewbase.h"

class CLocalViewTree;

class CPlayListPane : public CDockablePane {
public:
    CPlayListPane() = default;

    // Caption "Playlist(播放列表)", id 602.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // Tree text colour m_clrText, background m_clrBackground.
    void ApplyColors();
    // Remembers the category ("" for all, "1" to "6" or "99") and the sort
    // column ("" means "id") in m_strTalkCategory and m_strTalkSortField.
    void FillTalkList(const CString& category, const CString& sortField);
    // Fills the popular-talk id list when it is empty.
    void LoadFamousIds();
    void RebuildWordFrequency();
    // Deletes every ".srt" file below the folder, sub-folders included.
    void DeleteSrtFiles(const CString& folder);

    CLocalViewTree* m_wndLocalTree = nullptr;
    CStringArray m_arrFamousIds;   // popular talk ids
    CStringArray m_arrSrtFiles;    // the files DeleteSrtFiles found last
};
