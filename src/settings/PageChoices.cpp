#include "settings/PageChoices.h"

#include "core/NumberText.h"

namespace zavota {

PageChoices StoredPageChoices(const OptionSettings& o, const MarginTableSet& tables, Page page) {
    const bool buy = page == Page::Buy;
    const int count = tables.UsedCount();
    auto table = [count](int index) { return index >= 0 && index < count ? index : 0; };

    PageChoices c;
    c.taxKindIndex = (buy ? o.TaxTypeK : o.TaxTypeU) == kTradeMargin ? 1 : 0;
    c.twoTables = o.TwoFlag == 1;
    c.table = table(buy ? o.MarginIndexK : o.MarginIndexU);
    c.table2 = c.twoTables ? table(buy ? o.MarginIndex2K : o.MarginIndex2U) : c.table;
    c.mini = c.taxKindIndex == 0 && (buy ? o.MiniFlagK : o.MiniFlagU) == 1;
    const double unit = buy ? o.MiniK : o.MiniU;
    c.miniUnit = unit > 0 ? ShortestText(unit) : "";
    c.otc = (buy ? o.TenFlagK : o.TenFlagU) == 1;
    return c;
}

}  // namespace zavota
