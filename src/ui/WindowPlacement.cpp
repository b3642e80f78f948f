#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "settings/WindowRules.h"

namespace zavota::ui {

namespace {

// The window's top-left corner moved so that the whole frame stays in the screen's usable area.
QPoint OnScreen(const QWidget* window, QPoint wanted) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return wanted;
    // The edges of the usable area, in screen coordinates (a panel may take the top or left).
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    const WindowPosition at =
        PlaceOnScreen({wanted.x(), wanted.y()}, size.width(), size.height(), area.right() + 1, area.bottom() + 1);
    return {at.x, at.y};
}

}  // namespace

void PlaceAtSavedPosition(QWidget* window, WindowPosition saved) {
    const QPoint at = OnScreen(window, {saved.x, saved.y});
    window->move(at);
}

void CentreOn(QWidget* dialog, const QWidget* over) {
    const QRect target = over->frameGeometry();
    const QSize size = dialog->frameGeometry().size();
    dialog->move(OnScreen(dialog, target.center() - QPoint(size.width() / 2, size.height() / 2)));
}

Qt::WindowFlags FixedDialogFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
}

}  // namespace zavota::ui
