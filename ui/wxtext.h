// Text crossing into and out of the toolkit. Never hand a CString's bytes to
// wx as a const char*: wx reads narrow text as UTF-8 here.
#pragma once

#include <wx/string.h>

#include "platform/codepage.h"

inline wxString ToWx(const CString& text)
{
    return wxString::FromUTF8(AnsiToUtf8Bytes(text.view()));
}

inline CString FromWx(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return Utf8BytesToAnsi(std::string_view(utf8.data(), utf8.length()));
}
