// The clipboard watch of the talk downloads: about once a second the
// clipboard's text is read on a thread of its own; when it has changed and
// holds download commands, their addresses are handed on.
// Without a display the watch does nothing.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CClipboardWatch {
public:
    // Called on the watch's thread with the addresses of a new text.
    using OnAddresses = std::function<void(const std::vector<std::string>& addresses)>;

    explicit CClipboardWatch(OnAddresses onAddresses);
    ~CClipboardWatch() { Stop(); }
    CClipboardWatch(const CClipboardWatch&) = delete;
    CClipboardWatch& operator=(const CClipboardWatch&) = delete;

    // Ends the watch and waits for its thread (at most one read's timeout).
    void Stop();

private:
    void Watch();

    OnAddresses m_onAddresses;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
