// The HTML manual, opened in the desktop's browser.
#pragma once

#include "ui/AppState.h"

namespace zavota::ui {

// Opens the manual at a help context (0: the table of contents). False when no manual is
// installed or no browser could be started.
bool OpenHelp(const AppState& state, int context = 0);

}  // namespace zavota::ui
