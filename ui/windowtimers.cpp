#include "ui/windowtimers.h"

CWindowTimers::CWindowTimers(wxEvtHandler* owner, Handler onTimer) : m_owner(owner), m_onTimer(std::move(onTimer))
{
    m_owner->Bind(wxEVT_TIMER, &CWindowTimers::OnTick, this);
}

CWindowTimers::~CWindowTimers()
{
    KillAll();
    m_owner->Unbind(wxEVT_TIMER, &CWindowTimers::OnTick, this);
}

void CWindowTimers::SetTimer(int id, int milliseconds)
{
    std::unique_ptr<wxTimer>& timer = m_timers[id];
    if (!timer)
        timer = std::make_unique<wxTimer>(m_owner, id);
    timer->Start(milliseconds > 0 ? milliseconds : 1);
}

void CWindowTimers::KillTimer(int id)
{
    const auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second->Stop();
}

bool CWindowTimers::IsRunning(int id) const
{
    const auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->IsRunning();
}

void CWindowTimers::KillAll()
{
    for (auto& entry : m_timers)
        entry.second->Stop();
}

void CWindowTimers::OnTick(wxTimerEvent& event)
{
    // Only our own timers; other wxTimers of the window keep their handlers.
    if (m_timers.count(event.GetId()) == 0) {
        event.Skip();
        return;
    }
    m_onTimer(event.GetId());
}
