#include "catalogue/core/talkdownload.h"

#include "catalogue/core/talkfiles.h"
#include "core/productsettings.h"

namespace {

// The video name without its quality suffix and final ".mp4"/".mp3"
// ("Talk-480p.mp4" -> "Talk"). The script name of a talk is made by the same
// rule, so it is borrowed from there.
CString TalkBaseName(const CString& fileName)
{
    const CString scriptName = FileNamePart(TalkScriptPath(fileName));
    return scriptName.Left(scriptName.GetLength() - CString(".script").GetLength());
}

const char* QualityEnding(ETalkQuality quality)
{
    switch (quality) {
    case ETalkQuality::Light:
        return "-light.mp4";
    case ETalkQuality::P480:
        return "-480p.mp4";
    case ETalkQuality::Normal:
        break;
    }
    return ".mp4";
}

CString DownloadAddressOn(const CString& host, const CString& fileName, ETalkQuality quality)
{
    if (host.IsEmpty())
        return CString();
    return "http://" + host + "/talks/" + TalkBaseName(fileName) + QualityEnding(quality);
}

// The field of an item text that ends with the extension and "]".
CString FieldEndingWith(const CString& itemText, const CString& extension)
{
    const int end = itemText.Find(extension + "]");
    if (end < 0)
        return CString();
    // Character-aware: a Chinese character's trail byte may equal "[".
    const int open = itemText.Left(end).ReverseFind('[');
    if (open < 0)
        return CString();
    return itemText.Mid(open + 1, end + extension.GetLength() - open - 1);
}

} // namespace

CString TalkFileNameOf(const CString& itemText)
{
    const CString mp4 = FieldEndingWith(itemText, ".mp4");
    return mp4.IsEmpty() ? FieldEndingWith(itemText, ".mp3") : mp4;
}

CString TalkVideoName(const CString& fileName, ETalkQuality quality)
{
    return TalkBaseName(fileName) + QualityEnding(quality);
}

CString TalkDownloadAddress(const CString& fileName, ETalkQuality quality)
{
    return DownloadAddressOn(GetProductSetting("TalkVideoHost"), fileName, quality);
}

CString TalkPodcastAddress(const CString& fileName, ETalkQuality quality)
{
    const CString host = GetProductSetting("PodcastHost");
    if (host.IsEmpty())
        return CString();
    // The year is read from the name without its quality suffix, so that every
    // quality of a talk lies in the same podcast folder.
    const CString base = TalkBaseName(fileName);
    const CString afterUnderscore = base.Mid(base.ReverseFind('_') + 1);
    const int dot = afterUnderscore.Find('.');
    const CString year = dot >= 0 ? afterUnderscore.Left(dot) : afterUnderscore;
    return "http://" + host + "/talk/podcast/" + year + "/None/" + TalkVideoName(fileName, quality);
}

CString TalkDownloadCommands(const std::vector<CString>& fileNames, ETalkQuality quality)
{
    // The settings file is read once for the whole list.
    const CString host = GetProductSetting("TalkVideoHost");
    CString commands;
    for (const CString& name : fileNames) {
        if (name.IsEmpty())
            continue;
        const CString address = DownloadAddressOn(host, name, quality);
        if (!address.IsEmpty())
            commands += "HalvikSoftDL:" + address + "  ";
    }
    return commands;
}
