#include "MarginTable.h"

#include <limits>
#include <utility>

#include "DecimalCalc.h"

namespace zavota {

namespace {
constexpr Yen kHundred = Yen::FromInt(100);
constexpr Yen kFailure = Yen::FromInt(-1);
}  // namespace

Yen MarginTable::ApplyLimits(Side side, Yen fee) const {
    const Yen low = side == Side::Buy ? LowLimitK : LowLimitU;
    const Yen high = side == Side::Buy ? HighLimitK : HighLimitU;
    if (fee < low) fee = low;
    if (high != Yen{} && fee > high) fee = high;
    return fee;
}

const MarginBracket* MarginTable::BracketOf(Side side, Yen amount) const {
    const int n = side == Side::Buy ? ElementsK : ElementsU;
    const auto& brackets = side == Side::Buy ? bracketsK : bracketsU;
    const int count = n < kMaxBrackets ? n : kMaxBrackets;
    for (int i = 0; i < count; ++i)
        if (brackets[i].low < amount && amount <= brackets[i].high) return &brackets[i];
    return nullptr;
}

Yen MarginTable::Commission(Side side, Yen amount) const {
    const MarginBracket* b = BracketOf(side, amount);
    if (b == nullptr) return kFailure;
    const Yen rated = DecimalCalc::Div(DecimalCalc::Mul(amount, b->rate, 0, RoundNone), kHundred, 0, RoundDown);
    const Yen sum = DecimalCalc::Add(rated, b->addition, 0, RoundNone);
    const Yen factor = DecimalCalc::Sub(kHundred, b->discount, 3, RoundNone);
    Yen fee = DecimalCalc::Div(DecimalCalc::Mul(sum, factor, 0, RoundNone), kHundred, 0, RoundDown);
    if (!MiniAfter(side)) fee = ApplyLimits(side, fee);
    return fee;
}

MarginTable::Run MarginTable::BracketRun(Side side, Yen amount) const {
    Run run{Yen{std::numeric_limits<std::int64_t>::min()}, Yen{std::numeric_limits<std::int64_t>::max()}};
    const int n = side == Side::Buy ? ElementsK : ElementsU;
    const auto& brackets = side == Side::Buy ? bracketsK : bracketsU;
    const int count = n < 0 ? 0 : (n < kMaxBrackets ? n : kMaxBrackets);
    for (int i = 0; i < count; ++i) {
        for (const Yen b : {brackets[i].low, brackets[i].high}) {
            if (b < amount && b > run.low) run.low = b;
            if (b >= amount && b < run.high) run.high = b;
        }
    }
    return run;
}

void MarginTable::Clear() { *this = MarginTable{}; }

void MarginTable::LoadSample() {
    Clear();
    inUse = true;
    Name = kSampleTableName;
    ElementsK = 1;
    ElementsU = 1;
    const MarginBracket flat{Yen{}, Yen::FromInt(30000000), Yen{}, Yen::FromInt(1500), Yen{}};
    bracketsK[0] = flat;
    bracketsU[0] = flat;
}

bool MarginTable::operator==(const MarginTable& o) const {
    return inUse == o.inUse && Same == o.Same && MiniAfterK == o.MiniAfterK && MiniAfterU == o.MiniAfterU &&
           Name == o.Name && ElementsK == o.ElementsK && ElementsU == o.ElementsU && LowLimitK == o.LowLimitK &&
           LowLimitU == o.LowLimitU && HighLimitK == o.HighLimitK && HighLimitU == o.HighLimitU &&
           bracketsK == o.bracketsK && bracketsU == o.bracketsU;
}

Yen OrderCommission(const MarginTable& table, Side side, Yen price, Yen shares, bool mini, Yen unit) {
    if (!mini) {
        Yen fee = table.Commission(side, DecimalCalc::Mul(price, shares, 0, RoundNone));
        if (fee < Yen{}) return fee;
        if (table.MiniAfter(side)) fee = table.ApplyLimits(side, fee);
        return fee;
    }
    const Yen base = table.Commission(side, DecimalCalc::Mul(price, unit, 0, RoundNone));
    if (base < Yen{}) return base;
    const Yen ratio = DecimalCalc::Div(shares, unit, 1, RoundDown);
    Yen fee = DecimalCalc::Mul(base, ratio, 0, RoundDown);
    if (table.MiniAfter(side)) fee = table.ApplyLimits(side, fee);
    return fee;
}

MarginTableSet::MarginTableSet() {
    for (auto& t : slots_) t.Clear();
    slots_[0].LoadSample();
}

int MarginTableSet::UsedCount() const {
    int n = 0;
    for (const auto& t : slots_) n += t.inUse ? 1 : 0;
    return n;
}

const MarginTable* MarginTableSet::Used(int n) const {
    if (n < 0) return nullptr;
    for (const auto& t : slots_) {
        if (!t.inUse) continue;
        if (n == 0) return &t;
        --n;
    }
    return nullptr;
}

std::vector<std::string> MarginTableSet::UsedNames() const {
    std::vector<std::string> names;
    for (const auto& t : slots_)
        if (t.inUse) names.push_back(t.Name);
    return names;
}

int MarginTableSet::Compact() {
    int count = 0;
    for (int i = 0; i < kMaxTables; ++i) {
        if (!slots_[i].inUse) continue;
        if (i != count) {
            slots_[count] = std::move(slots_[i]);
            slots_[i].Clear();
        }
        ++count;
    }
    return count;
}

int MarginTableSet::AddNew() {
    const int slot = Compact();
    if (slot >= kMaxTables) return -1;
    MarginTable& t = slots_[slot];
    t.Clear();
    t.inUse = true;
    t.ElementsK = 1;
    t.ElementsU = 1;
    return slot;
}

int MarginTableSet::AddCopy(int from) {
    const int slot = Compact();
    if (slot >= kMaxTables || from < 0 || from >= slot) return -1;
    slots_[slot] = slots_[from];
    slots_[slot].Name.clear();
    return slot;
}

bool MarginTableSet::Remove(int slot) {
    const int count = Compact();
    if (count <= 1 || slot < 0 || slot >= count) return false;
    for (int i = slot; i + 1 < count; ++i) slots_[i] = slots_[i + 1];
    slots_[count - 1].Clear();
    return true;
}

bool MarginTableSet::Swap(int a, int b) {
    const int count = Compact();
    if (a < 0 || b < 0 || a >= count || b >= count) return false;
    std::swap(slots_[a], slots_[b]);
    return true;
}

int MarginTableSet::FindUsedByName(const std::string& name) const {
    int i = 0;
    for (const auto& t : slots_) {
        if (!t.inUse) continue;
        if (t.Name == name) return i;
        ++i;
    }
    return -1;
}

}  // namespace zavota
