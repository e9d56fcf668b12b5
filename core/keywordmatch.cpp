#include "core/keywordmatch.h"

#include <array>

namespace {

// In the order of EPlayerKeyword. No keyword is a substring of another.
constexpr std::array<const char*, kPlayerKeywordCount> kKeywordTexts = {
    "HalvikSoftUpdatePlaylistInfo:",
    "AutoHalvikSoftUpdate:",
    "ManualHalvikSoftUpdate:",
    "ManualHalvikSoftNoUpdate:",
    "ManualHalvikSoftNotConnected:",
    "ManualHalvikSoftNetException:",
    "ManualHalvikSoftNoPrdID:",
    "HalvikSoftPlayerPlay:",
    "HalvikSoftPlayerPause:",
    "HalvikSoftPlayerStop:",
    "HalvikSoftPlayerReset:",
    "HalvikSoftPlayerSetVolume:",
    "HalvikSoftPlayerPlayProgress:",
    "LocalMediaPlaylistRefresh:",
    "OpenDownloaderWndFromPlayer:",
    "HalvikSoftPlayerPlayPre:",
    "HalvikSoftPlayerPlayNext:",
    "SelectFirstPlayLocalPlaylistFile:",
    "HalvikSoftPlayerPlayLocalFile:",
    "HalvikSoftDlAndPlay:",
    "HalvikSoftPlayerSetMiniStytle:",
    "HalvikSoftPlayerCancelMiniStytle:",
    "MainFrameMiniMize:",
    "MainFrameMormalMize:",
    "HalvikSoftMaxPanPane:",
};

constexpr const char* kBlanks = " \t\r\n";

// True when the keyword occurs in the token at the start or right after a
// colon (the end of the keyword before it in a concatenation).
bool TokenHoldsKeyword(const CString& token, const char* keyword)
{
    for (int pos = token.Find(keyword); pos >= 0; pos = token.Find(keyword, pos + 1)) {
        if (pos == 0 || token[pos - 1] == ':')
            return true;
    }
    return false;
}

} // namespace

const char* GetPlayerKeywordText(EPlayerKeyword keyword)
{
    const auto index = static_cast<size_t>(keyword);
    return index < kKeywordTexts.size() ? kKeywordTexts[index] : "";
}

CString GetKeywordToken(const CString& keywordText)
{
    CString token = keywordText;
    token.TrimLeft(kBlanks);
    const int blank = token.FindOneOf(kBlanks);
    return blank < 0 ? token : token.Left(blank);
}

std::vector<EPlayerKeyword> MatchPlayerKeywords(const CString& keywordText)
{
    std::vector<EPlayerKeyword> found;
    const CString token = GetKeywordToken(keywordText);
    if (token.IsEmpty())
        return found;
    for (size_t i = 0; i < kKeywordTexts.size(); ++i) {
        if (TokenHoldsKeyword(token, kKeywordTexts[i]))
            found.push_back(static_cast<EPlayerKeyword>(i));
    }
    return found;
}
