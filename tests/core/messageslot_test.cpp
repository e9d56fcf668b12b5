// The show-message slot: kinds by name, whole seconds, one message at a time,
// and consistent hand-over from a worker thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/quenlow.h"

namespace {

TEST(MessageSlotTest, KindAndTimeFollowTheCaller)
{
    struct Case {
        const char* kind;
        int milliseconds;
        int expectedKind;
        int expectedSeconds;
    };
    const Case cases[] = {
        {"error", 5000, 1, 5},
        {"warning", 3000, 2, 3},
        {"msg", 3000, 3, 3},
        {"Error", 3000, 3, 3},   // kind names are compared exactly
        {"msg", 999, 3, 0},      // whole seconds, truncated
    };
    CQuenlowApp app;
    for (const Case& c : cases) {
        app.ShowMessage("保存成功！", c.kind, c.milliseconds);
        int kind = 0, seconds = -1;
        CString text;
        ASSERT_TRUE(app.TakeMessage(kind, text, seconds)) << c.kind;
        EXPECT_EQ(kind, c.expectedKind) << c.kind;
        EXPECT_EQ(seconds, c.expectedSeconds) << c.kind;
        EXPECT_EQ(text, "保存成功！");
        EXPECT_FALSE(app.TakeMessage(kind, text, seconds)) << "taking empties the slot";
    }
}

TEST(MessageSlotTest, LatestMessageWinsAndShortTextsStay)
{
    CQuenlowApp app;
    app.SetMessage(kMessageError, "first", 5);
    app.SetMessage(kMessageInfo, "second", 3);
    int kind = 0, seconds = 0;
    CString text;
    ASSERT_TRUE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(text, "second");
    EXPECT_EQ(kind, 3);

    app.SetMessage(kMessageWarning, "x", 4);
    EXPECT_FALSE(app.TakeMessage(kind, text, seconds));
    EXPECT_EQ(app.m_strMessageText, "x");
}

// A worker writes 100,000 messages while this thread takes them: every
// message taken must be one that was written whole (kind, text and seconds
// belong together), and the last one written is the last one left.
TEST(MessageSlotTest, MessagesFromAWorkerThreadArriveWhole)
{
    CQuenlowApp app;
    constexpr int kMessages = 100000;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < kMessages; ++i) {
            const int kind = 1 + i % 3;
            CString text;
            text.Format("message %d kind %d", i, kind);
            app.SetMessage(kind, text, i % 97);
        }
        done = true;
    });

    int taken = 0;
    int lastIndex = -1;
    const auto takeOne = [&] {
        int kind = 0, seconds = 0;
        CString text;
        if (!app.TakeMessage(kind, text, seconds))
            return;
        int index = -1, textKind = -1;
        ASSERT_EQ(sscanf(text.GetString(), "message %d kind %d", &index, &textKind), 2) << text.GetString();
        ASSERT_EQ(textKind, kind);
        ASSERT_EQ(seconds, index % 97);
        ASSERT_GT(index, lastIndex) << "messages arrive in the order written";
        lastIndex = index;
        ++taken;
    };
    while (!done)
        takeOne();
    worker.join();
    takeOne();
    EXPECT_GT(taken, 0);
    EXPECT_EQ(lastIndex, kMessages - 1);
}

} // namespace
