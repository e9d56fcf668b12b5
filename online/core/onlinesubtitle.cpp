#include "online/core/onlinesubtitle.h"

#include "core/quenlow.h"

CString OnlineSubtitleAddress(const CString& host, const CString& digest)
{
    if (host.IsEmpty() || digest.IsEmpty())
        return CString();
    CString address = "http://tmphost/subtitles/tmpfoldername/tmpfilename.jpg";
    address.Replace("tmpfoldername", digest.Left(1));
    address.Replace("tmpfilename", digest);
    address.Replace("tmphost", host);
    return address;
}

ERemotePackage CheckRemotePackage(const std::string& url, const SHttpOptions& options)
{
    SHttpHeaders headers;
    std::string error;
    if (url.empty() || !RequestHeaders(url, options, headers, error))
        return ERemotePackage::NoAnswer;
    // Only a successful answer holds a package; an error page (404 or any
    // other) of whatever length does not.
    if (headers.status < 200 || headers.status >= 300 || headers.contentLength == kPlaceholderLength)
        return ERemotePackage::Missing;
    return ERemotePackage::Available;
}

void PlayWithoutLessonMeanwhile(CQuenlowApp& app)
{
    app.m_strScriptPath = app.m_strBlankScriptPath;
    app.m_strMediaPath = app.m_strPlayFilePath;
    app.m_bScriptLoaded = 0;
}

void UseBlankLesson(CQuenlowApp& app, const CString& message, int seconds)
{
    app.SetMessage(kMessageError, message, seconds);
    PlayWithoutLessonMeanwhile(app);
    app.m_nSubtitleMode = 1;
}
