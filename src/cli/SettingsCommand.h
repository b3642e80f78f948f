// `zavota-cli settings`: everything the program loads at start-up, as it loaded it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zavota::cli {

// Lists the values of Option, Tax, Display, Clipboard, both tick-size tables and every
// commission table under their registry names; text by default, JSON with --json.
int SettingsMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zavota::cli
