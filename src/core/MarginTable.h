// Commission tables: brackets of contract amount with rate, fixed addition and discount,
// a minimum and a maximum, separately for buying and selling.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "DecimalCalc.h"
#include "Yen.h"

namespace zavota {

enum class Side { Buy, Sell };

struct MarginBracket {
    Yen low;       // amounts above this ("円超から", exclusive)
    Yen high;      // ... up to and including this ("円以下まで")
    Yen rate;      // percent
    Yen addition;  // yen
    Yen discount;  // percent
};

inline constexpr int kMaxBrackets = 80;
inline constexpr int kMaxTables = 15;

struct MarginTable {
    bool inUse = false;
    int Same = 0;
    int MiniAfterK = 0;
    int MiniAfterU = 0;
    std::string Name;
    int ElementsK = 0;
    int ElementsU = 0;
    Yen LowLimitK;
    Yen LowLimitU;
    Yen HighLimitK;
    Yen HighLimitU;
    std::array<MarginBracket, kMaxBrackets> bracketsK{};
    std::array<MarginBracket, kMaxBrackets> bracketsU{};

    // The table rule for one side and one contract amount: whole yen, or -1 when the side
    // has no bracket for the amount. (`kChecked` as in DecimalCalc.)
    template <bool kChecked = true>
    Yen Commission(Side side, Yen amount) const;

    // The bracket that prices `amount` on one side, or nullptr.
    const MarginBracket* BracketOf(Side side, Yen amount) const;

    // The amounts around `amount`, (low, high], that one side sends to the same bracket (or to
    // none): inside them the commission moves with the amount in one direction only.
    struct Run {
        Yen low, high;
    };
    Run BracketRun(Side side, Yen amount) const;

    // Minimum and maximum of a side applied to a fee (a negative fee is lifted to the minimum).
    Yen ApplyLimits(Side side, Yen fee) const;
    bool MiniAfter(Side side) const { return (side == Side::Buy ? MiniAfterK : MiniAfterU) == 1; }

    void Clear();
    void LoadSample();
    bool operator==(const MarginTable&) const;
};

inline bool operator==(const MarginBracket& a, const MarginBracket& b) {
    return a.low == b.low && a.high == b.high && a.rate == b.rate && a.addition == b.addition &&
           a.discount == b.discount;
}

inline constexpr const char* kSampleTableName = "サンプル・定額式";

// Commission of one order, with the mini-stock proration; -1 (or any negative value) is a
// failure. `unit` is the shares of a full trading unit.
template <bool kChecked = true>
inline Yen OrderCommission(const MarginTable& table, Side side, Yen price, Yen shares, bool mini, Yen unit);

// Fifteen slots in a fixed order; the slots in use, in slot order, are the tables the
// windows offer.
class MarginTableSet {
public:
    MarginTableSet();  // all slots cleared, the sample in slot 1

    MarginTable& Slot(int slot) { return slots_[slot]; }  // 0-based
    const MarginTable& Slot(int slot) const { return slots_[slot]; }

    int UsedCount() const;
    // The n-th table in use (0-based), or nullptr.
    const MarginTable* Used(int n) const;
    // Names of the tables in use, in order: the choices of the table selectors.
    std::vector<std::string> UsedNames() const;
    int FindUsedByName(const std::string& name) const;  // -1 when absent

    void Clear(int slot) { slots_[slot].Clear(); }
    void Copy(int from, int to) { slots_[to] = slots_[from]; }
    void LoadSample(int slot) { slots_[slot].LoadSample(); }

    // The list operations of the options page. The tables in use stay in slots 0 .. n-1
    // without a gap, because the settings are saved by slot. Each returns false (and changes
    // nothing) when the set cannot take it.
    //
    // A new last table: cleared, in use, one bracket of zeros on each side; its slot, or -1
    // when all fifteen are taken.
    int AddNew();
    // A copy of table `from` as the new last table, with an empty name; its slot, or -1.
    int AddCopy(int from);
    // Removes table `slot`; the tables after it move one place forward. The last table of
    // the set is never removed.
    bool Remove(int slot);
    // Exchanges two tables in use.
    bool Swap(int a, int b);

private:
    // Moves the tables in use to the front, in their order; returns how many there are.
    int Compact();

    std::array<MarginTable, kMaxTables> slots_;
};

// The commission rule runs in every round of a search: inline, so that a round pays no calls.
[[gnu::always_inline]] inline Yen MarginTable::ApplyLimits(Side side, Yen fee) const {
    const Yen low = side == Side::Buy ? LowLimitK : LowLimitU;
    const Yen high = side == Side::Buy ? HighLimitK : HighLimitU;
    if (fee < low) fee = low;
    if (high != Yen{} && fee > high) fee = high;
    return fee;
}

[[gnu::always_inline]] inline const MarginBracket* MarginTable::BracketOf(Side side, Yen amount) const {
    const int n = side == Side::Buy ? ElementsK : ElementsU;
    const auto& brackets = side == Side::Buy ? bracketsK : bracketsU;
    const int count = n < kMaxBrackets ? n : kMaxBrackets;
    for (int i = 0; i < count; ++i)
        if (brackets[i].low < amount && amount <= brackets[i].high) return &brackets[i];
    return nullptr;
}

template <bool kChecked>
[[gnu::always_inline]] inline Yen MarginTable::Commission(Side side, Yen amount) const {
    using D = DecimalCalc;
    constexpr Yen kHundred = Yen::FromInt(100);
    const MarginBracket* b = BracketOf(side, amount);
    if (b == nullptr) return Yen::FromInt(-1);
    const Yen rated = D::PercentDown<kChecked>(amount, b->rate);
    const Yen sum = D::Add<kChecked>(rated, b->addition, 0, RoundNone);
    const Yen factor = D::Sub<kChecked>(kHundred, b->discount, 3, RoundNone);
    Yen fee = D::PercentDown<kChecked>(sum, factor);
    if (!MiniAfter(side)) fee = ApplyLimits(side, fee);
    return fee;
}

template <bool kChecked>
[[gnu::always_inline]] inline Yen OrderCommission(const MarginTable& table, Side side, Yen price, Yen shares,
                                                  bool mini, Yen unit) {
    using D = DecimalCalc;
    if (!mini) {
        Yen fee = table.Commission<kChecked>(side, D::Mul<kChecked>(price, shares, 0, RoundNone));
        if (fee < Yen{}) return fee;
        if (table.MiniAfter(side)) fee = table.ApplyLimits(side, fee);
        return fee;
    }
    const Yen base = table.Commission<kChecked>(side, D::Mul<kChecked>(price, unit, 0, RoundNone));
    if (base < Yen{}) return base;
    const Yen ratio = D::Div<kChecked>(shares, unit, 1, RoundDown);
    Yen fee = D::Mul<kChecked>(base, ratio, 0, RoundDown);
    if (table.MiniAfter(side)) fee = table.ApplyLimits(side, fee);
    return fee;
}

}  // namespace zavota
