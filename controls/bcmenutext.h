// The text of the menu's ANSI operations: the program's code page (GB18030)
// turned into wide characters for the wide forms; a null text stays null.
#pragma once

#include <optional>
#include <string>

#include "platform/cstring.h"
#include "ui/wxtext.h"

class CWideText {
public:
    explicit CWideText(const char* ansi)
    {
        if (ansi)
            m_text = ToWx(CString(ansi)).ToStdWstring();
    }
    const wchar_t* get() const { return m_text ? m_text->c_str() : nullptr; }

private:
    std::optional<std::wstring> m_text;
};
