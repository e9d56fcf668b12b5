#include "ui/lessontextstyle.h"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/stc/stc.h>

#include <gtk/gtk.h>

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

void KeepScrollBarsShown(wxStyledTextCtrl& control)
{
    GtkWidget* widget = control.GetHandle();
    if (widget != nullptr && GTK_IS_SCROLLED_WINDOW(widget))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), FALSE);
}

namespace {

// The rows a drawn text's glyphs take, counted from the top of where it is
// drawn (they may lie above it: negative).
struct SInkRows {
    int first = 0;
    int last = -1;
};

SInkRows MeasureInk(const wxFont& font, const char8_t* utf8)
{
    const wxString text = wxString::FromUTF8(reinterpret_cast<const char*>(utf8));
    wxBitmap probe(1, 1);
    wxMemoryDC measure(probe);
    measure.SetFont(font);
    const wxSize size = measure.GetTextExtent(text);
    measure.SelectObject(wxNullBitmap);

    // Drawn with room around it: glyphs may reach beyond the text's extent.
    const int top = size.y;
    wxBitmap bitmap(size.x + 8, 3 * size.y);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        dc.SetFont(font);
        dc.SetTextForeground(*wxBLACK);
        dc.DrawText(text, 4, top);
    }
    const wxImage image = bitmap.ConvertToImage();
    SInkRows rows{0, -1};
    bool any = false;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 200) {
                if (!any)
                    rows.first = y - top;
                rows.last = y - top;
                any = true;
                break;
            }
        }
    }
    return rows;
}

// The control places every drawn run of text by the lesson font's ascent,
// but a run with Chinese takes its top from the taller fallback font and
// comes out lower, so each Chinese line of the bilingual layout touched the
// English line below it and covered that line's descenders. The lines get
// the room that English, Chinese and mixed runs take when drawn, plus a row
// above and below.
void FitLineHeight(wxStyledTextCtrl& control, const SLessonTextStyle& style)
{
    control.SetExtraAscent(0);
    control.SetExtraDescent(0);
    const wxFont font(wxFontInfo(style.points).FaceName(ToWx(style.face)).Bold(style.bold));
    int first = 0;
    int last = 0;
    for (const char8_t* text : {u8"Ágjpqy|", u8"汉字，你好。", u8"Ágjpqy 汉字，你好。"}) {
        const SInkRows rows = MeasureInk(font, text);
        first = std::min(first, rows.first);
        last = std::max(last, rows.last);
    }
    const int height = control.TextHeight(0);
    control.SetExtraAscent(std::max(0, 1 - first));
    control.SetExtraDescent(std::max(0, last + 2 - height));
}

} // namespace

void ApplyLessonTextStyle(wxStyledTextCtrl& control, const SLessonTextStyle& style)
{
    const wxColour text = ToWxColour(style.text);
    const wxColour background = ToWxColour(style.background);
    control.StyleSetFaceName(wxSTC_STYLE_DEFAULT, ToWx(style.face));
    control.StyleSetSize(wxSTC_STYLE_DEFAULT, style.points);
    control.StyleSetBold(wxSTC_STYLE_DEFAULT, style.bold);
    control.StyleSetItalic(wxSTC_STYLE_DEFAULT, style.italic);
    control.StyleSetUnderline(wxSTC_STYLE_DEFAULT, style.underline);
    control.StyleSetForeground(wxSTC_STYLE_DEFAULT, text);
    control.StyleSetBackground(wxSTC_STYLE_DEFAULT, background);
    // Every character carries style 0 (there is no lexer), so copying the
    // default style to all styles formats the whole text and any text to come.
    control.StyleClearAll();
    FitLineHeight(control, style);
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
