#pragma once

#include <string>

// One fact of the table as the child sees and hears it; copied by value.
struct DrillEntry {
    std::string ExpressionText;
    std::string AnswerText;
    std::string ChantFactors;
    std::string ChantProduct;

    friend bool operator==(const DrillEntry &, const DrillEntry &) = default;
};
