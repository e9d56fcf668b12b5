// Files dropped on the main window: the media files among them become the
// new play list. A folder, or an item that cannot be found, ends the scan
// with a notice; files taken before it stay in the list. Paths of any length
// are accepted.
#pragma once

#include <vector>

#include "platform/cstring.h"

// The notice for a dropped folder (kind 1, 5 seconds).
extern const char* const kDroppedFolderMessage;   // "不支持文件夹拖放！"

struct SDroppedFiles {
    CStringArray playList;        // video and audio files, in drop order
    bool folderRefused = false;   // a folder or a missing item ended the scan
};

// Sorts the dropped paths (program text, in drop order). A path that does
// not exist as given is tried once more with its surrounding blanks trimmed.
SDroppedFiles FilterDroppedFiles(const std::vector<CString>& paths);

// Applies a drop to theApp: the play list is replaced, a download-and-play
// ends (m_strPlayingNetFile and m_nNetFileSize cleared), the play index
// becomes -1 when the list is not empty, and a refused folder leaves its
// notice in the show-message slot. The frame then performs
// "HalvikSoftPlayerPlayLocalFile:", which plays the first entry or reports
// that there is nothing to play.
void ApplyDroppedFiles(const SDroppedFiles& dropped);
