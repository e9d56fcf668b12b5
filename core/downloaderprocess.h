// The downloader process that serves one program folder. The downloader holds
// a lock file in the program folder while it runs and writes its pid into it;
// a pid counts only while that process runs this folder's downloader program,
// so a downloader of another copy or another user is never taken for ours or
// stopped.
#pragma once

#include <sys/types.h>

#include "platform/cstring.h"

// The downloader program lives in "<program folder>Downloader/".
CString ProgramFolderOfDownloader(const CString& downloaderPath);
// "<program folder>AppData/DataExchange/downloader.lock".
CString DownloaderLockPath(const CString& programFolder);

// The pid of the downloader running the program file `downloaderPath`, or 0.
pid_t RunningDownloader(const CString& downloaderPath);
// Starts the downloader detached and waits a moment (at most a second) until
// it holds its lock, so the next look finds it running; false when it could
// not be started.
bool StartDownloader(const CString& downloaderPath);
// Ends that downloader, when it runs; true when none runs afterwards.
bool StopDownloader(const CString& downloaderPath);
