#pragma once

#include "drillentry.h"

#include <array>

// Every fact a×b from 0×0 to 9×9, at index 10·a + b.
using EntryTable = std::array<DrillEntry, 100>;

void FillEntryTable(EntryTable &table);
