#include "duetimer.h"

#include <QObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
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

// Due moments fall between whole milliseconds, as a schedule's do: a timer
// that rounded the wait down would fire a little before them.
TEST_F(DueTimerTest, FiresOnceAndNeverBeforeItsMoment)
{
    for (int round = 1; round <= 5; ++round) {
        const Clock::time_point due = Clock::now() + milliseconds(40) + microseconds(900);
        timer.fireAt(due);
        EXPECT_TRUE(timer.isArmed());
        ASSERT_TRUE(fired.wait(5000));
        ASSERT_EQ(firedAt.size(), static_cast<std::size_t>(round));
        EXPECT_GE(firedAt.back(), due) << "round " << round << " fired early";
    }
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
