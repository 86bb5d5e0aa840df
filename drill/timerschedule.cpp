#include "timerschedule.h"

using Milliseconds = std::chrono::milliseconds;

TimerSchedule::TimerSchedule(const Clock &clock)
    : clock(clock)
{
    restart();
}

std::optional<TimePoint> TimerSchedule::due() const
{
    if (!running())
        return std::nullopt;
    return nextTick;
}

void TimerSchedule::setEnabled(bool value)
{
    if (value == enabled)
        return;
    enabled = value;
    restart();
}

void TimerSchedule::setInterval(int milliseconds)
{
    if (milliseconds == intervalMs)
        return;
    intervalMs = milliseconds;
    restart();
}

bool TimerSchedule::takeTick()
{
    const TimePoint now = clock.now();
    if (!running() || now < nextTick)
        return false;
    const Milliseconds interval(intervalMs);
    // After a suspend or a long stall, carry on from now instead of
    // delivering every missed tick in a burst.
    nextTick = (now - nextTick > interval ? now : nextTick) + interval;
    return true;
}

void TimerSchedule::restart()
{
    nextTick = clock.now() + Milliseconds(intervalMs);
}
