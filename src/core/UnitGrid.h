// The tick-size table editor without its window: a table's rows as grid texts, and the commit
// of the edited grid into a table with the message and cell of the first refusal.
#pragma once

#include <array>
#include <string>

#include "RangeGrid.h"
#include "UnitTable.h"

namespace zavota {

inline constexpr int kUnitGridColumns = 3;  // lower, upper, tick

// Whole numbers with separators.
std::array<std::string, kUnitGridColumns> UnitRowCells(const UnitRow& row);

// Refusal of a row whose upper bound is not a multiple of its own tick and of the next row's;
// its text names the row.
inline constexpr int kUnchainedTicks = 239;

// `cells` (kMaxUnitRows rows of kUnitGridColumns texts) into `table`: a tick is truncated to
// whole yen, must be at least 1 (236) and below its row's upper bound (230); a boundary between
// two rows must be a multiple of both their ticks (kUnchainedTicks on its upper-bound cell).
// Nothing is stored when a step refuses; DontUse is left as it is.
GridCheck CommitUnitGrid(UnitTable& table, const GridTexts& cells);

}  // namespace zavota
