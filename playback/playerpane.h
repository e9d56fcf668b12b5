// The player pane: a dockable pane filled by the player dialog.
#pragma once

#include "ui/viewbase.h"

class CPlayerDlg;

class CPlayerPane : public CDockablePane {
public:
    CPlayerPane() = default;
    ~CPlayerPane() override;

    // Caption "播放器窗口", id 604. Creates the dialog at (0, 0), 500 x 500.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // The player dialog; a child of the pane except while its video is full
    // screen.
    CPlayerDlg* m_dlgPlayer = nullptr;

private:
    void OnSize(wxSizeEvent& event);
};
