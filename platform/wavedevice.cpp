#include "platform/wavedevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <alsa/asoundlib.h>

namespace {

// The PCM's ring: room for half a second, so a thread held up for a moment
// loses nothing.
constexpr unsigned kLatencyMicroseconds = 500000;
// Playback is written this far ahead of the clock, so the PCM never runs dry
// between two turns of the thread.
constexpr double kPlaybackLeadSeconds = 0.1;
// How long the thread waits before asking again a PCM that had nothing to
// give or no room to take.
constexpr auto kRetry = std::chrono::milliseconds(5);

bool ToPcmFormat(const WAVEFORMATEX& format, snd_pcm_format_t* pcmFormat)
{
    if (format.wFormatTag != WAVE_FORMAT_PCM || format.nChannels == 0 || format.nSamplesPerSec == 0 ||
        format.nBlockAlign != format.nChannels * (format.wBitsPerSample / 8))
        return false;
    switch (format.wBitsPerSample) {
    case 8: *pcmFormat = SND_PCM_FORMAT_U8; return true;   // WAV's 8-bit samples are unsigned
    case 16: *pcmFormat = SND_PCM_FORMAT_S16_LE; return true;
    case 24: *pcmFormat = SND_PCM_FORMAT_S24_3LE; return true;
    case 32: *pcmFormat = SND_PCM_FORMAT_S32_LE; return true;
    default: return false;
    }
}

// A missing card or an unknown "default" means there is nothing to record
// from; any other refusal (busy, unsupported format) is a failure of a device
// that is there.
EWaveOpenResult OpenFailure(int error)
{
    return error == -ENOENT || error == -ENODEV || error == -ENXIO ? EWaveOpenResult::NoDevice
                                                                   : EWaveOpenResult::Failed;
}

} // namespace

std::unique_ptr<CWaveDevice> CWaveDevice::Open(EDirection direction, const WAVEFORMATEX& format, Callback callback,
                                               void* instance, EWaveOpenResult* result)
{
    EWaveOpenResult ignored;
    if (result == nullptr)
        result = &ignored;
    snd_pcm_format_t pcmFormat;
    if (callback == nullptr || !ToPcmFormat(format, &pcmFormat)) {
        *result = EWaveOpenResult::Failed;
        return nullptr;
    }
    snd_pcm_t* pcm = nullptr;
    const snd_pcm_stream_t stream = direction == Capture ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK;
    // Non-blocking: a busy device answers at once, and no PCM call can keep
    // the thread from seeing a Stop.
    int error = snd_pcm_open(&pcm, "default", stream, SND_PCM_NONBLOCK);
    if (error < 0) {
        *result = OpenFailure(error);
        return nullptr;
    }
    error = snd_pcm_set_params(pcm, pcmFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.nChannels,
                               format.nSamplesPerSec, 1, kLatencyMicroseconds);
    if (error >= 0 && direction == Playback) {
        // Play from the first chunk on instead of waiting for a full ring.
        snd_pcm_sw_params_t* sw = nullptr;
        snd_pcm_sw_params_alloca(&sw);
        error = snd_pcm_sw_params_current(pcm, sw);
        if (error >= 0)
            error = snd_pcm_sw_params_set_start_threshold(pcm, sw, std::max(1u, format.nSamplesPerSec / 100));
        if (error >= 0)
            error = snd_pcm_sw_params(pcm, sw);
    }
    if (error < 0) {
        snd_pcm_close(pcm);
        *result = EWaveOpenResult::Failed;
        return nullptr;
    }
    *result = EWaveOpenResult::Opened;
    return std::unique_ptr<CWaveDevice>(new CWaveDevice(direction, format, pcmFormat, pcm, callback, instance));
}

CWaveDevice::CWaveDevice(EDirection direction, const WAVEFORMATEX& format, int pcmFormat, _snd_pcm* pcm,
                         Callback callback, void* instance)
    : m_direction(direction), m_format(format), m_pcm(pcm), m_callback(callback), m_pInstance(instance),
      m_nPcmFormat(pcmFormat), m_nChunkFrames(std::max(1u, format.nSamplesPerSec / 100)),
      m_bRunning(direction == Playback)   // playback plays what it is given unless paused
{
    m_thread = std::thread([this] { Run(); });
}

CWaveDevice::~CWaveDevice()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        while (!m_queue.empty())
            CompleteFront();
        m_bQuit = true;
    }
    m_wake.notify_all();
    m_thread.join();
    snd_pcm_drop(m_pcm);
    snd_pcm_close(m_pcm);
}

bool CWaveDevice::PrepareHeader(WAVEHDR* hdr)
{
    if (hdr == nullptr || hdr->lpData == nullptr)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (hdr->dwFlags & WHDR_INQUEUE)
        return false;
    hdr->dwFlags |= WHDR_PREPARED;
    return true;
}

bool CWaveDevice::UnprepareHeader(WAVEHDR* hdr)
{
    if (hdr == nullptr)
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (hdr->dwFlags & WHDR_INQUEUE)
        return false;
    hdr->dwFlags &= ~WHDR_PREPARED;
    return true;
}

bool CWaveDevice::AddBuffer(WAVEHDR* hdr)
{
    if (hdr == nullptr)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bFailed || !(hdr->dwFlags & WHDR_PREPARED) || (hdr->dwFlags & WHDR_INQUEUE))
            return false;
        hdr->dwFlags = (hdr->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
        if (m_direction == Capture)
            hdr->dwBytesRecorded = 0;
        m_queue.push_back(hdr);
    }
    m_wake.notify_all();
    return true;
}

void CWaveDevice::Start()
{
    if (m_direction == Capture)
        SetRunning();
}

void CWaveDevice::SetRunning()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bRunning)
            return;
        m_bRunning = true;
        ++m_nGeneration;
    }
    m_wake.notify_all();
}

void CWaveDevice::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_bRunning)
            return;
        m_bRunning = false;
        ++m_nGeneration;
        if (m_direction == Capture && !m_queue.empty() && m_queue.front()->dwBytesRecorded > 0)
            CompleteFront();
    }
    m_wake.notify_all();
}

void CWaveDevice::Restart()
{
    if (m_direction == Playback)
        SetRunning();
}

void CWaveDevice::Reset()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // Capture stops; playback keeps its paused or playing state for the
        // buffers that come next.
        if (m_direction == Capture)
            m_bRunning = false;
        ++m_nGeneration;
        while (!m_queue.empty())
            CompleteFront();
    }
    m_wake.notify_all();
}

void CWaveDevice::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_bQuit) {
        SyncPcmState();
        if (m_bFailed || !m_bPcmRunning || m_queue.empty()) {
            m_wake.wait(lock);
            continue;
        }
        if (m_direction == Capture)
            CaptureTurn(lock);
        else
            PlaybackTurn(lock);
    }
}

void CWaveDevice::SyncPcmState()
{
    if (m_bFailed)
        return;
    if (m_nAppliedGeneration != m_nGeneration) {
        // Whatever the PCM holds belongs to the time before the change.
        m_nAppliedGeneration = m_nGeneration;
        if (m_bPcmRunning)
            snd_pcm_drop(m_pcm);
        m_bPcmRunning = false;
    }
    if (!m_bRunning || m_bPcmRunning)
        return;
    if (snd_pcm_state(m_pcm) != SND_PCM_STATE_PREPARED && snd_pcm_prepare(m_pcm) < 0) {
        Fail();
        return;
    }
    if (m_direction == Capture && snd_pcm_start(m_pcm) < 0) {
        Fail();
        return;
    }
    m_bPcmRunning = true;
    RestartClock();
}

void CWaveDevice::CaptureTurn(std::unique_lock<std::mutex>& lock)
{
    WAVEHDR* hdr = m_queue.front();
    const uint32_t frameBytes = m_format.nBlockAlign;
    const uint32_t room = (hdr->dwBufferLength - std::min(hdr->dwBytesRecorded, hdr->dwBufferLength)) / frameBytes;
    if (room == 0) {
        CompleteFront();
        return;
    }
    const uint32_t frames = std::min(room, m_nChunkFrames);
    if (!WaitForRealTime(lock, frames, 0))
        return;
    char* target = hdr->lpData + hdr->dwBytesRecorded;
    // Some PCMs (ALSA's "null", the "file" plug-in past the end of its input)
    // report frames without writing them: those must read as silence.
    snd_pcm_format_set_silence(static_cast<snd_pcm_format_t>(m_nPcmFormat), target, frames * m_format.nChannels);
    const snd_pcm_sframes_t got = snd_pcm_readi(m_pcm, target, frames);
    if (got == -EAGAIN || got == 0) {
        m_wake.wait_for(lock, kRetry);
        return;
    }
    if (got < 0) {
        // An overrun (the ring filled while no buffer was queued) or a
        // suspend: recovered, the capture starts over; anything else ends it.
        if (snd_pcm_recover(m_pcm, static_cast<int>(got), 1) < 0)
            Fail();
        else
            m_bPcmRunning = false;
        return;
    }
    hdr->dwBytesRecorded += static_cast<uint32_t>(got) * frameBytes;
    m_nClockFrames += static_cast<uint64_t>(got);
    if (hdr->dwBufferLength - hdr->dwBytesRecorded < frameBytes)
        CompleteFront();
}

void CWaveDevice::PlaybackTurn(std::unique_lock<std::mutex>& lock)
{
    WAVEHDR* hdr = m_queue.front();
    const uint32_t frameBytes = m_format.nBlockAlign;
    const uint32_t left = (hdr->dwBufferLength - std::min(m_nPlayOffset, hdr->dwBufferLength)) / frameBytes;
    if (left == 0) {
        CompleteFront();
        return;
    }
    // A queue that ran dry let the PCM run out: time starts over with the
    // next frames.
    const double written = static_cast<double>(m_nClockFrames) / m_format.nSamplesPerSec;
    if (std::chrono::steady_clock::now() - m_clockStart > std::chrono::duration<double>(written))
        RestartClock();
    const uint32_t frames = std::min(left, m_nChunkFrames);
    if (!WaitForRealTime(lock, frames, kPlaybackLeadSeconds))
        return;
    const snd_pcm_sframes_t put = snd_pcm_writei(m_pcm, hdr->lpData + m_nPlayOffset, frames);
    if (put == -EAGAIN || put == 0) {
        m_wake.wait_for(lock, kRetry);
        return;
    }
    if (put < 0) {
        if (snd_pcm_recover(m_pcm, static_cast<int>(put), 1) < 0)
            Fail();
        else
            RestartClock();
        return;
    }
    m_nPlayOffset += static_cast<uint32_t>(put) * frameBytes;
    m_nClockFrames += static_cast<uint64_t>(put);
    if (hdr->dwBufferLength - m_nPlayOffset < frameBytes)
        CompleteFront();
}

void CWaveDevice::CompleteFront()
{
    WAVEHDR* hdr = m_queue.front();
    m_queue.pop_front();
    m_nPlayOffset = 0;
    hdr->dwFlags = (hdr->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    m_callback(this, m_direction == Capture ? WIM_DATA : WOM_DONE, m_pInstance, hdr);
}

void CWaveDevice::RestartClock()
{
    m_clockStart = std::chrono::steady_clock::now();
    m_nClockFrames = 0;
}

bool CWaveDevice::WaitForRealTime(std::unique_lock<std::mutex>& lock, uint64_t frames, double leadSeconds)
{
    const uint64_t generation = m_nGeneration;
    const double due = static_cast<double>(m_nClockFrames + frames) / m_format.nSamplesPerSec - leadSeconds;
    const auto deadline =
        m_clockStart + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(due));
    const bool changed =
        m_wake.wait_until(lock, deadline, [&] { return m_bQuit || m_nGeneration != generation; });
    return !changed;
}

void CWaveDevice::Fail()
{
    m_bFailed = true;
    if (m_bPcmRunning)
        snd_pcm_drop(m_pcm);
    m_bPcmRunning = false;
    while (!m_queue.empty())
        CompleteFront();
}
