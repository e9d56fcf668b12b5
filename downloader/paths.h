// The files of the program folder that the downloader reads and writes. The
// downloader lives in "<program>/Downloader/", so every path is relative to
// the folder above its own.
#pragma once

#include "platform/cstring.h"

struct SDownloaderPaths {
    CString programFolder;    // with its trailing "/"
    CString commandFile;      // the program's command to us
    CString commandMarker;    // empty file: the command file is complete
    CString progressFolder;   // numbered progress files, with its trailing "/"
    CString progressTemp;     // where a progress file is written before it moves in
    CString talkReportFolder; // numbered reports of the talk downloads, with its trailing "/"
    CString talkReportTemp;   // where a talk report is written before it moves in
    CString lockFile;         // held while a downloader runs; names its pid
    CString playlistFolder;   // talk downloads, with its trailing "/"
    CString productSettings;  // Product.cfg: the update server
    CString productIdFile;    // the product id the update check wrote
    CString updateFile;       // the local update file the update check compares
};

SDownloaderPaths DownloaderPaths(const CString& programFolder);

// The folder above the running executable's folder, with a trailing "/".
CString ProgramFolderAboveExecutable();
