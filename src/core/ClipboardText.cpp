#include "ClipboardText.h"

#include <vector>

#include "DecimalCalc.h"

namespace zavota {

namespace {

struct Item {
    const char* caption;
    Yen TradeResult::*figure;
    bool rate;  // two decimals and "%" instead of whole yen
};

// The nineteen items in their stored order; the groups are 0-6 buy, 7-13 sell, 14-18 profit.
// The sell block's further deduction is never copied.
constexpr Item kItems[19] = {
    {"[買]単価", &TradeResult::buyPrice, false},
    {"[買]株数", &TradeResult::buyShares, false},
    {"[買]約定金額", &TradeResult::buyAmount, false},
    {"[買]手数料", &TradeResult::buyCommission, false},
    {"[買]手数料分消費税", &TradeResult::buyCommissionTax, false},
    {"[買]支払合計額", &TradeResult::totalPaid, false},
    {"[買]ペイ単価", &TradeResult::buyBreakEven, false},
    {"[売]単価", &TradeResult::sellPrice, false},
    {"[売]株数", &TradeResult::sellShares, false},
    {"[売]約定金額", &TradeResult::sellAmount, false},
    {"[売]手数料", &TradeResult::sellCommission, false},
    {"[売]手数料分消費税", &TradeResult::sellCommissionTax, false},
    {"[売]受取合計額", &TradeResult::totalReceived, false},
    {"[売]ペイ単価", &TradeResult::sellBreakEven, false},
    {"利益額", &TradeResult::profit, false},
    {"その他経費", &TradeResult::otherExpenses, false},
    {"利益に対する課税", &TradeResult::profitTax, false},
    {"最終利益", &TradeResult::finalProfit, false},
    {"利益率", &TradeResult::profitRate, true},
};

struct Group {
    int first, last;  // item indexes, inclusive
    bool shown;
};

struct Cell {
    std::string caption, value;
};

std::string ValueText(const TradeResult& result, const Item& item) {
    const Yen v = result.*item.figure;
    return item.rate ? DecimalCalc::ToText(v, 2) + "%" : DecimalCalc::ToText(v, 0);
}

// The selected items of a group on screen, in table order.
std::vector<Cell> Cells(const TradeResult& result, const std::array<int, 19>& flags, Group g) {
    std::vector<Cell> cells;
    if (!g.shown) return cells;
    for (int i = g.first; i <= g.last; ++i)
        if (flags[i] == 1) cells.push_back({kItems[i].caption, ValueText(result, kItems[i])});
    return cells;
}

std::string Joined(const std::vector<Cell>& cells, std::string Cell::*field) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += '\t';
        out += cells[i].*field;
    }
    return out;
}

// One line of the horizontal layout: each leg's part followed by a TAB, then the profit part.
std::string HorizontalLine(const std::vector<std::vector<Cell>>& groups, std::string Cell::*field) {
    std::string line;
    for (std::size_t g = 0; g + 1 < groups.size(); ++g) {
        const std::string part = Joined(groups[g], field);
        if (!part.empty()) line += part + '\t';
    }
    line += Joined(groups.back(), field);
    return line;
}

}  // namespace

std::string ClipboardText(const TradeResult& result, const std::array<int, 19>& flags, ClipboardGroups groups,
                          ClipboardLayout layout) {
    const Group buy{0, 6, groups.buy};
    const Group sell{7, 13, groups.sell};
    const Group profit{14, 18, groups.profit};
    const Group order[3] = {groups.sellFirst ? sell : buy, groups.sellFirst ? buy : sell, profit};

    std::vector<std::vector<Cell>> cells;
    for (const Group& g : order) cells.push_back(Cells(result, flags, g));

    static constexpr const char* kLineEnd = "\r\n";
    std::string text;
    if (layout == ClipboardLayout::Vertical) {
        for (const auto& group : cells)
            for (const Cell& c : group) text += c.caption + '\t' + c.value + kLineEnd;
        return text;
    }
    for (std::string Cell::*field : {&Cell::caption, &Cell::value}) {
        const std::string line = HorizontalLine(cells, field);
        if (!line.empty()) text += line + kLineEnd;
    }
    return text;
}

}  // namespace zavota
