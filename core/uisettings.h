// The window settings file "AppData/UserData/UI.data": the lesson font and
// colours, the volume and the study and subtitle settings, one value per
// line (GB18030 text, CR LF). The meaning of a line is its position:
//
//   1 font face        6 skip blank (switch)     11 subtitle line order
//   2 font size        7 show Chinese (switch)   12 subtitle colour name
//   3 text colour      8 text layout             13 subtitle font size
//   4 background       9 volume                  14 point-read mode
//   5 look-up mode    10 auto-play examples      15-19 "999" (not read)
//  20 bold (switch)   21 italic (switch)         22 underline (switch)
//  23 text margin (pixels on either side, 0 to 1000)
//
// Lines 20 to 23 follow the five "999" lines, so that a reader of the first
// 19 lines finds them where it always did; a file without them keeps the
// start-up values (bold only, no margin).
// Colours are COLORREF values written as signed decimal numbers.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

class CQuenlowApp;

// The views copy the font face into a 32-byte buffer with its terminator.
constexpr int kMaxFontNameBytes = 31;

// Reads the settings file into the application object and puts fallbacks in
// place of invalid values. A missing or unreadable file, or one of fewer than
// 16 lines, changes nothing; a file that is there but is no regular file or
// larger than kMaxUiSettingsBytes changes nothing either and puts a notice in
// the show-message slot. Accepts CR LF and LF line ends. The program
// reads it once at start: temporary files left beside it by a save that a
// kill cut short are removed then.
inline constexpr int64_t kMaxUiSettingsBytes = 1024 * 1024;
void LoadUiSettings(CQuenlowApp& app, const CString& path);

// Writes the 23 lines of the settings file, replacing the file in one step so
// that a failed write leaves any old file whole. A font size below 12 is
// written as 16 with the default colours, which the object then also takes.
// False when the file could not be written; the object is then unchanged.
bool SaveUiSettings(CQuenlowApp& app, const CString& path);
