#include "core/talkdownloadreport.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr int kReportLines = 6;
// Longer figures are not byte counts of a talk video.
constexpr int kMaxFigureDigits = 18;

const char* StateWord(ETalkDownloadState state)
{
    switch (state) {
    case ETalkDownloadState::Running:
        return "running";
    case ETalkDownloadState::Done:
        return "done";
    case ETalkDownloadState::Failed:
        return "failed";
    }
    return "";
}

std::optional<ETalkDownloadState> StateOfWord(const CString& word)
{
    for (const ETalkDownloadState state :
         {ETalkDownloadState::Running, ETalkDownloadState::Done, ETalkDownloadState::Failed}) {
        if (word == StateWord(state))
            return state;
    }
    return std::nullopt;
}

std::optional<int64_t> Figure(const CString& text)
{
    if (text.IsEmpty() || text.GetLength() > kMaxFigureDigits)
        return std::nullopt;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    }
    return std::strtoll(text, nullptr, 10);
}

CString Number(int64_t value)
{
    CString text;
    text.Format("%lld", static_cast<long long>(value < 0 ? 0 : value));
    return text;
}

} // namespace

CString TalkReportFolder(const CString& programFolder)
{
    return programFolder + "AppData/DataExchange/TalkDownloads/";
}

CString TalkReportText(const STalkDownloadReport& report)
{
    CString text;
    // A line end inside a value would shift every line after it.
    for (const CString& line : {CString(StateWord(report.state)), LineBreaksAsBlanks(report.name),
                                Number(report.total), Number(report.written), Number(report.bytesPerSecond),
                                LineBreaksAsBlanks(report.cause)})
        text += line + "\r\n";
    return text;
}

std::optional<STalkDownloadReport> ParseTalkReport(const CString& text)
{
    std::vector<CString> lines;
    int start = 0;
    while (start < text.GetLength() && static_cast<int>(lines.size()) < kReportLines) {
        int end = text.Find('\n', start);
        if (end < 0)
            end = text.GetLength();
        CString line = text.Mid(start, end - start);
        line.TrimRight("\r");
        lines.push_back(line);
        start = end + 1;
    }
    if (static_cast<int>(lines.size()) < kReportLines)
        return std::nullopt;
    const std::optional<ETalkDownloadState> state = StateOfWord(lines[0]);
    const std::optional<int64_t> total = Figure(lines[2]);
    const std::optional<int64_t> written = Figure(lines[3]);
    const std::optional<int64_t> speed = Figure(lines[4]);
    if (!state || !total || !written || !speed || lines[1].IsEmpty() || lines[1].Find('/') >= 0)
        return std::nullopt;
    STalkDownloadReport report;
    report.state = *state;
    report.name = lines[1];
    report.total = *total;
    report.written = *written;
    report.bytesPerSecond = *speed;
    report.cause = lines[5];
    return report;
}
