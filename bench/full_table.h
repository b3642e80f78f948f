// A commission table with every bracket in use, for the commission and search benchmarks.
#pragma once

#include <cstdint>

#include "core/MarginTable.h"

namespace zavota_bench {

inline constexpr std::int64_t kBracketWidth = 1'000'000;

// Eighty contiguous brackets of 1,000,000 yen, each with its own rate, addition and discount,
// a minimum and a maximum, so that every branch of the rule does work. `openEnded` stretches
// the last bracket to 9,999,999,999 yen so that no amount a search can reach falls outside.
zavota::MarginTable FullTable(bool openEnded);

}  // namespace zavota_bench
