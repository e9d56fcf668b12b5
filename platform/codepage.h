// Conversion between the program's ANSI code page (GB18030) and UTF-8, the
// encoding of file names, the toolkit, the media engine and the network.
// Invalid input bytes are replaced, never dropped whole: one bad byte in a
// subtitle line must not empty the line.
#pragma once

#include "platform/cstring.h"
#include "platform/wintypes.h"

// Code page numbers as the program names them.
constexpr UINT CP_ACP = 0;     // the ANSI code page: GB18030 here
constexpr UINT CP_OEMCP = 1;   // same as CP_ACP here
constexpr UINT CP_GBK = 936;   // a subset of GB18030: decoded as GB18030
constexpr UINT CP_UTF8 = 65001;

// Converts text between two code pages. Invalid source bytes become the
// replacement character of the target ("?" in GB18030, U+FFFD in UTF-8).
std::string ConvertBytes(std::string_view text, UINT fromCodePage, UINT toCodePage);

inline std::string AnsiToUtf8Bytes(std::string_view ansi) { return ConvertBytes(ansi, CP_ACP, CP_UTF8); }
inline CString Utf8BytesToAnsi(std::string_view utf8) { return CString(ConvertBytes(utf8, CP_UTF8, CP_ACP)); }
