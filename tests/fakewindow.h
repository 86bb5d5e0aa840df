#pragma once

#include "runview.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The window in virtual time: options as fields, labels as texts, what it
// was told to say in order, and a timer keeping the toolkit's contract
// whose ticks fire as the clock is advanced.
class FakeWindow : public RunView {
public:
    DrillChoice choice;
    bool recitation = false;
    int itemIndex = 0;

    std::string label1 = "Label1";
    std::string label3 = "Label3";
    std::string label4 = "Label4";
    std::vector<std::string> announcements;

    bool timerEnabled = true;
    int timerInterval = 1000;
    long long now = 0;
    std::optional<long long> nextTick = 1000;
    std::function<void()> onTick;

    // Moves the clock to `until`, delivering every tick due on the way.
    void advanceTo(long long until)
    {
        while (nextTick && *nextTick <= until) {
            now = *nextTick;
            nextTick = now + timerInterval;
            onTick();
        }
        now = until;
    }

    // Moves the clock to the next tick and delivers it; false if none is due.
    bool tick()
    {
        if (!nextTick)
            return false;
        advanceTo(*nextTick);
        return true;
    }

    DrillChoice drillChoice() const override { return choice; }
    bool recitationWanted() const override { return recitation; }
    int intervalItemIndex() const override { return itemIndex; }

    void showExpression(const std::string &text) override { label1 = text; }
    void showAnswer(const std::string &text) override { label3 = text; }
    void showRecitation(const std::string &text) override { label4 = text; }
    void announce(const std::string &text) override { announcements.push_back(text); }

    void setTimerEnabled(bool enabled) override
    {
        if (enabled == timerEnabled)
            return;
        timerEnabled = enabled;
        restartCountdown();
    }

    void setTimerInterval(int milliseconds) override
    {
        if (milliseconds == timerInterval)
            return;
        timerInterval = milliseconds;
        restartCountdown();
    }

private:
    void restartCountdown()
    {
        nextTick.reset();
        if (timerEnabled && timerInterval > 0)
            nextTick = now + timerInterval;
    }
};
