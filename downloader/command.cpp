#include "downloader/command.h"

#include "core/downloaderexchange.h"

namespace {

constexpr const char* kFieldGap = "    ";

// The keyword of a command constant: up to and including its ":".
bool HasKeyword(const CString& line, const char* command)
{
    const CString keyword = CString(command).SpanExcluding(":") + ":";
    return line.Left(keyword.GetLength()) == keyword;
}

// "<address>    <folder>    <name>": the address ends at the first gap and
// the name starts after the last, so a folder may hold blanks of its own.
SCommand ParseDlAndPlay(const CString& line)
{
    SCommand command;
    command.kind = ECommand::Malformed;
    CString fields = line.Mid(CString(kCmdDlAndPlayKeyword).GetLength());
    fields.TrimLeft(' ');
    const int first = fields.Find(kFieldGap);
    int last = -1;
    for (int at = fields.Find(kFieldGap); at >= 0; at = fields.Find(kFieldGap, at + 1))
        last = at;
    if (first < 0 || last <= first)
        return command;
    const int gap = CString(kFieldGap).GetLength();
    CString address = fields.Left(first);
    CString folder = fields.Mid(first + gap, last - first - gap);
    CString name = fields.Mid(last + gap);
    address.Trim(' ');
    folder.Trim(' ');
    name.Trim(' ');
    // The name is one file in the folder, never a path of its own.
    if (address.IsEmpty() || folder.IsEmpty() || name.IsEmpty() || name.Find('/') >= 0 || name == "." || name == "..")
        return command;
    command.kind = ECommand::DlAndPlay;
    command.address = address;
    command.folder = folder;
    command.name = name;
    command.target = (folder.Right(1) == "/" ? folder : folder + "/") + name;
    return command;
}

} // namespace

SCommand ParseCommand(const CString& text)
{
    const int end = text.FindOneOf("\r\n");
    CString line = end >= 0 ? text.Left(end) : text;
    line.Trim();
    SCommand command;
    if (line.IsEmpty())
        return command;
    if (HasKeyword(line, kCmdDlAndPlayKeyword))
        return ParseDlAndPlay(line);
    const struct {
        const char* keyword;
        ECommand kind;
    } simple[] = {
        {kCmdStopAllDownloadTask, ECommand::StopAll},
        {kCmdRestartDownloader, ECommand::Restart},
        {kCmdDeleteDownloaderTask, ECommand::DeleteTasks},
        {kCmdShowDownloader, ECommand::Show},
        {kCmdUpdate, ECommand::Update},
    };
    command.kind = ECommand::Unknown;
    for (const auto& entry : simple) {
        if (HasKeyword(line, entry.keyword))
            command.kind = entry.kind;
    }
    return command;
}
