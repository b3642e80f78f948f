#include "ui/common/WaitCursor.h"

#include <QApplication>

namespace zavota::ui {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace zavota::ui
