#pragma once

#include "drillchoice.h"
#include "entrytable.h"

#include <array>
#include <cstdint>

// The entries of one run in presentation order, in slots numbered from 1,
// and the slot being presented.
class DrillList {
public:
    static constexpr int Capacity = 100;

    // Rebuilds the list from the choice; the seed drives the shuffle alone.
    void build(const DrillChoice &choice, const EntryTable &table, std::uint64_t seed);

    int DrillCount() const { return drillCount; }
    int CurrentIndex() const { return currentIndex; }

    // Slots past DrillCount, and indexes outside the list, read as empty.
    const DrillEntry &slot(int index) const;
    const DrillEntry &current() const { return slot(currentIndex); }
    void moveToNext() { ++currentIndex; }

private:
    void append(const DrillEntry &entry);
    void shuffle(std::uint64_t seed);

    std::array<DrillEntry, Capacity> entries;  // not "slots": Qt defines that word as a macro
    int drillCount = 0;
    int currentIndex = 0;
};
