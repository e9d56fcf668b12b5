#include "core/droppedfiles.h"

#include "platform/file.h"
#include "core/quenlow.h"

const char* const kDroppedFolderMessage = "不支持文件夹拖放！";

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
    }
    return dropped;
}

void ApplyDroppedFiles(const SDroppedFiles& dropped)
{
    theApp.m_arrPlayList.Copy(dropped.playList);
    theApp.m_nNetFileSize = 0;
    theApp.m_strPlayingNetFile.Empty();
    if (dropped.folderRefused)
        theApp.SetMessage(kMessageError, kDroppedFolderMessage, 5);
    if (!theApp.m_arrPlayList.IsEmpty())
        theApp.m_nPlayIndex = -1;
}
