// A wxTimer that runs a function: for objects of the playback layer that are
// no window of their own.
#pragma once

#include <functional>
#include <utility>

#include <wx/timer.h>

class CCallbackTimer final : public wxTimer {
public:
    explicit CCallbackTimer(std::function<void()> tick) : m_tick(std::move(tick)) {}
    void Notify() override { m_tick(); }

private:
    std::function<void()> m_tick;
};
