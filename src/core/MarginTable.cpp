#include "MarginTable.h"

#include <limits>
#include <utility>

#include "DecimalCalc.h"

namespace zavota {

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
