// The second player window's subtitle commands: which entry of the engine's
// subtitle list each one chooses (counted from the end of the list), the
// caption language it leaves, and the check marks of their update handlers.
// One test plays a clip in the engine.
#include <gtest/gtest.h>

#include <vector>

#include <vlc/vlc.h>

#include "playback/purewmpdialog.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/playback/mediafixtures.h"

using namespace std::chrono_literals;
using mediafixtures::GetMedia;
using mediafixtures::PumpUntil;

namespace {

constexpr int kCommands[] = {kCmdSecondPlayerSubtitleBoth, kCmdSecondPlayerSubtitleEnglish,
                             kCmdSecondPlayerSubtitleChinese, kCmdSecondPlayerSubtitleOff};

void SendCommand(wxWindow* window, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    command.SetEventObject(window);
    window->ProcessWindowEvent(command);
}

// Which of the four commands the update handlers show checked.
std::vector<bool> CheckedCommands(wxWindow* window)
{
    std::vector<bool> checked;
    for (int id : kCommands) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(window);
        EXPECT_TRUE(window->ProcessWindowEvent(update)) << id;
        checked.push_back(update.GetSetChecked() && update.GetChecked());
    }
    return checked;
}

// The engine's id of each entry of the subtitle list, "Disable" first.
std::vector<int> SubtitleEntryIds(libvlc_media_player_t* player)
{
    std::vector<int> ids;
    libvlc_track_description_t* list = libvlc_video_get_spu_description(player);
    for (libvlc_track_description_t* entry = list; entry; entry = entry->p_next)
        ids.push_back(entry->i_id);
    if (list)
        libvlc_track_description_list_release(list);
    return ids;
}

TEST(SecondPlayerSubtitles, CommandsChooseEntriesFromTheEndOfTheListAndCheckTheirLanguage)
{
    testsupport::AppStateGuard guard(&CQuenlowApp::m_strCaptionLanguage);
    mediafixtures::EngineFolderScope engine(mediafixtures::Outputs::Dummy);
    auto* window = new CPureWMPDialog;
    ASSERT_TRUE(window->Create(nullptr));

    // Nothing playing: the commands still set the language.
    const struct {
        int id;
        const char* language;
        std::vector<bool> checked;
    } commands[] = {
        {kCmdSecondPlayerSubtitleBoth, "Both", {true, false, false, false}},
        {kCmdSecondPlayerSubtitleEnglish, "Eng", {false, true, false, false}},
        {kCmdSecondPlayerSubtitleChinese, "Chn", {false, false, true, false}},
        {kCmdSecondPlayerSubtitleOff, "", {false, false, false, true}},
    };
    for (const auto& c : commands) {
        SendCommand(window, c.id);
        EXPECT_EQ(CString(c.language), theApp.m_strCaptionLanguage) << c.id;
        EXPECT_EQ(c.checked, CheckedCommands(window)) << c.id;
    }
    theApp.m_strCaptionLanguage = "other";
    EXPECT_EQ((std::vector<bool>{false, false, false, false}), CheckedCommands(window));

    // A clip with three subtitle tracks: with "Disable", four entries. Both
    // languages take entry 2, English entry 3, Chinese entry 4, which is
    // past the list: subtitles off, as "off" itself.
    window->m_player->OpenFile(GetMedia().clip.c_str());
    window->m_player->Play();
    ASSERT_TRUE(PumpUntil([&] { return window->GetPlayerState() == 3; }, 5s));
    const std::vector<int> ids = SubtitleEntryIds(window->m_player->RawPlayer());
    ASSERT_EQ(4u, ids.size());
    ASSERT_EQ(4, window->m_player->GetSpuCount());
    const struct {
        int id;
        int spu;
    } choices[] = {
        {kCmdSecondPlayerSubtitleBoth, ids[2]},
        {kCmdSecondPlayerSubtitleEnglish, ids[3]},
        {kCmdSecondPlayerSubtitleChinese, -1},
        {kCmdSecondPlayerSubtitleBoth, ids[2]},
        {kCmdSecondPlayerSubtitleOff, -1},
    };
    for (const auto& c : choices) {
        SendCommand(window, c.id);
        EXPECT_EQ(c.spu, window->m_player->GetSpuId()) << c.id;
    }
    window->StopPlayer();
    window->Destroy();
    mediafixtures::Pump(50ms);
}

} // namespace
