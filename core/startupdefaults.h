// Start-up values of the application object: the program folder, every data
// path built from it, the table names of the user-data store and the defaults
// of the modes, switches, counters and colours. The main frame applies them
// once while it is created, before it reads the window settings file, which
// may then replace the stored settings among them.
#pragma once

#include <vector>

#include "platform/cstring.h"
#include "core/commandids.h"

class CQuenlowApp;

// Values the main frame keeps for itself (relative paths are joined to the
// program folder).
// The newer downloader copy that the delayed start-up installs.
constexpr const char* kNewDownloaderRelPath = "Downloader/HalvikSoftDownloaderNew.exe";
// Marker of the first start, read by the delayed start-up.
constexpr const char* kFirstStartRelPath = "AppData/Temp/firstupstartup.data";
// Start-up value of the frame's switch "the active ribbon category shows its elements".
constexpr const char* kPanelsShownDefault = "true";

// Visual style used when no valid one was stored, and the
// range of valid style ids.
constexpr unsigned kDefaultAppLook = kCmdLookOffice2007Black;
constexpr unsigned kFirstAppLook = kCmdFirstLook;
constexpr unsigned kLastAppLook = kCmdLastLook;

// The folders below the program folder that the program reads or writes
// (relative, without trailing "/").
constexpr const char* kDataFolders[] = {
    "AppData/BasicDict",
    "AppData/UserData",
    "AppData/Temp",
    "AppData/Temp/Script",
    "AppData/Temp/FileInfo",
    "AppData/CommonData",
    "AppData/Help",
    "AppData/CommandExchange/Player2Downloader",
    "AppData/CommandExchange/Downloader2Player",
    "AppData/DataExchange/DownloaderData",
    "Playlist",
    "SubTitles",
    "TxtLrcFileFolder",
    "CacheFolder",
    "Downloader",
};

// Gives the application object its start-up values. programFolder is the
// folder of the program file; a missing trailing "/" is added. An empty
// folder leaves every path relative to the current directory.
void ApplyStartupDefaults(CQuenlowApp& app, const CString& programFolder);

// The data folders that cannot hold the learner's files, by relative name in
// kDataFolders order.
struct SDataFolderProblems {
    std::vector<CString> uncreated;    // missing and could not be made
    std::vector<CString> unwritable;   // there, but no file can be made in them
    bool empty() const { return uncreated.empty() && unwritable.empty(); }
};

// Creates the data folders (kDataFolders under app.m_strAppDir) that do not
// exist yet, the others still when one fails, and tries a file in each, so
// that a folder every later save would fail in is known at start.
SDataFolderProblems CreateDataFolders(const CQuenlowApp& app);

// Deletes the scratch files that online look-ups and hashing leave in the
// temporary folder ("tmpjpg*", "tmpscript*", "sha1hash*"): nothing reads
// them across runs, and a stale lesson there must not pass for a new one.
void RemoveLeftoverTempFiles(const CQuenlowApp& app);

// The caption-bar notice for the problem folders: of each kind the first one
// named and the others counted. Empty when there are none.
CString DescribeDataFolderProblems(const SDataFolderProblems& problems);
