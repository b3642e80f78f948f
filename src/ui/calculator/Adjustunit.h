// "Zavota　－　単価の調整": asks before figures are shown whether the prices moved onto the
// tick grid may be used.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "core/PageLogic.h"
#include "ui/common/AppState.h"

class QLabel;
class QPushButton;

namespace zavota::ui {

class TfrmAdjust : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAdjust(QWidget* parent = nullptr);

    // Shows the dialog modally, centred on the window that asks, with one or two lines
    // ("2003円 → 2005円 （呼び値単位：5円）"); true when the user pressed "OK". The caller sets
    // the modal-dialog flag.
    bool Ask(const std::vector<std::string>& lines, const QWidget* over = nullptr);

private:
    QLabel* lblAdjust1_;
    QLabel* lblAdjust2_;
    QPushButton* ok_;
};

// Asks about the moved prices with the modal-dialog flag set. On "OK" writes the used prices
// into the fields named in `writes` under `window` and returns true; on "キャンセル" resets the
// calculation and returns false.
bool ConfirmAdjustment(AppState& state, TfrmAdjust& dialog, const std::vector<AdjustmentPair>& moved,
                       const std::vector<FieldWrite>& writes, QWidget* window);

}  // namespace zavota::ui
