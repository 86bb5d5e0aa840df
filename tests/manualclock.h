#pragma once

#include "clock.h"

// Virtual time: stands still until the test moves it.
class ManualClock final : public Clock {
public:
    TimePoint now() const override { return current; }

    void advance(std::chrono::milliseconds by) { current += by; }
    void setTo(TimePoint to) { current = to; }

private:
    TimePoint current{std::chrono::hours(1)};
};
