// What a page starts with from the stored options, at the edges: a table index just past the
// set, a unit of 0, the mini box with margin trading.
#include <gtest/gtest.h>

#include "settings/PageChoices.h"

namespace zavota {
namespace {

TEST(PageChoicesTest, StoredValuesAtTheirEdges) {
    MarginTableSet tables;
    tables.Slot(1) = tables.Slot(0);
    tables.Slot(1).Name = "second";  // two tables: indices 0 and 1
    struct Case {
        const char* what;
        int index, kind, miniFlag;
        double unit;
        int table;
        bool mini;
        const char* miniUnit;
    } cases[] = {
        {"last table", 1, kTradeCash, 1, 1000, 1, true, "1000"},
        {"one past the last", 2, kTradeCash, 1, 1000, 0, true, "1000"},
        {"negative", -1, kTradeCash, 1, 1000, 0, true, "1000"},
        {"unit 0 shows nothing", 0, kTradeCash, 1, 0, 0, true, ""},
        {"smallest unit", 0, kTradeCash, 0, 0.5, 0, false, "0.5"},
        {"no mini with margin", 0, kTradeMargin, 1, 1000, 0, false, "1000"},
    };
    for (const Case& c : cases) {
        OptionSettings o;
        o.MarginIndexU = c.index;
        o.TaxTypeU = c.kind;
        o.MiniFlagU = c.miniFlag;
        o.MiniU = c.unit;
        const PageChoices p = StoredPageChoices(o, tables, Page::Sell);
        EXPECT_EQ(p.table, c.table) << c.what;
        EXPECT_EQ(p.table2, c.table) << c.what;  // one table for both legs
        EXPECT_EQ(p.mini, c.mini) << c.what;
        EXPECT_EQ(p.miniUnit, c.miniUnit) << c.what;
        EXPECT_EQ(p.taxKindIndex, c.kind == kTradeMargin ? 1 : 0) << c.what;
    }
}

}  // namespace
}  // namespace zavota
