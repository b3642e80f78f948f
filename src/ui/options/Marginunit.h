// "Zavota　－　手数料テーブルの編集": edits one commission table of the set in place, with a
// backup for "キャンセル"; both buttons write the whole set.
#pragma once

#include <QDialog>

#include "core/MarginTable.h"
#include "ui/common/AppState.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace zavota::ui {

class Cp932Keeper;
class EditGrid;
class NumericEdit;

class TfrmMargin : public QDialog {
    Q_OBJECT
public:
    // Edits slot `position` of state.calc.tables in place (the live table). `mode` 1: a new,
    // copied or imported table, removed again (cleared, out of use) on "キャンセル" or a
    // window-frame close; mode 2: an existing table, restored from the backup on "キャンセル"
    // or a frame close.
    TfrmMargin(AppState& state, int position, int mode, QWidget* parent = nullptr);

    int Position() const { return position_; }  // one less when a new table was removed
    bool TablesChanged() const { return tablesChanged_; }  // true after a successful "登録"

protected:
    void showEvent(QShowEvent* event) override;
    // "キャンセル", Escape and the window frame all end here.
    void reject() override;

private:
    MarginTable* Table();
    bool Separate();
    void FormShow();
    void ShowTabs();
    void LoadGrid(int side);
    bool CommitGrid();

    void chkKai_UriClick(bool checked);
    void chkMiniAfterClick(bool checked);
    void tabMarginChange(int index);
    void btnOKClick();
    void btnCancelClick();
    void Cancel();

    AppState& state_;
    int position_;
    int mode_;
    MarginTable backup_;
    int side_ = 0;  // 0 buy, 1 sell (only while the sides are separate)
    bool tablesChanged_ = false;
    bool opened_ = false;
    bool finished_ = false;  // a button has done its work; the close only closes
    bool reverting_ = false;

    QLineEdit* edtTableName_;
    Cp932Keeper* nameKeeper_;
    QCheckBox* chkKai_Uri_;
    QTabBar* tabMargin_;
    EditGrid* grdMargin_;
    NumericEdit* edtLowLimit_;
    NumericEdit* edtHighLimit_;
    QCheckBox* chkMiniAfter_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace zavota::ui
