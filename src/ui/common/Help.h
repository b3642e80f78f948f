// The HTML manual, opened in the desktop's browser.
#pragma once

#include <QObject>

#include "ui/common/AppState.h"

namespace zavota::ui {

// Opens the manual at a help context (0: the table of contents) through the desktop's opener.
// When no manual is installed, or the opener cannot start or reports that it found no browser
// (which it does after this returns), says so with the manual's path (message 294). The opener
// belongs to `owner` (the application when null): a window that closes first drops its report.
// False when the failure is known at once.
bool OpenHelp(AppState& state, int context = 0, QObject* owner = nullptr);

}  // namespace zavota::ui
