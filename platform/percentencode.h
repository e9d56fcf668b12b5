// Bytes written into an address: every byte but the unreserved characters
// (letters, digits, "-", ".", "_", "~") and those of `alsoPlain` becomes %XX.
#pragma once

#include <string>
#include <string_view>

std::string PercentEncode(std::string_view bytes, std::string_view alsoPlain = {});
