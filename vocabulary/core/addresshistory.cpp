#include "vocabulary/core/addresshistory.h"

#include <algorithm>
#include <string>

#include "platform/file.h"

std::vector<CString> AddToAddressHistory(const CString& historyPath, const CString& address)
{
    std::vector<CString> old;
    CStdioFile file;
    if (file.Open(historyPath, CFile::modeRead | CFile::typeText)) {
        CString line;
        while (file.ReadString(line))
            old.push_back(line);
    }
    std::vector<CString> lines;
    if (std::find(old.begin(), old.end(), address) == old.end())
        lines.push_back(address);
    for (size_t i = 0; i < old.size() && static_cast<int>(i) < kMaxAddresses - 1; ++i)
        lines.push_back(old[i]);
    std::string text;
    for (const CString& line : lines)
        text += line.str() + "\r\n";
    const int slash = historyPath.ReverseFind('/');
    if (slash > 0)
        CreateFolders(historyPath.Left(slash));
    // A history that cannot be stored still serves this session's box.
    (void)WriteFileAtomically(historyPath, text);
    return lines;
}
