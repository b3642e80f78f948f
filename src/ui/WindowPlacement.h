// Placing a window at a position the settings keep, inside the screen's usable area. The main
// and the slim window share one position, so they must be placed by one rule.
#pragma once

#include "settings/SettingsData.h"

class QWidget;

namespace zavota::ui {

void PlaceAtSavedPosition(QWidget* window, WindowPosition saved);

}  // namespace zavota::ui
