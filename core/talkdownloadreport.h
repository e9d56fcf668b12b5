// The reports of the talk downloads, which the downloader leaves for the
// program in "AppData/DataExchange/TalkDownloads/" as numbered files
// ("<number>.data", each moved in whole). One file holds one report, a value
// a line (CR LF):
//   0  "running", "done" or "failed"
//   1  the video's file name
//   2  the file's length in bytes (0 while unknown)
//   3  bytes in the file so far (kept across retries)
//   4  the speed in bytes a second
//   5  why it failed ("" unless failed)
// A running download is reported each second, also while no byte comes; its
// end once. The program reads the files in number order and deletes them.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/cstring.h"

enum class ETalkDownloadState { Running, Done, Failed };

struct STalkDownloadReport {
    ETalkDownloadState state = ETalkDownloadState::Running;
    CString name;
    int64_t total = 0;     // 0 while unknown
    int64_t written = 0;
    int64_t bytesPerSecond = 0;
    CString cause;
};

// "<programFolder>AppData/DataExchange/TalkDownloads/" (the folder given with
// its trailing "/").
CString TalkReportFolder(const CString& programFolder);

CString TalkReportText(const STalkDownloadReport& report);
// The report a file's text holds; nothing for a text that is not one (a
// wrong state word, figures that are not figures, no name, a name with a
// folder in it).
std::optional<STalkDownloadReport> ParseTalkReport(const CString& text);
