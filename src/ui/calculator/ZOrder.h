// Moving a window into the topmost band or back, without moving, sizing or activating it.
#pragma once

class QWidget;

namespace zavota::ui {

void SetStayOnTop(QWidget* window, bool onTop);
bool StaysOnTop(const QWidget* window);

}  // namespace zavota::ui
