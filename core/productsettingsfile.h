// The product settings file: lines of "Name=value" (UTF-8; "#" starts a
// comment). Reading it needs no application state, so the downloader
// program reads the same file with it.
#pragma once

#include <map>

#include "platform/cstring.h"

// Reads the file (program text values); an unreadable file gives no settings.
std::map<CString, CString> ReadProductSettings(const CString& path);
