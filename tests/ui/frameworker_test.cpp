// The frame's worker: jobs one at a time in order, completions on the
// window's thread through its event queue, and a stop that joins the thread
// while a job is still under way.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include <wx/app.h>
#include <wx/event.h>

#include "ui/frameworker.h"
#include "core/updatecheck.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Runs the queued completions until the condition holds or the time is up.
template <typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds limit = 10s)
{
    const auto end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > end)
            return false;
        wxTheApp->ProcessPendingEvents();
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

void PumpFor(std::chrono::milliseconds time)
{
    PumpUntil([] { return false; }, time);
}

TEST(FrameWorkerTest, JobsRunInOrderOneAtATimeAndCompletionsComeBackOnTheWindowThread)
{
    const std::thread::id windowThread = std::this_thread::get_id();
    constexpr int kJobs = 20;

    std::atomic<int> running {0};
    std::atomic<bool> overlapped {false};
    std::atomic<bool> jobOnWindowThread {false};
    std::mutex lock;
    std::vector<int> started;     // by the jobs, under lock
    std::vector<int> completed;   // by the completions, window thread only
    bool completionOffWindowThread = false;
    // Declared after what the jobs use: it joins its thread before those go.
    wxEvtHandler window;
    CFrameWorker worker(&window);

    for (int i = 0; i < kJobs; ++i) {
        ASSERT_TRUE(worker.Post([&, i](const std::atomic<bool>&) -> CFrameWorker::Completion {
            if (++running > 1)
                overlapped = true;
            if (std::this_thread::get_id() == windowThread)
                jobOnWindowThread = true;
            {
                const std::lock_guard<std::mutex> guard(lock);
                started.push_back(i);
            }
            std::this_thread::sleep_for(1ms);
            --running;
            if (i % 5 == 4)
                return {};   // a job with nothing to report
            return [&, i] {
                if (std::this_thread::get_id() != windowThread)
                    completionOffWindowThread = true;
                completed.push_back(i);
            };
        }));
    }
    // Nothing reaches the window before its queue runs.
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(completed.empty());

    ASSERT_TRUE(PumpUntil([&] { return completed.size() == kJobs - kJobs / 5; }));
    PumpFor(50ms);
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(jobOnWindowThread);
    EXPECT_FALSE(completionOffWindowThread);
    std::vector<int> order(kJobs);
    for (int i = 0; i < kJobs; ++i)
        order[i] = i;
    {
        const std::lock_guard<std::mutex> guard(lock);
        EXPECT_EQ(started, order);
    }
    std::vector<int> reported;
    for (int i : order)
        if (i % 5 != 4)
            reported.push_back(i);
    EXPECT_EQ(completed, reported);
}

// A job waits for the stop; the jobs queued behind it never start and no
// completion runs, even one queued before the stop.
TEST(FrameWorkerTest, StopEndsTheJobInFlightAndDropsTheRest)
{
    std::atomic<bool> inFlight {false};
    std::atomic<int> laterJobs {0};
    int completions = 0;
    wxEvtHandler window;
    CFrameWorker worker(&window);

    ASSERT_TRUE(worker.Post([&](const std::atomic<bool>&) -> CFrameWorker::Completion {
        return [&] { ++completions; };   // queued to the window, not yet run at the stop
    }));
    ASSERT_TRUE(worker.Post([&](const std::atomic<bool>& stopping) -> CFrameWorker::Completion {
        inFlight = true;
        const auto end = Clock::now() + 30s;
        while (!stopping && Clock::now() < end)
            std::this_thread::sleep_for(1ms);
        return [&] { ++completions; };
    }));
    for (int i = 0; i < 3; ++i)
        worker.Post([&](const std::atomic<bool>&) -> CFrameWorker::Completion {
            ++laterJobs;
            return [&] { ++completions; };
        });

    const auto waitStart = Clock::now();
    while (!inFlight && Clock::now() - waitStart < 10s)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(inFlight);
    const auto stopStart = Clock::now();
    worker.Stop();
    EXPECT_LT(Clock::now() - stopStart, 1s);
    EXPECT_TRUE(worker.IsStopped());

    PumpFor(100ms);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(laterJobs, 0);
    // A stopped worker takes no more work; stopping again does nothing.
    EXPECT_FALSE(worker.Post([](const std::atomic<bool>&) { return CFrameWorker::Completion(); }));
    worker.Stop();
}

// A worker that never got a job has no thread to join; one destroyed with a
// job under way stops it itself.
TEST(FrameWorkerTest, DestructionStopsAJobUnderWay)
{
    wxEvtHandler window;
    std::atomic<bool> inFlight {false};
    std::atomic<bool> sawStop {false};
    {
        CFrameWorker idle(&window);
    }
    {
        CFrameWorker worker(&window);
        worker.Post([&](const std::atomic<bool>& stopping) -> CFrameWorker::Completion {
            inFlight = true;
            const auto end = Clock::now() + 30s;
            while (!stopping && Clock::now() < end)
                std::this_thread::sleep_for(1ms);
            sawStop = stopping.load();
            return {};
        });
        while (!inFlight)
            std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(sawStop);
}

// The update check on the worker: a server that never answers holds the
// request, and the stop still ends it within about a second instead of the
// request's own time limits.
TEST(FrameWorkerTest, StopCancelsAnUpdateCheckWaitingOnTheServer)
{
    testsupport::TempFolder tmp;
    CLoopbackServer server([](const std::string&) { return NoAnswer(); });
    SUpdateCheckRequest request;
    request.serverHost = "127.0.0.1";
    request.serverPort = server.port();
    request.productId = "ABC123";
    request.productIdFile = tmp.ansi() + "PrdID.data";
    request.localUpdateFile = tmp.ansi() + "update.data";
    request.connectTimeoutMs = 20000;
    request.totalTimeoutMs = 20000;

    std::atomic<bool> finished {false};
    std::atomic<int> result {-1};
    wxEvtHandler window;
    CFrameWorker worker(&window);
    worker.Post([&](const std::atomic<bool>& stopping) -> CFrameWorker::Completion {
        SUpdateCheckRequest cancellable = request;
        cancellable.cancel = &stopping;
        result = static_cast<int>(CheckForUpdate(cancellable).result);
        finished = true;
        return {};
    });
    const auto waitStart = Clock::now();
    while (server.requests().empty() && Clock::now() - waitStart < 10s)
        std::this_thread::sleep_for(5ms);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_FALSE(finished);

    const auto stopStart = Clock::now();
    worker.Stop();
    EXPECT_LT(Clock::now() - stopStart, 3s);
    EXPECT_TRUE(finished);
    EXPECT_EQ(result, static_cast<int>(EUpdateCheckResult::NoConnection));
}

} // namespace
