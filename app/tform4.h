#pragma once

#include "controls.h"
#include "drillform.h"
#include "formview.h"

#include <QWidget>

class Announcer;
class DueTimer;
class ScaledStyle;

// The drill's one window, a view of DrillForm: builds the fixed layout from
// the control table, reports clicks, changes and timer expiries to the form,
// and shows what the form says.
class TForm4 : public QWidget, private FormView {
    Q_OBJECT

public:
    explicit TForm4(const Clock &clock = steadyClock(), SeedSource seeds = clockSeed);

    const DrillForm &form() const { return drill; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectControls();

    void showLabel(int number, const std::string &text) override;
    void showCheckBox(int number, bool checked) override;
    void showRadioButton(int number) override;
    void showListItem(int index) override;
    void announce(const std::string &text) override;
    void armTimer(std::optional<TimePoint> due) override;
    void closeWindow() override;

    ScaledStyle *const style;
    const Controls ui;
    DueTimer *const Timer1;
    Announcer *const announcer;
    DrillForm drill;
    bool iconPending = true;
};
