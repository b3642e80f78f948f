// The fixed-point arithmetic of the calculation: every step names how many decimals it keeps
// and how it rounds. Rounding works on the scaled integers only, never through floating point.
#pragma once

#include <cstdint>
#include <string>

#include "Yen.h"

namespace zavota {

enum RoundMode : int {
    RoundNone = 0,    // keep all four decimals
    RoundDown = 1,    // toward zero:        -3.5 -> -3,  3.5 -> 3
    RoundHalfUp = 2,  // half away from zero: -3.5 -> -4,  3.5 -> 4, 3.4 -> 3
    RoundUp = 3,      // away from zero:      -3.1 -> -4,  3.1 -> 4, 3.0 -> 3
};

enum OpKind : int { OpMul = 1, OpDiv = 2, OpAdd = 3, OpSub = 4 };

enum Relation : int {
    RelEqual = 1,
    RelNotEqual = 2,
    RelGreaterOrEqual = 3,
    RelLessOrEqual = 4,
    RelGreater = 5,
    RelLess = 6,
};

// Stateless; the calculation state and the tables share one instance only by convention.
// The operations are inline so that, where a call names its kind, decimals and rounding, the
// compiler drops every switch: a search round is a few dozen of them.
class DecimalCalc {
public:
    // Products and quotients are formed in 128 bits so that a product beyond the 64-bit
    // scaled range still gives the rule's result; inside that range the result is the same
    // as with 64-bit arithmetic. A result that cannot be held saturates. Division by zero
    // gives 0 (no caller divides by zero; this only keeps a damaged table from crashing).
    [[gnu::always_inline]] static inline Yen Op(Yen a, Yen b, int digits, RoundMode mode, OpKind kind);
    [[gnu::always_inline]] static Yen Mul(Yen a, Yen b, int digits, RoundMode mode) {
        return Op(a, b, digits, mode, OpMul);
    }
    [[gnu::always_inline]] static Yen Div(Yen a, Yen b, int digits, RoundMode mode) {
        return Op(a, b, digits, mode, OpDiv);
    }
    [[gnu::always_inline]] static Yen Add(Yen a, Yen b, int digits, RoundMode mode) {
        return Op(a, b, digits, mode, OpAdd);
    }
    [[gnu::always_inline]] static Yen Sub(Yen a, Yen b, int digits, RoundMode mode) {
        return Op(a, b, digits, mode, OpSub);
    }

    // Applies one rounding to a scaled value; digits 0 to 3 (4 keeps everything).
    static Yen Round(Yen a, int digits, RoundMode mode);

    static bool Compare(Yen a, Yen b, Relation relation) {
        switch (relation) {
            case RelEqual: return a.raw == b.raw;
            case RelNotEqual: return a.raw != b.raw;
            case RelGreaterOrEqual: return a.raw >= b.raw;
            case RelLessOrEqual: return a.raw <= b.raw;
            case RelGreater: return a.raw > b.raw;
            case RelLess: return a.raw < b.raw;
        }
        return false;
    }

    // Exactly `digits` decimals (0 to 4), thousands grouped with "," unless `grouped` is false
    // (the stored forms), "-" for negatives; dropped decimals round half away from zero.
    static std::string ToText(Yen a, int digits, bool grouped = true);

private:
    // The 128-bit path, out of line: only extreme figures take it.
    [[gnu::cold, gnu::noinline]] static Yen OpWide(Yen a, Yen b, int digits, RoundMode mode, OpKind kind);
    [[gnu::always_inline]] static std::int64_t RoundNarrow(std::int64_t a, int digits, RoundMode mode);
};

inline std::int64_t DecimalCalc::RoundNarrow(std::int64_t a, int digits, RoundMode mode) {
    constexpr std::int64_t kUnits[] = {10000, 1000, 100, 10, 1};  // 10^(4 - digits)
    const int d = digits < 0 ? 0 : (digits > 4 ? 4 : digits);
    if (mode == RoundNone || d == 4) return a;
    const std::int64_t unit = kUnits[d];
    switch (mode) {
        case RoundDown:
            return a / unit * unit;
        case RoundHalfUp: {
            const std::int64_t half = unit / 2;
            return (a < 0 ? a - half : a + half) / unit * unit;
        }
        case RoundUp: {
            const std::int64_t truncated = a / unit * unit;
            if (truncated == a) return a;
            return a < 0 ? truncated - unit : truncated + unit;
        }
        default:
            return a;
    }
}

inline Yen DecimalCalc::Op(Yen a, Yen b, int digits, RoundMode mode, OpKind kind) {
    // Stay in 64 bits while nothing overflows; |r| below 2^62 leaves room for the half unit.
    constexpr std::int64_t kSafe = std::int64_t{1} << 62;
    std::int64_t r = 0;
    bool fits = true;
    switch (kind) {
        case OpMul: {
            std::int64_t product;
            fits = !__builtin_mul_overflow(a.raw, b.raw, &product);
            r = product / Yen::kScale;
            break;
        }
        case OpDiv: {
            if (b.raw == 0) return Yen{0};
            std::int64_t scaled;
            fits = !__builtin_mul_overflow(a.raw, Yen::kScale, &scaled) && b.raw != -1;
            if (fits) r = scaled / b.raw;
            break;
        }
        case OpAdd:
            fits = !__builtin_add_overflow(a.raw, b.raw, &r);
            break;
        case OpSub:
            fits = !__builtin_sub_overflow(a.raw, b.raw, &r);
            break;
        default:
            r = a.raw;
            break;
    }
    if (__builtin_expect(fits && r > -kSafe && r < kSafe, 1)) return Yen{RoundNarrow(r, digits, mode)};
    return OpWide(a, b, digits, mode, kind);
}

}  // namespace zavota
