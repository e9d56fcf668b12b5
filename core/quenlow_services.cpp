#include "core/quenlow.h"

#include <cstdlib>
#include <initializer_list>


#include "platform/file.h"
#include "platform/process.h"

namespace {

// Host of the second cloud-storage service, whose file addresses are their own id.
constexpr const char* kSecondPanHost = "pan.example-cloud.cn";
// Video play page of the first cloud-storage service: a page, not a media file.
constexpr const char* kFirstPanPlayPage = "yun.example-disk.cn/play/video";

constexpr const char* kScriptExtension = ".script";

bool EndsWith(const CString& text, const char* suffix)
{
    const CString tail(suffix);
    return text.GetLength() >= tail.GetLength() && text.Right(tail.GetLength()) == tail;
}

bool IsOneOf(const CString& text, std::initializer_list<const char*> items)
{
    for (const char* item : items) {
        if (text == item)
            return true;
    }
    return false;
}

// The text from its last "." on, lower-cased; "" when there is no "." or the
// only one is the first character.
CString LowerExtension(const CString& text)
{
    const int dot = text.ReverseFind('.');
    if (dot <= 0)
        return CString();
    CString extension = text.Mid(dot);
    extension.MakeLower();
    return extension;
}

} // namespace

CString CQuenlowApp::FindMediaForScript(const CString& scriptPath)
{
    if (!EndsWith(scriptPath, kScriptExtension))
        return CString();
    const int stemLength = scriptPath.GetLength() - CString(kScriptExtension).GetLength();
    const CString stem = scriptPath.Left(stemLength);

    std::vector<CString> candidates{stem + ".mp4"};
    if (m_strContentKind == "ted") {
        candidates.push_back(stem + "-480p.mp4");
        candidates.push_back(stem + "-light.mp4");
    }
    candidates.push_back(stem + ".avi");
    candidates.push_back(stem + ".rmvb");
    // The ".mkv" name is built from the path without surrounding white space.
    CString trimmed = scriptPath;
    trimmed.Trim();
    candidates.push_back(trimmed.Left(trimmed.GetLength() - CString(kScriptExtension).GetLength()) + ".mkv");
    candidates.push_back(stem + ".mp3");

    for (const CString& candidate : candidates) {
        if (IsRegularFile(candidate))
            return candidate;
    }
    return CString();
}

void CQuenlowApp::CollectDataFiles(const CString& folder)
{
    for (const CString& path : ListFilesRecursive(folder)) {
        const CString name = path.Mid(path.ReverseFind('/') + 1);
        if (EndsWith(name, ".data"))
            m_arrDataFiles.Add(path);
    }
}

int CQuenlowApp::GetMediaKind(const CString& path) const
{
    const CString extension = LowerExtension(path);
    if (extension.IsEmpty())
        return 1;
    // ".wma" is video: the video list is consulted first.
    if (IsOneOf(extension, {".avi", ".mkv", ".rm", ".rmvb", ".mp4", ".mov", ".flv", ".mpg", ".mpe", ".3gp", ".wma",
                            ".wmv", ".asf", ".m4v", ".f4v", ".swf", ".ts", ".m2ts", ".dat", ".vob", ".media"}))
        return 1;
    if (IsOneOf(extension, {".mp3", ".ogg", ".ape", ".acc", ".m4a", ".flac"}))
        return 2;
    return 3;
}

BOOL CQuenlowApp::IsProcessRunning(const CString& exeName) const
{
    return FindProcessesByExeName(exeName).empty() ? FALSE : TRUE;
}

void CQuenlowApp::KillProcesses(const CString& exeName) const { KillProcessesByExeName(exeName); }

CString CQuenlowApp::GetPanFileId(const CString& address) const
{
    const int length = address.GetLength();
    const int file = address.Find("/file/");
    if (file > 0)
        return length > file + 30 ? address.Mid(file + 6, 20) : address;
    if (address.Find(kSecondPanHost) > 0)
        return length > 120 ? address.Left(120) : address;
    const int fhash = address.Find("fhash=");
    if (fhash > 0)
        return length > fhash + 20 ? address.Mid(fhash + 6, 10) : address;
    return address;
}

BOOL CQuenlowApp::IsMediaUrl(const CString& address) const
{
    if (address.Find(kFirstPanPlayPage) >= 0)
        return FALSE;
    CString url = address;
    url.Trim();
    if (url.Find('.', 1) < 0)
        return FALSE;
    if (url.Left(5) != "http:")
        return FALSE;
    if (url.Find(".mp3") >= 0 || url.Find(".mp4") >= 0 || url.Find(".srt") >= 0)
        return TRUE;
    const CString extension = LowerExtension(url);
    return IsOneOf(extension, {".avi", ".mkv", ".rm", ".rmvb", ".mp4", ".mov", ".flv", ".mpg", ".mpeg", ".3gp", ".wma",
                               ".wmv", ".asf", ".m4v", ".f4v", ".swf", ".ts", ".vob", ".media", ".mp3", ".ogg", ".ape",
                               ".acc", ".m4a", ".flac", ".zip", ".rar"})
               ? TRUE
               : FALSE;
}

int CQuenlowApp::RandomIndex(int n) const
{
    // Never seeded: the random play order repeats after every start.
    return n == 0 ? 1 : std::rand() % n;
}

int64_t CQuenlowApp::GetFileLength(const CString& path)
{
    if (!FileExists(path))
        return 0;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareCompat))
        return 0;
    const int64_t length = file.GetLength();
    return length > 0 ? length : 0;
}

void CQuenlowApp::AddToLookupHistory(const CString& word)
{
    for (const CString& entry : m_arrLookupHistory) {
        if (entry == word)
            return;
    }
    m_arrLookupHistory.Add(word);
    m_nLookupHistoryPos = m_arrLookupHistory.GetUpperBound();
}
