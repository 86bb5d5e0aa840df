#pragma once

#include <QObject>

#include <chrono>
#include <optional>

class QTimer;

// A one-shot timer armed for a moment on the steady clock, never firing
// before it. Arming it again replaces the pending moment; none disarms it.
class DueTimer : public QObject {
    Q_OBJECT

public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit DueTimer(QObject *parent);

    void fireAt(std::optional<TimePoint> due);
    bool isArmed() const;

signals:
    void fired();

private:
    QTimer *const timer;
};
