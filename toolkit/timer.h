#pragma once

#include <QObject>

#include <chrono>

class QTimer;

// A periodic timer whose settings restart the countdown only when they
// really change. Defaults: enabled, 1000 ms.
//
// Ticks keep to absolute deadlines, so they never drift, and a restart made
// while a tick is being handled counts from that tick's due time: the
// handler's own latency does not stretch the next step.
class Timer : public QObject {
    Q_OBJECT

public:
    explicit Timer(QObject *parent);

    bool isEnabled() const { return enabled; }
    int interval() const { return intervalMs; }
    // Milliseconds left of the pending countdown, or -1 when none runs.
    int remainingTime() const;

    void setEnabled(bool value);
    void setInterval(int value);

signals:
    void tick();

private:
    using Clock = std::chrono::steady_clock;

    bool running() const { return enabled && intervalMs > 0; }
    void restart();
    void arm();
    void onTimeout();

    QTimer *const timer;
    bool enabled = true;
    int intervalMs = 1000;
    Clock::time_point due;
    bool inTick = false;
    Clock::time_point tickDue;
};
