#include "ui/calculator/ZOrder.h"

#include <QWidget>
#include <QWindow>

namespace zavota::ui {

void SetStayOnTop(QWidget* window, bool onTop) {
    // QWidget::setWindowFlag would hide the window; the native window takes the hint as it is.
    if (window->windowHandle() == nullptr) window->winId();
    window->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, onTop);
}

bool StaysOnTop(const QWidget* window) {
    return window->windowHandle() != nullptr && window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

}  // namespace zavota::ui
