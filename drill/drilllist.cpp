#include "drilllist.h"

#include <random>
#include <utility>
#include <vector>

namespace {

std::vector<int> chosenRows(const DrillChoice &choice)
{
    std::vector<int> rows;
    if (choice.rowsOneToNine) {
        for (int row = 1; row <= 9; ++row)
            rows.push_back(row);
    } else if (choice.rowsZeroToNine) {
        for (int row = 0; row <= 9; ++row)
            rows.push_back(row);
    } else {
        for (int row = 1; row <= 9; ++row) {
            if (choice.singleRows[row - 1])
                rows.push_back(row);
        }
    }
    return rows;
}

} // namespace

void DrillList::build(const DrillChoice &choice, const EntryTable &table, std::uint64_t seed)
{
    entries.fill(DrillEntry{});
    drillCount = 0;

    const int firstMultiplier = choice.includeTimesZero ? 0 : 1;
    // A shuffle starts from the descending list.
    const bool ascending = choice.order == DrillOrder::Ascending;
    for (const int row : chosenRows(choice)) {
        for (int step = 0; step <= 9 - firstMultiplier; ++step) {
            const int multiplier = ascending ? firstMultiplier + step : 9 - step;
            append(table[10 * row + multiplier]);
        }
    }
    currentIndex = 1;

    if (choice.order == DrillOrder::Shuffled && drillCount > 0)
        shuffle(seed);
}

const DrillEntry &DrillList::slot(int index) const
{
    static const DrillEntry empty;
    if (index < 1 || index > Capacity)
        return empty;
    return entries[index - 1];
}

void DrillList::append(const DrillEntry &entry)
{
    entries[drillCount] = entry;
    ++drillCount;
}

// Fisher–Yates: j is drawn from i to the end, so every order is equally
// likely. Drawing j from the whole list each time would favour some orders.
void DrillList::shuffle(std::uint64_t seed)
{
    std::mt19937_64 generator(seed);
    for (int i = 1; i <= drillCount; ++i) {
        std::uniform_int_distribution<int> draw(i, drillCount);
        std::swap(entries[i - 1], entries[draw(generator) - 1]);
    }
}
