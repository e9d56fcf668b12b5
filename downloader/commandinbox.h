// Taking the program's command: the command file counts once its empty
// marker file stands beside it. Both are deleted when the command is taken,
// which tells the program that the next one may come.
#pragma once

#include <optional>

#include "downloader/paths.h"
#include "platform/cstring.h"

// The command's text (GB18030) when a complete pair was there.
std::optional<CString> TakeCommand(const SDownloaderPaths& paths);
