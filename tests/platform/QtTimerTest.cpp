#include "platform/QtTimer.h"
#include "tests/support/RunUntil.h"


#include <gtest/gtest.h>

namespace krn310 {
namespace {

using test::RunFor;
using test::RunUntil;

TEST(QtTimer, FiresPeriodicallyWhileEnabled)
{
    TQtTimer timer(5);
    int fires = 0;
    timer.OnTimer = [&] { ++fires; };
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return fires >= 3; }));
    timer.SetEnabled(false);
    const int seen = fires;
    RunFor(60);
    EXPECT_EQ(fires, seen);
}

TEST(QtTimer, HandlerThatDisablesMakesItOneShot)
{
    TQtTimer timer(5);
    int fires = 0;
    timer.OnTimer = [&] {
        ++fires;
        timer.SetEnabled(false);
    };
    timer.SetEnabled(true);
    EXPECT_TRUE(RunUntil([&] { return fires == 1; }));
    RunFor(60);
    EXPECT_EQ(fires, 1);
    EXPECT_FALSE(timer.Enabled());
}

TEST(QtTimer, ZeroIntervalNeverFires)
{
    TQtTimer timer(0);
    int fires = 0;
    timer.OnTimer = [&] { ++fires; };
    timer.SetEnabled(true);
    RunFor(50);
    EXPECT_EQ(fires, 0);
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(5);
    EXPECT_TRUE(RunUntil([&] { return fires >= 1; }));
}

} // namespace
} // namespace krn310
