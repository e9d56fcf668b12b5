// Addresses of talk videos on the talk hosts and the command text that hands
// a set of downloads to the downloader program. The hosts are settings of
// the installation (Product.cfg: TalkVideoHost, PodcastHost).
#pragma once

#include <vector>

#include "platform/cstring.h"

// The video file name in a talk list item "[id][title][speaker][name.mp4][event]":
// the first bracketed field ending in ".mp4", else the first ending in
// ".mp3"; "" when there is none (callers skip such an item).
CString TalkFileNameOf(const CString& itemText);

enum class ETalkQuality {
    Light,    // "-light.mp4"
    Normal,   // ".mp4"
    P480,     // "-480p.mp4"
};

// The name of the talk's video in a quality: the stored quality suffix and
// extension give way to the requested ones ("Talk-480p.mp4", Light ->
// "Talk-light.mp4"; "Talk.mp3", P480 -> "Talk-480p.mp4").
CString TalkVideoName(const CString& fileName, ETalkQuality quality);

// "http://" + TalkVideoHost + "/talks/" + the video name in that quality; ""
// when no host is set.
CString TalkDownloadAddress(const CString& fileName, ETalkQuality quality);

// "http://" + PodcastHost + "/talk/podcast/" + the year part of the name (after
// its last "_", up to the next ".") + "/None/" + the video name in that
// quality; "" when no host is set.
CString TalkPodcastAddress(const CString& fileName, ETalkQuality quality);

// "HalvikSoftDL:" + address + two blanks for each name, in order; empty names
// (and names without an address) are skipped.
CString TalkDownloadCommands(const std::vector<CString>& fileNames, ETalkQuality quality);
