#include "DecimalCalc.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

namespace zavota {

namespace {

__extension__ typedef __int128 Wide;  // products beyond 64 bits

constexpr std::int64_t kUnits[] = {10000, 1000, 100, 10, 1};  // 10^(4 - digits)
constexpr std::int64_t kHalves[] = {5000, 500, 50, 5, 0};      // 5,000 / 10^digits

int ClampDigits(int digits) { return std::clamp(digits, 0, 4); }

template <typename T>
T RoundWide(T a, int digits, RoundMode mode) {
    const int d = ClampDigits(digits);
    if (mode == RoundNone || d == 4) return a;
    const T unit = kUnits[d];
    switch (mode) {
        case RoundDown:
            return a / unit * unit;
        case RoundHalfUp: {
            const T half = kHalves[d];
            const T shifted = a < 0 ? a - half : a + half;
            return shifted / unit * unit;
        }
        case RoundUp: {
            const T truncated = a / unit * unit;
            if (truncated == a) return a;
            return a < 0 ? truncated - unit : truncated + unit;
        }
        default:
            return a;
    }
}

std::int64_t Saturate(Wide v) {
    constexpr Wide kMax = std::numeric_limits<std::int64_t>::max();
    constexpr Wide kMin = std::numeric_limits<std::int64_t>::min();
    if (v > kMax) return std::numeric_limits<std::int64_t>::max();
    if (v < kMin) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(v);
}

}  // namespace

Yen DecimalCalc::OpWide(Yen a, Yen b, int digits, RoundMode mode, OpKind kind) {
    const Wide x = a.raw;
    const Wide y = b.raw;
    Wide w = 0;
    switch (kind) {
        case OpMul: w = x * y / Yen::kScale; break;
        case OpDiv: w = y == 0 ? 0 : x * Yen::kScale / y; break;
        case OpAdd: w = x + y; break;
        case OpSub: w = x - y; break;
        default: w = x; break;
    }
    return Yen{Saturate(RoundWide(w, digits, mode))};
}

Yen DecimalCalc::Round(Yen a, int digits, RoundMode mode) {
    return Yen{Saturate(RoundWide<Wide>(a.raw, digits, mode))};
}

std::string DecimalCalc::ToText(Yen a, int digits, bool grouped) {
    const int d = ClampDigits(digits);
    Wide v = RoundWide<Wide>(a.raw, d, RoundHalfUp);
    const bool negative = v < 0;
    if (negative) v = -v;
    const Wide whole = v / Yen::kScale;
    const Wide fraction = v % Yen::kScale;

    std::string digitsText;
    Wide w = whole;
    do {
        digitsText.push_back(static_cast<char>('0' + static_cast<int>(w % 10)));
        w /= 10;
    } while (w > 0);

    std::string out;
    out.reserve(32);
    if (negative && (whole != 0 || fraction / kUnits[d] != 0)) out.push_back('-');
    for (std::size_t i = digitsText.size(); i-- > 0;) {
        out.push_back(digitsText[i]);
        if (grouped && i > 0 && i % 3 == 0) out.push_back(',');
    }
    if (d > 0) {
        out.push_back('.');
        // Four decimals from the fraction; keep the first d (the rest is zero after rounding).
        const int f = static_cast<int>(fraction);
        const char four[4] = {static_cast<char>('0' + f / 1000), static_cast<char>('0' + f / 100 % 10),
                              static_cast<char>('0' + f / 10 % 10), static_cast<char>('0' + f % 10)};
        out.append(four, four + d);
    }
    return out;
}

}  // namespace zavota
