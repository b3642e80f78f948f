// Tick-size tables ("呼び値"): the price steps of the exchange by price band.
#pragma once

#include <array>
#include <string>

#include "DecimalCalc.h"
#include "Yen.h"

namespace zavota {

struct UnitRow {
    Yen low;   // above this (exclusive)
    Yen high;  // up to and including this
    Yen tick;  // whole yen
    bool operator==(const UnitRow&) const = default;
};

inline constexpr int kMaxUnitRows = 10;

enum class TickTableIndex { Listed = 0, Otc = 1 };

struct UnitTable {
    int index = 0;  // 0 listed, 1 OTC
    int DontUse = 0;
    int Elements = 0;
    std::array<UnitRow, kMaxUnitRows> rows{};

    explicit UnitTable(int idx = 0) : index(idx) { LoadDefaults(); }

    // The tick for a price, looked up upward (a boundary price belongs to the band above) or
    // downward; -1 when the price lies outside the table or the row's tick is not positive.
    Yen Tick(Yen price, bool upward) const {
        // With the check off every price steps by one yen; searches ask this every round.
        return DontUse == 1 ? Yen::FromInt(1) : TickOfRows(price, upward);
    }
    // The same lookup in the rows alone, whatever DontUse says.
    Yen TickOfRows(Yen price, bool upward) const;

    // The stretch of prices around `price`, bounds excluded, over which both lookups give one
    // and the same tick; false when `price` sits on a row boundary or the two lookups differ.
    struct Run {
        Yen tick, low, high;
    };
    bool RunAround(Yen price, Run* run) const;

    void Clear();
    void LoadDefaults();  // by index; also switches the rule on
    // The default rows with the tick check left as the user set it ("初期値に戻す", and a
    // table without rows when it is saved).
    void ResetKeepingDontUse();
    // The exchange's current steps for listed shares, in the ten bands up to 50,000,000 yen
    // that fit the table; the tick check left as the user set it.
    void LoadTodaysListedSteps();
    bool operator==(const UnitTable&) const = default;
};

// The largest multiple of tick not above p.
inline Yen GridFloor(Yen p, Yen tick) {
    // With the tick check off every step is one yen: the same truncation to whole yen, without
    // the two divisions by a tick the compiler cannot see.
    if (tick.raw == Yen::kScale) return Yen{p.raw / Yen::kScale * Yen::kScale};
    return DecimalCalc::Mul(DecimalCalc::Div(p, tick, 0, RoundDown), tick, 0, RoundDown);
}
// p itself when on the grid, otherwise the next grid price above.
inline Yen OntoGrid(Yen p, Yen tick) {
    const Yen floor = GridFloor(p, tick);
    if (floor == p) return p;
    return DecimalCalc::Add(floor, tick, 0, RoundNone);
}


// "2003円 → 2005円 （呼び値単位：5円）"
std::string AdjustmentLine(Yen entered, Yen used, Yen tick);
inline constexpr const char* kAdjustmentHeading = "指定された値が呼び値単位に合致しないため調整して計算します。";

}  // namespace zavota
