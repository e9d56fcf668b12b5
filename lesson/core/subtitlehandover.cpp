#include "lesson/core/subtitlehandover.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "lesson/core/lessonloader.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/quenlow.h"

namespace {

// The subtitle formats that are text; ".idx" (with its ".sub" pictures) and
// others are given as they are.
bool IsSubtitleText(const CString& path)
{
    const int dot = path.ReverseFind('.');
    CString extension = dot >= 0 ? path.Mid(dot) : CString();
    extension.MakeLower();
    return extension == ".srt" || extension == ".ass" || extension == ".ssa" || extension == ".smi" ||
           extension == ".lrc";
}

bool IsUnicodeAlready(const CQuenlowApp& app, std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") || bytes.starts_with("\xEF\xBB\xBF"))
        return true;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii || app.IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

} // namespace

CString SubtitleFileForEngine(CQuenlowApp& app, const CString& path)
{
    if (!IsSubtitleText(path))
        return path;
    std::string bytes;
    if (ReadRegularFile(path, bytes, kMaxSubtitleFileBytes) != EFileReadResult::Read || IsUnicodeAlready(app, bytes))
        return path;

    const CString& base = app.m_strAssBothBasePath;
    const CString folder = base.Left(base.ReverseFind('/') + 1) + kUtf8CopyFolder;
    const CString copy = folder + path.Mid(path.ReverseFind('/') + 1);
    if (!CreateFolders(folder) || !WriteFileAtomically(copy, AnsiToUtf8Bytes(bytes))) {
        app.ShowMessage("无法写入视频字幕文件：" + copy, "error", 5000);
        return path;
    }
    return copy;
}
