// "Zavota　－　単価の調整": asks before figures are shown whether the prices moved onto the
// tick grid may be used.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QLabel;

namespace zavota::ui {

class TfrmAdjust : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAdjust(QWidget* parent = nullptr);

    // Shows the dialog modally with one or two lines ("2003円 → 2005円 （呼び値単位：5円）");
    // true when the user pressed "OK". The caller sets the modal-dialog flag.
    bool Ask(const std::vector<std::string>& lines);

private:
    QLabel* lblAdjust1_;
    QLabel* lblAdjust2_;
};

}  // namespace zavota::ui
