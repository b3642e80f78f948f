// The calculator's choices from the stored settings, with the command line's overrides for
// this run: tables by name, index or file, and an expense set file. Nothing is written, not
// even a lock file.
#pragma once

#include <string>

#include "CalcOptions.h"
#include "core/CalcState.h"
#include "settings/PageChoices.h"

namespace zavota::cli {

struct ChoiceError {
    std::string usage;  // a command-line mistake (exit 2)
    int message = 0;    // a catalogue message (exit 1): a table file that cannot be used
    bool Failed() const { return !usage.empty() || message != 0; }
};

// Picks the page's tables: stored indices, or --table/--table2 by name (first) or index among
// the stored tables, or a table file placed in a free slot of the set. Files are read without
// the settings lock, so that a calculation leaves no lock file behind.
ChoiceError ChooseTables(const CalcOptions& options, CalcState& state, PageChoices& choices);

// --expenses: the set of a file, as the expense dialog reads it, as the page's chosen set.
ChoiceError ReadExpensesFile(const CalcOptions& options, std::string& setText);

}  // namespace zavota::cli
