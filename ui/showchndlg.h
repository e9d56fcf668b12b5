// The Chinese caption strip of the lesson view: a borderless child window of
// the view whose text shows the current sentence's Chinese line. The view
// lays it out along its bottom edge, under the lesson text, so that it moves,
// resizes, hides and is covered together with the view; this class gives the
// window, its text format and the height its text needs (see
// ui/showmsgdlg.h for the text control used).
#pragma once

#include <wx/textctrl.h>
#include <wx/window.h>

#include "ui/showmsgdlg.h"

class CShowChnDlg : public wxWindow {
public:
    enum { IDC_CAPTION = 1014 };

    CShowChnDlg();
    ~CShowChnDlg() override;

    // Creates the window hidden, as a child of parent (the lesson view).
    bool Create(wxWindow* parent);

    // The window has no text operation of its own: its users write into
    // m_richCaption. Kept for callers that expect one; it does nothing.
    void ShowText(const CString& text);

    // Formats the caption from the lesson font of the application object:
    // bold, its face (at most 31 bytes, cut at a character boundary), its
    // size in points (16 while none is set), blue on orange, read-only.
    void ApplyTextFormat();

    // The height that shows the whole of the current text at the given width
    // (long lines wrap, at most kMaxLines of them), with the text's margins.
    int HeightFor(int width) const;
    static constexpr int kMaxLines = 3;

    SRichTextFormat m_cfCaption;
    wxTextCtrl* m_richCaption = nullptr;

private:
    void OnSize(wxSizeEvent& event);
};
