// The keyword commands that windows post to the main frame, and the matching
// that decides which of them a received keyword text performs.
//
// The frame tests its 25 keywords in a fixed order and performs every one
// that the text holds, so "HalvikSoftPlayerPause:HalvikSoftPlayerPlay:"
// plays and then pauses. Only the text's leading token counts (the part
// before its first blank), and there a keyword counts only where it starts the
// token or directly follows the colon of the keyword before it. The
// download-and-play command carries an address in its later fields, and the
// address itself can hold something that looks like a keyword
// ("http://x/a.mp4?MainFrameMiniMize:"); that must never hide the window.
#pragma once

#include <vector>

#include "platform/cstring.h"

// The keywords in the order the frame tests them.
enum class EPlayerKeyword {
    UpdatePlaylistInfo,      // "HalvikSoftUpdatePlaylistInfo:"      no action
    AutoUpdate,              // "AutoHalvikSoftUpdate:"              no action
    ManualUpdate,            // "ManualHalvikSoftUpdate:"            no action
    ManualNoUpdate,          // "ManualHalvikSoftNoUpdate:"
    ManualNotConnected,      // "ManualHalvikSoftNotConnected:"
    ManualNetException,      // "ManualHalvikSoftNetException:"
    ManualNoProductId,       // "ManualHalvikSoftNoPrdID:"
    Play,                    // "HalvikSoftPlayerPlay:"
    Pause,                   // "HalvikSoftPlayerPause:"
    Stop,                    // "HalvikSoftPlayerStop:"
    Reset,                   // "HalvikSoftPlayerReset:"
    SetVolume,               // "HalvikSoftPlayerSetVolume:"
    PlayProgress,            // "HalvikSoftPlayerPlayProgress:"      ends the dispatch unless playing
    RefreshLocalPlaylist,    // "LocalMediaPlaylistRefresh:"
    OpenDownloader,          // "OpenDownloaderWndFromPlayer:"
    PlayPrevious,            // "HalvikSoftPlayerPlayPre:"
    PlayNext,                // "HalvikSoftPlayerPlayNext:"
    SelectFirstLocalFile,    // "SelectFirstPlayLocalPlaylistFile:"  no action
    PlayLocalFile,           // "HalvikSoftPlayerPlayLocalFile:"
    DownloadAndPlay,         // "HalvikSoftDlAndPlay:"
    SetMiniStyle,            // "HalvikSoftPlayerSetMiniStytle:"
    CancelMiniStyle,         // "HalvikSoftPlayerCancelMiniStytle:"
    HideMainWindow,          // "MainFrameMiniMize:"
    RestoreMainWindow,       // "MainFrameMormalMize:"
    MaximizePanPane,         // "HalvikSoftMaxPanPane:"
};

constexpr int kPlayerKeywordCount = 25;

// The keyword's text, as senders post it (with its colon).
const char* GetPlayerKeywordText(EPlayerKeyword keyword);

// The part of a keyword text that is matched: from its first non-blank
// character up to the next blank (space, tab, CR or LF), or to the end.
CString GetKeywordToken(const CString& keywordText);

// The keywords that the text performs, in the order the frame tests them;
// each keyword at most once. Empty for a text without a keyword
// ("PlayFromPanPane"). Case matters.
std::vector<EPlayerKeyword> MatchPlayerKeywords(const CString& keywordText);
