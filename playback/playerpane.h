// The player pane: a dockable pane filled by the player window.
#pragma once

#include "shell/viewbase.h"

class CPlayerDlg;

class CPlayerPane : public CDockablePane {
public:
    CPlayerPane() = default;

    // Caption "播放器窗口", id 604.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    CPlayerDlg* m_dlgPlayer = nullptr;
};
