// The dictionary pane ("词典窗口", id 603): a word box at the top and the web
// view that shows the page of the word below it. Every window that looks a
// word up does it through this pane of the main frame.
#pragma once

#include "platform/cstring.h"
#include "shell/base/viewbase.h"

class wxComboBox;
class CWordOnlineView;

class CDetailWordPane : public CDockablePane {
public:
    CDetailWordPane() = default;
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // Makes the word the current word and the word box's text (trimmed), adds
    // it to the look-up history when it is not there yet, and reports it as
    // not found (m_strWordFound empty, result 0): the pane has no dictionary
    // to search.
    int LookUpWord(const CString& word);
    // Keeps the text as the last text handed to the pane.
    void TranslateText(const CString& text);
    // Leaves the new-word book as it is: the pane does not write to it.
    void OnSaveWord();
    // Leaves the new-word book as it is: the pane does not write to it.
    void OnDelWord();
    // Shows a local page (a file path) in the web view.
    void ShowLocalPage(const CString& path);

    CWordOnlineView* m_pWordView = nullptr;
    wxComboBox* m_comboWord = nullptr;
    // The last word or text handed to the pane.
    CString m_strLastWord;
};
