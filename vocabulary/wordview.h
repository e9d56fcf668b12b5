// A browser view for the word table page: a double click in its page copies
// the selection and has the main frame look the copied text up, twice, since
// the web engine may put its copy on the clipboard only after the first
// look-up has read it. Nothing creates it.
#pragma once

#include "ui/viewbase.h"
#include "ui/windowtimers.h"

class CExplorer1;

class CWordView : public CView {
public:
    static constexpr int kBrowserId = 1001;

    enum EWordViewTimer {
        kTimerLookUpSelection = 100,   // 200 ms once: double click
        kTimerLookUpAgain = 200,       // 200 ms once: after kTimerLookUpSelection
    };

    CWordView();
    bool Create(wxWindow* host, int id) override;

    void OnDoubleClick();
    void OnTimer(int id);
    // Copies the selection of the page shown to the clipboard (nothing
    // selected: the clipboard keeps what it holds).
    void CopySelection();
    // Writes the word table page "AppData/word/word.html" from the word
    // list; false when it could not be written.
    static bool WriteWordTable();

    CExplorer1* m_browser = nullptr;
    CWindowTimers m_timers;
};
