#include "UnitTable.h"

#include <limits>

#include "DecimalCalc.h"

namespace zavota {

namespace {
constexpr Yen kNoTick = Yen::FromInt(-1);
// The step up from the last boundary of a table.
constexpr Yen kBeyondLastRow = Yen::FromInt(1000000);

struct DefaultRow {
    std::int64_t low, high, tick;
};
constexpr DefaultRow kListed[] = {
    {0, 2000, 1},           {2000, 3000, 5},           {3000, 30000, 10},
    {30000, 50000, 50},     {50000, 100000, 100},      {100000, 1000000, 1000},
    {1000000, 10000000, 10000}, {10000000, 100000000, 100000},
};
constexpr DefaultRow kListedToday[] = {
    {0, 3000, 1},           {3000, 5000, 5},            {5000, 30000, 10},          {30000, 50000, 50},
    {50000, 300000, 100},   {300000, 500000, 500},      {500000, 3000000, 1000},    {3000000, 5000000, 5000},
    {5000000, 30000000, 10000}, {30000000, 50000000, 50000},
};
static_assert(std::size(kListedToday) == kMaxUnitRows);
constexpr DefaultRow kOtc[] = {
    {0, 1000, 1},          {1000, 10000, 10},         {10000, 100000, 100},
    {100000, 1000000, 1000}, {1000000, 10000000, 10000}, {10000000, 100000000, 50000},
};

// A row whose tick is not positive would make the grid divide by zero or never move.
Yen Usable(Yen tick) { return tick > Yen{} ? tick : kNoTick; }
}  // namespace

Yen UnitTable::TickOfRows(Yen price, bool upward) const {
    if (price <= Yen{}) return upward ? Yen::FromInt(1) : kNoTick;
    const int n = Elements < 0 ? 0 : (Elements > kMaxUnitRows ? kMaxUnitRows : Elements);
    if (upward) {
        for (int i = 0; i < n; ++i) {
            const UnitRow& r = rows[i];
            if (r.low < price && price < r.high) return Usable(r.tick);
            if (r.high == price) return i + 1 < n ? Usable(rows[i + 1].tick) : kBeyondLastRow;
        }
        return kNoTick;
    }
    for (int i = n - 1; i >= 0; --i) {
        const UnitRow& r = rows[i];
        if (r.low < price && price <= r.high) return Usable(r.tick);
    }
    return kNoTick;
}

bool UnitTable::RunAround(Yen price, Run* run) const {
    const Yen tick = Tick(price, true);
    if (tick <= Yen{} || Tick(price, false) != tick) return false;
    run->tick = tick;
    run->low = Yen{std::numeric_limits<std::int64_t>::min()};
    run->high = Yen{std::numeric_limits<std::int64_t>::max()};
    if (DontUse == 1) return true;
    // Both lookups change only where a row begins or ends, or at 0.
    auto bound = [&](Yen b) {
        if (b < price && b > run->low) run->low = b;
        if (b > price && b < run->high) run->high = b;
        return b != price;
    };
    bool inside = bound(Yen{});
    const int n = Elements < 0 ? 0 : (Elements > kMaxUnitRows ? kMaxUnitRows : Elements);
    for (int i = 0; i < n; ++i) inside = bound(rows[i].low) && bound(rows[i].high) && inside;
    return inside;
}

void UnitTable::Clear() {
    Elements = 0;
    rows = {};
}

namespace {
void LoadRows(UnitTable& table, const DefaultRow* begin, int n) {
    table.Clear();
    for (int i = 0; i < n; ++i)
        table.rows[static_cast<std::size_t>(i)] = {Yen::FromInt(begin[i].low), Yen::FromInt(begin[i].high),
                                                   Yen::FromInt(begin[i].tick)};
    table.Elements = n;
}
}  // namespace

void UnitTable::LoadDefaults() {
    if (index == 1) LoadRows(*this, kOtc, static_cast<int>(std::size(kOtc)));
    else LoadRows(*this, kListed, static_cast<int>(std::size(kListed)));
    DontUse = 0;
}

void UnitTable::LoadTodaysListedSteps() {
    const int keep = DontUse;
    LoadRows(*this, kListedToday, static_cast<int>(std::size(kListedToday)));
    DontUse = keep;
}

void UnitTable::ResetKeepingDontUse() {
    const int keep = DontUse;
    LoadDefaults();
    DontUse = keep;
}



std::string AdjustmentLine(Yen entered, Yen used, Yen tick) {
    // Plain digits: the values are whole yen once they reach the dialog.
    auto plain = [](Yen v) {
        std::string s = DecimalCalc::ToText(v, 0);
        std::erase(s, ',');
        return s;
    };
    return plain(entered) + "円 → " + plain(used) + "円 （呼び値単位：" + plain(tick) + "円）";
}

}  // namespace zavota
