// Start-up and placement rules of the desktop program, kept free of the toolkit so that
// tests reach them directly.
#pragma once

#include <optional>
#include <string_view>

#include "settings/SettingsData.h"

namespace zavota {

// The usable part of the screen (without panels), in screen coordinates.
struct ScreenArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A window placed at a saved position, moved the least distance that brings it whole into the
// area: a window that would cross an edge is moved back until its edge meets it. A window
// larger than the area keeps its top-left corner (the title bar) inside.
WindowPosition PlaceOnScreen(WindowPosition saved, int width, int height, ScreenArea area);
inline WindowPosition PlaceOnScreen(WindowPosition saved, int width, int height, int screenWidth, int screenHeight) {
    return PlaceOnScreen(saved, width, height, ScreenArea{0, 0, screenWidth, screenHeight});
}

// A window of `width` × `height` opened beside another window's frame (`anchor`, `anchorWidth`
// wide): to its right, else to its left, tops level, when it fits whole into the area there;
// nullopt when it fits on neither side.
std::optional<WindowPosition> PlaceBeside(WindowPosition anchor, int anchorWidth, int width, int height,
                                          ScreenArea area);

// Safe start: the command line contains " -off" or " -OFF" (with the leading space).
bool SafeStartRequested(std::string_view commandLine);

// Whether the visible calculator window belongs in the topmost band when the application
// loses activation: only with TopMost on and none of the program's own boxes or dialogs open,
// so that those are never left hidden behind it.
bool KeepOnTop(int topMost, bool messageBoxOpen, bool modalDialogOpen);

}  // namespace zavota
