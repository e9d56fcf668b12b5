// One background thread for a window's slow work (name resolution, network
// requests): jobs run one at a time in the order posted, and what a job
// hands back runs afterwards on the window's own thread, queued to it with
// CallAfter. A job never touches a window; its completion may.
//
// The window owns the worker and stops it when it closes or goes: Stop asks
// the running job to end early (the job sees `stopping` set), drops the jobs
// not yet started and the completions not yet run, and joins the thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class wxEvtHandler;

class CFrameWorker {
public:
    // Runs on the target's thread after its job; may be empty.
    using Completion = std::function<void()>;
    // Runs on the worker thread; `stopping` turns true when the worker stops.
    using Job = std::function<Completion(const std::atomic<bool>& stopping)>;

    // target: receives the completions; must outlive the worker or see it
    // stopped first.
    explicit CFrameWorker(wxEvtHandler* target);
    ~CFrameWorker();
    CFrameWorker(const CFrameWorker&) = delete;
    CFrameWorker& operator=(const CFrameWorker&) = delete;

    // Queues a job; the thread starts with the first one. False (the job
    // dropped) once the worker stopped. Call on the target's thread.
    bool Post(Job job);
    // Ends the work as described above; returns once the thread is gone.
    // Later calls do nothing. Call on the target's thread.
    void Stop();
    bool IsStopped() const { return !*m_pOpen; }

private:
    void Run();

    wxEvtHandler* m_target;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;   // guarded by m_lock
    std::atomic<bool> m_stopping{false};
    // False once stopped; read and written on the target's thread only, and
    // shared with the queued completions, which may outlive the worker.
    const std::shared_ptr<bool> m_pOpen = std::make_shared<bool>(true);
    std::thread m_thread;
};
