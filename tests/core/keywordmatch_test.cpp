// Which keyword commands a received keyword text performs, and in which order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keywordmatch.h"

namespace {

using K = EPlayerKeyword;

// The keywords in the order the frame tests them.
struct SRow {
    K keyword;
    const char* text;
};
const SRow kRows[] = {
    {K::UpdatePlaylistInfo, "HalvikSoftUpdatePlaylistInfo:"},
    {K::AutoUpdate, "AutoHalvikSoftUpdate:"},
    {K::ManualUpdate, "ManualHalvikSoftUpdate:"},
    {K::ManualNoUpdate, "ManualHalvikSoftNoUpdate:"},
    {K::ManualNotConnected, "ManualHalvikSoftNotConnected:"},
    {K::ManualNetException, "ManualHalvikSoftNetException:"},
    {K::ManualNoProductId, "ManualHalvikSoftNoPrdID:"},
    {K::Play, "HalvikSoftPlayerPlay:"},
    {K::Pause, "HalvikSoftPlayerPause:"},
    {K::Stop, "HalvikSoftPlayerStop:"},
    {K::Reset, "HalvikSoftPlayerReset:"},
    {K::SetVolume, "HalvikSoftPlayerSetVolume:"},
    {K::PlayProgress, "HalvikSoftPlayerPlayProgress:"},
    {K::RefreshLocalPlaylist, "LocalMediaPlaylistRefresh:"},
    {K::OpenDownloader, "OpenDownloaderWndFromPlayer:"},
    {K::PlayPrevious, "HalvikSoftPlayerPlayPre:"},
    {K::PlayNext, "HalvikSoftPlayerPlayNext:"},
    {K::SelectFirstLocalFile, "SelectFirstPlayLocalPlaylistFile:"},
    {K::PlayLocalFile, "HalvikSoftPlayerPlayLocalFile:"},
    {K::DownloadAndPlay, "HalvikSoftDlAndPlay:"},
    {K::SetMiniStyle, "HalvikSoftPlayerSetMiniStytle:"},
    {K::CancelMiniStyle, "HalvikSoftPlayerCancelMiniStytle:"},
    {K::HideMainWindow, "MainFrameMiniMize:"},
    {K::RestoreMainWindow, "MainFrameMormalMize:"},
    {K::MaximizePanPane, "HalvikSoftMaxPanPane:"},
};
static_assert(std::size(kRows) == kPlayerKeywordCount);

TEST(KeywordMatchTest, EachKeywordAloneAndWithItsArgumentPerformsExactlyItsRow)
{
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const SRow& row = kRows[i];
        EXPECT_EQ(static_cast<size_t>(row.keyword), i) << row.text;
        EXPECT_STREQ(GetPlayerKeywordText(row.keyword), row.text);
        const std::vector<K> one = {row.keyword};
        EXPECT_EQ(MatchPlayerKeywords(row.text), one) << row.text;
        // Senders append their fields after blanks; the fields are not read.
        EXPECT_EQ(MatchPlayerKeywords(CString(row.text) + " MainFrameMiniMize: HalvikSoftPlayerStop:"), one)
            << row.text;
        // No keyword hides inside another, so one keyword never performs two rows.
        for (const SRow& other : kRows) {
            if (&other != &row) {
                EXPECT_EQ(std::string(row.text).find(other.text), std::string::npos) << row.text << " " << other.text;
            }
        }
    }
}

TEST(KeywordMatchTest, ConcatenatedKeywordsArePerformedInTableOrder)
{
    EXPECT_EQ(MatchPlayerKeywords("HalvikSoftPlayerPause:HalvikSoftPlayerPlay:"), (std::vector<K>{K::Play, K::Pause}));

    // All 25 in reverse order come back in table order, each once.
    CString all;
    for (size_t i = std::size(kRows); i-- > 0;)
        all += kRows[i].text;
    all += "HalvikSoftPlayerPlay:";
    std::vector<K> expected;
    for (const SRow& row : kRows)
        expected.push_back(row.keyword);
    EXPECT_EQ(MatchPlayerKeywords(all), expected);
}

TEST(KeywordMatchTest, TextsWithoutAKeywordInTheLeadingTokenDoNothing)
{
    struct Case {
        const char* text;
        std::vector<K> expected;
    };
    const std::string dlAndPlay = "HalvikSoftDlAndPlay:    http://x/a.mp4?MainFrameMiniMize:HalvikSoftPlayerStop:    "
                                  "/home/u/cache/    halviksoft.mp4";
    const Case cases[] = {
        {"PlayFromPanPane", {}},
        {"", {}},
        {"   ", {}},
        {"halviksoftplayerplay:", {}},   // case matters
        {"HalvikSoftPlayerPlay", {}},    // the colon belongs to the keyword
        // An address that happens to hold a keyword performs none of it.
        {"http://x/a.mp4?MainFrameMiniMize:", {}},
        {"xHalvikSoftPlayerStop:", {}},
        // The download-and-play command performs its own row only.
        {dlAndPlay.c_str(), {K::DownloadAndPlay}},
        // The token is taken after leading blanks; tabs and line ends are blanks too.
        {"  HalvikSoftPlayerStop:\tMainFrameMiniMize:", {K::Stop}},
        {"HalvikSoftMaxPanPane:\r\n", {K::MaximizePanPane}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchPlayerKeywords(c.text), c.expected) << "\"" << c.text << "\"";
}

} // namespace
