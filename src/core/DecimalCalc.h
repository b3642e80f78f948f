// The fixed-point arithmetic of the calculation: every step names how many decimals it keeps
// and how it rounds. Rounding works on the scaled integers only, never through floating point.
#pragma once

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
class DecimalCalc {
public:
    // Products and quotients are formed in 128 bits so that a product beyond the 64-bit
    // scaled range still gives the rule's result; inside that range the result is the same
    // as with 64-bit arithmetic. A result that cannot be held saturates. Division by zero
    // gives 0 (no caller divides by zero; this only keeps a damaged table from crashing).
    static Yen Op(Yen a, Yen b, int digits, RoundMode mode, OpKind kind);
    static Yen Mul(Yen a, Yen b, int digits, RoundMode mode) { return Op(a, b, digits, mode, OpMul); }
    static Yen Div(Yen a, Yen b, int digits, RoundMode mode) { return Op(a, b, digits, mode, OpDiv); }
    static Yen Add(Yen a, Yen b, int digits, RoundMode mode) { return Op(a, b, digits, mode, OpAdd); }
    static Yen Sub(Yen a, Yen b, int digits, RoundMode mode) { return Op(a, b, digits, mode, OpSub); }

    // Applies one rounding to a scaled value; digits 0 to 3 (4 keeps everything).
    static Yen Round(Yen a, int digits, RoundMode mode);

    static bool Compare(Yen a, Yen b, Relation relation);

    // Exactly `digits` decimals (0 to 4), thousands grouped with "," unless `grouped` is false
    // (the stored forms), "-" for negatives; dropped decimals round half away from zero.
    static std::string ToText(Yen a, int digits, bool grouped = true);
};

}  // namespace zavota
