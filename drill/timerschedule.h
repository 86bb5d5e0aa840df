#pragma once

#include "clock.h"

#include <optional>

// When a periodic timer is due, apart from any platform timer: a view arms
// one timer of its own for due() and reports when it fired.
//
// A change of a setting starts a full countdown from the moment of the
// change, also inside a tick: whatever was shown then stays one whole
// interval, even when the tick itself came late. Setting the value it
// already has changes nothing. Ticks with no change in between keep to
// absolute deadlines, so a waiting answer does not drift. Defaults: enabled,
// 1000 ms.
class TimerSchedule {
public:
    explicit TimerSchedule(const Clock &clock);

    bool isEnabled() const { return enabled; }
    int interval() const { return intervalMs; }
    // The next tick, or none while disabled or at interval 0.
    std::optional<TimePoint> due() const;

    void setEnabled(bool value);
    void setInterval(int milliseconds);

    // Whether a tick is due now; if so the schedule moves on to the next one.
    // A platform timer that fired early gets false and is armed again.
    bool takeTick();

private:
    bool running() const { return enabled && intervalMs > 0; }
    void restart();

    const Clock &clock;
    bool enabled = true;
    int intervalMs = 1000;
    TimePoint nextTick;
};
