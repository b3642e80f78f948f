// `zavota-cli calc`: one press of "実　行" from the command line, on the windows' own page logic.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "CalcOptions.h"
#include "core/CalcState.h"
#include "settings/PageChoices.h"

namespace zavota {
class SettingsStore;
}

namespace zavota::cli {

enum ExitCode { ExitOk = 0, ExitRefused = 1, ExitUsage = 2, ExitCancelled = 3 };

// A refusal before the page runs: a catalogue number and the field it concerns.
struct Refusal {
    int message = 0;
    std::string focus;
};

// Puts the command line's settings (tax, tick check, expenses) into the state, checked with
// the rules of the options pages and the expenses dialog.
Refusal ApplySettings(const CalcOptions& options, const std::optional<std::string>& expenseSet, CalcState& state);

// The page's field texts after the check each field makes on every change.
// Choices not given on the command line come from `stored`.
Refusal BuildPageInput(const CalcOptions& options, const PageChoices& stored, PageInput& input);

// Runs the calculation on `state` and prints the answer; returns the exit code.
int RunCalc(const CalcOptions& options, const PageChoices& stored, const std::optional<std::string>& expenseSet,
            CalcState& state, std::ostream& out);

// Loads the stored settings. A settings file that cannot be read whole is named on `err`: its
// values are at their defaults, and the file is left as it is, since the command line only reads.
void LoadStoredSettings(SettingsStore& store, std::ostream& err);

// The whole command: parse, load the stored settings, apply the overrides, run, print.
int CalcMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace zavota::cli
