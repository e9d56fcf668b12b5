// The lesson font and colours as the text views of the lesson, speech
// practice and vocabulary windows show them. The stored settings hold a face
// name (empty until one is chosen), a size in points (0 until set) and
// colours in the 0x00BBGGRR form.
#pragma once

#include <wx/colour.h>

#include "platform/cstring.h"
#include "platform/wintypes.h"
#include "ui/wxcolour.h"

class wxStyledTextCtrl;

struct SLessonTextStyle {
    CString face = "Arial";
    int points = 16;
    COLORREF text = 0;
    COLORREF background = 0;
    bool bold = true;
    bool italic = false;
    bool underline = false;
};

// The application's current lesson style: face "Arial" when no face is set,
// 16 points when the size is 0, bold, the text and background colours.
SLessonTextStyle CurrentLessonTextStyle();

// Prepares a text control the way the views use it: no margins, no line
// wrapping, "\n" line ends, no built-in context menu, and read-only when asked.
void SetUpLessonTextCtrl(wxStyledTextCtrl& control, bool readOnly);

// Makes the control's scroll bars lasting ones: the desktop's overlay scroll
// bars appear only while the pointer moves over the text, and a learner
// would not find how to read a sentence wider than the pane.
void KeepScrollBarsShown(wxStyledTextCtrl& control);

// Applies the style to the whole text and as the style of text put in later,
// with lines tall enough for English and Chinese glyphs alike; the caret goes
// to the start.
void ApplyLessonTextStyle(wxStyledTextCtrl& control, const SLessonTextStyle& style);

// Replaces the whole text, also in a read-only control (which stays read-only).
void SetControlText(wxStyledTextCtrl& control, const CString& text);
