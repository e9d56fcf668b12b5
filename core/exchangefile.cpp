#include "core/exchangefile.h"

#include <string>

#include "platform/file.h"

bool ReadExchangeFileLines(const CString& path, std::vector<CString>& lines)
{
    lines.clear();
    std::string bytes;
    if (ReadRegularFile(path, bytes, kExchangeFileLimit) != EFileReadResult::Read)
        return false;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            end = bytes.size();
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.emplace_back(bytes.substr(start, end - start));
        start = next;
    }
    return true;
}
