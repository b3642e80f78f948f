#include "memo/MemoPages.h"

#include "core/NumberText.h"
#include "platform/ProfileText.h"

namespace zavota {

bool LoadStockPage(MemoStore& store, int number, StockGrid& grid) {
    if (number < 1 || !store.open(MemoPageFileName(MemoPageKind::PerStock, number), MemoFileKind::Ini, true))
        return false;
    std::vector<std::string> columns[4];
    bool ok = true;
    for (int kind = kCellSelected; kind <= kCellShares; ++kind)
        ok = store.readColumn(kind, kMemoRows, columns[kind + 1]) && ok;
    store.close();
    if (!ok) return false;
    StockGrid loaded{};
    for (int r = 0; r < kMemoRows; ++r) {
        auto cell = [&](int kind) -> std::string {
            const auto& c = columns[kind + 1];
            return r < static_cast<int>(c.size()) ? c[r] : std::string();
        };
        StockRow& row = loaded[r];
        row.comment = cell(kCellComment);
        row.price = cell(kCellPrice);
        row.shares = cell(kCellShares);
        row.selected = cell(kCellSelected) == "*" && !row.price.empty() && !row.shares.empty();
    }
    grid = loaded;
    return true;
}

bool SaveStockPage(MemoStore& store, const MemoPageEntry& entry, StockGrid& grid) {
    // An entry the index reader would drop must not pass for saved.
    if (entry.number < 1 || entry.number > kMaxMemoPageNumber) return false;
    UntickInvalidRows(grid);
    std::vector<MemoCell> cells;
    cells.reserve(1 + 4 * kMemoRows);
    cells.push_back({kCellPageName, 0, entry.name});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellSelected, r, grid[r - 1].selected ? "*" : ""});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellComment, r, std::string(TrimAscii(grid[r - 1].comment))});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellPrice, r, std::string(TrimAscii(grid[r - 1].price))});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellShares, r, std::string(TrimAscii(grid[r - 1].shares))});
    return SavePageWithEntry(store, MemoPageKind::PerStock, entry, std::nullopt, [&] {
        if (!store.open(MemoPageFileName(MemoPageKind::PerStock, entry.number), MemoFileKind::Ini, false)) return false;
        const bool ok = store.writeCells(cells);
        return store.close() && ok;
    });
}

std::optional<std::string> LoadFreePage(MemoStore& store, int number) {
    if (number < 1 || !store.open(MemoPageFileName(MemoPageKind::FreeForm, number), MemoFileKind::Text, true))
        return std::nullopt;
    std::optional<std::string> text;
    if (MemoTextStream* s = store.textStream()) text = s->Text();
    store.close();
    return text;
}

bool SaveFreePage(MemoStore& store, const MemoPageEntry& entry, int fontIndex, const std::string& text) {
    return SavePageWithEntry(store, MemoPageKind::FreeForm, entry, fontIndex, [&] {
        if (!store.open(MemoPageFileName(MemoPageKind::FreeForm, entry.number), MemoFileKind::Text, false)) return false;
        MemoTextStream* s = store.textStream();
        if (s != nullptr) s->Write(text);
        return store.close() && s != nullptr;
    });
}

}  // namespace zavota

namespace zavota {

int PageNameRefusal(std::string_view name, const PageList& list, MemoPageKind kind) {
    name = TrimAscii(name);
    if (name.empty()) return -1;
    if (name.find_first_of("[]") != std::string_view::npos) return 261;
    for (const MemoPageEntry& e : list)
        if (platform::profile::SameName(e.name, name)) return 262;
    if (kind == MemoPageKind::FreeForm && platform::profile::SameName(name, "FONT")) return 262;
    return 0;
}

}  // namespace zavota
