// The bilingual list view: every sentence of the lesson as a numbered English
// line followed by its indented Chinese line. The main frame creates it with
// child id 374 and rebuilds its text with BuildText. While it is up it marks
// the entry of the sentence the lesson view follows, and a double click
// looks the selected word up in the dictionary pane.
#pragma once

#include "platform/cstring.h"
#include "ui/viewbase.h"
#include "ui/windowtimers.h"

class IMainFrameHost;
class wxListCtrl;
class wxMouseEvent;
class wxStyledTextCtrl;

class CDoubleLangFormView : public CView {
public:
    // Timers of the view.
    enum EDoubleLangFormViewTimer {
        kFollowTimer = 100,    // 100 ms, started by BuildText
        kTimerLookUp = 200,    // 200 ms once: the look-up after a double click
        kTimerSentenceChange = 300,   // once: a sentence change due before the next follow tick
    };
    static constexpr int kFollowInterval = 100;
    static constexpr int kLookUpDelay = 200;
    static constexpr int kTextId = 1014;
    static constexpr int kSpareListId = 1015;

    CDoubleLangFormView();
    ~CDoubleLangFormView() override;

    bool Create(wxWindow* host, int id) override;

    // Puts the list of the current sentence model into the view, formats it
    // and starts the follow timer.
    void BuildText();
    // The lesson font and colours on the whole text.
    void ApplyTextFormat();
    // Re-applies the format when the application's font-change counter moved
    // since this view last applied it.
    void UpdateFontIfChanged();

    void OnTimer(int id);
    // kFollowTimer's work: when the lesson's current sentence changed, selects
    // its entry (the numbered English line and its Chinese line) and pages
    // the list down when the entry nears the bottom.
    void FollowCurrentSentence();
    // Follows again just after the next sentence change when it comes before
    // the next follow tick (by the main player's estimated time), so the
    // mark moves on time.
    void ScheduleSentenceChange();
    // kTimerLookUp's work: the selection, trimmed, is looked up in the
    // dictionary pane, which is then shown.
    void LookUpSelection();
    // The control position of the entry number "n." at the start of a line;
    // -1 when no line starts with it. Numbers inside a sentence never count.
    int FindEntryNumber(int number) const;

    wxStyledTextCtrl* m_richText = nullptr;
    // Hidden once the text is built; nothing else uses it.
    wxListCtrl* m_listSpare = nullptr;
    // The font-change counter this view applied last.
    int m_nFontCountDoubleLangView = 0;
    // The sentence the follow timer last handled.
    int m_nShownSentence = 0;
    // The main frame, taken from MainFrameHost() before each use.
    IMainFrameHost* m_pMainFrame = nullptr;
    CWindowTimers m_timers;

private:
    // The list text for the given sentence texts (same index; as many entries
    // as both lists have): number + "." + English + two blanks for numbers
    // up to 10, four after + Chinese, each followed by one line end.
    static CString FormatListText(const CStringArray& english, const CStringArray& chinese);

    void OnDoubleClick(wxMouseEvent& event);
};
