// The Chinese caption window of the lesson view: a borderless pop-up whose
// one-line text fills it. The lesson view writes the Chinese line of the
// current sentence into m_richCaption, places the window as a strip along
// its bottom edge and shows and hides it; this class gives the window and the
// text format (see ui/showmsgdlg.h for the text control used).
#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "ui/showmsgdlg.h"

class CShowChnDlg : public wxDialog {
public:
    enum { IDC_CAPTION = 1014 };

    CShowChnDlg();
    ~CShowChnDlg() override;

    // Creates the window hidden; parent may be null.
    bool Create(wxWindow* parent);

    // The window has no text operation of its own: its users write into
    // m_richCaption. Kept for callers that expect one; it does nothing.
    void ShowText(const CString& text);

    // Formats the caption from the lesson font of the application object:
    // bold, its face (at most 31 bytes, cut at a character boundary), its
    // size in points, blue on orange, read-only.
    void ApplyTextFormat();

    SRichTextFormat m_cfCaption;
    wxTextCtrl* m_richCaption = nullptr;

private:
    void OnSize(wxSizeEvent& event);
};
