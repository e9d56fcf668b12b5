// Files dropped on the main window: the media files among them become the
// new play list; a subtitle file dropped without media joins the open media's
// subtitles. A folder, or an item that cannot be found, ends the scan with a
// notice; files taken before it stay. Paths of any length are accepted.
#pragma once

#include <vector>

#include "platform/cstring.h"

// The notice for a dropped folder (kind 1, 5 seconds).
extern const char* const kDroppedFolderMessage;   // "不支持文件夹拖放！"
// A subtitle file dropped while no media is open (kind 1, 5 seconds).
extern const char* const kDroppedSubtitleWithoutMediaMessage;
// The start of the notice for a drop of files that are neither media nor
// subtitles; the first such file's name follows (kind 1, 5 seconds).
extern const char* const kDroppedUnknownFileMessage;

struct SDroppedFiles {
    CStringArray playList;        // video and audio files, in drop order
    CStringArray subtitles;       // subtitle and lesson files, in drop order
    CString firstOther;           // the first file of any other kind
    bool folderRefused = false;   // a folder or a missing item ended the scan
};

// A file name that "载入字幕" takes: .script, .srt, .ass, .ssa, .smi, .idx
// and .lrc, in any letter case.
bool IsSubtitleFileName(const CString& path);

// Sorts the dropped paths (program text, in drop order). A path that does
// not exist as given is tried once more with its surrounding blanks trimmed.
SDroppedFiles FilterDroppedFiles(const std::vector<CString>& paths);

enum class EDropAction {
    None,           // nothing to do (a notice may be in the show-message slot)
    PlayMedia,      // perform "HalvikSoftPlayerPlayLocalFile:"
    LoadSubtitle,   // give subtitles[0] to the open media, as "载入字幕" does
};

// Applies a drop to theApp. With media in it, the play list is replaced, a
// download-and-play ends (m_strPlayingNetFile and m_nNetFileSize cleared) and
// the play index becomes -1; subtitle files dropped with media are left to
// the lesson search beside the media. Without media, the play list and any
// download-and-play stay: a subtitle file is for the open media (while
// m_strMediaPath is longer than one character), otherwise the slot says what
// is wrong. A refused folder leaves its notice in the show-message slot.
EDropAction ApplyDroppedFiles(const SDroppedFiles& dropped);
