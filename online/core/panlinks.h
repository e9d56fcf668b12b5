// Download links of cloud-storage pages: the cloud-disk browser hands an
// address that downloads a file from a recognised service, or that names a
// media file directly, to the downloader for download-and-play instead of
// loading it as a page.
#pragma once

#include <functional>

#include "platform/cstring.h"

// Whether the address is a download to hand over. isMediaUrl is the
// program's test of a direct media or archive address.
bool IsPanDownloadAddress(const CString& address, const std::function<bool(const CString&)>& isMediaUrl);

// The address the downloader is given: one service's first server is
// reached through its second.
CString DownloaderAddressOf(const CString& address);
