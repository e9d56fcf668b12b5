// The download-and-play task: one file fetched on its own thread into the
// folder the program plays it from. A transfer that breaks off is taken up
// again from the bytes the file holds (downloader/resumerule.h) before the
// task ends short. The task can be stopped and started again; a new start
// goes on from the bytes the file already holds.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "downloader/rangefetch.h"
#include "platform/cstring.h"

struct SDlAndPlayState {
    bool running = false;
    bool complete = false;
    int64_t total = -1;   // -1 while unknown
    int64_t written = 0;  // bytes in the target, from its start
    int runs = 0;         // transfers started
    int endedRuns = 0;    // transfers that have ended
    int resumes = 0;      // tries again after a break, in all
    std::string error;    // why the last transfer ended short
};

class CDlAndPlayTask {
public:
    // target: program text; url: as the transfer library takes it, empty
    // for an address that was refused (the task then ends at its start);
    // tag: names the task in its progress files.
    CDlAndPlayTask(CString target, std::string url, CString tag, SFetchLimits limits);
    ~CDlAndPlayTask() { Stop(); }
    CDlAndPlayTask(const CDlAndPlayTask&) = delete;
    CDlAndPlayTask& operator=(const CDlAndPlayTask&) = delete;

    // Starts a transfer: the first from the file's start, each later one
    // from the bytes the target holds. Nothing happens while one runs or
    // once the file is whole.
    void Start();
    // Ends the transfer under way (within about a second) and waits for it;
    // the bytes that arrived stay.
    void Stop();

    SDlAndPlayState State() const;
    const CString& Target() const { return m_target; }
    const CString& Tag() const { return m_tag; }
    std::chrono::steady_clock::time_point Created() const { return m_created; }

private:
    void Run(int64_t offset);

    const CString m_target;
    const std::string m_url;
    const CString m_tag;
    const SFetchLimits m_limits;
    const std::chrono::steady_clock::time_point m_created = std::chrono::steady_clock::now();
    std::thread m_thread;
    std::atomic<bool> m_cancel {false};
    mutable std::mutex m_lock;
    SDlAndPlayState m_state;
    // Whether the target is this task's file (written by one of its
    // transfers): only then does a new start go on from its bytes.
    bool m_ownsTarget = false;
};
