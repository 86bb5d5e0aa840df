#include "duetimer.h"

#include <QObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class DueTimerTest : public testing::Test {
protected:
    // Records when each expiry arrives, on the steady clock.
    DueTimerTest()
    {
        QObject::connect(&timer, &DueTimer::fired, &owner, [this] { firedAt.push_back(Clock::now()); });
    }

    QObject owner;
    DueTimer timer{&owner};
    QSignalSpy fired{&timer, &DueTimer::fired};
    std::vector<Clock::time_point> firedAt;
};

TEST_F(DueTimerTest, FiresOnceAndNeverBeforeItsMoment)
{
    const Clock::time_point due = Clock::now() + milliseconds(120);
    timer.fireAt(due);
    EXPECT_TRUE(timer.isArmed());
    ASSERT_TRUE(fired.wait(5000));
    EXPECT_GE(firedAt.at(0), due);
    EXPECT_FALSE(fired.wait(360)) << "a one-shot timer fired again";
    EXPECT_FALSE(timer.isArmed());
}

TEST_F(DueTimerTest, ArmingAgainReplacesTheMoment)
{
    timer.fireAt(Clock::now() + milliseconds(40));
    const Clock::time_point due = Clock::now() + milliseconds(200);
    timer.fireAt(due);
    ASSERT_TRUE(fired.wait(5000));
    EXPECT_GE(firedAt.at(0), due);
    EXPECT_EQ(fired.count(), 1);
}

// Nothing armed, nothing fires: a switched-off timer must stay silent for
// as long as anyone waits.
TEST_F(DueTimerTest, DisarmedStaysSilent)
{
    constexpr milliseconds Interval{100};
    timer.fireAt(Clock::now() + Interval);
    timer.fireAt(std::nullopt);
    EXPECT_FALSE(timer.isArmed());
    EXPECT_FALSE(fired.wait(static_cast<int>(3 * Interval.count())));
}

TEST_F(DueTimerTest, AMomentAlreadyPastFiresAtOnce)
{
    timer.fireAt(Clock::now() - milliseconds(500));
    EXPECT_TRUE(fired.wait(5000));
}

} // namespace
