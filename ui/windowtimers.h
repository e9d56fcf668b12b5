// Numbered timers of one window, as the windows of this program use them:
// SetTimer(id, ms) starts (or restarts) timer id, KillTimer(id) stops it, and
// every tick calls the window's one OnTimer(id). Tests call OnTimer directly.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include <wx/timer.h>

class CWindowTimers {
public:
    using Handler = std::function<void(int id)>;

    CWindowTimers(wxEvtHandler* owner, Handler onTimer);
    ~CWindowTimers();
    CWindowTimers(const CWindowTimers&) = delete;
    CWindowTimers& operator=(const CWindowTimers&) = delete;

    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool IsRunning(int id) const;
    void KillAll();

private:
    void OnTick(wxTimerEvent& event);

    wxEvtHandler* m_owner;
    Handler m_onTimer;
    std::map<int, std::unique_ptr<wxTimer>> m_timers;
};
