// The history of addresses typed for the translation browser: a text file,
// one address per line, most recent first, at most kMaxAddresses lines.
#pragma once

#include <vector>

#include "platform/cstring.h"

constexpr int kMaxAddresses = 51;

// Puts a new address first and keeps the earlier ones after it (at most
// kMaxAddresses - 1 of them); an address already there keeps its place.
// Returns the addresses as now stored (the list for the address box); the
// file is replaced in one step, so a failure leaves the old one whole.
std::vector<CString> AddToAddressHistory(const CString& historyPath, const CString& address);
