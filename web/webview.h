#pragma once

#include "formview.h"

#include <emscripten/val.h>

class Clock;

// The page as the core sees it: each call goes to the JavaScript object
// that owns the page's controls. The timer's due time becomes a delay for
// setTimeout.
class WebView final : public FormView {
public:
    WebView(emscripten::val page, const Clock &clock);

    void showLabel(int number, const std::string &text) override;
    void showCheckBox(int number, bool checked) override;
    void showRadioButton(int number) override;
    void showListItem(int index) override;
    void announce(const std::string &text) override;
    void armTimer(std::optional<TimePoint> due) override;
    void closeWindow() override;

private:
    emscripten::val page;
    const Clock &clock;
};
