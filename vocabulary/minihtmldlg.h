// The pop-up dictionary browser: a small window with a browser control in
// which the program shows a single page outside the panes (the dictionary
// page of a word), with a row of icon buttons above it. There is one for the
// whole run (theApp.m_dlgMiniHtml); the main frame creates it hidden, and the
// windows that use it navigate its browser and show or move it.
//
// The buttons do not act themselves: previous, next, save and delete leave a
// keyword in theApp.m_strWordPaneCommand, which the main frame's one-second
// timer performs on the dictionary pane (a second click before that replaces
// the first); exit hides the window and keeps the page.
#pragma once

#include <wx/dialog.h>

#include "platform/cstring.h"

class CButtonST;
class CExplorer1;

class CMiniHtmlDlg : public wxDialog {
public:
    static constexpr int kBrowserId = 1001;
    enum EButton {
        kPrevWordButton = 1094,
        kNextWordButton = 1126,
        kSaveWordButton = 1129,
        kDelWordButton = 1130,
        kExitButton = 1131,
    };
    static constexpr int kButtonSize = 24;
    static constexpr int kBrowserTop = 25;

    CMiniHtmlDlg() = default;
    // Creates the window hidden (500 x 350 pixels) with its buttons and the
    // browser below them.
    bool Create(wxWindow* parent);

    // The keyword a button leaves for the main frame; empty for exit.
    static CString KeywordOf(int buttonId);
    CButtonST* GetButton(int buttonId) const;

    CExplorer1* m_browser = nullptr;

private:
    void OnButton(int buttonId);
    void LayOut();
};
