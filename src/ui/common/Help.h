// The HTML manual, opened in the desktop's browser.
#pragma once

#include "ui/common/AppState.h"

namespace zavota::ui {

// Opens the manual at a help context (0: the table of contents). When no manual is installed
// or no browser could be started, says so (message 294) and returns false.
bool OpenHelp(AppState& state, int context = 0);

}  // namespace zavota::ui
