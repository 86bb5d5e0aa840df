#pragma once

#include "entrytable.h"
#include "runstepper.h"
#include "runview.h"
#include "timerschedule.h"

#include <array>
#include <functional>
#include <string>

class FormView;

// The window without a toolkit: the state of every control and every rule
// between them, the run, and Timer1's schedule. A view reports the user's
// actions here and shows what it is told through FormView.
class DrillForm : private RunView {
public:
    static constexpr int CheckBoxCount = 13;
    static constexpr int RadioButtonCount = 3;
    static constexpr int LabelCount = 4;
    static constexpr int IntervalItemCount = 4;

    DrillForm(FormView &view, const Clock &clock, SeedSource seeds = clockSeed);

    // What the user did. Numbers are the controls' own ("CheckBox13" is 13).
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void checkBoxChanged(int number, bool checked);
    void radioButtonChosen(int number);
    void listItemChosen(int index);
    // The view's timer reached the due time it was given.
    void timerFired();
    // The window is closing, by Button2 or by its own close control.
    void FormClose();

    bool isChecked(int checkBox) const { return checkBoxes.at(checkBox); }
    int chosenRadioButton() const { return radioButton; }
    int listItem() const { return itemIndex; }
    const std::string &labelText(int number) const { return labels.at(number); }
    const TimerSchedule &Timer1() const { return timer; }
    const RunStepper &run() const { return stepper; }

    DrillChoice drillChoice() const override;

private:
    void FormCreate();
    void setChecked(int number, bool checked);
    void SingleRowChange(bool checked);  // CheckBox1 … CheckBox9
    void CheckBox10Change(bool checked);
    void CheckBox13Change(bool checked);
    void uncheckSingleRows();
    void ListBox1Change();
    void Timer1Timer();
    void showState();
    void showTimer();
    void rescheduleTimer(const std::function<void()> &change);
    void setLabel(int number, const std::string &text);

    bool recitationWanted() const override;
    int intervalItemIndex() const override;
    void showExpression(const std::string &text) override;
    void showAnswer(const std::string &text) override;
    void showRecitation(const std::string &text) override;
    void announce(const std::string &text) override;
    void setTimerEnabled(bool enabled) override;
    void setTimerInterval(int milliseconds) override;

    FormView &view;
    EntryTable entryTable;
    std::array<bool, CheckBoxCount + 1> checkBoxes{};  // index 0 unused
    int radioButton = 0;
    int itemIndex = -1;
    std::array<std::string, LabelCount + 1> labels;  // index 0 unused
    TimerSchedule timer;
    RunStepper stepper;
};
