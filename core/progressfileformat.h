// The downloader's progress files, as both the downloader and the player
// read them: which names are progress files, and the percentage field.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

// The downloader's progress files: digits + ".data" directly in the folder.
bool IsProgressFileName(const CString& name);
// Integer value of a percentage text: "37.5" -> 37, "100" -> 100; text
// without leading digits -> 0.
int ParsePercent(const CString& text);
// A share of a file as the progress files give it: "0.0" to "99.9" (rounded
// down, so never "100.0" early), "100" only when complete.
CString PercentText(int64_t written, int64_t total, bool complete);
