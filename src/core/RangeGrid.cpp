#include "RangeGrid.h"

#include <cmath>

#include "NumberText.h"

namespace zavota {

namespace {
constexpr double kAmountLimit = 10'000'000'000.0;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 108, 218 or 219 for a bound, 0 when it is a whole amount in range.
int BoundMessage(double v) {
    if (v != std::floor(v)) return 108;
    if (v < 0) return 218;
    if (v >= kAmountLimit) return 219;
    return 0;
}
}  // namespace

bool CellNeedsDigits(std::string_view text, bool allowPoint) {
    text = TrimAscii(text);
    if (text.empty() || text == "-" || text == "+" || (allowPoint && text == ".")) return false;
    for (const char c : text)
        if (!IsDigit(c) && c != ',' && !(allowPoint && c == '.')) return true;
    return false;
}

GridCheck ReadGridCells(const GridTexts& cells, GridValues& values) {
    values.assign(cells.size(), {});
    for (std::size_t r = 0; r < cells.size(); ++r) {
        values[r].assign(cells[r].size(), 0.0);
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            const std::string_view trimmed = TrimAscii(cells[r][c]);
            if (trimmed.empty()) continue;
            std::string plain(trimmed);
            std::erase(plain, ',');
            const auto value = ParseNumber(plain);
            if (!value) return {217, static_cast<int>(r) + 1, static_cast<int>(c)};
            values[r][c] = *value;
        }
    }
    return {};
}

GridCheck CheckRanges(const GridValues& values, int& count) {
    const int rows = static_cast<int>(values.size());
    count = 0;
    if (rows == 0) return {};
    if (values[0][0] != 0) return {107, 1, 0};

    int end = rows;  // index of the first row that starts at 0 again
    for (int r = 1; r < rows; ++r) {
        if (const int m = BoundMessage(values[r][0])) return {m, r + 1, 0};
        if (values[r][0] == 0) {
            end = r;
            break;
        }
    }
    for (int r = end; r < rows; ++r) {
        if (values[r][0] != 0) return {109, end + 1, 0};
        for (std::size_t c = 1; c < values[r].size(); ++c)
            if (values[r][c] != 0) return {220, end + 1, 0};
    }
    for (int r = 0; r < end; ++r) {
        if (const int m = BoundMessage(values[r][1])) return {m, r + 1, 1};
        if (values[r][1] <= values[r][0]) return {221, r + 1, 1};
    }
    for (int r = 1; r < end; ++r)
        if (values[r][0] != values[r - 1][1]) return {222, r + 1, 0};
    count = end;
    return {};
}

}  // namespace zavota
