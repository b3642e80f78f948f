#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "settings/WindowRules.h"

namespace zavota::ui {

void PlaceAtSavedPosition(QWidget* window, WindowPosition saved) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window->move(saved.x, saved.y);
        return;
    }
    // The edges of the usable area, in screen coordinates (a panel may take the top or left).
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    const WindowPosition at = PlaceOnScreen(saved, size.width(), size.height(), area.right() + 1, area.bottom() + 1);
    window->move(at.x, at.y);
}

}  // namespace zavota::ui
