#pragma once

#include <chrono>

using TimePoint = std::chrono::steady_clock::time_point;

// Where the core reads the time: the steady clock in a program, a clock the
// test moves by hand in virtual time.
class Clock {
public:
    virtual TimePoint now() const = 0;

protected:
    ~Clock() = default;
};

class SteadyClock final : public Clock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

// The one clock a program needs; it has no state.
inline const Clock &steadyClock()
{
    static const SteadyClock clock;
    return clock;
}
