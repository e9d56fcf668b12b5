#include "catalogue/core/talkfiles.h"

#include <cstring>

namespace {

// The name without its final extension ("a.b.mp4" -> "a.b"); the whole name
// when it has none.
CString StemOf(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Left(dot) : name;
}

CString ExtensionOf(const CString& name)
{
    const int dot = name.ReverseFind('.');
    return dot > 0 ? name.Mid(dot) : CString();
}

CString WithoutQualitySuffix(CString stem)
{
    for (const char* suffix : {"-480p", "-light"}) {
        const int length = static_cast<int>(std::strlen(suffix));
        if (stem.GetLength() > length && stem.Right(length) == suffix)
            stem = stem.Left(stem.GetLength() - length);
    }
    return stem;
}

} // namespace

CString FileNamePart(const CString& path)
{
    return path.Mid(path.ReverseFind('/') + 1);
}

CString FolderPart(const CString& path)
{
    return path.Left(path.ReverseFind('/') + 1);
}

CString ChooseTalkMediaName(const CString& playlistDir, const CString& storedName, const FileExistsFn& exists)
{
    if (exists(playlistDir + storedName))
        return storedName;
    const CString ext = ExtensionOf(storedName);
    if (ext.CompareNoCase(".mp4") != 0)
        return storedName;
    const CString stem = StemOf(storedName);
    for (const char* replacement : {".mp3", "-480p.mp4", "-light.mp4"}) {
        const CString candidate = stem + replacement;
        if (exists(playlistDir + candidate))
            return candidate;
    }
    return storedName;
}

CString TalkScriptPath(const CString& mediaPath)
{
    const CString name = FileNamePart(mediaPath);
    const CString ext = ExtensionOf(name);
    CString stem = StemOf(name);
    if (ext.CompareNoCase(".mp4") == 0 || ext.CompareNoCase(".mp3") == 0)
        stem = WithoutQualitySuffix(stem);
    else
        stem = name;   // not a talk medium: the name stays whole
    return FolderPart(mediaPath) + stem + ".script";
}

CString ScriptPathBeside(const CString& mediaPath)
{
    return FolderPart(mediaPath) + StemOf(FileNamePart(mediaPath)) + ".script";
}
