// Shorthands and printing of amounts for the tests of the core.
#pragma once

#include <cstdint>
#include <ostream>

#include "core/Yen.h"

namespace zavota {

// GoogleTest shows a failing amount as its scaled integer, which is what the rules speak of.
inline void PrintTo(const Yen& y, std::ostream* os) { *os << y.raw << "/10000"; }

// Whole yen, and a raw scaled value (1 = 0.0001).
constexpr Yen W(std::int64_t whole) { return Yen::FromInt(whole); }
constexpr Yen R(std::int64_t raw) { return Yen::FromRaw(raw); }

}  // namespace zavota
