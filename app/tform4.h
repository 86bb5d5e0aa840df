#pragma once

#include "controls.h"
#include "entrytable.h"
#include "runstepper.h"
#include "runview.h"

#include <QWidget>

class Announcer;
class ScaledStyle;
class Timer;

// The drill's one window: builds the fixed layout, keeps the option
// controls apart, and forwards clicks and ticks to the run.
class TForm4 : public QWidget, private RunView {
    Q_OBJECT

public:
    explicit TForm4(SeedSource seeds = clockSeed);

    const RunStepper &run() const { return stepper; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    void connectHandlers();

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void SingleRowChange(bool checked);  // CheckBox1 … CheckBox9
    void CheckBox10Change(bool checked);
    void CheckBox13Change(bool checked);
    void ListBox1Change();
    void Timer1Timer();

    void uncheckSingleRows();

    DrillChoice drillChoice() const override;
    bool recitationWanted() const override;
    int intervalItemIndex() const override;
    void showExpression(const std::string &text) override;
    void showAnswer(const std::string &text) override;
    void showRecitation(const std::string &text) override;
    void announce(const std::string &text) override;
    void setTimerEnabled(bool enabled) override;
    void setTimerInterval(int milliseconds) override;

    EntryTable entryTable;
    ScaledStyle *const style;
    const Controls ui;
    Timer *const Timer1;
    Announcer *const announcer;
    RunStepper stepper;
    bool iconPending = true;
};
