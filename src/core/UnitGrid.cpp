#include "UnitGrid.h"

#include <cmath>
#include <cstdint>

#include "DecimalCalc.h"

namespace zavota {

std::array<std::string, kUnitGridColumns> UnitRowCells(const UnitRow& row) {
    return {DecimalCalc::ToText(row.low, 0), DecimalCalc::ToText(row.high, 0), DecimalCalc::ToText(row.tick, 0)};
}

GridCheck CommitUnitGrid(UnitTable& table, const GridTexts& cells) {
    GridValues v;
    if (const GridCheck c = ReadGridCells(cells, v); !c.Ok()) return c;
    // A tick is a whole number of yen: "2.5" is taken as 2.
    for (auto& row : v)
        if (row.size() > 2) row[2] = std::trunc(row[2]);
    int count = 0;
    if (const GridCheck c = CheckRanges(v, count); !c.Ok()) return c;
    for (int r = 0; r < count; ++r) {
        if (v[r][2] < 1) return {236, r + 1, 2};
        if (v[r][2] >= v[r][1]) return {230, r + 1, 2};
    }
    // A step down from the band above must land on a price of the band below and the other way
    // round, or the walks go back and forth between the two bands for ever.
    for (int r = 0; r + 1 < count; ++r) {
        const auto boundary = static_cast<std::int64_t>(v[r][1]);
        if (boundary % static_cast<std::int64_t>(v[r][2]) != 0 || boundary % static_cast<std::int64_t>(v[r + 1][2]) != 0)
            return {kUnchainedTicks, r + 1, 1};
    }
    std::array<UnitRow, kMaxUnitRows> rows{};
    for (int r = 0; r < count && r < kMaxUnitRows; ++r)
        rows[r] = {Yen::FromDouble(v[r][0]), Yen::FromDouble(v[r][1]), Yen::FromDouble(v[r][2])};
    table.Elements = count;
    table.rows = rows;
    return {};
}

}  // namespace zavota
