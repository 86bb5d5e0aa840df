#include "controltable.h"

std::string_view kindName(ControlKind kind)
{
    static constexpr std::string_view Names[] = {"PushButton", "CheckBox", "RadioButton", "Label", "ListBox"};
    return Names[static_cast<int>(kind)];
}

std::string controlName(const ControlRow &row)
{
    // Push buttons go by the shorter name the window has always used.
    const std::string_view kind = row.kind == ControlKind::PushButton ? "Button" : kindName(row.kind);
    return std::string(kind) + std::to_string(row.number);
}

std::string_view accessibleName(const ControlRow &row)
{
    return row.kind == ControlKind::ListBox ? "なんびょうおき" : "";
}
