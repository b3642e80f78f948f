// Placing a window at a position the settings keep, inside the screen's usable area, and
// reading back where it stands. The main and the slim window share one position, so they must
// be placed by one rule; a position is always that of the frame's top-left corner.
#pragma once

#include <QPoint>
#include <Qt>

#include "settings/SettingsData.h"

class QWidget;

namespace zavota::ui {

// Moves the window's frame to the saved position (kept on the screen). Call it before the
// window is shown; once shown, the frame is put back there if the window manager framed the
// window elsewhere.
void PlaceAtSavedPosition(QWidget* window, WindowPosition saved);

// Where the window's frame stands, as the window system has it: the position to save.
WindowPosition FramePosition(const QWidget* window);

// Moves the window's frame beside `anchor`'s (right, else left) when it fits whole on the
// screen there, else to `fallback` kept on the screen. Call it before the first showing.
void PlaceBesideOrAt(QWidget* window, const QWidget* anchor, WindowPosition fallback);

// A dialog placed with its middle on the middle of `over`, kept on the screen.
void CentreOn(QWidget* dialog, const QWidget* over);

// The title-bar buttons of a dialog that cannot change its size: system menu and close only.
Qt::WindowFlags FixedDialogFlags();

}  // namespace zavota::ui
