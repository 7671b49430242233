#include "platform/ManualClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace krn310 {
namespace {

class ManualTimerTest : public ::testing::Test {
protected:
    ManualClock clock;
    std::unique_ptr<TManualTimer> timer = clock.CreateTimer(1000);
    std::vector<uint64_t> fired;

    void SetUp() override
    {
        timer->OnTimer = [this] { fired.push_back(clock.Now()); };
    }
};

TEST_F(ManualTimerTest, EnablingADisabledTimerStartsAFullInterval)
{
    clock.Advance(300);
    timer->SetEnabled(true);
    clock.Advance(2500);
    EXPECT_EQ(fired, (std::vector<uint64_t>{1300, 2300}));
}

TEST_F(ManualTimerTest, EnablingAnEnabledTimerChangesNothing)
{
    timer->SetEnabled(true);
    clock.Advance(600);
    timer->SetEnabled(true);
    clock.Advance(400);
    EXPECT_EQ(fired, (std::vector<uint64_t>{1000}));
}

TEST_F(ManualTimerTest, SettingTheSameIntervalKeepsTheCount)
{
    timer->SetEnabled(true);
    clock.Advance(600);
    timer->SetInterval(1000);
    clock.Advance(400);
    EXPECT_EQ(fired, (std::vector<uint64_t>{1000}));
}

TEST_F(ManualTimerTest, ChangingTheIntervalRestartsTheCount)
{
    timer->SetEnabled(true);
    clock.Advance(600);
    timer->SetInterval(700);
    clock.Advance(1300);
    EXPECT_EQ(fired, (std::vector<uint64_t>{1300}));
}

TEST_F(ManualTimerTest, DisabledTimerNeverFires)
{
    timer->SetEnabled(true);
    clock.Advance(999);
    timer->SetEnabled(false);
    clock.Advance(5000);
    EXPECT_TRUE(fired.empty());
}

TEST_F(ManualTimerTest, HandlerThatDisablesMakesItOneShot)
{
    timer->OnTimer = [this] {
        fired.push_back(clock.Now());
        timer->SetEnabled(false);
    };
    timer->SetEnabled(true);
    clock.Advance(5000);
    EXPECT_EQ(fired, (std::vector<uint64_t>{1000}));
}

TEST_F(ManualTimerTest, ZeroIntervalNeverFires)
{
    timer->SetInterval(0);
    timer->SetEnabled(true);
    clock.Advance(5000);
    EXPECT_TRUE(fired.empty());
}

TEST(ManualClock, TimersFireInOrderOfTheirDueTimes)
{
    ManualClock clock;
    auto a = clock.CreateTimer(300);
    auto b = clock.CreateTimer(200);
    std::vector<char> order;
    a->OnTimer = [&] { order.push_back('a'); a->SetEnabled(false); };
    b->OnTimer = [&] { order.push_back('b'); };
    a->SetEnabled(true);
    b->SetEnabled(true);
    clock.Advance(650);
    EXPECT_EQ(order, (std::vector<char>{'b', 'a', 'b', 'b'}));
    EXPECT_EQ(clock.NextDue(), 800u);
}

} // namespace
} // namespace krn310
