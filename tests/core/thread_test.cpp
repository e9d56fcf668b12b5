// The worker thread: Join gives the body's result once, the destructor waits
// for a running body, a detached body is not waited for.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "core/thread.h"

namespace {

class FunctionThread : public Thread {
public:
    explicit FunctionThread(std::function<unsigned(void*)> body) : m_body(std::move(body)) {}
    ~FunctionThread() override { Join(); }
    unsigned Run(void* argument) override { return m_body(argument); }

private:
    std::function<unsigned(void*)> m_body;
};

// A body that uses nothing of its object, only the flags it is handed, so it
// may outlive the subclass part of the object (or the whole object, detached).
struct BodyFlags {
    std::atomic<bool> running{false};
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
};

class FlagThread : public Thread {
public:
    unsigned Run(void* argument) override
    {
        auto* flags = static_cast<BodyFlags*>(argument);
        flags->running = true;
        while (!flags->release)
            Thread::Sleep(1);
        Thread::Sleep(30);
        flags->finished = true;
        return 7;
    }
};

TEST(ThreadTest, JoinReturnsTheBodysResultOnce)
{
    std::atomic<int> runs{0};
    int argument = 41;
    FunctionThread thread([&](void* arg) {
        ++runs;
        return static_cast<unsigned>(*static_cast<int*>(arg) + 1);
    });
    EXPECT_EQ(0u, thread.Join());   // nothing to wait for yet
    ASSERT_TRUE(thread.Start(&argument));
    EXPECT_TRUE(thread.Start(&argument));   // already started: no second run
    EXPECT_EQ(42u, thread.Join());
    EXPECT_EQ(0u, thread.Join());   // already joined
    EXPECT_EQ(1, runs.load());
}

TEST(ThreadTest, DestructorWaitsForARunningBody)
{
    BodyFlags flags;
    flags.release = true;
    {
        FlagThread thread;
        ASSERT_TRUE(thread.Start(&flags));
        while (!flags.running)
            Thread::Sleep(1);
    }
    EXPECT_TRUE(flags.finished.load());
}

TEST(ThreadTest, DetachedThreadIsNotWaitedFor)
{
    static BodyFlags flags;   // outlives the detached body
    flags.running = false;
    flags.release = false;
    flags.finished = false;
    {
        FlagThread thread;
        ASSERT_TRUE(thread.Start(&flags));
        while (!flags.running)
            Thread::Sleep(1);
        thread.Detach();
        EXPECT_EQ(0u, thread.Join());
    }
    EXPECT_FALSE(flags.finished.load());
    flags.release = true;
    for (int i = 0; i < 2000 && !flags.finished; ++i)
        Thread::Sleep(1);
    EXPECT_TRUE(flags.finished.load());
}

} // namespace
