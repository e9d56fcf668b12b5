#include "lesson/core/waveio.h"

#include <chrono>

namespace {

// A worker's turn: each turn moves at most one buffer per step, five times
// faster than the 100 ms a buffer lasts.
constexpr auto kTurn = std::chrono::milliseconds(20);
// Start gives the pump this long to prepare buffers before the feeder and
// the device begin.
constexpr auto kPumpHeadStart = std::chrono::milliseconds(100);

// Formats the engine moves: the device's linear PCM, at rates and channel
// counts that keep a 100 ms buffer small. A store's format may come from a
// file, so anything else is refused before buffers are sized by it.
bool IsUsableFormat(int rate, short bits, short channels)
{
    return rate >= 1000 && rate <= 192000 && (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
           channels >= 1 && channels <= 8;
}

} // namespace

void WaveDeviceCallback(CWaveDevice* /*device*/, unsigned message, void* instance, WAVEHDR* /*hdr*/)
{
    if ((message == WOM_DONE || message == WIM_DATA) && instance != nullptr)
        static_cast<CWaveIOBase*>(instance)->OnBufferDone();
}

CWaveIOBase::CWaveIOBase()
{
    // Both workers start at the gate, with every member they use in place.
    m_hFeederThread = std::thread([this] { WorkerLoop(m_bFeederSuspended, &CWaveIOBase::FeederStep); });
    m_hPumpThread = std::thread([this] { WorkerLoop(m_bPumpSuspended, &CWaveIOBase::PumpStep); });
}

CWaveIOBase::~CWaveIOBase()
{
    // Normally Shutdown has run; this only keeps a forgotten one from leaving
    // threads or buffers behind (no device operation can be called any more).
    EndWorkers();
    m_hDevice.reset();
    DeleteAllBuffers();
}

void CWaveIOBase::OnBufferDone() { m_doneCounter.Increment(); }

bool CWaveIOBase::SetDataStore(CWaveDataStore* store)
{
    if (m_bStop)
        return false;
    if (m_pDataStore != nullptr)
        Stop();
    m_pDataStore = store;
    if (store == nullptr)
        return true;
    int rate = 0;
    short bits = 0;
    short channels = 0;
    store->GetFormat(&rate, &bits, &channels);
    if (!IsUsableFormat(rate, bits, channels)) {
        m_eDeviceStatus = EWaveOpenResult::Failed;
        return false;
    }
    m_format = WAVEFORMATEX();
    m_format.wFormatTag = WAVE_FORMAT_PCM;
    m_format.nChannels = static_cast<uint16_t>(channels);
    m_format.nSamplesPerSec = static_cast<uint32_t>(rate);
    m_format.nBlockAlign = static_cast<uint16_t>(bits / 8 * channels);
    m_format.wBitsPerSample = static_cast<uint16_t>(bits);
    m_format.nAvgBytesPerSec = m_format.nBlockAlign * m_format.nSamplesPerSec;
    m_format.cbSize = 0;
    AllocateBuffers();
    m_bDeviceOpen = OpenDevice();
    return m_bDeviceOpen;
}

bool CWaveIOBase::Start()
{
    if (m_pDataStore == nullptr || !m_bDeviceOpen || m_bStop)
        return false;
    if (m_bPause) {
        {
            std::lock_guard<std::mutex> lock(m_gateLock);
            m_bPause = false;
        }
        Release(m_bPumpSuspended);
        std::this_thread::sleep_for(kPumpHeadStart);
        Release(m_bFeederSuspended);
        StartDevice();
    }
    return true;
}

void CWaveIOBase::Pause() { PauseDevice(); }

void CWaveIOBase::Resume() { ResumeDevice(); }

bool CWaveIOBase::Stop()
{
    DrainBuffers();
    CloseDevice();
    m_bDeviceOpen = false;
    m_pDataStore = nullptr;
    FreeBuffers();
    return true;
}

bool CWaveIOBase::Seek(int pos, bool absolute)
{
    if (m_pDataStore == nullptr)
        return false;
    DrainBuffers();
    return m_pDataStore->Seek(pos, absolute);
}

void CWaveIOBase::Rewind() { Seek(0, true); }

void CWaveIOBase::Shutdown()
{
    if (m_bStop)
        return;
    Stop();
    EndWorkers();
    m_pDataStore = nullptr;
}

void CWaveIOBase::EndWorkers()
{
    {
        std::lock_guard<std::mutex> lock(m_gateLock);
        m_bStop = true;
        m_bFeederSuspended = false;
        m_bPumpSuspended = false;
        m_bPause = false;
    }
    m_gate.notify_all();
    if (m_hPumpThread.joinable())
        m_hPumpThread.join();
    if (m_hFeederThread.joinable())
        m_hFeederThread.join();
}

void CWaveIOBase::Release(std::atomic<bool>& suspended)
{
    {
        std::lock_guard<std::mutex> lock(m_gateLock);
        suspended = false;
    }
    m_gate.notify_all();
}

void CWaveIOBase::WorkerLoop(std::atomic<bool>& suspended, void (CWaveIOBase::*step)())
{
    std::unique_lock<std::mutex> lock(m_gateLock);
    m_gate.wait(lock, [&] { return !suspended || m_bStop; });
    while (!m_bStop) {
        lock.unlock();
        (this->*step)();
        lock.lock();
        if (m_bPause && !m_bStop) {
            // Arriving and waiting happen under one lock: a release cannot
            // slip in between and be lost.
            suspended = true;
            m_gate.notify_all();
            m_gate.wait(lock, [&] { return !suspended || m_bStop; });
        } else {
            m_gate.wait_for(lock, kTurn, [&] { return m_bStop || m_bPause; });
        }
    }
}

void CWaveIOBase::FeederStep()
{
    CWaveHdr* hdr = nullptr;
    {
        CWaveQueueLock ready(m_queueReady);
        if (!m_queueReady.empty()) {
            hdr = m_queueReady.front();
            m_queueReady.pop();
        }
    }
    if (hdr == nullptr)
        return;
    // The buffer is handed on after m_queueReady is let go: a refused one goes
    // back to m_queueFree, whose lock the pump takes before m_queueReady's.
    if (SubmitBuffer(hdr)) {
        CWaveQueueLock device(m_queueDevice);
        m_queueDevice.push(hdr);
    } else {
        CWaveQueueLock idle(m_queueFree);
        m_queueFree.push(hdr);
    }
}

void CWaveIOBase::PumpStep()
{
    {
        CWaveQueueLock idle(m_queueFree);
        if (!m_queueFree.empty()) {
            CWaveHdr* hdr = m_queueFree.front();
            PrepareBuffer(hdr);
            // A player's buffer that got no data from the store stays idle.
            if (hdr->dwBufferLength != 0) {
                m_queueFree.pop();
                CWaveQueueLock ready(m_queueReady);
                m_queueReady.push(hdr);
            }
        }
    }
    if (m_doneCounter.Value() > 0) {
        // The device finishes buffers in the order it got them, so the oldest
        // buffer it holds is a finished one.
        CWaveQueueLock device(m_queueDevice);
        if (!m_queueDevice.empty()) {
            CWaveHdr* hdr = m_queueDevice.front();
            m_queueDevice.pop();
            m_doneCounter.Decrement();
            ReclaimBuffer(hdr);
            CWaveQueueLock idle(m_queueFree);
            m_queueFree.push(hdr);
        }
    }
}

void CWaveIOBase::AllocateBuffers()
{
    m_nBufferSize = static_cast<int>(m_format.nAvgBytesPerSec / 20) * 2;
    CWaveQueueLock idle(m_queueFree);
    for (int i = 0; i < kBufferCount; ++i)
        m_queueFree.push(new CWaveHdr(m_nBufferSize));
}

void CWaveIOBase::FreeBuffers()
{
    CWaveQueueLock idle(m_queueFree);
    while (!m_queueFree.empty()) {
        delete m_queueFree.front();
        m_queueFree.pop();
    }
}

void CWaveIOBase::DeleteAllBuffers()
{
    for (CWaveHdrQueue* queue : {&m_queueFree, &m_queueReady, &m_queueDevice}) {
        while (!queue->empty()) {
            delete queue->front();
            queue->pop();
        }
    }
}

void CWaveIOBase::DrainBuffers()
{
    {
        std::unique_lock<std::mutex> lock(m_gateLock);
        m_bPause = true;
        m_gate.notify_all();
        m_gate.wait(lock, [&] { return (m_bFeederSuspended && m_bPumpSuspended) || m_bStop; });
    }
    // Both workers are parked (or ended): the queues are ours alone.
    ResetDevice();
    while (!m_queueReady.empty()) {
        m_queueFree.push(m_queueReady.front());
        m_queueReady.pop();
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDrainTimeoutMs);
    while (static_cast<int>(m_queueDevice.size()) != m_doneCounter.Value()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            // A device that keeps buffers after a reset is not waited for
            // forever: closed, it can no longer touch them.
            CloseDevice();
            m_bDeviceOpen = false;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_doneCounter.Reset();
    while (!m_queueDevice.empty()) {
        CWaveHdr* hdr = m_queueDevice.front();
        m_queueDevice.pop();
        ReclaimBuffer(hdr);
        m_queueFree.push(hdr);
    }
}

bool CWaveIOBase::SubmitBuffer(CWaveHdr* hdr)
{
    if (hdr == nullptr || m_hDevice == nullptr || !m_hDevice->PrepareHeader(hdr))
        return false;
    if (m_hDevice->AddBuffer(hdr))
        return true;
    m_hDevice->UnprepareHeader(hdr);
    return false;
}

void CWaveIOBase::CloseDevice() { m_hDevice.reset(); }

void CWaveIOBase::PauseDevice()
{
    if (m_hDevice != nullptr)
        m_hDevice->Stop();
}

void CWaveIOBase::ResetDevice()
{
    if (m_hDevice != nullptr)
        m_hDevice->Reset();
}
