// How the downloader's update download ended, handed to the program in a
// small file of the data-exchange folder: the downloader writes it when the
// download ends, the program takes it away and tells the learner.
#pragma once

#include <optional>

#include "platform/cstring.h"

struct SUpdateDownloadEnd {
    bool done = false;   // the new update file is in place
    CString cause;       // why it failed, in the learner's words
};

// "<program folder>AppData/DataExchange/updateresult.data".
CString UpdateResultPath(const CString& programFolder);

// Line 1 "done" or "failed", line 2 the cause; written in one step.
bool WriteUpdateResult(const CString& path, const SUpdateDownloadEnd& end);

// The result the downloader left, removed once read; nothing when there is
// none or the file is not a small regular file of that form.
std::optional<SUpdateDownloadEnd> TakeUpdateResult(const CString& path);

// "软件更新下载完成。" or "软件更新下载失败：<cause>".
CString UpdateEndMessage(const SUpdateDownloadEnd& end);
