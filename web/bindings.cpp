// What the page sees of the core: the control table as plain objects, and
// the form with one method per user action.
#include "controltable.h"
#include "webform.h"

#include <emscripten/bind.h>

#include <cstdint>
#include <string>

using emscripten::val;

namespace {

// By hand: printf would double the size of the WebAssembly.
std::string cssColour(const Rgb &colour)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
        text += Digits[part >> 4];
        text += Digits[part & 0xf];
    }
    return text;
}

val rowObject(const ControlRow &row)
{
    val object = val::object();
    object.set("kind", std::string(kindName(row.kind)));
    object.set("name", controlName(row));
    object.set("number", row.number);
    object.set("text", std::string(row.text));
    object.set("accessibleName", std::string(accessibleName(row)));
    object.set("x", row.placement.position.x);
    object.set("y", row.placement.position.y);
    object.set("width", row.placement.size.width);
    object.set("height", row.placement.size.height);
    object.set("scale", row.placement.scale);
    object.set("focusOrder", row.focusOrder);
    object.set("fontPixels", row.look.fontPixels);
    object.set("bold", row.look.bold);
    object.set("textColour", row.look.textColour ? val(cssColour(*row.look.textColour)) : val::null());
    return object;
}

val window()
{
    val rows = val::array();
    for (const ControlRow &row : ControlTable)
        rows.call<void>("push", rowObject(row));
    val object = val::object();
    object.set("width", WindowWidth);
    object.set("height", WindowHeight);
    object.set("caption", std::string(WindowCaption));
    object.set("controls", rows);
    return object;
}

} // namespace

EMSCRIPTEN_BINDINGS(pimbola)
{
    using emscripten::optional_override;
    emscripten::function("window", &window);
    emscripten::class_<WebForm>("WebForm")
        .constructor<val>()
        .function("Button1Click", optional_override([](WebForm &web) { web.form().Button1Click(); }))
        .function("Button2Click", optional_override([](WebForm &web) { web.form().Button2Click(); }))
        .function("Button3Click", optional_override([](WebForm &web) { web.form().Button3Click(); }))
        .function("checkBoxChanged", optional_override([](WebForm &web, int number, bool checked) {
                      web.form().checkBoxChanged(number, checked);
                  }))
        .function("radioButtonChosen",
                  optional_override([](WebForm &web, int number) { web.form().radioButtonChosen(number); }))
        .function("listItemChosen",
                  optional_override([](WebForm &web, int index) { web.form().listItemChosen(index); }))
        .function("timerFired", optional_override([](WebForm &web) { web.form().timerFired(); }))
        .function("FormClose", optional_override([](WebForm &web) { web.form().FormClose(); }));
}
