// Fixed-point amount: the value times 10,000 in a signed 64-bit integer.
// Prices, share counts, amounts and percentages of the calculation all use it.
#pragma once

#include <compare>
#include <cstdint>

namespace zavota {

struct Yen {
    static constexpr std::int64_t kScale = 10000;

    std::int64_t raw = 0;

    static constexpr Yen FromRaw(std::int64_t r) { return Yen{r}; }
    static constexpr Yen FromInt(std::int64_t whole) { return Yen{whole * kScale}; }
    // Nearest scaled integer, ties to even; saturates outside the 64-bit range, NaN gives 0.
    static Yen FromDouble(double value);

    double ToDouble() const { return static_cast<double>(raw) / kScale; }
    // Whole part, truncated toward zero.
    constexpr std::int64_t Whole() const { return raw / kScale; }
    constexpr bool IsWhole() const { return raw % kScale == 0; }

    friend constexpr bool operator==(Yen, Yen) = default;
    friend constexpr auto operator<=>(Yen, Yen) = default;
};

// The "no override" marker of the four manual commission figures.
inline constexpr Yen kNoOverride = Yen::FromInt(-1);

}  // namespace zavota
