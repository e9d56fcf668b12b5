#include "core/shellregistration.h"

#include <cstdlib>

#include "core/desktopshortcut.h"
#include "platform/codepage.h"
#include "platform/file.h"

namespace {

CString UserDataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg)
        return Utf8BytesToAnsi(xdg) + "/";
    const char* home = std::getenv("HOME");
    return Utf8BytesToAnsi(home ? home : "") + "/.local/share/";
}

bool WriteIfChanged(const CString& path, const std::string& content)
{
    std::string old;
    // A file longer than the content cannot hold it: it is not read.
    if (ReadRegularFile(path, old, static_cast<int64_t>(content.size())) == EFileReadResult::Read && old == content)
        return true;
    const int slash = path.ReverseFind('/');
    CreateFolders(path.Left(slash));
    return WriteFileAtomically(path, content);
}

} // namespace

bool RegisterDocumentType(const CString& executablePath)
{
    const CString data = UserDataFolder();
    const std::string mime =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-quenlow-document\">\n"
        "    <comment>Quenlow Files</comment>\n"
        "    <glob pattern=\"*.Quenlow\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    const std::string desktop = "[Desktop Entry]\n"
                                "Type=Application\n"
                                "Name=Quenlow\n"
                                "Exec=" + QuoteExecArgument(AnsiToUtf8Bytes(executablePath.view())) + " %f\n"
                                "MimeType=application/x-quenlow-document;\n"
                                "NoDisplay=true\n";
    const bool mimeOk = WriteIfChanged(data + "mime/packages/quenlow.xml", mime);
    const bool desktopOk = WriteIfChanged(data + "applications/quenlow-document.desktop", desktop);
    return mimeOk && desktopOk;
}
