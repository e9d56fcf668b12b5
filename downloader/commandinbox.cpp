#include "downloader/commandinbox.h"

#include <string>

#include "platform/file.h"

namespace {

// A command is one line; anything larger is no command of the program's.
constexpr int64_t kMaxCommandBytes = 64 * 1024;

} // namespace

std::optional<CString> TakeCommand(const SDownloaderPaths& paths)
{
    // The marker is looked at first: the program writes it after the
    // command, so a marker seen before the command file was looked for
    // cannot belong to a command written in between.
    if (!FileExists(paths.commandMarker))
        return std::nullopt;   // none, or the marker is still to come
    if (!FileExists(paths.commandFile)) {
        // The program writes the command before its marker: a marker alone
        // is left from an interrupted exchange and would block the next one.
        DeleteFile(paths.commandMarker);
        return std::nullopt;
    }
    std::string bytes;
    const EFileReadResult read = ReadRegularFile(paths.commandFile, bytes, kMaxCommandBytes);
    DeleteFile(paths.commandFile);
    DeleteFile(paths.commandMarker);
    if (read != EFileReadResult::Read)
        return CString();
    return CString(std::move(bytes));
}
