#include "core/productsettingsfile.h"

#include "platform/codepage.h"
#include "platform/file.h"

std::map<CString, CString> ReadProductSettings(const CString& path, EFileReadResult* read)
{
    std::map<CString, CString> settings;
    std::string bytes;
    const EFileReadResult result = ReadRegularFile(path, bytes, kMaxProductSettingsBytes);
    if (read != nullptr)
        *read = result;
    if (result != EFileReadResult::Read)
        return settings;
    const CString text = Utf8BytesToAnsi(bytes);
    int pos = 0;
    for (CString line = text.Tokenize("\r\n", pos); pos >= 0; line = text.Tokenize("\r\n", pos)) {
        line.Trim();
        if (line.IsEmpty() || line[0] == '#')
            continue;
        const int equals = line.Find('=');
        if (equals <= 0)
            continue;
        CString name = line.Left(equals);
        CString value = line.Mid(equals + 1);
        settings[name.Trim()] = value.Trim();
    }
    return settings;
}
