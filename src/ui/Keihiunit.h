// "その他経費の指定": edits the four expense sets and chooses the set of the calling page.
#pragma once

#include <QDialog>

#include "ui/AppState.h"

namespace zavota::ui {

class TfrmKeihi;

// Opens the dialog modally for a page (0 buy, 1 sell): sets the side it serves and the
// modal-dialog flag, shows it, destroys it. Afterwards state.calc.keihiSelected[side] holds
// the page's choice.
void RunKeihiDialog(AppState& state, int side, QWidget* parent);

}  // namespace zavota::ui
