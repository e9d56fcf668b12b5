// A sound device (ALSA's "default" PCM, for capture or playback) that takes
// caller-owned buffers and gives them back one by one when they are filled
// or played, through a callback: the buffer-queue model that the wave-audio
// engine is written against.
//
// Each open device runs a thread of its own that moves the audio between the
// PCM and the queued buffers. It paces itself to real time, because some
// PCMs (ALSA's "null" and "file" plug-ins, which the tests use to feed a
// known signal) deliver or accept any amount of audio at once. Only that
// thread touches the PCM between Open and the destructor.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

struct _snd_pcm;

// Format of linear PCM audio, in the WAV file's terms.
struct WAVEFORMATEX {
    uint16_t wFormatTag = 0;
    uint16_t nChannels = 0;
    uint32_t nSamplesPerSec = 0;
    uint32_t nAvgBytesPerSec = 0;
    uint16_t nBlockAlign = 0;
    uint16_t wBitsPerSample = 0;
    uint16_t cbSize = 0;
};
constexpr uint16_t WAVE_FORMAT_PCM = 1;

// One buffer handed to a device. The caller owns lpData and the header; the
// device uses both from AddBuffer until it gives the buffer back.
struct WAVEHDR {
    char* lpData = nullptr;
    uint32_t dwBufferLength = 0;    // bytes of lpData
    uint32_t dwBytesRecorded = 0;   // capture: bytes filled so far
    uintptr_t dwUser = 0;
    uint32_t dwFlags = 0;
    uint32_t dwLoops = 0;
    WAVEHDR* lpNext = nullptr;
    uintptr_t reserved = 0;
};
constexpr uint32_t WHDR_DONE = 0x01;       // given back by the device
constexpr uint32_t WHDR_PREPARED = 0x02;   // may be added to a device
constexpr uint32_t WHDR_INQUEUE = 0x10;    // held by a device

// Messages of the buffer callback.
constexpr unsigned WOM_DONE = 0x3BD;   // a playback buffer has been played
constexpr unsigned WIM_DATA = 0x3C0;   // a capture buffer is filled (or cut short)

enum class EWaveOpenResult {
    Opened,
    NoDevice,   // the system has no such device (no sound card, no "default")
    Failed,     // the device exists but refused to open or to take the format
};

class CWaveDevice {
public:
    enum EDirection { Capture, Playback };
    // Called when the device gives a buffer back. It runs on the device's
    // thread, or on the caller's thread inside Stop and Reset, with the
    // device's lock held: it must not call the device.
    using Callback = void (*)(CWaveDevice* device, unsigned message, void* instance, WAVEHDR* hdr);

    // Opens "default" for the direction with the format (8, 16, 24 or 32 bits
    // of linear PCM). Null when it cannot, with the reason in *result.
    static std::unique_ptr<CWaveDevice> Open(EDirection direction, const WAVEFORMATEX& format, Callback callback,
                                             void* instance, EWaveOpenResult* result);
    // Gives back every buffer it holds (as Reset does), ends its thread and
    // closes the PCM.
    ~CWaveDevice();
    CWaveDevice(const CWaveDevice&) = delete;
    CWaveDevice& operator=(const CWaveDevice&) = delete;

    // A buffer must be prepared before it is added, and may be unprepared only
    // while the device does not hold it.
    bool PrepareHeader(WAVEHDR* hdr);
    bool UnprepareHeader(WAVEHDR* hdr);
    // Queues a buffer: capture fills it, playback plays it (at once unless
    // paused). False (nothing queued) for an unprepared or already queued
    // buffer and after the PCM has failed for good.
    bool AddBuffer(WAVEHDR* hdr);

    // Capture: starts filling the queued buffers.
    void Start();
    // Capture: stops; a partly filled buffer is given back with the bytes it
    // holds, empty ones stay queued for the next Start.
    // Playback: pauses.
    void Stop();
    // Playback: continues after Stop.
    void Restart();
    // Stops and gives back every queued buffer, oldest first (capture buffers
    // with the bytes they hold). When it returns, the device no longer uses
    // any of them.
    void Reset();

private:
    // Lets the device thread move buffers again (a no-op when it already does).
    void SetRunning();
    CWaveDevice(EDirection direction, const WAVEFORMATEX& format, int pcmFormat, _snd_pcm* pcm, Callback callback,
                void* instance);
    void Run();
    // One move of at most 10 ms of audio, with m_mutex held: the PCM is
    // non-blocking, so Stop and Reset wait for one call at most.
    void CaptureTurn(std::unique_lock<std::mutex>& lock);
    void PlaybackTurn(std::unique_lock<std::mutex>& lock);
    // Applies the requested running state to the PCM (device thread only).
    void SyncPcmState();
    // Removes the front buffer and gives it back (lock held).
    void CompleteFront();
    // Starts a new span of real time (lock held).
    void RestartClock();
    // Waits until `frames` more frames are due by the clock. False when the
    // state changed meanwhile (lock held).
    bool WaitForRealTime(std::unique_lock<std::mutex>& lock, uint64_t frames, double leadSeconds);
    // Marks the PCM failed for good: queued buffers are given back, new ones refused.
    void Fail();

    const EDirection m_direction;
    const WAVEFORMATEX m_format;
    _snd_pcm* const m_pcm;
    const Callback m_callback;
    void* const m_pInstance;
    const int m_nPcmFormat;          // the format as ALSA names it
    const uint32_t m_nChunkFrames;   // frames moved per PCM call: 10 ms

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<WAVEHDR*> m_queue;
    bool m_bRunning = false;       // wanted state: capture started / playback not paused
    bool m_bPcmRunning = false;    // the PCM runs (capture) or takes frames (playback)
    uint64_t m_nAppliedGeneration = 0;   // the state change the PCM last followed
    bool m_bQuit = false;
    bool m_bFailed = false;
    uint64_t m_nGeneration = 0;    // bumped by every Start, Stop, Restart and Reset
    uint32_t m_nPlayOffset = 0;    // bytes of the front playback buffer already written
    std::chrono::steady_clock::time_point m_clockStart;
    uint64_t m_nClockFrames = 0;   // frames moved since m_clockStart
    std::thread m_thread;
};
