// The clipboard watch of the talk downloads: about once a second the
// clipboard's text is read on a thread of its own; when it has changed and
// holds download commands, their addresses are handed on.
// Without a display the watch does nothing.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CClipboardReader;

class CClipboardWatch {
public:
    // Called on the watch's thread with the addresses of a new text.
    using OnAddresses = std::function<void(const std::vector<std::string>& addresses)>;
    // Opens the reader on the watch's thread (a display connection belongs to
    // the thread that opened it); null when there is no clipboard to read.
    using OpenReader = std::function<std::unique_ptr<CClipboardReader>()>;

    CClipboardWatch(OpenReader openReader, OnAddresses onAddresses);
    ~CClipboardWatch() { Stop(); }
    CClipboardWatch(const CClipboardWatch&) = delete;
    CClipboardWatch& operator=(const CClipboardWatch&) = delete;

    // Ends the watch and waits for its thread (at most one read's timeout).
    void Stop();

private:
    void Watch();

    OpenReader m_openReader;
    OnAddresses m_onAddresses;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
