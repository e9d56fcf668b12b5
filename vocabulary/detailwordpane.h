// The dictionary pane ("词典窗口", id 603): a toolbar (previous and next word
// of the look-up history, online and local dictionary, save to and delete
// from the new-word book), a word box that suggests dictionary words as the
// learner types, and the web view that shows the page of the word. Every
// window that looks a word up does it through this pane of the main frame.
#pragma once

#include <string>

#include "platform/cstring.h"
#include "ui/viewbase.h"
#include "ui/windowtimers.h"

class wxComboBox;
class CPaneToolBar;
class CWordOnlineView;

class CDetailWordPane : public CDockablePane {
public:
    enum EPaneTimer {
        kTimerCloseUpLookup = 300,   // the word box's list closed: look its text up
    };
    static constexpr int kCloseUpDelayMs = 500;
    static constexpr int kMaxSuggestions = 10;

    CDetailWordPane();
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // Looks a word up: it becomes the word box's text (trimmed) and joins the
    // look-up history when it is not there yet. In the online mode the pane
    // opens the online dictionary page. Locally the word or a base form of it
    // is looked up in the shipped dictionary and a page is written to
    // theApp.m_strDictWordHtmlPath and shown (unless m_strAutoLookup asks for
    // a silent look-up): found, the entry's page, the form found becomes the
    // current word and m_strWordFound "true"; not found, a page saying so
    // with a link to the online page, and m_strWordFound is empty; no
    // dictionary: that page too, and "false". Returns 1 when found (or
    // online), else 0.
    int LookUpWord(const CString& word);
    // Opens the online translation page of a text and shows the pane; the
    // dictionary and the history are left alone.
    void TranslateText(const CString& text);
    // Saves the current word (theApp.m_strCurrentWord) into the new-word book
    // and says how it went ("保存成功！", the word is there already, or failed).
    void OnSaveWord();
    // Deletes the current word from the new-word book ("删除成功！" or failed).
    void OnDelWord();

    // ---- The subtitle store (packages of lessons keyed by a media digest) ----
    // Whether a library of the subtitle folder holds the key.
    bool IsInSubtitleLibrary(const CString& key);
    // Looks theApp.m_strMediaSha1 up in the libraries and unpacks its lesson:
    // m_strScriptPath names it. Returns the key when a library holds it ("" when
    // none does); a damaged package gives the blank lesson and
    // "字幕库文件已经破损！".
    CString LoadSubtitleFromLibrary();
    // Shows a local page (a file path) in the web view.
    void ShowLocalPage(const CString& path);

    // The history buttons: the word before or after the current position of
    // the look-up history, when there is one.
    void OnPrevWord();
    void OnNextWord();
    bool CanGoToPreviousWord() const;
    bool CanGoToNextWord() const;
    // The mode buttons: online or local dictionary; the current word is
    // looked up again in the new mode.
    void OnWordWeb();
    void OnWordHome();
    // The toolbar's enabled and checked states and the word box (typed into
    // only in the local mode) as the history and the mode stand.
    void UpdateControlStates();

    // The word box: its text was edited (fills the suggestions), Enter was
    // pressed in it (one look-up), its list closed (a look-up shortly after).
    void OnEditChangeWord();
    void OnWordEntered();
    void OnCloseUpWord();
    // A word a double click picked in the page shown.
    void OnWordPicked(const CString& selection);
    void OnTimer(int id);

    // The toolbar tool that issues a command (kCmdPrevWord ... kCmdDelWord).
    int ToolIdOf(int command) const;

    CPaneToolBar* m_toolBar = nullptr;
    wxComboBox* m_comboWord = nullptr;
    CWordOnlineView* m_pWordView = nullptr;
    // The last word or text handed to the pane.
    CString m_strLastWord;
    // The last online address opened.
    CString m_strUrl;

private:
    bool CreateToolBar();
    // Writes a dictionary page to theApp.m_strDictWordHtmlPath and, unless
    // silent, shows it. A page that cannot be written is shown from memory
    // wherever that path is opened, after a message.
    void ShowWordPage(const std::string& page, bool silent);
    void ShowOnline(const CString& address);
    void ShowPane();
    // Looks the word box's text up as the learner's own look-up.
    void LookUpBoxText();
    void LookUpHistoryEntry(int position);
    void SwitchLookupMode(const char* mode);

    CWindowTimers m_timers;
};
