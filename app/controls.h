#pragma once

#include <array>

class ListBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStyle;
class QWidget;

// The main window's controls by kind, indexed by their number
// (CheckBox[13] is "CheckBox13"); index 0 is unused.
struct Controls {
    std::array<QPushButton *, 4> Button{};
    std::array<QCheckBox *, 14> CheckBox{};
    std::array<QRadioButton *, 4> RadioButton{};
    std::array<QLabel *, 5> Label{};
    ListBox *ListBox1 = nullptr;
};

// Gives the window its Japanese font, then creates every control of the
// table in order as its child, with its caption and tab order; the form
// shows the labels' texts and every control's state.
Controls buildControls(QWidget *window, QStyle *style);

// Gives the controls that have a colour of their own that colour, made
// legible on the window's current background; called again whenever the
// window's palette changes.
void applyTextColours(QWidget *window);
