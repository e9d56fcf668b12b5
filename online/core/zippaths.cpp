#include "online/core/zippaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "platform/file.h"

std::string CleanMemberName(std::string_view name, bool utf8)
{
    std::vector<std::string> parts;
    std::string part;
    bool endsWithSeparator = false;
    auto finishPart = [&parts, &part]() {
        if (parts.empty()) {
            // Drive prefixes lead the name, possibly several ("C:D:x").
            while (part.size() >= 2 && part[1] == ':' && static_cast<unsigned char>(part[0]) < 0x80)
                part.erase(0, 2);
        }
        if (!part.empty() && part != "." && part != "..")
            parts.push_back(part);
        part.clear();
    };
    size_t pos = 0;
    while (pos < name.size()) {
        const size_t length = utf8 ? 1 : static_cast<size_t>(CharLengthAt(name, pos));
        const char ch = name[pos];
        if (length == 1 && (ch == '/' || ch == '\\')) {
            finishPart();
            endsWithSeparator = true;
        } else {
            part.append(name.substr(pos, length));
            endsWithSeparator = false;
        }
        pos += length;
    }
    finishPart();

    std::string cleaned;
    for (const std::string& p : parts) {
        if (!cleaned.empty())
            cleaned += '/';
        cleaned += p;
    }
    if (endsWithSeparator && !cleaned.empty())
        cleaned += '/';
    return cleaned;
}

CString ResolveDestination(const CString& baseDir, const CString& destination)
{
    if (destination.IsEmpty())
        return CString();
    if (destination[0] == '/')
        return destination;
    const std::string relative = CleanMemberName(destination.view(), false);
    if (relative.empty())
        return CString();
    return baseDir + CString(relative);
}

int CreateFileAnew(const CString& path)
{
    const std::string fsPath = ToFsPath(path);
    if (fsPath.empty())
        return -1;
    ::unlink(fsPath.c_str());   // a missing file is fine; a folder makes the open fail
    return ::open(fsPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}
