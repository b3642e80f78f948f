// The comma-separated texts of tick-size rows and commission brackets, shared by the registry
// and the commission table files.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/MarginTable.h"
#include "core/UnitTable.h"

namespace zavota {

// "0,2000,1": lower and upper bound (decimal numbers) and a whole tick. Blanks around the
// text and around each remainder are trimmed; a missing part or a part that does not convert
// gives nullopt.
std::optional<UnitRow> ParseUnitRow(std::string_view text);
// Bounds without decimals, the tick whole.
std::string UnitRowText(const UnitRow& row);

// "0,30000000,0.0000,1500,0.0000": lower bound, upper bound, rate, addition, discount.
std::optional<MarginBracket> ParseBracket(std::string_view text);
// Bounds and addition without decimals (a fractional addition rounds half away from zero),
// rate and discount with exactly four.
std::string BracketText(const MarginBracket& bracket);

// The brackets of a table whose counts are set: "K0", "K1", … and, with separate sides, "U0",
// "U1", …, each text looked up with `text` (nullopt when absent); a shared table's sell side
// copies the first ElementsU buy brackets. False at the first bracket that is absent, empty or
// malformed.
bool ReadBrackets(MarginTable& table, bool separate,
                  const std::function<std::optional<std::string>(const std::string& key)>& text);

// A stored decimal number ("1500", "-2.5", " 0.105 "); nullopt when it does not convert.
std::optional<Yen> ParseStoredDecimal(std::string_view text);
// A stored whole number ("12", "-3"); nullopt when it does not convert or is out of range.
std::optional<int> ParseStoredInteger(std::string_view text);

}  // namespace zavota
