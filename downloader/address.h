// Download addresses as the transfer library takes them, and the file name an
// address gives a download.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Longer addresses are refused: no download address of the program's comes near.
constexpr size_t kMaxAddressBytes = 8192;

// The address (UTF-8) ready for a request: an "http://", "https://" or "ftp://"
// address with every byte outside printable ASCII, and every blank, written
// as %XX. Empty when it is refused (too long, another scheme, no host).
std::string TransferAddress(std::string_view utf8Address);

// The last part of the address's path (no query, no fragment), with %XX
// decoded (UTF-8). Empty when that is no usable file name ("", ".", "..", a
// name holding "/" or a control character, or starting with ".").
std::string FileNameOfAddress(std::string_view utf8Address);
