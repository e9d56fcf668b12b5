// A thread object: a subclass supplies the body, Start runs it on a new
// thread with the given argument and Join waits for its exit code.
//
// A running thread is never ended by force: the destructor of a started,
// undetached object waits for the body to return. The base destructor runs
// after the subclass part of the object is gone, though, and the new thread
// finds the body through the object, so a subclass must Join in its own
// destructor unless its body has already begun and uses nothing of the
// object. The same holds for a detached body whose object goes first.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

class Thread {
public:
    Thread() = default;
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The thread body: runs on the new thread and returns its exit code.
    virtual unsigned Run(void* argument) = 0;

    // Starts the body with argument. True when the thread runs (or already
    // ran: a second Start does nothing and returns true), false when no
    // thread could be started.
    bool Start(void* argument);
    // Waits for the body and returns its exit code; 0 when there was nothing
    // to wait for (not started, detached or already joined).
    unsigned Join();
    // Lets the thread run on its own; a later Join returns 0 at once.
    void Detach();

    bool IsStarted() const { return m_bStarted; }
    bool IsDetached() const { return m_bDetached; }

    // Suspends the calling thread.
    static void Sleep(unsigned milliseconds);

private:
    std::thread m_thread;
    bool m_bStarted = false;
    bool m_bDetached = false;
    void* m_pArgument = nullptr;
    // The body's result lives apart from the object, so a detached body that
    // ends after the object is gone writes nothing into freed memory.
    std::shared_ptr<std::atomic<unsigned>> m_pExitCode = std::make_shared<std::atomic<unsigned>>(0);
};
