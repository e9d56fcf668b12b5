// The media-engine facade against the real engine with dummy outputs.
#include <atomic>
#include <cstdlib>
#include <thread>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <optional>
#include <vlc/vlc.h>

#include "playback/vlcplayer.h"
#include "core/quenlow.h"
#include "tests/playback/mediafixtures.h"

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::U8;
using mediafixtures::WaitFor;

namespace {

// Stopping while the engine's subtitle decoder holds a subtitle it has not
// drawn yet makes the stop wait 6 s: the decoder looks for the video output,
// which the stop has already taken away. Switching subtitles off a moment
// before keeps the tests quick.
void SubtitlesOff(CVlcPlayer& player)
{
    player.SetSpu(-1);
    std::this_thread::sleep_for(150ms);
}

// A facade that switches subtitles off before it goes away.
class QuickPlayer : public CVlcPlayer {
public:
    using CVlcPlayer::CVlcPlayer;
    ~QuickPlayer() { SubtitlesOff(*this); }
};

constexpr int kPlaying = 3;
constexpr int kPaused = 4;
constexpr int kStopped = 5;

class VlcPlayerTest : public testing::Test {
protected:
    void SetUp() override { GetMedia(); }

    // Opens and plays; true once the engine reports playing.
    static bool StartPlaying(CVlcPlayer& player, const std::string& path)
    {
        player.OpenFile(path.c_str());
        player.Play();
        return WaitFor([&] { return player.GetState() == kPlaying; }, 5s);
    }

    mediafixtures::EngineFolderScope m_folder{mediafixtures::Outputs::Dummy};
};

// Engine ids by track name, as the engine itself describes the tracks.
std::map<std::string, int> IdsByName(libvlc_track_description_t* list)
{
    std::map<std::string, int> ids;
    for (libvlc_track_description_t* entry = list; entry; entry = entry->p_next)
        ids[entry->psz_name ? entry->psz_name : ""] = entry->i_id;
    libvlc_track_description_list_release(list);
    return ids;
}

std::vector<std::string> Entries(const CStringArray& list)
{
    std::vector<std::string> entries;
    for (const CString& entry : list)
        entries.push_back(entry.str());
    return entries;
}

TEST_F(VlcPlayerTest, OpenPlayPauseStopFollowTheEngineStates)
{
    QuickPlayer player;
    ASSERT_NE(player.RawPlayer(), nullptr);

    player.OpenFile(GetMedia().clip.c_str());
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(player.GetState(), 0) << "opening alone must not start playback";

    player.Play();
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 5s));
    EXPECT_NEAR(static_cast<double>(player.GetLength()), 5000.0, 100.0);
    ASSERT_TRUE(WaitFor([&] { return player.GetTime() >= 300; }, 3s)) << "time does not advance";
    EXPECT_GT(player.GetPosition(), 0.0f);

    player.Pause();
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == kPaused; }, 3s));
    const int64_t pausedAt = player.GetTime();
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(player.GetTime(), pausedAt) << "time moves while paused";

    player.Pause();   // toggles back
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 3s));
    EXPECT_GT(player.GetReadBytes(), 0);

    player.Stop();
    EXPECT_TRUE(WaitFor([&] { return player.GetState() == kStopped; }, 3s));
}

// After the medium ended, or the engine met an error, play starts the media
// again: the engine's own play command would leave it where it is.
TEST_F(VlcPlayerTest, PlayAfterTheEndStartsAgain)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    player.Seek(4700);
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == CVlcPlayer::kStateEnded; }, 5s)) << player.GetState();
    ASSERT_TRUE(player.Play());
    EXPECT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 5s)) << player.GetState();
    EXPECT_TRUE(WaitFor([&] { return player.GetTime() >= 300; }, 5s)) << "time does not advance";
    player.Stop();
}

// A stop that must not wait reports stopped at once and leaves the engine
// stopped shortly after; playing again before then keeps the new playback.
TEST_F(VlcPlayerTest, StopWithoutWaitingStopsOnATimerThatPlayingCancels)
{
    QuickPlayer player;
    const auto engineState = [&] { return libvlc_media_player_get_state(player.RawPlayer()); };
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    player.SetSpu(1);
    player.StopWithoutWaiting();
    EXPECT_EQ(player.GetState(), kStopped);
    EXPECT_TRUE(player.IsStopPending());
    EXPECT_TRUE(mediafixtures::PumpUntil([&] { return engineState() == libvlc_Stopped; }, 3s));
    EXPECT_FALSE(player.IsStopPending());

    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    player.SetSpu(1);
    player.StopWithoutWaiting();
    player.Play();
    EXPECT_FALSE(player.IsStopPending());
    mediafixtures::Pump(500ms);
    EXPECT_EQ(engineState(), libvlc_Playing);
}

TEST_F(VlcPlayerTest, SeekWhilePausedLandsOnTheAskedTime)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    player.Pause();
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == kPaused; }, 3s));

    // Forwards, backwards, near the start and near the end.
    for (int64_t target : {2000, 1000, 40, 4500, 2520}) {
        player.Seek(target);
        EXPECT_TRUE(WaitFor([&] { return std::abs(player.GetTime() - target) <= 40; }, 2s))
            << "seek to " << target << " gave " << player.GetTime();
        EXPECT_EQ(player.GetState(), kPaused);
    }
    player.SetTime(3000);   // the second name of the same operation
    EXPECT_TRUE(WaitFor([&] { return std::abs(player.GetTime() - 3000) <= 40; }, 2s));
}

TEST_F(VlcPlayerTest, OpeningAnotherFileReplacesTheMedia)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    SubtitlesOff(player);
    player.OpenPath(GetMedia().wav.c_str());
    player.Play();
    EXPECT_TRUE(WaitFor([&] { return player.GetState() == kPlaying && player.GetLength() > 0; }, 5s));
    EXPECT_NEAR(static_cast<double>(player.GetLength()), 3000.0, 100.0);
    EXPECT_TRUE(player.ListSubtitleTracks().IsEmpty()) << "the tone has no subtitles";
}

TEST_F(VlcPlayerTest, OpenLocationPlaysAnAddressWithItsOption)
{
    CVlcPlayer player;
    player.OpenLocation(("file://" + GetMedia().wav).c_str(), ":network-caching=20000");
    player.Play();
    EXPECT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 5s));
}

TEST_F(VlcPlayerTest, ListsTracksAsNameAndId)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    const auto subtitleIds = IdsByName(libvlc_video_get_spu_description(player.RawPlayer()));
    const auto audioIds = IdsByName(libvlc_audio_get_track_description(player.RawPlayer()));

    // "X" is a one-byte name and left out; one Chinese character (three
    // bytes) is listed; names are trimmed; the engine's "Disable" has id -1.
    EXPECT_EQ(Entries(player.ListSubtitleTracks()),
              (std::vector<std::string>{"Disable::-1", U8(u8"中::") + std::to_string(subtitleIds.at(U8(u8"中"))),
                                        "English::" + std::to_string(subtitleIds.at("  English  "))}));

    EXPECT_EQ(Entries(player.ListAudioTracks()),
              (std::vector<std::string>{"Disable::-1", "Tone 440::" + std::to_string(audioIds.at("Tone 440")),
                                        "Tone 880::" + std::to_string(audioIds.at("Tone 880"))}));
}

TEST_F(VlcPlayerTest, ListsStayEmptyBeyondTheLargestCount)
{
    struct Case {
        const char* what;
        std::string path;
        int subtitles;   // expected entries, "Disable" included
        int audio;
    };
    const Case cases[] = {
        {"8 subtitle and 4 audio tracks fill the lists", GetMedia().largestLists, 9, 5},
        {"10 subtitle and 5 audio tracks are too many", GetMedia().tooManyTracks, 0, 0},
        {"no subtitle track, one audio track", GetMedia().wav, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QuickPlayer player;
        ASSERT_TRUE(StartPlaying(player, c.path));
        EXPECT_EQ(player.ListSubtitleTracks().GetSize(), c.subtitles);
        EXPECT_EQ(player.ListAudioTracks().GetSize(), c.audio);
    }
}

TEST_F(VlcPlayerTest, TrackPositionsSelectTheEngineIds)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    libvlc_media_player_t* raw = player.RawPlayer();
    const auto subtitleIds = IdsByName(libvlc_video_get_spu_description(raw));
    const auto audioIds = IdsByName(libvlc_audio_get_track_description(raw));

    // Positions count the engine's list, "Disable" being position 0.
    const struct {
        int position;
        int expectedId;
    } subtitleCases[] = {
        {1, subtitleIds.at(U8(u8"中"))},
        {3, subtitleIds.at("  English  ")},
        {2, subtitleIds.at("X")},
        {-1, -1},   // off, as callers ask when a lesson starts
        {3, subtitleIds.at("  English  ")},
        {99, -1},   // past the list: off
        {2, subtitleIds.at("X")},
        {0, -1},
    };
    for (const auto& c : subtitleCases) {
        player.SetSpu(c.position);
        EXPECT_EQ(libvlc_video_get_spu(raw), c.expectedId) << "position " << c.position;
    }

    const struct {
        int position;
        int expectedId;
    } audioCases[] = {
        {2, audioIds.at("Tone 880")},
        {1, audioIds.at("Tone 440")},   // the stored default, 1
        {7, audioIds.at("Tone 440")},   // past the list: unchanged
        {-1, audioIds.at("Tone 440")},
    };
    for (const auto& c : audioCases) {
        player.SetAudioTrack(c.position);
        EXPECT_EQ(libvlc_audio_get_track(raw), c.expectedId) << "position " << c.position;
    }
    player.SelectAudioTrack(2);
    EXPECT_EQ(libvlc_audio_get_track(raw), audioIds.at("Tone 880"));
}

// The menus show the listed tracks, which leave out the nameless "X": a
// listed position selects the engine id of its own entry, never the track at
// that position of the engine's full list.
TEST_F(VlcPlayerTest, ListedPositionsSelectTheirOwnEntries)
{
    QuickPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().clip));
    libvlc_media_player_t* raw = player.RawPlayer();
    const auto subtitleIds = IdsByName(libvlc_video_get_spu_description(raw));
    const auto audioIds = IdsByName(libvlc_audio_get_track_description(raw));
    const CStringArray subtitles = player.ListSubtitleTracks();
    const CStringArray audio = player.ListAudioTracks();
    ASSERT_EQ(subtitles.GetSize(), 3);   // Disable, 中, English

    player.SelectListedSubtitle(subtitles, 2);
    EXPECT_EQ(player.GetSpuId(), subtitleIds.at("  English  ")) << "the nameless track was chosen";
    player.SelectListedSubtitle(subtitles, 1);
    EXPECT_EQ(player.GetSpuId(), subtitleIds.at(U8(u8"中")));
    player.SelectListedSubtitle(subtitles, 7);   // past the list: unchanged
    EXPECT_EQ(player.GetSpuId(), subtitleIds.at(U8(u8"中")));
    player.SelectListedSubtitle(subtitles, 0);
    EXPECT_EQ(player.GetSpuId(), -1);
    player.SelectListedAudioTrack(audio, 2);
    EXPECT_EQ(libvlc_audio_get_track(raw), audioIds.at("Tone 880"));

    const struct {
        const char* entry;
        std::optional<int> id;
    } entries[] = {{"English::3", 3}, {"Disable::-1", -1}, {"a::b::12", 12}, {"no id", std::nullopt},
                   {"bad::", std::nullopt}, {"bad::4x", std::nullopt}};
    for (const auto& e : entries)
        EXPECT_EQ(CVlcPlayer::TrackIdOf(e.entry), e.id) << e.entry;
}

TEST_F(VlcPlayerTest, SubtitleFilesWithChinesePathsAddTracksBeforeAndDuringPlayback)
{
    QuickPlayer player;
    player.OpenFile(GetMedia().clip.c_str());
    player.SetSubtitleFile(GetMedia().subtitleBefore.c_str());
    player.Play();
    ASSERT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 5s));
    // "Disable", three embedded tracks and the file.
    EXPECT_TRUE(WaitFor([&] { return player.GetSpuCount() == 5; }, 2s)) << player.GetSpuCount();

    player.SetSubtitleFile(GetMedia().subtitleDuring.c_str());
    EXPECT_TRUE(WaitFor([&] { return player.GetSpuCount() == 6; }, 2s)) << player.GetSpuCount();
}

TEST_F(VlcPlayerTest, MediaWithoutSubtitlesKeepsThemOff)
{
    CVlcPlayer player;
    ASSERT_TRUE(StartPlaying(player, GetMedia().wav));
    EXPECT_EQ(player.GetSpuCount(), 0);
    player.SetSpu(1);   // no list at all: subtitles stay off
    EXPECT_EQ(libvlc_video_get_spu(player.RawPlayer()), -1);
}

TEST_F(VlcPlayerTest, FullScreenFlagIsTheLastOneGiven)
{
    CVlcPlayer player;
    EXPECT_FALSE(player.IsFullscreen());
    player.SetFullscreen(true);
    EXPECT_TRUE(player.IsFullscreen());
    player.SetFullscreen(false);
    EXPECT_FALSE(player.IsFullscreen());
}

TEST_F(VlcPlayerTest, TimeChangedCallbackRunsDuringPlayback)
{
    std::atomic<int> calls{0};
    {
        CVlcPlayer player;
        player.AttachTimeChanged([](const libvlc_event_t*, void* data) { ++*static_cast<std::atomic<int>*>(data); },
                                 &calls);
        ASSERT_TRUE(StartPlaying(player, GetMedia().wav));
        EXPECT_TRUE(WaitFor([&] { return calls.load() > 0; }, 3s));
    }
    // The player is gone: no call may come later.
    const int after = calls.load();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(calls.load(), after);
}

TEST_F(VlcPlayerTest, FailedEngineGivesNeutralValuesAndNeverCrashes)
{
    CVlcPlayer player({"--no-such-option-xyz"});
    EXPECT_EQ(player.RawPlayer(), nullptr);

    player.SetHwnd(1234);
    // The caller learns that nothing will play.
    EXPECT_FALSE(player.OpenFile(GetMedia().clip.c_str()));
    EXPECT_FALSE(player.OpenLocation("http://127.0.0.1:9/none", ":network-caching=20000"));
    player.SetSubtitleFile(GetMedia().subtitleBefore.c_str());
    EXPECT_FALSE(player.Play());
    player.Pause();
    player.Seek(1000);
    player.SetPosition(0.5f);
    player.SetVolume(50);
    player.SetMute(true);
    player.SetFullscreen(true);
    player.SetSpu(1);
    player.SetAudioTrack(1);
    player.AttachTimeChanged([](const libvlc_event_t*, void*) {}, nullptr);
    player.Stop();

    EXPECT_EQ(player.GetLength(), -1);
    EXPECT_EQ(player.GetTime(), -1);
    EXPECT_EQ(player.GetState(), 0);
    EXPECT_EQ(player.GetSpuCount(), 0);
    EXPECT_FALSE(player.IsFullscreen());
    EXPECT_FALSE(player.GetMute());
    EXPECT_EQ(player.GetReadBytes(), 0);
    EXPECT_EQ(player.WillPlay(), 0);
    EXPECT_TRUE(player.ListSubtitleTracks().IsEmpty());
    EXPECT_TRUE(player.ListAudioTracks().IsEmpty());
}

// What the working engine accepts and refuses, as the callers see it.
TEST_F(VlcPlayerTest, OpenAndPlayReportWhatTheEngineRefused)
{
    {
        QuickPlayer player;
        EXPECT_FALSE(player.Play()) << "nothing opened yet";
        EXPECT_FALSE(player.OpenFile(nullptr));
        EXPECT_FALSE(player.OpenLocation(nullptr, nullptr));
        EXPECT_FALSE(player.Play()) << "still nothing opened";
    }
    {
        QuickPlayer player;
        EXPECT_TRUE(player.OpenFile(GetMedia().clip.c_str()));
        EXPECT_TRUE(player.Play());
        EXPECT_TRUE(WaitFor([&] { return player.GetState() == kPlaying; }, 5s));
    }
    {
        // A location the engine accepts; that nothing answers there shows
        // only once playback runs.
        QuickPlayer player;
        EXPECT_TRUE(player.OpenLocation("http://127.0.0.1:9/none", ":network-caching=200"));
        player.Stop();
    }
}

// Two facades, as the main player and the second player window: each has its
// own engine, state and volume.
TEST(VlcPlayerPair, PlayAtTheSameTimeWithoutAffectingEachOther)
{
    mediafixtures::EngineFolderScope folder(mediafixtures::Outputs::AlsaNull);
    QuickPlayer first;
    QuickPlayer second;
    first.OpenFile(GetMedia().clip.c_str());
    second.OpenFile(GetMedia().wav.c_str());
    first.Play();
    second.Play();
    ASSERT_TRUE(WaitFor([&] { return first.GetState() == kPlaying && second.GetState() == kPlaying; }, 5s));

    // The engine reports a new volume once its audio output has applied it.
    first.SetVolume(0);
    second.SetVolume(150);
    EXPECT_TRUE(WaitFor([&] { return first.GetVolume() == 0 && second.GetVolume() == 150; }, 2s))
        << first.GetVolume() << " " << second.GetVolume();
    first.SetMute(true);
    EXPECT_TRUE(WaitFor([&] { return first.GetMute(); }, 2s));
    EXPECT_FALSE(second.GetMute());

    first.Pause();
    ASSERT_TRUE(WaitFor([&] { return first.GetState() == kPaused; }, 3s));
    const int64_t firstAt = first.GetTime();
    const int64_t secondAt = second.GetTime();
    EXPECT_TRUE(WaitFor([&] { return second.GetTime() >= secondAt + 300; }, 3s)) << "the second stopped with the first";
    EXPECT_EQ(first.GetTime(), firstAt);
    EXPECT_EQ(second.GetState(), kPlaying);
    EXPECT_NEAR(static_cast<double>(first.GetLength()), 5000.0, 100.0);
    EXPECT_NEAR(static_cast<double>(second.GetLength()), 3000.0, 100.0);
}

} // namespace
