#include "drillform.h"

#include "controltable.h"
#include "formview.h"

#include <functional>
#include <utility>

DrillForm::DrillForm(FormView &view, const Clock &clock, SeedSource seeds)
    : view(view)
    , timer(clock)
    , stepper(*this, entryTable, std::move(seeds))
{
    // The initial states are the table's; applying them runs no handler.
    for (const ControlRow &row : ControlTable) {
        switch (row.kind) {
        case ControlKind::CheckBox:
            checkBoxes.at(row.number) = row.initiallyOn;
            break;
        case ControlKind::RadioButton:
            if (row.initiallyOn)
                radioButton = row.number;
            break;
        case ControlKind::ListBox:
            if (row.initiallyOn)
                itemIndex = 0;
            break;
        case ControlKind::Label:
            labels.at(row.number) = row.text;
            break;
        case ControlKind::PushButton:
            break;
        }
    }
    FormCreate();
    showState();
}

void DrillForm::FormCreate()
{
    FillEntryTable(entryTable);
}

void DrillForm::Button1Click()
{
    stepper.Button1Click();
}

void DrillForm::Button2Click()
{
    view.closeWindow();
}

void DrillForm::Button3Click()
{
    stepper.Button3Click();
}

void DrillForm::checkBoxChanged(int number, bool checked)
{
    setChecked(number, checked);
}

void DrillForm::radioButtonChosen(int number)
{
    if (number < 1 || number > RadioButtonCount || number == radioButton)
        return;
    radioButton = number;
    view.showRadioButton(number);
}

// The list always keeps one item: a report of none, or of an item it does
// not have, puts the current one back.
void DrillForm::listItemChosen(int index)
{
    if (index < 0 || index >= IntervalItemCount) {
        view.showListItem(itemIndex);
        return;
    }
    if (index == itemIndex)
        return;
    itemIndex = index;
    view.showListItem(index);
    ListBox1Change();
}

void DrillForm::timerFired()
{
    if (timer.takeTick())
        Timer1Timer();
    showTimer();
}

// No tick may reach a half-closed window.
void DrillForm::FormClose()
{
    setTimerEnabled(false);
}

DrillChoice DrillForm::drillChoice() const
{
    DrillChoice choice;
    choice.rowsOneToNine = checkBoxes[13];
    choice.rowsZeroToNine = checkBoxes[10];
    for (int row = 1; row <= 9; ++row)
        choice.singleRows[row - 1] = checkBoxes[row];
    choice.includeTimesZero = checkBoxes[12];
    switch (radioButton) {
    case 1:
        choice.order = DrillOrder::Ascending;
        break;
    case 3:
        choice.order = DrillOrder::Shuffled;
        break;
    default:
        choice.order = DrillOrder::Descending;
        break;
    }
    return choice;
}

// A box's change handler runs exactly when its state really changes,
// whoever changed it, before this returns.
void DrillForm::setChecked(int number, bool checked)
{
    if (number < 1 || number > CheckBoxCount || checkBoxes[number] == checked)
        return;
    checkBoxes[number] = checked;
    view.showCheckBox(number, checked);
    if (number <= 9)
        SingleRowChange(checked);
    else if (number == 10)
        CheckBox10Change(checked);
    else if (number == 13)
        CheckBox13Change(checked);
}

// Checking one of the three ways of choosing rows clears the other two.
// Unchecking clears nothing, and the boxes it clears come back here
// unchecked, so a click never cascades further.
void DrillForm::SingleRowChange(bool checked)
{
    if (!checked)
        return;
    setChecked(10, false);
    setChecked(13, false);
}

void DrillForm::CheckBox10Change(bool checked)
{
    if (!checked)
        return;
    uncheckSingleRows();
    setChecked(13, false);
}

void DrillForm::CheckBox13Change(bool checked)
{
    if (!checked)
        return;
    uncheckSingleRows();
    setChecked(10, false);
}

void DrillForm::uncheckSingleRows()
{
    for (int row = 1; row <= 9; ++row)
        setChecked(row, false);
}

void DrillForm::ListBox1Change()
{
    stepper.ListBox1Change();
}

void DrillForm::Timer1Timer()
{
    stepper.Timer1Timer();
}

// A view keeps no state of its own: it is shown every control's state at
// start, as it is shown each change after, so a new form resets a view that
// was showing another.
void DrillForm::showState()
{
    for (int number = 1; number <= LabelCount; ++number)
        view.showLabel(number, labels[number]);
    for (int number = 1; number <= CheckBoxCount; ++number)
        view.showCheckBox(number, checkBoxes[number]);
    if (radioButton != 0)
        view.showRadioButton(radioButton);
    view.showListItem(itemIndex);
    showTimer();
}

void DrillForm::showTimer()
{
    view.armTimer(timer.due());
}

void DrillForm::setLabel(int number, const std::string &text)
{
    if (labels[number] == text)
        return;
    labels[number] = text;
    view.showLabel(number, text);
}

bool DrillForm::recitationWanted() const
{
    return checkBoxes[11];
}

int DrillForm::intervalItemIndex() const
{
    return itemIndex;
}

void DrillForm::showExpression(const std::string &text)
{
    setLabel(1, text);
}

void DrillForm::showAnswer(const std::string &text)
{
    setLabel(3, text);
}

void DrillForm::showRecitation(const std::string &text)
{
    setLabel(4, text);
}

void DrillForm::announce(const std::string &text)
{
    view.announce(text);
}

void DrillForm::setTimerEnabled(bool enabled)
{
    rescheduleTimer([&] { timer.setEnabled(enabled); });
}

void DrillForm::setTimerInterval(int milliseconds)
{
    rescheduleTimer([&] { timer.setInterval(milliseconds); });
}

// The view's timer is armed again only when the change moved the due time.
void DrillForm::rescheduleTimer(const std::function<void()> &change)
{
    const std::optional<TimePoint> before = timer.due();
    change();
    if (timer.due() != before)
        showTimer();
}
