// The number text of the memo pad: unit prices and share counts of the per-stock pages and the
// cells of the simple calculator. Cells show "1,234" and users paste figures from elsewhere,
// so separators are dropped and an exponent is allowed. Parsing never depends on the locale.
#pragma once

#include <optional>
#include <string_view>

#include "core/Yen.h"

namespace zavota {

// The text trimmed of ASCII white space; empty text is 0; otherwise every "," is removed and
// the rest must be a decimal number: optional sign, digits with an optional "." and decimals
// (".5" and "5." too), optional exponent ("e" or "E", optional sign, digits). Infinity, NaN,
// hexadecimal and values beyond the range of a double are refused; values too small for a
// double read as 0.
std::optional<double> ParseMemoNumber(std::string_view text);

// The same, as the fixed-point amount the totals are computed with (ties to even, saturating).
std::optional<Yen> ParseMemoAmount(std::string_view text);

}  // namespace zavota
