// The message window: a borderless strip with a close button at its left end
// and a one-line text filling the rest. The application object creates it
// hidden at start-up and the main frame keeps it along its bottom edge; the
// messages themselves appear in the caption bar, so it normally stays hidden.
//
// The rich edit of the layout is a read-only multi-line wxTextCtrl with
// wxTE_RICH2: it takes a default character format, a background colour,
// margins and paragraph alignment, which is all its users need.
#pragma once

#include <memory>

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CWindowTimers;

// The character format of the two one-line text windows (this one and the
// Chinese caption window).
struct SRichTextFormat {
    CString face;              // empty: the toolkit's default face
    int heightTwips = 0;       // 20 twips a point
    bool bold = false;
    COLORREF textColour = 0;
};

// Makes format the text's default and current format, paints the text's
// background in backColour and makes the text read-only.
void ApplyRichTextFormat(wxTextCtrl& text, const SRichTextFormat& format, COLORREF backColour);

class CShowMsgDlg : public wxDialog {
public:
    enum { IDC_MESSAGE = 1014, IDC_FOCUS_SINK = 1023, IDC_CLOSE = 1108 };
    // Timers of the window.
    enum EShowMsgDlgTimer { kHideTimer = 100 };

    CShowMsgDlg();
    ~CShowMsgDlg() override;

    // Creates the window hidden; parent may be null.
    bool Create(wxWindow* parent);

    // Puts a text into the window in bold 18-point type of the given colours
    // and takes the focus away from it. Does not show the window.
    void ShowText(const CString& text, COLORREF backColour, COLORREF textColour);

    // kHideTimer hides the window; nothing starts it, but it is honoured.
    void OnTimer(int id);

    // A square close button at the left, the text in the rest.
    void LayoutControls(int cx, int cy);

    SRichTextFormat m_cfMessage;
    wxTextCtrl* m_richMessage = nullptr;
    wxTextCtrl* m_editFocusSink = nullptr;   // only takes the focus from the text
    wxButton* m_btnClose = nullptr;

private:
    void OnSize(wxSizeEvent& event);
    void OnBnClickedClose(wxCommandEvent& event);

    std::unique_ptr<CWindowTimers> m_timers;
};
