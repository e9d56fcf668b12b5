#include "vocabulary/core/addresshistory.h"

#include <algorithm>
#include <string>

#include "platform/file.h"

std::vector<CString> AddToAddressHistory(const CString& historyPath, const CString& address)
{
    // The history holds a few dozen addresses; a file that is no regular
    // file or passes the bound is not read and the history starts anew.
    constexpr int64_t kMaxHistoryBytes = 1024 * 1024;
    std::vector<CString> old;
    std::string bytes;
    if (ReadRegularFile(historyPath, bytes, kMaxHistoryBytes) == EFileReadResult::Read) {
        for (size_t begin = 0; begin < bytes.size();) {
            size_t end = bytes.find('\n', begin);
            if (end == std::string::npos)
                end = bytes.size();
            size_t length = end - begin;
            if (length > 0 && bytes[begin + length - 1] == '\r')
                --length;
            old.emplace_back(bytes.substr(begin, length));
            begin = end + 1;
        }
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
