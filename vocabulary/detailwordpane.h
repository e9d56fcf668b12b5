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

    // Looks a word up: it becomes the word box's text (trimmed) and joins the
    // look-up history when it is not there yet. In the online mode the pane
    // opens the online dictionary page. Locally the word or a base form of it
    // is looked up in the shipped dictionary: found, its page is written to
    // theApp.m_strDictWordHtmlPath and shown (unless m_strAutoLookup asks for
    // a silent look-up), the form found becomes the current word and
    // m_strWordFound "true"; not found, m_strWordFound is empty and the online
    // page opens unless the look-up is silent or the mouse picks words; no
    // dictionary: "false". Returns 1 when found (or online), else 0.
    int LookUpWord(const CString& word);
    // Keeps the text as the last text handed to the pane.
    void TranslateText(const CString& text);
    // Saves the current word (theApp.m_strCurrentWord) into the new-word book
    // and says how it went ("保存成功！", the word is there already, or failed).
    void OnSaveWord();
    // Deletes the current word from the new-word book ("删除成功！" or failed).
    void OnDelWord();
    // Shows a local page (a file path) in the web view.
    void ShowLocalPage(const CString& path);

    CWordOnlineView* m_pWordView = nullptr;
    wxComboBox* m_comboWord = nullptr;
    // The last word or text handed to the pane.
    CString m_strLastWord;
    // The last online address opened.
    CString m_strUrl;

private:
    void ShowOnline(const CString& address);
};
