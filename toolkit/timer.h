#pragma once

#include <QObject>
#include <QTimer>

// A periodic timer whose settings restart the countdown only when they
// really change. Defaults: enabled, 1000 ms.
class Timer : public QObject {
    Q_OBJECT

public:
    explicit Timer(QObject *parent);

    bool isEnabled() const { return enabled; }
    int interval() const { return milliseconds; }
    // Time left of the pending countdown, or -1 when none runs.
    int remainingTime() const { return timer->remainingTime(); }

    void setEnabled(bool value);
    void setInterval(int value);

signals:
    void tick();

private:
    void restart();

    QTimer *const timer;
    bool enabled = true;
    int milliseconds = 1000;
};
