// "Zavotaについて": the program's icon, name and version.
#pragma once

#include <QWidget>

#include "ui/common/AppState.h"

namespace zavota::ui {

// Opens the about box modally with the modal-dialog flag set.
void RunAboutDialog(AppState& state, QWidget* parent);

}  // namespace zavota::ui
