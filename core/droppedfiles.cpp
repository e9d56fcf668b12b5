#include "core/droppedfiles.h"

#include "platform/file.h"
#include "core/quenlow.h"

const char* const kDroppedFolderMessage = "不支持文件夹拖放！";
const char* const kDroppedSubtitleWithoutMediaMessage = "没有打开的媒体，字幕文件无处载入：请先打开视频或音频，再拖入字幕。";
const char* const kDroppedUnknownFileMessage = "不能打开此类文件（可拖入视频、音频或字幕文件）：";

namespace {

CString NameOf(const CString& path) { return path.Mid(path.ReverseFind('/') + 1); }

// The file name's extension, lower-cased, with its dot ("" without one).
CString LowerExtension(const CString& path)
{
    const CString name = NameOf(path);
    const int dot = name.ReverseFind('.');
    if (dot <= 0)   // ".srt" alone is a hidden file's name
        return CString();
    CString extension = name.Mid(dot);
    extension.MakeLower();
    return extension;
}

} // namespace

bool IsSubtitleFileName(const CString& path)
{
    const CString extension = LowerExtension(path);
    for (const char* known : {".script", ".srt", ".ass", ".ssa", ".smi", ".idx", ".lrc"}) {
        if (extension == known)
            return true;
    }
    return false;
}

SDroppedFiles FilterDroppedFiles(const std::vector<CString>& paths)
{
    SDroppedFiles dropped;
    for (const CString& given : paths) {
        // File names on this system may begin or end with blanks, so the
        // name as given wins over its trimmed form.
        CString path = given;
        if (!FileExists(path))
            path.Trim();
        if (!FileExists(path) || IsFolder(path)) {
            dropped.folderRefused = true;
            break;
        }
        const int kind = theApp.GetMediaKind(path);
        if (kind == 1 || kind == 2)
            dropped.playList.Add(path);
        else if (IsSubtitleFileName(path))
            dropped.subtitles.Add(path);
        else if (dropped.firstOther.IsEmpty())
            dropped.firstOther = path;
    }
    return dropped;
}

EDropAction ApplyDroppedFiles(const SDroppedFiles& dropped)
{
    if (dropped.folderRefused)
        theApp.SetMessage(kMessageError, kDroppedFolderMessage, 5);
    if (!dropped.playList.IsEmpty()) {
        theApp.m_arrPlayList.Copy(dropped.playList);
        theApp.m_nNetFileSize = 0;
        theApp.m_strPlayingNetFile.Empty();
        theApp.m_nPlayIndex = -1;
        return EDropAction::PlayMedia;
    }
    if (!dropped.subtitles.IsEmpty()) {
        if (theApp.m_strMediaPath.GetLength() > 1)
            return EDropAction::LoadSubtitle;
        theApp.SetMessage(kMessageError, kDroppedSubtitleWithoutMediaMessage, 5);
        return EDropAction::None;
    }
    // The folder's notice stays when the scan ended there.
    if (!dropped.folderRefused && !dropped.firstOther.IsEmpty())
        theApp.SetMessage(kMessageError, CString(kDroppedUnknownFileMessage) + NameOf(dropped.firstOther), 5);
    return EDropAction::None;
}
