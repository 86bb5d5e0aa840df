#include "timer.h"

#include <QTimer>

#include <algorithm>

using std::chrono::ceil;
using Milliseconds = std::chrono::milliseconds;

Timer::Timer(QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
{
    // A coarse timer may fire up to 5 % late; a step of a drill must not.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &Timer::onTimeout);
    restart();
}

int Timer::remainingTime() const
{
    if (!running())
        return -1;
    return static_cast<int>(std::max<Milliseconds::rep>(0, ceil<Milliseconds>(due - Clock::now()).count()));
}

void Timer::setEnabled(bool value)
{
    if (value == enabled)
        return;
    enabled = value;
    restart();
}

// QTimer::setInterval restarts an active timer even for the value it
// already has, which would stretch the step in progress.
void Timer::setInterval(int value)
{
    if (value == intervalMs)
        return;
    intervalMs = value;
    restart();
}

void Timer::restart()
{
    timer->stop();
    if (!running())
        return;
    due = Clock::now() + Milliseconds(intervalMs);
    arm();
}

void Timer::arm()
{
    // Rounded up: QTimer counts whole milliseconds, and a tick must never come
    // before its due time, or a question would stay less than an interval.
    const auto left = ceil<Milliseconds>(due - Clock::now()).count();
    timer->start(static_cast<int>(std::max<decltype(left)>(0, left)));
}

void Timer::onTimeout()
{
    const Clock::time_point now = Clock::now();
    // After a suspend or a long stall, carry on from now instead of
    // delivering every missed tick in a burst.
    due = (now - due > Milliseconds(intervalMs) ? now : due) + Milliseconds(intervalMs);
    arm();
    emit tick();
}
