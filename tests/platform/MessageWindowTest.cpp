#include "platform/MessageWindow.h"
#include "tests/support/RunUntil.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace krn310 {
namespace {

using test::RunFor;
using test::RunUntil;

TEST(MessageWindow, MessagesPostedFromAnotherThreadArriveInOrderOnThisThread)
{
    std::vector<TMessage> got;
    std::vector<std::thread::id> threads;
    THiddenWindow window([&](TMessage& m) {
        got.push_back(m);
        threads.push_back(std::this_thread::get_id());
    });
    std::thread poster([&] {
        for (uint32_t i = 0; i < 100; ++i)
            window.Post(WM_USER, i, -static_cast<int32_t>(i));
    });
    poster.join();
    ASSERT_TRUE(RunUntil([&] { return got.size() == 100; }));
    for (uint32_t i = 0; i < 100; ++i) {
        EXPECT_EQ(got[i].Msg, WM_USER);
        EXPECT_EQ(got[i].WParam, i);
        EXPECT_EQ(got[i].LParam, -static_cast<int32_t>(i));
        EXPECT_EQ(threads[i], std::this_thread::get_id());
    }
}

TEST(MessageWindow, QueuedMessagesOfADestroyedWindowAreDropped)
{
    int calls = 0;
    {
        THiddenWindow window([&](TMessage&) { ++calls; });
        window.Post(WM_USER, 1, 0);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0);
}

TEST(MessageWindow, SendRunsTheProcedureAtOnceAndGivesItsResult)
{
    THiddenWindow window([](TMessage& m) { m.Result = static_cast<int32_t>(m.WParam) + 1; });
    EXPECT_EQ(window.Send(WM_ENDSESSION, 41, 0), 42);
}

TEST(MessageWindow, WindowTimerSendsWmTimerWithItsIdUntilKilled)
{
    std::vector<uint32_t> ids;
    THiddenWindow* self = nullptr;
    THiddenWindow window([&](TMessage& m) {
        if (m.Msg != WM_TIMER)
            return;
        ids.push_back(m.WParam);
        if (ids.size() == 2)
            self->KillTimer(10);
    });
    self = &window;
    window.SetTimer(10, 5);
    EXPECT_TRUE(window.TimerRunning(10));
    ASSERT_TRUE(RunUntil([&] { return ids.size() >= 2; }));
    EXPECT_FALSE(window.TimerRunning(10));
    RunFor(50);
    EXPECT_EQ(ids, (std::vector<uint32_t>{10, 10}));
    EXPECT_FALSE(window.KillTimer(10));
}

} // namespace
} // namespace krn310
