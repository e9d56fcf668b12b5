// The commands the program hands to the downloader, one text each (program
// text, GB18030): a keyword ending in ":" and, for download-and-play, the
// address, the download folder and the file name, each after four blanks.
#pragma once

#include "platform/cstring.h"

enum class ECommand {
    None,          // an empty text (the program sends one when its queue drains)
    DlAndPlay,     // "HalvikSoftDlAndPlay:    <address>    <folder>    <name>"
    StopAll,       // "StopAllDownloadTask: "
    Restart,       // "RestartHalvikSoftDownloader: "
    DeleteTasks,   // "Delete0N1DownloaderTask: "
    Show,          // "ShowHalvikSoftDownloader: "
    Update,        // "HalvikSoftUpdate: "
    Malformed,     // a known keyword with unusable fields
    Unknown,
};

struct SCommand {
    ECommand kind = ECommand::None;
    // Download-and-play only.
    CString address;
    CString folder;   // as given (with or without a trailing "/")
    CString name;
    CString target;   // folder + "/" + name
};

// Reads the first line of a command file's text.
SCommand ParseCommand(const CString& text);
