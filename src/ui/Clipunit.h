// Clipboard export of the last calculation, and "Zavota　－　クリップボードにコピーする項目の選択".
#pragma once

#include <QWidget>

#include "core/ClipboardText.h"
#include "ui/AppState.h"

namespace zavota::ui {

// Opens the item dialog modally with the modal-dialog flag set.
void RunClipDialog(AppState& state, QWidget* parent);

// Which blocks the result panel shows now (a block takes part only when it is on screen).
struct ShownBlocks {
    bool buy = false;     // mmGaku_K not empty
    bool sell = false;    // mmGaku_U not empty
    bool profit = false;  // mmResult_M not empty
};

// Puts the figures of the calculation state on the clipboard in a layout; does nothing
// when neither leg is shown. The sell group comes first when the hand-over side is 1.
void CopyResults(AppState& state, ClipboardLayout layout, ShownBlocks shown);

}  // namespace zavota::ui
