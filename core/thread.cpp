#include "core/thread.h"

#include <chrono>
#include <system_error>

Thread::~Thread()
{
    if (m_bStarted && !m_bDetached)
        Join();
}

bool Thread::Start(void* argument)
{
    if (m_bStarted)
        return true;
    m_pArgument = argument;
    try {
        m_thread = std::thread([this, exitCode = m_pExitCode, argument] { *exitCode = Run(argument); });
    } catch (const std::system_error&) {
        return false;
    }
    // Detach was asked for before the start.
    if (m_bDetached)
        m_thread.detach();
    m_bStarted = true;
    return true;
}

unsigned Thread::Join()
{
    if (!m_bStarted || m_bDetached)
        return 0;
    m_thread.join();
    m_bDetached = true;
    return *m_pExitCode;
}

void Thread::Detach()
{
    if (m_bStarted && !m_bDetached)
        m_thread.detach();
    m_bDetached = true;
}

void Thread::Sleep(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
