// Reading the small text files the downloader leaves for the program (its
// command file, the progress files): only a regular file, opened without
// blocking (a FIFO put in its place cannot hang the program), and only up to
// a size far above any real one (a real one holds a few hundred bytes).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/cstring.h"

constexpr int64_t kExchangeFileLimit = int64_t{1} << 20;

// The file's lines, without their "\n" or "\r\n"; false when the file is
// missing, not a regular file, or larger than kExchangeFileLimit.
bool ReadExchangeFileLines(const CString& path, std::vector<CString>& lines);
