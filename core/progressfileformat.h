// The downloader's progress files, as both the downloader and the player
// read them: which names are progress files, and the percentage field.
#pragma once

#include "platform/cstring.h"

// The downloader's progress files: digits + ".data" directly in the folder.
bool IsProgressFileName(const CString& name);
// Integer value of a percentage text: "37.5" -> 37, "100" -> 100; text
// without leading digits -> 0.
int ParsePercent(const CString& text);
