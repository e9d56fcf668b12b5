#include "ui/frameworker.h"

#include <wx/event.h>

CFrameWorker::CFrameWorker(wxEvtHandler* target) : m_target(target) {}

CFrameWorker::~CFrameWorker()
{
    Stop();
}

bool CFrameWorker::Post(Job job)
{
    if (!*m_pOpen || !job)
        return false;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    if (!m_thread.joinable())
        m_thread = std::thread([this] { Run(); });
    m_wake.notify_one();
    return true;
}

void CFrameWorker::Stop()
{
    if (!*m_pOpen)
        return;
    *m_pOpen = false;
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void CFrameWorker::Run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_stopping)
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        Completion done = job(m_stopping);
        // Stop joins this thread before the target may go, so the target is
        // alive here; a completion queued just before Stop finds the worker
        // closed and does nothing.
        if (done && !m_stopping) {
            m_target->CallAfter([open = m_pOpen, done = std::move(done)] {
                if (*open)
                    done();
            });
        }
    }
}
