// Reaching a window's fields by the names the shared page logic speaks of.
#pragma once

#include <string>
#include <vector>

#include "core/PageLogic.h"

class QWidget;

namespace zavota::ui {

// Puts the texts into the named fields under `window`.
void WriteFields(QWidget* window, const std::vector<FieldWrite>& writes);
// Focuses the named field with nothing selected; an empty name leaves the focus where it is.
void FocusField(QWidget* window, const std::string& name);

}  // namespace zavota::ui
