#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The window's fixed layout as plain data, which every view builds itself
// from: nothing here belongs to a toolkit.

inline constexpr int WindowWidth = 393;
inline constexpr int WindowHeight = 635;
inline constexpr std::string_view WindowCaption = "Pimbola";

enum class ControlKind { PushButton, CheckBox, RadioButton, Label, ListBox };

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// How a control differs from the window's default look.
struct Look {
    int fontPixels = 0;  // 0: the window's font size
    bool bold = false;
    std::optional<Rgb> textColour = std::nullopt;  // none: the platform's text colour
    bool focusHighlight = true;
};

// Where a control sits in the window's client area: its top-left corner,
// its unscaled size (0 × 0: the control's own size) and the factor it is
// drawn at, anchored at that corner.
struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct Placement {
    Point position;
    Size size;
    double scale = 1.0;
};

// One control of the window. Its name is its kind and number
// ("CheckBox13"); list items are separated by '\n'.
struct ControlRow {
    ControlKind kind;
    int number;
    const char *text;
    Placement placement;
    int focusOrder;  // lower first; 0 takes no focus
    Look look;
    bool initiallyOn;  // checked, selected, or first item selected
};

namespace ControlLooks {
inline constexpr Look Plain{};
inline constexpr Look ButtonFace{.fontPixels = 16};
inline constexpr Look Equals{.fontPixels = 14, .bold = true};
inline constexpr Look Chocolate{.textColour = Rgb{0xd2, 0x69, 0x1e}};
inline constexpr Look BlueViolet{.textColour = Rgb{0x8a, 0x2b, 0xe2}};
inline constexpr Look NoFocusHighlight{.focusHighlight = false};
} // namespace ControlLooks

// Creation order; an empty size takes the control's own.
inline constexpr ControlRow ControlTable[] = {
    // clang-format off
    // kind                     no  text                   position     size        scale  focus look                            on
    {ControlKind::PushButton,   1, "タイマーで",           {{255, 479}, {80, 57},   1.0},   1, ControlLooks::ButtonFace,        false},
    {ControlKind::PushButton,   2, "おわる",               {{255, 368}, {80, 49},   1.0},   2, ControlLooks::ButtonFace,        false},
    {ControlKind::CheckBox,     1, "１のだん",             {{24, 136},  {73, 19},   1.5},   4, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     2, "２のだん",             {{176, 136}, {80, 19},   1.5},   5, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     3, "３のだん",             {{24, 184},  {73, 19},   1.5},   6, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     4, "４のだん",             {{176, 184}, {80, 19},   1.5},   7, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     5, "５のだん",             {{24, 232},  {73, 19},   1.5},   8, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     6, "６のだん",             {{176, 232}, {80, 19},   1.5},   9, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     7, "７のだん",             {{24, 280},  {73, 19},   1.5},  10, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     8, "８のだん",             {{176, 280}, {80, 19},   1.5},  11, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,     9, "９のだん",             {{24, 328},  {73, 19},   1.5},  12, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,    10, "０～９のぜんぶのだん", {{24, 376},  {137, 19},  1.5},  13, ControlLooks::Plain,             false},
    {ControlKind::RadioButton,  1, "のぼり九九",           {{8, 488},   {},         1.5},  15, ControlLooks::Plain,             true},
    {ControlKind::RadioButton,  2, "くだり九九",           {{8, 534},   {},         1.5},  16, ControlLooks::Plain,             false},
    {ControlKind::RadioButton,  3, "バラ九九",             {{8, 576},   {},         1.5},  17, ControlLooks::Plain,             false},
    {ControlKind::Label,        2, "＝",                   {{111, 32},  {17, 17},   2.0},   0, ControlLooks::Equals,            false},
    {ControlKind::Label,        1, "Label1",               {{8, 32},    {49, 17},   2.0},   0, ControlLooks::Plain,             false},
    {ControlKind::Label,        3, "Label3",               {{144, 32},  {57, 17},   2.0},   0, ControlLooks::Plain,             false},
    {ControlKind::Label,        4, "Label4",               {{8, 81},    {161, 17},  2.0},   0, ControlLooks::Plain,             false},
    {ControlKind::CheckBox,    11, "となえかたをだす",     {{176, 432}, {120, 19},  1.5},  24, ControlLooks::Chocolate,         false},
    {ControlKind::CheckBox,    12, "×０もあり",            {{24, 432},  {81, 19},   1.5},  27, ControlLooks::BlueViolet,        false},
    {ControlKind::ListBox,      1, "１びょうおき\n２びょうおき\n３びょうおき\n４びょうおき",
                                                           {{128, 484}, {73, 84},   1.5},  30, ControlLooks::NoFocusHighlight,  true},
    {ControlKind::CheckBox,    13, "ぜんぶのだん",         {{176, 328}, {96, 19},   1.5},  33, ControlLooks::Plain,             true},
    {ControlKind::PushButton,   3, "ひとつずつ",           {{255, 552}, {80, 57},   1.0},  36, ControlLooks::ButtonFace,        false},
    // clang-format on
};

// "PushButton", "CheckBox", "RadioButton", "Label" or "ListBox".
std::string_view kindName(ControlKind kind);

// "Button1", "CheckBox13", "ListBox1": the name views and tests find it by.
std::string controlName(const ControlRow &row);

// What a screen reader calls the control: empty where its text says it;
// the interval list's items say only what each one chooses.
std::string_view accessibleName(const ControlRow &row);
