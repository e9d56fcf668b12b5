// The online subtitle service: where the package of a media digest lies on
// the subtitle host, and whether the host has one. The host answers every
// missing package with a placeholder page of a fixed length.
#pragma once

#include <string>

#include "platform/cstring.h"
#include "core/httptransfer.h"

// The length of the host's placeholder answer.
constexpr const char* kPlaceholderLength = "26808";

// "http://<host>/subtitles/<first digit>/<digest>.jpg" (the package is a zip
// archive despite the name); "" without a host or a digest.
CString OnlineSubtitleAddress(const CString& host, const CString& digest);

enum class ERemotePackage {
    Available,   // a 2xx answer that is not the placeholder
    Missing,     // an error status or the placeholder
    NoAnswer,    // no connection, no answer in time, or a cancelled request
};

// Asks the host for the package's headers (no body is read).
ERemotePackage CheckRemotePackage(const std::string& url, const SHttpOptions& options);

class CQuenlowApp;
// The media's lesson is still being fetched: it plays with the blank lesson
// meanwhile, and nothing is said yet.
void PlayWithoutLessonMeanwhile(CQuenlowApp& app);
// No lesson was found for the media: it plays with the blank lesson, and the
// learner is told with `message` (an error, shown `seconds`).
void UseBlankLesson(CQuenlowApp& app, const CString& message = "没有匹配到字幕文件！", int seconds = 3);
