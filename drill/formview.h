#pragma once

#include "clock.h"

#include <optional>
#include <string>

// A view of the window as the core sees it: it shows what the core says,
// each control found by its number, and arms one platform timer. The view
// reports what the user does to DrillForm. A view builds its controls
// without state: DrillForm shows it every state when it starts.
class FormView {
public:
    virtual void showLabel(int number, const std::string &text) = 0;
    virtual void showCheckBox(int number, bool checked) = 0;
    virtual void showRadioButton(int number) = 0;
    virtual void showListItem(int index) = 0;
    // One text for the step just shown, for screen readers.
    virtual void announce(const std::string &text) = 0;
    // Fire once at `due` (never before it), or not at all.
    virtual void armTimer(std::optional<TimePoint> due) = 0;
    virtual void closeWindow() = 0;

protected:
    ~FormView() = default;
};
