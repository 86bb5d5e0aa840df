#include "timer.h"

Timer::Timer(QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
{
    // A coarse timer may fire up to 5 % late; a step of a drill must not.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &Timer::tick);
    restart();
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
    if (value == milliseconds)
        return;
    milliseconds = value;
    restart();
}

void Timer::restart()
{
    timer->stop();
    if (enabled && milliseconds > 0)
        timer->start(milliseconds);
}
