// The wave-audio engine on devices the test scripts: buffers reach the store
// in the order the device finished them, the workers come back after every
// Stop, and neither a device that refuses buffers nor one that keeps them
// through a reset makes Stop wait for ever. Stop before Start and a second
// Shutdown return at once, and a format that cannot size the buffers is
// refused before anything is allocated.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "lesson/core/waveio.h"
#include "lesson/core/waverecorder.h"
#include "tests/testsupport.h"

using testsupport::RunBounded;

namespace {

constexpr long kMemoryKiB = 64 * 1024;

// A store that keeps every byte it is given.
class CMemoryStore : public CWaveDataStore {
public:
    explicit CMemoryStore(int rate = 44'100, short bits = 16, short channels = 2)
        : m_nRate(rate), m_nBits(bits), m_nChannels(channels)
    {
    }
    void Write(const char* data, int* len) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_bytes.append(data, static_cast<size_t>(*len));
        ++m_nWrites;
    }
    void GetFormat(int* rate, short* bits, short* channels) override
    {
        *rate = m_nRate;
        *bits = m_nBits;
        *channels = m_nChannels;
    }
    bool Seek(int, bool) override { return false; }
    std::string Bytes()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_bytes;
    }
    int Writes()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_nWrites;
    }

private:
    std::mutex m_lock;
    std::string m_bytes;
    int m_nWrites = 0;
    const int m_nRate;
    const short m_nBits;
    const short m_nChannels;
};

// An engine whose device does what the test says.
class CScriptedIO : public CWaveIOBase {
public:
    enum EDevice {
        Refuses,          // takes no buffer
        FinishesAtOnce,   // fills a buffer and reports it done before taking it
        KeepsBuffers,     // takes buffers and never gives them back, not even on a reset
    };
    explicit CScriptedIO(EDevice device, bool opens = true) : m_eDevice(device), m_bOpens(opens) {}
    ~CScriptedIO() override { Shutdown(); }

    std::atomic<int> submitted{0};
    int opens = 0;
    int closes = 0;
    // The queues when the device was first closed.
    size_t idleAtFirstClose = 0;
    size_t heldAtFirstClose = 0;
    int BufferSize() const { return m_nBufferSize; }

protected:
    bool SubmitBuffer(CWaveHdr* hdr) override
    {
        const int number = submitted++;
        if (m_eDevice == Refuses)
            return false;
        if (m_eDevice == FinishesAtOnce) {
            // Every buffer carries its number, so the store shows the order.
            std::fill(hdr->lpData, hdr->lpData + hdr->dwBufferLength, static_cast<char>('A' + number % 26));
            hdr->dwBytesRecorded = hdr->dwBufferLength;
            WaveDeviceCallback(nullptr, WIM_DATA, this, hdr);
        }
        return true;
    }
    void PrepareBuffer(CWaveHdr* hdr) override
    {
        hdr->Clear();
        hdr->dwBufferLength = static_cast<uint32_t>(m_nBufferSize);
    }
    void ReclaimBuffer(CWaveHdr* hdr) override
    {
        if (m_pDataStore != nullptr && hdr->dwBytesRecorded > 0) {
            int len = static_cast<int>(hdr->dwBytesRecorded);
            m_pDataStore->Write(hdr->lpData, &len);
        }
    }
    bool OpenDevice() override
    {
        ++opens;
        return m_bOpens;
    }
    void CloseDevice() override
    {
        if (closes++ == 0) {
            idleAtFirstClose = m_queueFree.size();
            heldAtFirstClose = m_queueDevice.size();
        }
    }
    void StartDevice() override {}
    void PauseDevice() override {}
    void ResumeDevice() override {}
    void ResetDevice() override {}

private:
    const EDevice m_eDevice;
    const bool m_bOpens;
};

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Whether bytes are whole buffers of 'A', 'B', 'C'... in that order.
bool ConsecutiveBuffers(const std::string& bytes, size_t bufferSize)
{
    if (bytes.empty() || bytes.size() % bufferSize != 0)
        return false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != static_cast<char>('A' + (i / bufferSize) % 26))
            return false;
    }
    return true;
}

} // namespace

TEST(WaveEngine, DeliversFinishedBuffersInOrderAndRestartsAfterEveryStop)
{
    // The device reports each buffer done before the engine has recorded it
    // as handed over; the count must still only reclaim what is there.
    CScriptedIO io(CScriptedIO::FinishesAtOnce);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        CMemoryStore store;
        io.submitted = 0;
        ASSERT_TRUE(io.SetDataStore(&store));
        ASSERT_TRUE(io.Start());
        EXPECT_TRUE(io.Start()) << "a second Start only answers";
        ASSERT_TRUE(WaitUntil([&] { return store.Writes() >= 3; })) << "the workers did not come back after Stop";
        const auto run = RunBounded([&] { io.Stop(); }, 0.3, kMemoryKiB);
        EXPECT_FALSE(run.overran) << run.seconds << " s";
        EXPECT_TRUE(ConsecutiveBuffers(store.Bytes(), static_cast<size_t>(io.BufferSize())));
        EXPECT_EQ(store.Writes(), io.submitted.load()) << "every finished buffer reaches the store once";
    }
    EXPECT_EQ(io.idleAtFirstClose, 8u);
}

TEST(WaveEngine, RefusedBuffersGoBackToTheIdleOnes)
{
    CScriptedIO io(CScriptedIO::Refuses);
    CMemoryStore store;
    ASSERT_TRUE(io.SetDataStore(&store));
    ASSERT_TRUE(io.Start());
    ASSERT_TRUE(WaitUntil([&] { return io.submitted >= 3; }));
    // Nothing is held by the device, so there is nothing to wait for.
    const auto run = RunBounded([&] { io.Stop(); }, 0.3, kMemoryKiB);
    EXPECT_FALSE(run.overran) << run.seconds << " s";
    EXPECT_EQ(io.closes, 1);
    EXPECT_EQ(io.idleAtFirstClose, 8u);
    EXPECT_EQ(io.heldAtFirstClose, 0u);
    EXPECT_EQ(store.Writes(), 0);
}

TEST(WaveEngine, DeviceKeepingBuffersThroughResetIsClosedNotWaitedFor)
{
    CScriptedIO io(CScriptedIO::KeepsBuffers);
    CMemoryStore store;
    ASSERT_TRUE(io.SetDataStore(&store));
    ASSERT_TRUE(io.Start());
    ASSERT_TRUE(WaitUntil([&] { return io.submitted >= 3; }));
    const auto run = RunBounded([&] { io.Stop(); }, 2.0, kMemoryKiB);
    EXPECT_FALSE(run.overran) << run.seconds << " s";
    // The drain gave up and closed the device while it still held buffers;
    // they came back to the idle ones and were freed with them.
    EXPECT_GT(io.heldAtFirstClose, 0u);
    EXPECT_EQ(io.idleAtFirstClose + io.heldAtFirstClose, 8u);
}

TEST(WaveEngine, StopBeforeStartAndShutdownTwiceReturn)
{
    const auto run = RunBounded(
        [] {
            CWaveRecorder recorder;
            EXPECT_TRUE(recorder.Stop()) << "the workers are parked from the start";
            EXPECT_FALSE(recorder.Start()) << "nothing to record into";
            recorder.Shutdown();
            recorder.Shutdown();
            CMemoryStore store;
            EXPECT_FALSE(recorder.SetDataStore(&store)) << "the workers have ended";
            EXPECT_FALSE(recorder.Start());
            EXPECT_TRUE(recorder.Stop());

            // A device that does not open: no Start, and Stop has nothing to wait for.
            CScriptedIO closed(CScriptedIO::KeepsBuffers, false);
            EXPECT_FALSE(closed.SetDataStore(&store));
            EXPECT_FALSE(closed.Start());
            EXPECT_EQ(closed.submitted.load(), 0);
            EXPECT_TRUE(closed.Stop());
        },
        2.0, kMemoryKiB);
    EXPECT_FALSE(run.overran) << run.seconds << " s";
}

TEST(WaveEngine, SizesBuffersByTheFormatAndRefusesFormatsItCannotMove)
{
    struct SCase {
        const char* what;
        int rate;
        short bits;
        short channels;
        int bufferSize;   // 0: refused
    };
    const SCase cases[] = {
        {"speech practice: 100 ms of 44.1 kHz 16-bit stereo", 44'100, 16, 2, 17640},
        {"8 kHz 8-bit mono", 8000, 8, 1, 800},
        {"the division comes first: 11025 / 20 = 551, twice", 11025, 8, 1, 1102},
        {"no rate", 0, 16, 2, 0},
        {"12-bit samples", 44'100, 12, 2, 0},
        {"no channels", 44'100, 16, 0, 0},
        {"a rate read from a hostile file", 0x7FFFFFFF, 16, 2, 0},
        {"a channel count read from a hostile file", 44'100, 32, 3000, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CScriptedIO io(CScriptedIO::KeepsBuffers);
        CMemoryStore store(c.rate, c.bits, c.channels);
        EXPECT_EQ(io.SetDataStore(&store), c.bufferSize != 0);
        if (c.bufferSize != 0) {
            EXPECT_EQ(io.BufferSize(), c.bufferSize);
        } else {
            EXPECT_EQ(io.opens, 0);
            EXPECT_EQ(io.GetDeviceStatus(), EWaveOpenResult::Failed);
            EXPECT_FALSE(io.Start());
        }
    }
}
