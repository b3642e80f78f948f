#include "MarginGrid.h"

#include <algorithm>

#include "DecimalCalc.h"
#include "NumberText.h"

namespace zavota {

namespace {
constexpr double kLimitCeiling = 100'000'000.0;
constexpr double kAdditionCeiling = 100'000'000.0;

MarginCommit Refuse(int message, MarginEditField focus) { return {{message, 0, 0}, focus}; }
MarginCommit RefuseCell(int message, int row, int col) { return {{message, row, col}, MarginEditField::Grid}; }

// A limit field: empty is 0 (no limit), otherwise above 0 and below 100,000,000.
// A field holding only "+" passes the change rule but is no number: refused like any bad input.
int ReadLimit(const std::string& text, Yen& value) {
    const std::string_view trimmed = TrimAscii(text);
    value = Yen{};
    if (trimmed.empty()) return 0;
    const auto v = ParseNumber(trimmed);
    if (!v) return 200;
    if (*v <= 0) return 215;
    if (*v >= kLimitCeiling) return 216;
    value = Yen::FromDouble(*v);
    return 0;
}

// A percentage column: at most 100, above -100, three decimals at most.
int PercentMessage(double v, int tooHigh, int tooLow) {
    if (v > 100) return tooHigh;
    if (v <= -100) return tooLow;
    if (!AtMostDecimals(v, 3)) return 115;
    return 0;
}
}  // namespace

std::array<std::string, kMarginGridColumns> MarginBracketCells(const MarginBracket& b) {
    return {DecimalCalc::ToText(b.low, 0), DecimalCalc::ToText(b.high, 0), DecimalCalc::ToText(b.rate, 3),
            DecimalCalc::ToText(b.addition, 0), DecimalCalc::ToText(b.discount, 3)};
}

std::string LimitText(Yen limit) { return limit == Yen{} ? std::string() : ShortestText(limit.ToDouble()); }

MarginCommit CommitMarginGrid(MarginTable& table, int side, const MarginEditTexts& texts,
                              const std::vector<std::string>& otherNames) {
    const bool separate = table.Same != 0;
    const bool sell = separate && side == 1;

    const std::string name(TrimAscii(texts.name));
    if (name.empty()) return Refuse(105, MarginEditField::Name);
    if (std::find(otherNames.begin(), otherNames.end(), name) != otherNames.end())
        return Refuse(214, MarginEditField::Name);
    table.Name = name;

    Yen low, high;
    if (const int m = ReadLimit(texts.lowLimit, low)) return Refuse(m, MarginEditField::LowLimit);
    if (!separate || !sell) table.LowLimitK = low;
    if (!separate || sell) table.LowLimitU = low;
    if (const int m = ReadLimit(texts.highLimit, high)) return Refuse(m, MarginEditField::HighLimit);
    if (!separate || !sell) table.HighLimitK = high;
    if (!separate || sell) table.HighLimitU = high;
    if (!TrimAscii(texts.lowLimit).empty() && !TrimAscii(texts.highLimit).empty() && high <= low)
        return Refuse(235, MarginEditField::HighLimit);

    GridValues v;
    if (const GridCheck c = ReadGridCells(texts.cells, v); !c.Ok()) return {c, MarginEditField::Grid};
    int count = 0;
    if (const GridCheck c = CheckRanges(v, count); !c.Ok()) return {c, MarginEditField::Grid};
    for (int r = 0; r < count; ++r)
        if (const int m = PercentMessage(v[r][2], 223, 224)) return RefuseCell(m, r + 1, 2);
    for (int r = 0; r < count; ++r) {
        if (v[r][3] >= kAdditionCeiling) return RefuseCell(225, r + 1, 3);
        if (v[r][3] <= -kAdditionCeiling) return RefuseCell(226, r + 1, 3);
    }
    for (int r = 0; r < count; ++r)
        if (const int m = PercentMessage(v[r][4], 227, 228)) return RefuseCell(m, r + 1, 4);

    std::array<MarginBracket, kMaxBrackets> brackets{};
    for (int r = 0; r < count && r < kMaxBrackets; ++r)
        brackets[r] = {Yen::FromDouble(v[r][0]), Yen::FromDouble(v[r][1]), Yen::FromDouble(v[r][2]),
                       Yen::FromDouble(v[r][3]), Yen::FromDouble(v[r][4])};
    if (!separate || !sell) {
        table.ElementsK = count;
        table.bracketsK = brackets;
    }
    if (!separate || sell) {
        table.ElementsU = count;
        table.bracketsU = brackets;
    }
    return {};
}

}  // namespace zavota
