// --help and --version of the desktop program, answered before the toolkit starts, so that they
// work without a display.
#pragma once

#include <optional>
#include <ostream>

namespace zavota::app {

// Starts a first run without asking about today's tax rates and tick sizes: the defaults stay,
// as "いいえ" would leave them (for scripts that drive the windows).
inline constexpr const char* kNoFirstStartQuestion = "--no-first-start-question";

// The exit code when the command line asks for the help text or the version (printed to `out`);
// nothing when the program should start.
std::optional<int> AnswerInfoOption(int argc, const char* const* argv, std::ostream& out);

}  // namespace zavota::app
