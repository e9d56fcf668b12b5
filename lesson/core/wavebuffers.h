// The buffers of the wave-audio engine and the two structures shared by its
// threads: a locked first-in first-out queue of buffers, and the count of
// buffers that the device has given back.
#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>

#include "platform/wavedevice.h"

// One buffer: a device header and the data block it owns.
struct CWaveHdr : WAVEHDR {
    // A zeroed header with a zero-filled block of `size` bytes.
    explicit CWaveHdr(int size);
    ~CWaveHdr();
    CWaveHdr(const CWaveHdr&) = delete;
    CWaveHdr& operator=(const CWaveHdr&) = delete;

    // Zeroes every field of the header but the data block.
    void Clear();
};

// Every operation but Lock and Unlock expects the caller to hold the lock,
// or the queue's other users to be known idle.
class CWaveHdrQueue {
public:
    void push(CWaveHdr* hdr) { m_items.push_back(hdr); }
    void pop() { m_items.pop_front(); }
    CWaveHdr* front() const { return m_items.front(); }
    bool empty() const { return m_items.empty(); }
    size_t size() const { return m_items.size(); }
    void Lock() { m_lock.lock(); }
    void Unlock() { m_lock.unlock(); }

private:
    std::mutex m_lock;
    std::deque<CWaveHdr*> m_items;
};

// Holds a queue's lock for a scope.
class CWaveQueueLock {
public:
    explicit CWaveQueueLock(CWaveHdrQueue& queue) : m_queue(queue) { m_queue.Lock(); }
    ~CWaveQueueLock() { m_queue.Unlock(); }
    CWaveQueueLock(const CWaveQueueLock&) = delete;
    CWaveQueueLock& operator=(const CWaveQueueLock&) = delete;

private:
    CWaveHdrQueue& m_queue;
};

// Changes take the counter's lock; a read does not need it, so a waiting
// thread can look at the value as often as it likes.
class CWaveDoneCounter {
public:
    void Increment();
    void Decrement();
    void Reset();
    int Value() const { return m_nValue.load(); }

private:
    std::mutex m_lock;
    std::atomic<int> m_nValue{0};
};
