#pragma once

#include <array>

enum class DrillOrder { Ascending, Descending, Shuffled };

// The option controls as they stand when a run starts.
struct DrillChoice {
    bool rowsOneToNine = false;   // "ぜんぶのだん"
    bool rowsZeroToNine = false;  // "０～９のぜんぶのだん"
    std::array<bool, 9> singleRows{};  // rows 1 to 9, row r at r − 1
    bool includeTimesZero = false;
    DrillOrder order = DrillOrder::Ascending;
};
