// The trade choices a calculator page starts with, from the stored options: what the page's
// combo boxes and check boxes show before the user touches them.
#pragma once

#include <string>

#include "core/MarginTable.h"
#include "core/PageLogic.h"
#include "settings/SettingsData.h"

namespace zavota {

struct PageChoices {
    int taxKindIndex = 0;  // 0 "現物", 1 "信用取引"
    int table = 0;         // index among the tables in use
    int table2 = 0;
    bool twoTables = false;
    bool mini = false;     // the "ミニ株" box ticked (never with margin trading)
    std::string miniUnit;  // the unit field: shortest form when above 0, else empty
    bool otc = false;
};

// A stored table index that no longer names a table (the set became shorter) selects the
// first table.
PageChoices StoredPageChoices(const OptionSettings& option, const MarginTableSet& tables, Page page);

}  // namespace zavota
