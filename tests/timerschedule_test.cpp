#include "timerschedule.h"

#include "manualclock.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

class TimerScheduleTest : public testing::Test {
protected:
    // How far the next tick is from now, or −1 when none is due.
    long long untilDue() const
    {
        const auto due = schedule.due();
        return due ? std::chrono::duration_cast<milliseconds>(*due - clock.now()).count() : -1;
    }

    // Moves the clock on and tells the schedule its timer fired.
    bool fireAfter(int ms)
    {
        clock.advance(milliseconds(ms));
        return schedule.takeTick();
    }

    ManualClock clock;
    TimerSchedule schedule{clock};
};

TEST_F(TimerScheduleTest, StartsEnabledAtOneSecond)
{
    EXPECT_TRUE(schedule.isEnabled());
    EXPECT_EQ(schedule.interval(), 1000);
    EXPECT_EQ(untilDue(), 1000);
}

TEST_F(TimerScheduleTest, NeverTicksBeforeItsDueTime)
{
    EXPECT_FALSE(fireAfter(999));
    EXPECT_EQ(untilDue(), 1);
    EXPECT_TRUE(fireAfter(1));
}

TEST_F(TimerScheduleTest, TicksRepeatEveryIntervalUntilDisabled)
{
    EXPECT_TRUE(fireAfter(1000));
    EXPECT_TRUE(fireAfter(1000));
    schedule.setEnabled(false);
    EXPECT_EQ(schedule.due(), std::nullopt);
    EXPECT_FALSE(fireAfter(1000));
    EXPECT_FALSE(fireAfter(5000));
}

TEST_F(TimerScheduleTest, ZeroIntervalNeverTicks)
{
    schedule.setInterval(0);
    EXPECT_EQ(schedule.due(), std::nullopt);
    EXPECT_FALSE(fireAfter(1000));
    EXPECT_FALSE(fireAfter(3000));
}

// A change counts from the moment of the call; the same value changes nothing.
struct Change {
    const char *name;
    void (*apply)(TimerSchedule &);
    long long untilDue;  // after 400 ms of a 1000 ms countdown
};

class ChangeTest : public TimerScheduleTest, public testing::WithParamInterface<Change> {};

TEST_P(ChangeTest, RestartsOnlyOnARealChange)
{
    clock.advance(milliseconds(400));
    GetParam().apply(schedule);
    EXPECT_EQ(untilDue(), GetParam().untilDue);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangeTest,
    testing::Values(Change{"SameInterval", [](TimerSchedule &s) { s.setInterval(1000); }, 600},
                    Change{"SameEnabled", [](TimerSchedule &s) { s.setEnabled(true); }, 600},
                    Change{"NewInterval", [](TimerSchedule &s) { s.setInterval(3000); }, 3000},
                    Change{"OffAndOn", [](TimerSchedule &s) { s.setEnabled(false); s.setEnabled(true); }, 1000},
                    Change{"Disabled", [](TimerSchedule &s) { s.setEnabled(false); }, -1},
                    Change{"IntervalWhileDisabled", [](TimerSchedule &s) { s.setEnabled(false); s.setInterval(2000); }, -1},
                    Change{"EnabledAfterNewInterval",
                           [](TimerSchedule &s) { s.setEnabled(false); s.setInterval(2000); s.setEnabled(true); }, 2000}),
    [](const testing::TestParamInfo<Change> &info) { return info.param.name; });

// A waiting answer must not drift: a late tick does not push back the next.
TEST_F(TimerScheduleTest, TicksWithoutChangesKeepToTheirDeadlines)
{
    EXPECT_TRUE(fireAfter(1030));
    EXPECT_EQ(untilDue(), 970);
}

// Whatever a late tick shows stays one whole interval from the moment it
// is shown.
TEST_F(TimerScheduleTest, RestartInsideALateTickGivesAFullInterval)
{
    EXPECT_TRUE(fireAfter(1400));
    schedule.setEnabled(false);
    schedule.setEnabled(true);
    EXPECT_EQ(untilDue(), 1000);
}

TEST_F(TimerScheduleTest, AfterAStallTheNextTickIsOneIntervalAwayNotABurst)
{
    EXPECT_TRUE(fireAfter(3500));
    EXPECT_EQ(untilDue(), 1000);
    EXPECT_FALSE(fireAfter(999));
}

} // namespace
