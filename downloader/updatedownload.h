// The update command: the product's update file is fetched from the update
// server into the local file whose length the program's update check
// compares with the server's.
#pragma once

#include <atomic>
#include <string>

#include "downloader/paths.h"

// "http://<server address>:<port>/update/<product id>/update.data", the same
// address the program's check asks: the server and port from Product.cfg
// (UpdateServerHost, UpdateServerPort, default 80), the product id from the
// file the check writes (else Product.cfg's ProductId). Empty, with the
// reason in `why`, when a part is missing.
std::string UpdateAddress(const SDownloaderPaths& paths, std::string& why);

// Fetches it (a job of the update queue). The local file is replaced in one
// step once the new one is whole; a failure leaves it as it was.
void DownloadUpdate(const SDownloaderPaths& paths, const std::atomic<bool>& cancel);
