// Start-up and placement rules of the desktop program, kept free of the toolkit so that
// tests reach them directly.
#pragma once

#include <string_view>

#include "settings/SettingsData.h"

namespace zavota {

// A window placed at a saved position: a negative coordinate becomes 0, and a window that
// would cross the right or bottom screen edge is moved back until its edge meets it.
WindowPosition PlaceOnScreen(WindowPosition saved, int width, int height, int screenWidth, int screenHeight);

// Safe start: the command line contains " -off" or " -OFF" (with the leading space).
bool SafeStartRequested(std::string_view commandLine);

// Whether the visible calculator window belongs in the topmost band when the application
// loses activation: only with TopMost on and none of the program's own boxes or dialogs open,
// so that those are never left hidden behind it.
bool KeepOnTop(int topMost, bool messageBoxOpen, bool modalDialogOpen);

}  // namespace zavota
