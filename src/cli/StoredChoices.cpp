#include "StoredChoices.h"

#include <charconv>

#include "core/NumberText.h"
#include "platform/FileIo.h"
#include "settings/KeihiFile.h"
#include "settings/MarginTableFile.h"

namespace zavota::cli {

namespace {

constexpr int kMsgTableUnreadable = 291;
constexpr int kMsgNotATable = 293;

// A stored table's index among the tables in use: by name first, then as a number.
bool FindTable(const MarginTableSet& set, const std::string& text, int& index) {
    index = set.FindUsedByName(text);
    if (index >= 0) return true;
    int n = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || end != text.data() + text.size() || n < 0 || n >= set.UsedCount()) return false;
    index = n;
    return true;
}

// A slot for a table read from a file: the first free one, or, with all fifteen in use, the
// last one that the other leg does not use.
int FreeSlot(const MarginTableSet& set, int keep) {
    const int used = set.UsedCount();
    if (used < kMaxTables) return used;
    return keep == kMaxTables - 1 ? kMaxTables - 2 : kMaxTables - 1;
}

ChoiceError LoadTableFile(const std::string& path, CalcState& state, int keep,
                          int& index) {
    MarginTable table;
    switch (ImportMarginTable(path, table)) {
        case ImportDone: break;
        case ImportNotATable: return {{}, kMsgNotATable};
        case ImportUnreadable: return {{}, kMsgTableUnreadable};
    }
    table.inUse = true;
    index = FreeSlot(state.tables, keep);
    state.tables.Slot(index) = table;
    return {};
}

}  // namespace

ChoiceError ChooseTables(const CalcOptions& o, CalcState& state, PageChoices& c) {
    if (o.table && !FindTable(state.tables, *o.table, c.table)) return {"no stored table " + *o.table, 0};
    if (o.table2 && !FindTable(state.tables, *o.table2, c.table2)) return {"no stored table " + *o.table2, 0};
    if (o.oneTable) c.twoTables = false;
    if (o.table2 || o.table2File) c.twoTables = true;
    // Files go after the stored tables, so the names above still find what the user stored.
    if (o.tableFile) {
        if (ChoiceError e = LoadTableFile(*o.tableFile, state, c.twoTables ? c.table2 : -1, c.table); e.Failed())
            return e;
    }
    if (o.table2File) {
        if (ChoiceError e = LoadTableFile(*o.table2File, state, c.table, c.table2); e.Failed()) return e;
    }
    if (!c.twoTables) c.table2 = c.table;
    return {};
}

ChoiceError ReadExpensesFile(const CalcOptions& o, std::string& setText) {
    if (!o.expensesFile) return {};
    // A file the dialog would read as zeros is, on the command line, most likely a typing slip.
    if (!platform::FileExists(*o.expensesFile)) return {"cannot read " + *o.expensesFile, 0};
    KeihiSet set = ReadKeihiSetFile(*o.expensesFile);
    // As --expense-set text, so the values pass the dialog's checks like typed ones.
    setText.clear();
    for (const KeihiField f : kExpenseSetOrder) setText += (setText.empty() ? "" : ",") + ShortestText(KeihiValue(set, f));
    return {};
}

}  // namespace zavota::cli
