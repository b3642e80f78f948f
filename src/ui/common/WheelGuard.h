// The mouse wheel changes a choice only where the user has put the focus: rolled over a combo
// box, a spin box or a tab strip on the way through a window, it scrolls what lies beneath
// instead of switching the commission table or the page behind the user's back.
#pragma once

class QObject;
class QWidget;

namespace zavota::ui {

// Installs the guard on the application once; later calls do nothing.
void InstallWheelGuard();

// The control whose value a wheel event on `widget` would change (the widget itself or the
// combo box or spin box it is part of), or nullptr.
QWidget* WheelValueControl(QWidget* widget);

}  // namespace zavota::ui
