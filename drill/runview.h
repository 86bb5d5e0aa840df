#pragma once

#include "drillchoice.h"

#include <string>

// The window as a run sees it: the options it reads at the moment it needs
// them, the three texts it shows, what it says of each step, and the step
// timer.
class RunView {
public:
    virtual DrillChoice drillChoice() const = 0;
    virtual bool recitationWanted() const = 0;
    virtual int intervalItemIndex() const = 0;

    virtual void showExpression(const std::string &text) = 0;
    virtual void showAnswer(const std::string &text) = 0;
    virtual void showRecitation(const std::string &text) = 0;
    // Called once for each step that changed what is shown, after the
    // texts, with the step as one text for screen readers.
    virtual void announce(const std::string &text) = 0;

    // A change restarts the countdown; setting the current value does not.
    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void setTimerInterval(int milliseconds) = 0;

protected:
    ~RunView() = default;
};
