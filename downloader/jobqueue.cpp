#include "downloader/jobqueue.h"

CJobQueue::CJobQueue() : m_thread([this] { Work(); }) {}

CJobQueue::~CJobQueue()
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_quit = true;
        m_jobs.clear();
        m_cancel = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CJobQueue::Add(Job job)
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void CJobQueue::CancelAll()
{
    const std::lock_guard<std::mutex> lock(m_lock);
    m_jobs.clear();
    if (m_running)
        m_cancel = true;
}

bool CJobQueue::Idle() const
{
    const std::lock_guard<std::mutex> lock(m_lock);
    return !m_running && m_jobs.empty();
}

void CJobQueue::Work()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || !m_jobs.empty(); });
        if (m_quit)
            return;
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        // Taken and cleared under the lock: a cancel from now on reaches this job.
        m_running = true;
        m_cancel = false;
        lock.unlock();
        job(m_cancel);
        lock.lock();
        m_running = false;
    }
}
