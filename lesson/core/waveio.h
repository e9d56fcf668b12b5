// The wave-audio engine: moves PCM audio between a sound device and a data
// store through a fixed pool of eight 100 ms buffers. Two worker threads of
// its own keep the buffers moving: the pump prepares idle buffers and hands
// back those the device has finished (to the store, for a recording), the
// feeder gives prepared buffers to the device. The recorder and the player
// bind it to a capture or a playback device.
//
// Every public operation belongs to one thread (the user-interface thread).
// The workers live as long as the object; between a Stop and the next Start
// they wait at a gate, and Stop returns only once both have arrived there,
// so the queues are then the caller's alone.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "lesson/core/wavebuffers.h"
#include "lesson/core/wavedatastore.h"
#include "platform/wavedevice.h"

class CWaveIOBase {
public:
    CWaveIOBase();
    // Ends the workers; a derived class calls Shutdown in its own destructor,
    // while its device operations still exist.
    virtual ~CWaveIOBase();
    CWaveIOBase(const CWaveIOBase&) = delete;
    CWaveIOBase& operator=(const CWaveIOBase&) = delete;

    // Stops any running transfer, attaches the store (not owned; null
    // detaches), allocates the buffers for its format and opens the device.
    // False when the format is unusable or the device does not open;
    // GetDeviceStatus then tells which. The store stays attached either way
    // until Stop.
    bool SetDataStore(CWaveDataStore* store);
    // Starts the transfer. False without a store or without an open device.
    bool Start();
    // Pause and Resume act on the device only; the workers keep running.
    void Pause();
    void Resume();
    // Finishes the transfer (a recording's last, partial buffer reaches the
    // store), closes the device, detaches the store and frees the buffers.
    bool Stop();
    bool Seek(int pos, bool absolute);
    void Rewind();
    // Stops and ends the workers; later calls do nothing.
    void Shutdown();

    // How the device opened at the last SetDataStore (Failed also for a
    // format the engine cannot move).
    EWaveOpenResult GetDeviceStatus() const { return m_eDeviceStatus; }

protected:
    // The device operations; those both directions share are done here.
    // SubmitBuffer is false when the device refused the buffer: it goes back
    // to the idle buffers.
    virtual bool SubmitBuffer(CWaveHdr* hdr);
    virtual void PrepareBuffer(CWaveHdr* hdr) = 0;
    virtual void ReclaimBuffer(CWaveHdr* hdr) = 0;
    virtual bool OpenDevice() = 0;
    virtual void CloseDevice();
    virtual void StartDevice() = 0;
    virtual void PauseDevice();
    virtual void ResumeDevice() = 0;
    virtual void ResetDevice();
    // The device has finished a buffer (any thread).
    virtual void OnBufferDone();

    void AllocateBuffers();
    void FreeBuffers();
    // Parks both workers, makes the device give back every buffer and returns
    // all buffers to m_queueFree (a recorder's data to the store).
    void DrainBuffers();

    static constexpr int kBufferCount = 8;
    // How long DrainBuffers waits for a device to give back its buffers after
    // a reset; a device still holding some then is closed.
    static constexpr int kDrainTimeoutMs = 500;

    std::unique_ptr<CWaveDevice> m_hDevice;
    WAVEFORMATEX m_format;
    int m_nBufferSize = 0;   // bytes per buffer: 100 ms of audio
    CWaveDataStore* m_pDataStore = nullptr;
    EWaveOpenResult m_eDeviceStatus = EWaveOpenResult::Opened;
    CWaveHdrQueue m_queueFree;     // idle buffers
    CWaveHdrQueue m_queueDevice;   // buffers the device holds, oldest first
    CWaveHdrQueue m_queueReady;    // prepared buffers not yet given to the device
    CWaveDoneCounter m_doneCounter;   // finished by the device, not yet reclaimed

private:
    friend void WaveDeviceCallback(CWaveDevice* device, unsigned message, void* instance, WAVEHDR* hdr);

    // A worker: waits at the gate until released, then runs `step` every
    // 20 ms until told to pause (back to the gate) or to stop.
    void WorkerLoop(std::atomic<bool>& suspended, void (CWaveIOBase::*step)());
    void FeederStep();
    void PumpStep();
    // Lets a parked worker go.
    void Release(std::atomic<bool>& suspended);
    void EndWorkers();
    void DeleteAllBuffers();

    bool m_bDeviceOpen = false;
    // The gate: the flags below change only under this lock, and every change
    // is announced on m_gate, so no release or arrival is missed.
    std::mutex m_gateLock;
    std::condition_variable m_gate;
    std::atomic<bool> m_bFeederSuspended{true};   // the feeder waits at the gate
    std::atomic<bool> m_bPumpSuspended{true};     // the pump waits at the gate
    std::atomic<bool> m_bStop{false};             // the workers must end
    std::atomic<bool> m_bPause{true};             // the workers must go to the gate
    std::thread m_hFeederThread;
    std::thread m_hPumpThread;
};

// The device's buffer callback: a finished capture or playback buffer is
// counted on the engine passed as instance; other messages are ignored.
void WaveDeviceCallback(CWaveDevice* device, unsigned message, void* instance, WAVEHDR* hdr);
