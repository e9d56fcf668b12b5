// The talk downloads as the learner sees them. Once a second the reports the
// downloader left (core/talkdownloadreport.h) are read in order and deleted:
// the download under way gives the status bar's download pane its speed and
// percentage, and each end becomes a caption message, "下载完成：…" or
// "下载失败：…" with its cause. The frame shows the pane text and refreshes
// the talk list when a talk arrived.
#pragma once

#include <optional>
#include <vector>

#include "core/talkdownloadreport.h"
#include "platform/cstring.h"

class CQuenlowApp;
extern CQuenlowApp theApp;

struct STalkDownloadNews {
    bool running = false;       // a talk download is under way
    // Its speed and percentage for the download pane; after an end, the
    // last figures for a few seconds more ("" when the pane is not the talks').
    CString statusText;
    std::vector<CString> done;  // talks that arrived in the playlist folder
};

class CTalkDownloadWatch {
public:
    explicit CTalkDownloadWatch(CQuenlowApp& app = theApp);

    // One reading of the reports; the ends go to the message slot.
    STalkDownloadNews ReadReports();

private:
    std::vector<STalkDownloadReport> TakeReports() const;

    CQuenlowApp& m_app;
    std::optional<STalkDownloadReport> m_running;
    int m_quietReadings = 0;   // readings without a report while a talk runs
    std::optional<STalkDownloadReport> m_ended;   // the last end, still shown
    int m_endShownReadings = 0;
};
