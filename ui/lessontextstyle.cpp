#include "ui/lessontextstyle.h"

#include <wx/stc/stc.h>

#include "ui/wxcolour.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

SLessonTextStyle CurrentLessonTextStyle()
{
    SLessonTextStyle style;
    if (!theApp.m_strFontName.IsEmpty())
        style.face = theApp.m_strFontName;
    if (theApp.m_nFontSize > 0)
        style.points = theApp.m_nFontSize;
    style.text = theApp.m_clrText;
    style.background = theApp.m_clrBackground;
    return style;
}

void SetUpLessonTextCtrl(wxStyledTextCtrl& control, bool readOnly)
{
    for (int margin = 0; margin <= wxSTC_MAX_MARGIN; ++margin)
        control.SetMarginWidth(margin, 0);
    control.SetWrapMode(wxSTC_WRAP_NONE);
    control.SetEOLMode(wxSTC_EOL_LF);
    control.UsePopUp(wxSTC_POPUP_NEVER);
    control.SetReadOnly(readOnly);
}

void ApplyLessonTextStyle(wxStyledTextCtrl& control, const SLessonTextStyle& style)
{
    const wxColour text = ToWxColour(style.text);
    const wxColour background = ToWxColour(style.background);
    control.StyleSetFaceName(wxSTC_STYLE_DEFAULT, ToWx(style.face));
    control.StyleSetSize(wxSTC_STYLE_DEFAULT, style.points);
    control.StyleSetBold(wxSTC_STYLE_DEFAULT, style.bold);
    control.StyleSetForeground(wxSTC_STYLE_DEFAULT, text);
    control.StyleSetBackground(wxSTC_STYLE_DEFAULT, background);
    // Every character carries style 0 (there is no lexer), so copying the
    // default style to all styles formats the whole text and any text to come.
    control.StyleClearAll();
    control.SetCaretForeground(text);
    control.GotoPos(0);
}

void SetControlText(wxStyledTextCtrl& control, const CString& text)
{
    const bool readOnly = control.GetReadOnly();
    control.SetReadOnly(false);
    control.SetText(ToWx(text));
    control.EmptyUndoBuffer();
    control.SetReadOnly(readOnly);
}
