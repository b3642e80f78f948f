// The commission table editor without its window: the texts of a side shown in the grid, and
// the commit of the edited texts into the table, step by step, with the message and the
// control to focus when a step refuses.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "MarginTable.h"
#include "RangeGrid.h"

namespace zavota {

inline constexpr int kMarginGridColumns = 5;  // lower, upper, rate, addition, discount

struct MarginEditTexts {
    std::string name;
    std::string lowLimit;
    std::string highLimit;
    GridTexts cells;  // kMaxBrackets rows of kMarginGridColumns texts
};

enum class MarginEditField { None, Name, LowLimit, HighLimit, Grid };

struct MarginCommit {
    GridCheck check;  // the message, and the cell when the grid is focused
    MarginEditField focus = MarginEditField::None;
    bool Ok() const { return check.Ok(); }
};

// The grid row of a bracket: bounds and addition whole with separators, rate and discount
// with three decimals.
std::array<std::string, kMarginGridColumns> MarginBracketCells(const MarginBracket& bracket);
// A limit as its field shows it: shortest decimal form, empty for 0 (no limit).
std::string LimitText(Yen limit);

// The grid and fields of side `side` (0 buy, 1 sell; a shared list is side 0) committed into
// `table`. Steps that passed before a refusal keep what they stored (the name, the limits).
// `otherNames` are the names of the other tables in use.
MarginCommit CommitMarginGrid(MarginTable& table, int side, const MarginEditTexts& texts,
                              const std::vector<std::string>& otherNames);

}  // namespace zavota
