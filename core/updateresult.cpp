#include "core/updateresult.h"

#include <string>
#include <vector>

#include "core/exchangefile.h"
#include "platform/file.h"

CString UpdateResultPath(const CString& programFolder)
{
    return programFolder + "AppData/DataExchange/updateresult.data";
}

bool WriteUpdateResult(const CString& path, const SUpdateDownloadEnd& end)
{
    const std::string text = std::string(end.done ? "done" : "failed") + "\r\n" + end.cause.str() + "\r\n";
    return WriteFileAtomically(path, text);
}

std::optional<SUpdateDownloadEnd> TakeUpdateResult(const CString& path)
{
    if (!FileExists(path))
        return std::nullopt;
    std::vector<CString> lines;
    const bool read = ReadExchangeFileLines(path, lines);
    DeleteFile(path);
    if (!read || lines.empty() || (lines[0] != "done" && lines[0] != "failed"))
        return std::nullopt;
    SUpdateDownloadEnd end;
    end.done = lines[0] == "done";
    if (lines.size() > 1)
        end.cause = lines[1];
    return end;
}

CString UpdateEndMessage(const SUpdateDownloadEnd& end)
{
    if (end.done)
        return "软件更新下载完成。";
    return "软件更新下载失败：" + (end.cause.IsEmpty() ? CString("原因不明") : end.cause);
}
