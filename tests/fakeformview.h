#pragma once

#include "formview.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// A view that records what the core told it, in order.
class FakeFormView : public FormView {
public:
    std::map<int, std::string> labels;
    std::map<int, bool> checkBoxes;
    int radioButton = 0;
    int listItem = -1;
    std::vector<std::string> shown;  // every call, as "CheckBox10=0", "Label1=３×１" …
    std::vector<std::string> announced;
    std::optional<TimePoint> timerDue;
    int closed = 0;

    void showLabel(int number, const std::string &text) override
    {
        labels[number] = text;
        shown.push_back("Label" + std::to_string(number) + '=' + text);
    }
    void showCheckBox(int number, bool checked) override
    {
        checkBoxes[number] = checked;
        shown.push_back("CheckBox" + std::to_string(number) + '=' + (checked ? '1' : '0'));
    }
    void showRadioButton(int number) override
    {
        radioButton = number;
        shown.push_back("RadioButton" + std::to_string(number));
    }
    void showListItem(int index) override
    {
        listItem = index;
        shown.push_back("ListBox1=" + std::to_string(index));
    }
    void announce(const std::string &text) override { announced.push_back(text); }
    void armTimer(std::optional<TimePoint> due) override { timerDue = due; }
    void closeWindow() override { ++closed; }
};
