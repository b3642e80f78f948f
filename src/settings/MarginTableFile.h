// One commission table in a file of its own (section "手数料テーブル"), so users can keep,
// exchange and restore their broker tables.
#pragma once

#include <string>

#include "core/MarginTable.h"
#include "platform/NamedMutex.h"

namespace zavota {

inline constexpr const char* kMarginTableSection = "手数料テーブル";

// Writes the table's keys into the file as one replace (created when absent; keys the export
// does not write stay in an old file). False when the file could not be written.
bool ExportMarginTable(const MarginTable& table, const std::string& path, platform::NamedMutex& mutex);

enum ImportResult : int {
    ImportDone = 0,
    ImportNotATable = 1,    // no name, or a bracket missing or malformed
    ImportUnreadable = 2,   // the file cannot be opened or read
};
// Reads the file into `table` (its name, flags, limits and brackets; nothing else is checked,
// the editor validates). The table is left as the file gave it even when the result is not 0.
ImportResult ImportMarginTable(const std::string& path, MarginTable& table, platform::NamedMutex& mutex);
// The same without the lock, for a reader that must leave no lock file behind: every save is
// one atomic replace, so an unlocked read still sees a whole file, the old or the new.
ImportResult ImportMarginTable(const std::string& path, MarginTable& table);

}  // namespace zavota
