#include "memo/StockRows.h"

#include <algorithm>

#include "core/DecimalCalc.h"
#include "core/NumberText.h"
#include "memo/MemoNumber.h"

namespace zavota {

namespace {

constexpr Yen kMaxCell = Yen::FromInt(99999999);

bool IsCellChar(char c) { return (c >= '0' && c <= '9') || c == ','; }

int RowIndex(int row) { return std::clamp(row, 1, kMemoRows) - 1; }

}  // namespace

CellFilter FilterNumberCell(std::string_view text) {
    const std::string_view t = TrimAscii(text);
    const auto bad = std::find_if_not(t.begin(), t.end(), IsCellChar);
    if (bad == t.end()) return {std::string(text), false};
    return {std::string(t.begin(), bad), true};
}

void StockTotals::Add(Yen price, Yen shares) {
    const Yen rowAmount = DecimalCalc::Mul(price, shares, 0, RoundHalfUp);
    amount_ = DecimalCalc::Add(amount_, rowAmount, 0, RoundHalfUp);
    shares_ = DecimalCalc::Add(shares_, shares, 0, RoundHalfUp);
}

Yen StockTotals::average() const {
    return shares_ == Yen{} ? Yen{} : DecimalCalc::Div(amount_, shares_, 0, RoundHalfUp);
}

CellValue CheckStockCell(std::string_view text) {
    CellValue out;
    if (TrimAscii(text).empty()) return out;
    const std::optional<Yen> v = ParseMemoAmount(text);
    if (!v || *v <= Yen{} || *v > kMaxCell) return out;
    out.valid = true;
    out.value = *v;
    out.shown = DecimalCalc::ToText(*v, 0);
    return out;
}

RowTick CheckRowTick(std::string_view price, std::string_view shares) {
    const bool priceValid = CheckStockCell(price).valid;
    if (priceValid && CheckStockCell(shares).valid) return {};
    const bool priceEmpty = TrimAscii(price).empty();
    const bool sharesEmpty = TrimAscii(shares).empty();
    if (!priceEmpty && !sharesEmpty) return priceValid ? RowTick{271, 2} : RowTick{270, 1};
    return {260, priceEmpty ? 1 : 2};
}

namespace {

// Step one of the row check: reformats valid cells; true when both are valid.
bool NormaliseRow(StockRow& row) {
    const CellValue price = CheckStockCell(row.price);
    const CellValue shares = CheckStockCell(row.shares);
    if (price.valid) row.price = price.shown;
    if (shares.valid) row.shares = shares.shown;
    return price.valid && shares.valid;
}

}  // namespace

RowTick CheckAndFormatRow(StockRow& row) {
    const RowTick tick = CheckRowTick(row.price, row.shares);
    NormaliseRow(row);
    return tick;
}

StockResults ComputeStockRows(StockGrid& grid) {
    StockResults out;
    for (StockRow& row : grid) {
        if (!row.selected) continue;
        if (!NormaliseRow(row)) {
            row.selected = false;
            continue;
        }
        ++out.count;
        out.totals.Add(CheckStockCell(row.price).value, CheckStockCell(row.shares).value);
    }
    if (out.totals.amount() >= kMemoAmountLimit) {
        out.message = 264;
        return out;
    }
    out.shown = true;
    return out;
}

void SelectValidRows(StockGrid& grid) {
    for (StockRow& row : grid) row.selected = NormaliseRow(row);
}

void UntickInvalidRows(StockGrid& grid) {
    for (StockRow& row : grid)
        if (row.selected && !(CheckStockCell(row.price).valid && CheckStockCell(row.shares).valid))
            row.selected = false;
}

void InsertEmptyRow(StockGrid& grid, int row) {
    const int i = RowIndex(row);
    std::move_backward(grid.begin() + i, grid.end() - 1, grid.end());
    grid[i] = {};
}

void CopyRowBelow(StockGrid& grid, int row) {
    const int i = RowIndex(row);
    if (i + 1 >= kMemoRows) return;
    std::move_backward(grid.begin() + i + 1, grid.end() - 1, grid.end());
    grid[i + 1] = grid[i];
}

void DeleteRow(StockGrid& grid, int row) {
    const int i = RowIndex(row);
    std::move(grid.begin() + i + 1, grid.end(), grid.begin() + i);
    grid.back() = {};
}

std::string SummaryShare(std::string_view amountText, Yen grandTotal) {
    if (grandTotal == Yen{}) return "0";
    const Yen amount = ParseMemoAmount(amountText).value_or(Yen{});
    const Yen hundredfold = DecimalCalc::Mul(amount, Yen::FromInt(100), 4, RoundNone);
    return DecimalCalc::ToText(DecimalCalc::Div(hundredfold, grandTotal, 1, RoundHalfUp), 1);
}

FieldCheck CheckMemoHandOver(const std::string& price, const std::string& shares, bool buy) {
    FieldCheck p = ReadWholeField(price, "edtPrice", buy ? 100 : 104, buy ? 201 : 208);
    if (!p.ok()) return p;
    FieldCheck n = ReadWholeField(shares, "edtNum", 102, 202);
    if (!n.ok()) return n;
    if (DecimalCalc::Mul(p.value, n.value, 0, RoundNone) >= kMemoAmountLimit) return {243, "edtPrice", {}};
    return {};
}

}  // namespace zavota
