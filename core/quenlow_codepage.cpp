// Text crossing the program's boundaries: GB18030 inside, UTF-8 for file
// names, the media engine and subtitle files read as UTF-8.
#include "platform/codepage.h"
#include "core/quenlow.h"

CString CQuenlowApp::ConvertCodePage(const CString& text, UINT fromCodePage, UINT toCodePage) const
{
    // The result ends at its first zero byte, like a C string would.
    const std::string converted = ConvertBytes(text.view(), fromCodePage, toCodePage);
    return CString(converted.c_str());
}

CString CQuenlowApp::Utf8ToAnsi(const CString& text) const { return ConvertCodePage(text, CP_UTF8, CP_ACP); }

CString CQuenlowApp::AnsiToUtf8(const CString& text) const { return ConvertCodePage(text, CP_ACP, CP_UTF8); }

CString CQuenlowApp::FilePathToUtf8(const char* path) const
{
    // The file functions take program text here, so this is AnsiToUtf8.
    return path ? AnsiToUtf8(CString(path)) : CString();
}

CString CQuenlowApp::ApplyReplacements(const CString& text) const
{
    CString result = text;
    for (int i = 0; i + 1 < m_arrReplacePairs.GetSize(); i += 2)
        result.Replace(m_arrReplacePairs[i], m_arrReplacePairs[i + 1]);
    return result;
}

bool CQuenlowApp::IsUtf8Text(const unsigned char* bytes, int length) const
{
    int expected = 0;
    bool allAscii = true;
    for (int i = 0; i < length; ++i) {
        const unsigned char b = bytes[i];
        if (b >= 0x80)
            allAscii = false;
        if (expected == 0) {
            if (b < 0x80)
                continue;
            if (b <= 0xBF)
                return false;
            if (b >= 0xFC && b <= 0xFD)
                expected = 5;
            else if (b >= 0xF8)
                expected = 4;   // 0xF8-0xFB and 0xFE-0xFF open five-byte forms
            else if (b >= 0xF0)
                expected = 3;
            else if (b >= 0xE0)
                expected = 2;
            else
                expected = 1;
        } else {
            if ((b & 0xC0) != 0x80)
                return false;
            --expected;
        }
    }
    return expected == 0 && !allAscii;
}
