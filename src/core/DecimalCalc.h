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
    //
    // `kChecked` false drops the overflow checks: only for a caller that has shown beforehand
    // that no product or result can reach 2^62 (as CalcState::UncheckedTo does for a search);
    // the results are then the same as with the checks.
    template <bool kChecked = true>
    [[gnu::always_inline]] static inline Yen Op(Yen a, Yen b, int digits, RoundMode mode, OpKind kind);
    template <bool kChecked = true>
    [[gnu::always_inline]] static Yen Mul(Yen a, Yen b, int digits, RoundMode mode) {
        return Op<kChecked>(a, b, digits, mode, OpMul);
    }
    template <bool kChecked = true>
    [[gnu::always_inline]] static Yen Div(Yen a, Yen b, int digits, RoundMode mode) {
        return Op<kChecked>(a, b, digits, mode, OpDiv);
    }
    template <bool kChecked = true>
    [[gnu::always_inline]] static Yen Add(Yen a, Yen b, int digits, RoundMode mode) {
        return Op<kChecked>(a, b, digits, mode, OpAdd);
    }
    template <bool kChecked = true>
    [[gnu::always_inline]] static Yen Sub(Yen a, Yen b, int digits, RoundMode mode) {
        return Op<kChecked>(a, b, digits, mode, OpSub);
    }

    // x times a rate in percent, truncated to whole yen: Div(Mul(x, rate, 0, RoundNone), 100, 0,
    // RoundDown), the step of every commission, tax and interest rule. While the product fits
    // it is one division where the three steps take three: truncations toward zero compose,
    // trunc(trunc(v / m) / n) = trunc(v / (m n)), so the result is trunc(x rate / 10^10) yen.
    template <bool kChecked = true>
    [[gnu::always_inline]] static Yen PercentDown(Yen x, Yen rate) {
        constexpr std::int64_t kYenPercent = Yen::kScale * 100 * Yen::kScale;
        std::int64_t product;
        if constexpr (kChecked) {
            if (__builtin_expect(__builtin_mul_overflow(x.raw, rate.raw, &product), 0))
                return Div(Mul(x, rate, 0, RoundNone), Yen::FromInt(100), 0, RoundDown);
        } else {
            product = x.raw * rate.raw;
        }
        return Yen{product / kYenPercent * Yen::kScale};
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

template <bool kChecked>
inline Yen DecimalCalc::Op(Yen a, Yen b, int digits, RoundMode mode, OpKind kind) {
    if constexpr (!kChecked) {
        std::int64_t r = a.raw;
        switch (kind) {
            case OpMul: r = a.raw * b.raw / Yen::kScale; break;
            case OpDiv: r = b.raw == 0 ? 0 : a.raw * Yen::kScale / b.raw; break;
            case OpAdd: r = a.raw + b.raw; break;
            case OpSub: r = a.raw - b.raw; break;
            default: break;
        }
        return Yen{RoundNarrow(r, digits, mode)};
    }
    // Stay in 64 bits while nothing overflows: each kind leaves for the wide path at its own
    // overflow, so that the common case pays one predicted branch per operation.
    std::int64_t r = 0;
    switch (kind) {
        case OpMul: {
            std::int64_t product;
            if (__builtin_expect(__builtin_mul_overflow(a.raw, b.raw, &product), 0))
                return OpWide(a, b, digits, mode, kind);
            r = product / Yen::kScale;
            break;
        }
        case OpDiv: {
            if (b.raw == 0) return Yen{0};
            std::int64_t scaled;
            if (__builtin_expect(__builtin_mul_overflow(a.raw, Yen::kScale, &scaled) || b.raw == -1, 0))
                return OpWide(a, b, digits, mode, kind);
            r = scaled / b.raw;
            break;
        }
        case OpAdd:
            if (__builtin_expect(__builtin_add_overflow(a.raw, b.raw, &r), 0)) return OpWide(a, b, digits, mode, kind);
            break;
        case OpSub:
            if (__builtin_expect(__builtin_sub_overflow(a.raw, b.raw, &r), 0)) return OpWide(a, b, digits, mode, kind);
            break;
        default:
            r = a.raw;
            break;
    }
    // Rounding half up or up adds up to a unit and needs room below the 64-bit limit (|r|
    // below 2^62 leaves it); truncation and no rounding never do.
    constexpr std::int64_t kSafe = std::int64_t{1} << 62;
    const bool needsRoom = (mode == RoundHalfUp || mode == RoundUp) && digits < 4;
    if (__builtin_expect(needsRoom && !(r > -kSafe && r < kSafe), 0)) return OpWide(a, b, digits, mode, kind);
    return Yen{RoundNarrow(r, digits, mode)};
}

}  // namespace zavota
