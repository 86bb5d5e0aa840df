#pragma once

#include "clock.h"
#include "drillform.h"
#include "webview.h"

#include <emscripten/val.h>

// What the page holds: the core with its view and clock. The page reports
// its controls' events to form().
class WebForm {
public:
    explicit WebForm(emscripten::val page);

    DrillForm &form() { return drill; }

private:
    SteadyClock clock;
    WebView view;
    DrillForm drill;
};
