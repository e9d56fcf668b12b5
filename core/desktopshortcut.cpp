#include "core/desktopshortcut.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/codepage.h"
#include "platform/file.h"
#include "core/productsettings.h"
#include "core/quenlow.h"

namespace {

constexpr const char* kDefaultDisplayName = "HalvikEnglish";

// A folder path with repeated "/" collapsed and no trailing "/" ("$HOME/Desktop"
// with HOME ending in "/" gives "//").
CString WithoutTrailingSlashes(CString folder)
{
    while (folder.Replace("//", "/") > 0) {
    }
    if (folder.GetLength() > 1 && folder[folder.GetLength() - 1] == '/')
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

// The first line that `xdg-user-dir DESKTOP` prints (UTF-8), or empty when
// the tool is missing or fails.
std::string AskXdgUserDir()
{
    FILE* pipe = ::popen("xdg-user-dir DESKTOP 2>/dev/null", "r");
    if (!pipe)
        return std::string();
    std::string output;
    char buffer[1024];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status != 0)
        return std::string();
    const size_t end = output.find('\n');
    return end == std::string::npos ? output : output.substr(0, end);
}

// Escapes for a launcher-file string value (the Name key).
std::string EscapeValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c; break;
        }
    }
    if (!out.empty() && out[0] == ' ')
        out = "\\s" + out.substr(1);
    return out;
}

CString RunningExecutableName()
{
    std::string exe(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0)
        return CString();
    exe.resize(static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (exe.size() > deleted.size() && exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0)
        exe.resize(exe.size() - deleted.size());
    return FromFsPath(exe.substr(exe.rfind('/') + 1));
}

// Adds execute permission wherever the file may be read.
bool MakeExecutable(const CString& path)
{
    const std::string fsPath = ToFsPath(path);
    struct stat st;
    if (::stat(fsPath.c_str(), &st) != 0)
        return false;
    mode_t mode = st.st_mode & 07777;
    mode |= S_IXUSR;
    if (mode & S_IRGRP)
        mode |= S_IXGRP;
    if (mode & S_IROTH)
        mode |= S_IXOTH;
    return mode == (st.st_mode & 07777) || ::chmod(fsPath.c_str(), mode) == 0;
}

} // namespace

std::string QuoteExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return EscapeValue(quoted);
}

CString GetDesktopFolder()
{
    const char* homeEnv = std::getenv("HOME");
    const CString home = WithoutTrailingSlashes(Utf8BytesToAnsi(homeEnv ? homeEnv : ""));
    CString desktop = WithoutTrailingSlashes(Utf8BytesToAnsi(AskXdgUserDir()));
    if (desktop.IsEmpty() || desktop[0] != '/') {
        if (home.IsEmpty())
            return CString();
        desktop = home + "/Desktop";
    }
    return desktop == home ? CString() : desktop;
}

std::string MakeDesktopEntry(const CString& executablePath, const CString& displayName)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" + EscapeValue(AnsiToUtf8Bytes(displayName.view())) + "\n"
           "Exec=" + QuoteExecArgument(AnsiToUtf8Bytes(executablePath.view())) + "\n";
}

CString DesktopEntryFileName(const CString& displayName)
{
    CString name = displayName.IsEmpty() ? CString(kDefaultDisplayName) : displayName;
    name.Replace('/', '_');
    return name + ".desktop";
}

EShortcutResult WriteDesktopShortcut(const CString& desktopFolder, const CString& executablePath,
                                     const CString& displayName)
{
    if (desktopFolder.IsEmpty() || !IsFolder(desktopFolder))
        return EShortcutResult::Failed;
    const CString name = displayName.IsEmpty() ? CString(kDefaultDisplayName) : displayName;
    const CString path = WithoutTrailingSlashes(desktopFolder) + "/" + DesktopEntryFileName(name);
    const std::string content = MakeDesktopEntry(executablePath, name);

    std::string old;
    // A file longer than the entry cannot hold it: it is not read.
    if (ReadRegularFile(path, old, static_cast<int64_t>(content.size())) == EFileReadResult::Read && old == content)
        return MakeExecutable(path) ? EShortcutResult::Unchanged : EShortcutResult::Failed;
    if (!WriteFileAtomically(path, content) || !MakeExecutable(path))
        return EShortcutResult::Failed;
    return EShortcutResult::Written;
}

EShortcutResult CreateDesktopShortcut()
{
    const CString folder = theApp.m_strAppDir.IsEmpty() ? GetProgramFolder() : theApp.m_strAppDir;
    const CString name = RunningExecutableName();
    if (name.IsEmpty())
        return EShortcutResult::Failed;
    return WriteDesktopShortcut(GetDesktopFolder(), folder + name,
                                GetProductSetting("DisplayName", kDefaultDisplayName));
}
