// Start-up values of the application object: the program folder, every data
// path built from it, the table names of the user-data store and the defaults
// of the modes, switches, counters and colours. The main frame applies them
// once while it is created, before it reads the window settings file, which
// may then replace the stored settings among them.
#pragma once

#include <vector>

#include "platform/cstring.h"
#include "shell/core/commandids.h"

class CQuenlowApp;

// Values the main frame keeps for itself (relative paths are joined to the
// program folder).
// The newer downloader copy that the delayed start-up installs.
constexpr const char* kNewDownloaderRelPath = "Downloader/HalvikSoftDownloaderNew.exe";
// Marker of the first start, read by the delayed start-up.
constexpr const char* kFirstStartRelPath = "AppData/Temp/firstupstartup.data";
// Start-up value of the frame's switch "the active ribbon category shows its elements".
constexpr const char* kPanelsShownDefault = "true";

// Start page of the cloud-disk browser.
constexpr const char* kPanHomeUrl = "https://pan.example-cloud.cn/";

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

// Creates the data folders (kDataFolders under app.m_strAppDir) that do not
// exist yet. False when any of them could not be made; the others are still
// created. `failed`, when given, receives the relative names of those that
// could not be made, in kDataFolders order.
bool CreateDataFolders(const CQuenlowApp& app, std::vector<CString>* failed = nullptr);

// The caption-bar notice for data folders that could not be made: the first
// one named, the others counted. Empty when there are none.
CString DescribeUncreatedFolders(const std::vector<CString>& failed);
