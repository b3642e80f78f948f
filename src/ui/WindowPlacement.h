// Placing a window at a position the settings keep, inside the screen's usable area. The main
// and the slim window share one position, so they must be placed by one rule.
#pragma once

#include <Qt>

#include "settings/SettingsData.h"

class QWidget;

namespace zavota::ui {

void PlaceAtSavedPosition(QWidget* window, WindowPosition saved);

// A dialog placed with its middle on the middle of `over`, kept on the screen.
void CentreOn(QWidget* dialog, const QWidget* over);

// The title-bar buttons of a dialog that cannot change its size: system menu and close only.
Qt::WindowFlags FixedDialogFlags();

}  // namespace zavota::ui
