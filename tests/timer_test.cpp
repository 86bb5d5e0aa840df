#include "timer.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class TimerTest : public testing::Test {
protected:
    // Lets part of the countdown pass, so a restart would be visible.
    void letTimePass(int milliseconds)
    {
        const int before = timer.remainingTime();
        ASSERT_TRUE(QTest::qWaitFor([&] { return timer.remainingTime() <= before - milliseconds; }, 5000));
    }

    QObject owner;
    Timer timer{&owner};
};

TEST_F(TimerTest, StartsEnabledAtOneSecond)
{
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(timer.interval(), 1000);
    EXPECT_GT(timer.remainingTime(), 0);
}

TEST_F(TimerTest, TicksRepeatUntilDisabled)
{
    QSignalSpy ticks(&timer, &Timer::tick);
    timer.setInterval(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.count() >= 3; }, 5000));
    timer.setEnabled(false);
    EXPECT_EQ(timer.remainingTime(), -1);
}

TEST_F(TimerTest, SettingTheSameValueKeepsTheCountdown)
{
    letTimePass(100);
    const int remaining = timer.remainingTime();
    timer.setInterval(1000);
    timer.setEnabled(true);
    EXPECT_LE(timer.remainingTime(), remaining);
}

TEST_F(TimerTest, ChangingTheIntervalStartsAFullCountdown)
{
    letTimePass(100);
    timer.setInterval(3000);
    EXPECT_GT(timer.remainingTime(), 2900);
}

TEST_F(TimerTest, EnablingStartsAFullCountdown)
{
    timer.setEnabled(false);
    EXPECT_EQ(timer.remainingTime(), -1);
    timer.setInterval(2000);
    EXPECT_EQ(timer.remainingTime(), -1) << "a disabled timer must stay off";
    timer.setEnabled(true);
    EXPECT_GT(timer.remainingTime(), 1900);
}

// A handler that restarts the countdown (as showing a question does) must
// not lengthen the step by its own running time.
TEST_F(TimerTest, RestartDuringATickCountsFromTheTicksDueTime)
{
    constexpr int Interval = 200;
    constexpr int HandlerMilliseconds = 50;
    int remainingAfterRestart = -2;
    QObject::connect(&timer, &Timer::tick, &owner, [&] {
        QThread::msleep(HandlerMilliseconds);
        timer.setEnabled(false);
        timer.setEnabled(true);
        remainingAfterRestart = timer.remainingTime();
    });
    timer.setInterval(Interval);
    ASSERT_TRUE(QTest::qWaitFor([&] { return remainingAfterRestart != -2; }, 5000));
    EXPECT_GE(remainingAfterRestart, 0);
    EXPECT_LE(remainingAfterRestart, Interval - HandlerMilliseconds + 1);
}

TEST_F(TimerTest, RestartOutsideATickStartsFromNow)
{
    letTimePass(100);
    timer.setEnabled(false);
    timer.setEnabled(true);
    EXPECT_GT(timer.remainingTime(), 900);
}

TEST_F(TimerTest, ZeroIntervalNeverTicks)
{
    timer.setInterval(0);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(timer.remainingTime(), -1);
}

} // namespace
