// "Zavota　－　呼び値単位テーブルの編集": edits both tick-size tables in place, with a backup of
// both for "キャンセル"; "ＯＫ" writes them.
#pragma once

#include <QDialog>

#include "core/UnitTable.h"
#include "ui/common/AppState.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace zavota::ui {

class EditGrid;

class TfrmYobine : public QDialog {
    Q_OBJECT
public:
    explicit TfrmYobine(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    // "キャンセル", Escape and the window frame all end here.
    void reject() override;

private:
    UnitTable& Table(int index);
    void FormShow();
    void LoadGrid(int index);
    bool CommitGrid();
    void SelectRadio(int index);

    void rdgrpUnitTypeClick(int index);
    void btnOKClick();
    void btnCancelClick();
    void btnResetClick();
    void btnTodayClick();  // today's listed steps

    AppState& state_;
    UnitTable backupListed_{0};
    UnitTable backupOtc_{1};
    int current_ = 0;  // 0 listed, 1 OTC
    bool opened_ = false;
    bool finished_ = false;

    QButtonGroup* rdgrpUnitType_;
    EditGrid* grdYobine_;
    QLineEdit* edtDummy_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
    QPushButton* btnReset_;
    QPushButton* btnToday_;
};

}  // namespace zavota::ui
