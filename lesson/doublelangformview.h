// The bilingual list view: every sentence of the lesson as a numbered English
// line followed by its indented Chinese line. The main frame creates it with
// child id 374 and rebuilds its text with BuildText.
#pragma once

#include "platform/cstring.h"
#include "shell/viewbase.h"
#include "shell/windowtimers.h"

class wxStyledTextCtrl;

class CDoubleLangFormView : public CView {
public:
    // The follow timer: 100 ms, started by BuildText.
    static constexpr int kFollowTimer = 100;
    static constexpr int kFollowInterval = 100;
    static constexpr int kTextId = 1014;

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

    wxStyledTextCtrl* m_richText = nullptr;
    // The font-change counter this view applied last.
    int m_nFontCountDoubleLangView = 0;
    // The sentence the follow timer last showed.
    int m_nShownSentence = 0;
    CWindowTimers m_timers;

private:
    // The list text for the given sentence texts (same index; as many entries
    // as both lists have): number + "." + English + two blanks for numbers
    // up to 10, four after + Chinese. Each text carries its own line end.
    static CString FormatListText(const CStringArray& english, const CStringArray& chinese);
};
