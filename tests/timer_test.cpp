#include "timer.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

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

// Blocks the event loop from shortly before a tick is due until well after,
// as a busy machine or another slow handler does.
void stallAround(QObject *context, milliseconds due, milliseconds lateness)
{
    const milliseconds lead{50};
    QTimer::singleShot(due - lead, Qt::PreciseTimer, context,
                       [stall = lead + lateness] { std::this_thread::sleep_for(stall); });
}

// Showing a question restarts the countdown inside a tick; when that tick
// came late, the question must still stay one whole interval.
TEST_F(TimerTest, RestartInsideALateTickGivesAFullInterval)
{
    constexpr milliseconds Interval{200};
    Clock::time_point restartedAt;
    Clock::time_point nextTickAt;
    int ticks = 0;
    QObject::connect(&timer, &Timer::tick, &owner, [&] {
        if (++ticks == 1) {
            restartedAt = Clock::now();
            timer.setEnabled(false);
            timer.setEnabled(true);
        } else if (ticks == 2) {
            nextTickAt = Clock::now();
        }
    });
    const Clock::time_point started = Clock::now();
    timer.setInterval(static_cast<int>(Interval.count()));
    stallAround(&owner, Interval, milliseconds(150));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    ASSERT_GE(restartedAt - started, Interval + milliseconds(100)) << "the first tick should have come late";
    EXPECT_GE(nextTickAt - restartedAt, Interval);
}

// An answer waits with no restart: a handler's running time must not push
// the next tick back.
TEST_F(TimerTest, TicksWithoutChangesKeepToTheirDeadlines)
{
    constexpr int Interval = 300;
    constexpr milliseconds HandlerTime{50};
    int remainingAfterHandler = -2;
    QObject::connect(&timer, &Timer::tick, &owner, [&] {
        std::this_thread::sleep_for(HandlerTime);
        remainingAfterHandler = timer.remainingTime();
    });
    timer.setInterval(Interval);
    ASSERT_TRUE(QTest::qWaitFor([&] { return remainingAfterHandler != -2; }, 5000));
    EXPECT_LE(remainingAfterHandler, Interval - HandlerTime.count() + 1);
}

// After a stall of several intervals the timer carries on from the late tick
// instead of delivering the missed ones in a burst.
TEST_F(TimerTest, AfterAStallTheNextTickIsOneIntervalAway)
{
    constexpr int Interval = 100;
    int remainingInFirstTick = -2;
    QObject::connect(&timer, &Timer::tick, &owner, [&] {
        if (remainingInFirstTick == -2)
            remainingInFirstTick = timer.remainingTime();
    });
    timer.setInterval(Interval);
    stallAround(&owner, milliseconds(Interval), milliseconds(3 * Interval));
    ASSERT_TRUE(QTest::qWaitFor([&] { return remainingInFirstTick != -2; }, 5000));
    EXPECT_GE(remainingInFirstTick, Interval - 10);
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
