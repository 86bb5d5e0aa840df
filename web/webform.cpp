#include "webform.h"

#include <utility>

WebForm::WebForm(emscripten::val page)
    : view(std::move(page), clock)
    , drill(view, clock)
{
}
