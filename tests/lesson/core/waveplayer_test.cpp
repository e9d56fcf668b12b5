// The player on ALSA "default", defined as the file plug-in writing into a
// file: a WAV file is played at the pace of real time to its last sample,
// after which the buffers stay idle and the device falls silent.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "lesson/core/wavereader.h"
#include "lesson/core/waveplayer.h"
#include "lesson/core/wavewriter.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"

using testsupport::CAlsaTestConfig;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::TestSignal;

namespace {

// A player that tells how much it has handed to the device and whether all
// its buffers are idle.
class CWatchedPlayer : public CWavePlayer {
public:
    std::atomic<size_t> handedOver{0};
    bool AllIdle()
    {
        CWaveQueueLock idle(m_queueFree);
        return m_queueFree.size() == static_cast<size_t>(kBufferCount);
    }

protected:
    bool SubmitBuffer(CWaveHdr* hdr) override
    {
        const bool taken = CWavePlayer::SubmitBuffer(hdr);
        if (taken)
            handedOver += hdr->dwBufferLength;
        return taken;
    }
};

} // namespace

TEST(WavePlayer, PlaysAFileToItsEndThenFallsSilent)
{
    const TempFolder folder;
    const std::string samples = TestSignal(44'100 * 35 / 100);   // 3.5 buffers
    const std::string wav = folder.path() + "clip.wav";
    {
        CWaveWriter writer(wav.c_str(), 44'100, 16, 2);
        int len = static_cast<int>(samples.size());
        writer.Write(samples.data(), &len);
    }
    const std::string output = folder.path() + "played.raw";
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice("", output));
    CWaveReader reader(wav.c_str());
    CWatchedPlayer player;
    ASSERT_TRUE(player.SetDataStore(&reader));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(player.Start());
    const auto deadline = started + std::chrono::seconds(5);
    while (!(player.handedOver == samples.size() && player.AllIdle()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_EQ(player.handedOver.load(), samples.size());
    ASSERT_TRUE(player.AllIdle()) << "the device gave every buffer back";
    // 350 ms of audio, written up to 100 ms ahead of the clock.
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(240));
    player.Stop();
    EXPECT_EQ(ReadBytes(output), samples);
}
