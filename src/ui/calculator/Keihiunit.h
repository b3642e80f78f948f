// "その他経費の指定": edits the four expense sets and chooses the set of the calling page.
#pragma once

#include <array>
#include <string>

#include <QDialog>

#include "core/KeihiSet.h"
#include "ui/common/AppState.h"

class QLineEdit;
class QPushButton;
class QTabBar;

namespace zavota::ui {

class NumericEdit;

// The sets are re-read from their files each time the dialog opens; "OK" selects the shown
// tab for the calling page (state.keihiSide) and writes all four files, "キャンセル" puts
// everything back as it was at opening (or at the last "保存"), the title bar keeps the
// applied values in memory only.
class TfrmKeihi : public QDialog {
    Q_OBJECT
public:
    explicit TfrmKeihi(AppState& state, QWidget* parent = nullptr);

    int ShownTab() const { return shown_; }  // 0 no set, 1 to 4

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape closes as the title bar does

private:
    struct Backup {
        std::array<KeihiSet, kKeihiSetCount> sets;
        std::array<int, 2> selected{};
    };

    void FormShow();
    void PlaceDialog();
    void ShowSet(int tab);
    // Takes the shown tab's fields into its set; on a refusal shows the message, focuses the
    // field and returns false.
    bool ApplyShown();
    void TakeBackup();
    void WriteAllSets();

    void tabKeihiChange(int index);
    void btnOkClick();
    void btnCancelClick();
    void btnClearClick();
    void btnSaveClick();
    void btnHelpClick();

    AppState& state_;
    std::string dataFolder_;
    Backup backup_;
    int shown_ = 0;
    bool opened_ = false;
    bool accepted_ = false;   // "OK" asked for the close
    bool cancelled_ = false;  // "キャンセル": close without applying
    bool closing_ = false;    // the close check has passed
    bool reverting_ = false;  // putting the tab back after a refusal

    QTabBar* tabKeihi_;
    std::array<NumericEdit*, kKeihiFieldCount> edits_{};
    QLineEdit* edtComment_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
    QPushButton* btnClear_;
    QPushButton* btnSave_;
    QPushButton* btnHelp_;
};

// Opens the dialog modally for a page (0 buy, 1 sell): sets the side it serves and the
// modal-dialog flag, shows it, destroys it. Afterwards state.calc.keihiSelected[side] holds
// the page's choice.
void RunKeihiDialog(AppState& state, int side, QWidget* parent);

}  // namespace zavota::ui
