#include "duetimer.h"

#include <QTimer>

#include <algorithm>

DueTimer::DueTimer(QObject *parent)
    : QObject(parent)
    , timer(new QTimer(this))
{
    // A coarse timer may fire up to 5 % late; a step of a drill must not.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &DueTimer::fired);
}

void DueTimer::fireAt(std::optional<TimePoint> due)
{
    if (!due) {
        timer->stop();
        return;
    }
    // Rounded up: QTimer counts whole milliseconds, and firing before the
    // due time would cut a question short.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - std::chrono::steady_clock::now()).count();
    timer->start(static_cast<int>(std::max<decltype(left)>(0, left)));
}

bool DueTimer::isArmed() const
{
    return timer->isActive();
}
