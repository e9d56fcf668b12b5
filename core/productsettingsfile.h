// The product settings file: lines of "Name=value" (UTF-8; "#" starts a
// comment). Reading it needs no application state, so the downloader
// program reads the same file with it.
#pragma once

#include <map>

#include "platform/cstring.h"
#include "platform/file.h"

// The file holds a few lines; a larger one is not read.
inline constexpr int64_t kMaxProductSettingsBytes = 1024 * 1024;

// Reads the file (program text values); an unreadable file, or one that is
// no regular file or passes the bound, gives no settings. read, when given,
// says which.
std::map<CString, CString> ReadProductSettings(const CString& path, EFileReadResult* read = nullptr);
