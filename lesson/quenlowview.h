// The lesson view: the central view that shows the lesson text, one subtitle
// line per text line, and follows the sentence that is playing. The main
// frame creates it with child id 501.
#pragma once

#include "platform/cstring.h"
#include "shell/viewbase.h"
#include "shell/windowtimers.h"

class wxStyledTextCtrl;
class CShowChnDlg;

class CQuenlowView : public CView {
public:
    // The follow timer: 100 ms, started by StartFollowing.
    static constexpr int kFollowTimer = 300;
    static constexpr int kFollowInterval = 100;
    static constexpr int kTextId = 1014;

    CQuenlowView();
    ~CQuenlowView() override;

    bool Create(wxWindow* host, int id) override;
    // Gives the text its format once the frame has created the view.
    void OnInitialUpdate() override;

    // Empties the view's text and the sentence model.
    void LoadSubtitleFile();
    // Starts following the lesson from sentence 0; the argument is not used.
    void StartFollowing(const CString& unused);
    // The lesson font and colours on the whole text and as the format of text
    // put in later.
    void ApplyTextFormat();
    // Re-applies the formats of the view and of its caption window when the
    // application's font-change counter moved since the view last applied them.
    void UpdateFontIfChanged();
    // Pixels from one text line to the next; 10 when the text has no height.
    int GetLineHeight();
    // Creates the Chinese caption window hidden, with no parent and no size.
    void CreateCaptionDialog();

    void OnTimer(int id);

    wxStyledTextCtrl* m_richText = nullptr;
    CShowChnDlg* m_pShowChnDlg = nullptr;
    CWindowTimers m_timers;
};
