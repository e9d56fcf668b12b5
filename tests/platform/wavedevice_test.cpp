// The sound device on ALSA "default", fed and drained through files: buffers
// are filled with the input in order and at the pace of real time, silence
// follows the end of the input, Stop and Reset give buffers back with what
// they hold, and the device tells a missing "default" from one that refuses.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/wavedevice.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"

using testsupport::CAlsaTestConfig;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::TestSignal;

namespace {

constexpr int kRate = 44'100;
constexpr int kFrameBytes = 4;
constexpr int kBufferBytes = kRate / 10 * kFrameBytes;   // 100 ms

WAVEFORMATEX StereoFormat(int bits = 16)
{
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = kRate;
    format.wBitsPerSample = static_cast<uint16_t>(bits);
    format.nBlockAlign = static_cast<uint16_t>(2 * (bits / 8));
    format.nAvgBytesPerSec = format.nBlockAlign * kRate;
    return format;
}

// Collects what the device gives back, in order.
struct SReturned {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<WAVEHDR*> buffers;
    std::vector<unsigned> messages;

    static void Callback(CWaveDevice*, unsigned message, void* instance, WAVEHDR* hdr)
    {
        auto* self = static_cast<SReturned*>(instance);
        std::lock_guard<std::mutex> guard(self->lock);
        self->buffers.push_back(hdr);
        self->messages.push_back(message);
        self->changed.notify_all();
    }
    bool WaitFor(size_t count, std::chrono::milliseconds limit)
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, limit, [&] { return buffers.size() >= count; });
    }
    size_t Count()
    {
        std::lock_guard<std::mutex> guard(lock);
        return buffers.size();
    }
};

// A header with its own block, filled with a byte no device writes by chance.
struct SBuffer {
    explicit SBuffer(int size) : data(static_cast<size_t>(size), '\x5A')
    {
        hdr.lpData = data.data();
        hdr.dwBufferLength = static_cast<uint32_t>(size);
    }
    std::string Recorded() const { return data.substr(0, hdr.dwBytesRecorded); }
    std::string data;
    WAVEHDR hdr;
};

std::unique_ptr<CWaveDevice> OpenDevice(CWaveDevice::EDirection direction, SReturned& returned,
                                        EWaveOpenResult* result = nullptr)
{
    return CWaveDevice::Open(direction, StereoFormat(), &SReturned::Callback, &returned, result);
}

} // namespace

TEST(WaveDevice, OpenTellsMissingFromRefusingDevices)
{
    struct SCase {
        const char* what;
        std::string config;
        int bits;
        EWaveOpenResult expected;
    };
    const SCase cases[] = {
        {"a file-fed default opens", CAlsaTestConfig::FileDevice("/dev/zero", "/dev/null"), 16, EWaveOpenResult::Opened},
        {"no default: no device to record from", CAlsaTestConfig::NoDevice(), 16, EWaveOpenResult::NoDevice},
        {"a default that takes no linear PCM fails", CAlsaTestConfig::RefusingDevice(), 16, EWaveOpenResult::Failed},
        {"12-bit samples are no PCM format", CAlsaTestConfig::FileDevice("/dev/zero", "/dev/null"), 12, EWaveOpenResult::Failed},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAlsaTestConfig config(c.config);
        SReturned returned;
        EWaveOpenResult result = EWaveOpenResult::Opened;
        auto device = CWaveDevice::Open(CWaveDevice::Capture, StereoFormat(c.bits), &SReturned::Callback, &returned, &result);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(device != nullptr, c.expected == EWaveOpenResult::Opened);
    }
}

TEST(WaveDevice, CaptureFillsBuffersInOrderAtRealTimeThenSilence)
{
    // 150 ms of input for three 100 ms buffers: the file plug-in hands out
    // all of it at once and then reports frames it never writes.
    const std::string signal = TestSignal(kRate * 15 / 100);
    const TempFolder folder;
    const std::string input = folder.write("in.raw", signal);
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice(input, "/dev/null"));

    SReturned returned;
    auto device = OpenDevice(CWaveDevice::Capture, returned);
    ASSERT_NE(device, nullptr);
    SBuffer buffers[3] = {SBuffer(kBufferBytes), SBuffer(kBufferBytes), SBuffer(kBufferBytes)};
    for (SBuffer& b : buffers) {
        ASSERT_TRUE(device->PrepareHeader(&b.hdr));
        ASSERT_TRUE(device->AddBuffer(&b.hdr));
    }
    const auto start = std::chrono::steady_clock::now();
    device->Start();
    ASSERT_TRUE(returned.WaitFor(3, std::chrono::seconds(5)));
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_GE(elapsed, std::chrono::milliseconds(290)) << "300 ms of audio came faster than real time";
    ASSERT_EQ(returned.buffers, (std::vector<WAVEHDR*>{&buffers[0].hdr, &buffers[1].hdr, &buffers[2].hdr}));
    for (unsigned message : returned.messages)
        EXPECT_EQ(message, WIM_DATA);
    for (SBuffer& b : buffers) {
        EXPECT_EQ(b.hdr.dwBytesRecorded, static_cast<uint32_t>(kBufferBytes));
        EXPECT_EQ(b.hdr.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
    }
    const std::string recorded = buffers[0].Recorded() + buffers[1].Recorded() + buffers[2].Recorded();
    EXPECT_EQ(recorded.substr(0, signal.size()), signal);
    EXPECT_EQ(recorded.substr(signal.size()), std::string(recorded.size() - signal.size(), '\0'))
        << "frames past the input must be silence, not what the buffer held";
}

TEST(WaveDevice, StopAndResetGiveBuffersBackWithWhatTheyHold)
{
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice("/dev/zero", "/dev/null"));
    SReturned returned;
    auto device = OpenDevice(CWaveDevice::Capture, returned);
    ASSERT_NE(device, nullptr);
    SBuffer first(kBufferBytes * 10), second(kBufferBytes), third(kBufferBytes);

    EXPECT_FALSE(device->AddBuffer(&first.hdr)) << "an unprepared buffer is refused";
    for (SBuffer* b : {&first, &second, &third}) {
        ASSERT_TRUE(device->PrepareHeader(&b->hdr));
        ASSERT_TRUE(device->AddBuffer(&b->hdr));
    }
    EXPECT_FALSE(device->AddBuffer(&first.hdr)) << "a queued buffer is not queued twice";
    EXPECT_FALSE(device->UnprepareHeader(&first.hdr)) << "the device still holds it";

    device->Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    device->Stop();
    // Stop gives back only the partly filled buffer, with its bytes.
    ASSERT_EQ(returned.Count(), 1u);
    EXPECT_EQ(returned.buffers[0], &first.hdr);
    EXPECT_GT(first.hdr.dwBytesRecorded, 0u);
    EXPECT_LT(first.hdr.dwBytesRecorded, first.hdr.dwBufferLength);
    EXPECT_EQ(first.hdr.dwBytesRecorded % kFrameBytes, 0u);
    EXPECT_TRUE(device->UnprepareHeader(&first.hdr));

    // Reset gives back the rest, oldest first, and they are free at once.
    device->Reset();
    ASSERT_EQ(returned.buffers, (std::vector<WAVEHDR*>{&first.hdr, &second.hdr, &third.hdr}));
    EXPECT_EQ(second.hdr.dwBytesRecorded, 0u);
    EXPECT_TRUE(device->UnprepareHeader(&second.hdr));
    EXPECT_TRUE(device->UnprepareHeader(&third.hdr));
}

TEST(WaveDevice, ClosingGivesBackWhatItHolds)
{
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice("/dev/zero", "/dev/null"));
    SReturned returned;
    SBuffer buffer(kBufferBytes);
    {
        auto device = OpenDevice(CWaveDevice::Capture, returned);
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->PrepareHeader(&buffer.hdr));
        ASSERT_TRUE(device->AddBuffer(&buffer.hdr));
    }
    ASSERT_EQ(returned.buffers, std::vector<WAVEHDR*>{&buffer.hdr});
}

TEST(WaveDevice, PlaybackWritesEveryBufferAtRealTime)
{
    const std::string signal = TestSignal(kRate * 3 / 10);
    const TempFolder folder;
    const std::string output = folder.path() + "out.raw";
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice("", output));
    SReturned returned;
    auto device = OpenDevice(CWaveDevice::Playback, returned);
    ASSERT_NE(device, nullptr);
    SBuffer buffers[3] = {SBuffer(kBufferBytes), SBuffer(kBufferBytes), SBuffer(kBufferBytes)};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        buffers[i].data = signal.substr(static_cast<size_t>(i) * kBufferBytes, kBufferBytes);
        buffers[i].hdr.lpData = buffers[i].data.data();
        ASSERT_TRUE(device->PrepareHeader(&buffers[i].hdr));
        ASSERT_TRUE(device->AddBuffer(&buffers[i].hdr));
    }
    ASSERT_TRUE(returned.WaitFor(3, std::chrono::seconds(5)));
    // Playback runs up to 100 ms ahead of the clock: 300 ms take 200 ms.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
    for (unsigned message : returned.messages)
        EXPECT_EQ(message, WOM_DONE);
    device.reset();
    EXPECT_EQ(ReadBytes(output), signal);
}
