#include "controltable.h"

std::string controlName(const ControlRow &row)
{
    static constexpr const char *KindNames[] = {"Button", "CheckBox", "RadioButton", "Label", "ListBox"};
    return KindNames[static_cast<int>(row.kind)] + std::to_string(row.number);
}
