// Downloads that run one after another on a worker thread of their own (the
// talk downloads, the update). Jobs can be dropped and the running one
// cancelled without touching other queues.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class CJobQueue {
public:
    // A job looks at `cancel` (a transfer option) and ends soon after it turns true.
    using Job = std::function<void(const std::atomic<bool>& cancel)>;

    CJobQueue();
    // Cancels everything and waits for the worker.
    ~CJobQueue();
    CJobQueue(const CJobQueue&) = delete;
    CJobQueue& operator=(const CJobQueue&) = delete;

    void Add(Job job);
    // Drops the waiting jobs and cancels the running one, without waiting
    // for it to end.
    void CancelAll();
    // No job waits or runs.
    bool Idle() const;

private:
    void Work();

    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    bool m_running = false;
    bool m_quit = false;
    std::atomic<bool> m_cancel {false};
    std::thread m_thread;
};
