#include "webview.h"

#include "clock.h"

#include <algorithm>
#include <chrono>
#include <utility>

WebView::WebView(emscripten::val page, const Clock &clock)
    : page(std::move(page))
    , clock(clock)
{
}

void WebView::showLabel(int number, const std::string &text)
{
    page.call<void>("showLabel", number, text);
}

void WebView::showCheckBox(int number, bool checked)
{
    page.call<void>("showCheckBox", number, checked);
}

void WebView::showRadioButton(int number)
{
    page.call<void>("showRadioButton", number);
}

void WebView::showListItem(int index)
{
    page.call<void>("showListItem", index);
}

void WebView::announce(const std::string &text)
{
    page.call<void>("announce", text);
}

// Whole milliseconds, rounded up: setTimeout counts in them, and a timer
// that fired before its due time only costs the core one more arming.
void WebView::armTimer(std::optional<TimePoint> due)
{
    if (!due) {
        page.call<void>("armTimer", emscripten::val::null());
        return;
    }
    const auto delay = std::chrono::ceil<std::chrono::milliseconds>(*due - clock.now());
    page.call<void>("armTimer", static_cast<double>(std::max<std::chrono::milliseconds::rep>(delay.count(), 0)));
}

void WebView::closeWindow()
{
    page.call<void>("closeWindow");
}
