#pragma once

#include <QObject>

#include <chrono>

class QTimer;

// A periodic timer whose settings restart the countdown only when they
// really change. Defaults: enabled, 1000 ms.
//
// A change of a setting starts a full countdown from the moment of the call,
// also inside a tick handler: whatever was shown then stays one whole
// interval, even when the tick itself came late. Ticks with no change in
// between keep to absolute deadlines, so a waiting answer does not drift.
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
};
