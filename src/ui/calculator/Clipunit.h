// Clipboard export of the last calculation, and "Zavota　－　クリップボードにコピーする項目の選択".
#pragma once

#include <array>

#include <QDialog>
#include <QWidget>

#include "core/ClipboardText.h"
#include "settings/SettingsData.h"
#include "ui/common/AppState.h"

class QCheckBox;

namespace zavota::ui {

// The item selection. Clicks change the selection in the state at once; "変更" saves it,
// "キャンセル" puts back the selection the dialog was shown with, the title-bar close keeps
// the clicks without saving.
class TfrmClip : public QDialog {
    Q_OBJECT
public:
    explicit TfrmClip(AppState& state, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Refresh();
    void btnOkClick();
    void btnCancelClick();
    void btnDefaultClick();

    AppState& state_;
    ClipboardItems backup_;
    std::array<QCheckBox*, kClipboardItemCount> boxes_{};  // in the stored order
};

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
