// The dictionary pane's side of the subtitle store: the frame asks it for
// the package of a media digest before it asks the subtitle host.
#include "vocabulary/detailwordpane.h"

#include "online/core/onlinesubtitle.h"
#include "online/core/subtitlestore.h"
#include "core/quenlow.h"

bool CDetailWordPane::IsInSubtitleLibrary(const CString& key)
{
    return ::IsInSubtitleLibrary(theApp.m_strSubtitleDir, key);
}

CString CDetailWordPane::LoadSubtitleFromLibrary()
{
    const CString key = theApp.m_strMediaSha1;
    switch (::LoadSubtitleFromLibrary(theApp.m_strSubtitleDir, key, theApp.m_strTmpJpgPath, theApp.m_strTmpScriptPath,
                                      theApp.m_strSubtitleStorePath)) {
    case ELibraryLoad::NotFound:
        return CString();
    case ELibraryLoad::Loaded:
        theApp.m_strScriptPath = theApp.m_strTmpScriptPath;
        return key;
    case ELibraryLoad::Damaged:
        UseBlankLesson(theApp, "字幕库文件已经破损！", 10);
        return key;
    }
    return CString();
}
