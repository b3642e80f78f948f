#include "ui/calculator/Adjustunit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/FieldAccess.h"
#include "ui/common/UiFonts.h"
#include "ui/common/WindowPlacement.h"

namespace zavota::ui {

TfrmAdjust::TfrmAdjust(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAdjust"));
    setWindowTitle(QStringLiteral("Zavota　－　単価の調整"));
    setWindowFlags(FixedDialogFlags());
    setModal(true);

    auto* text = new QLabel(QStringLiteral("指定された値が呼び値単位に合致しないため調整して計算します。"), this);
    text->setObjectName(QStringLiteral("lblAdjustText"));
    lblAdjust1_ = new QLabel(this);
    lblAdjust1_->setObjectName(QStringLiteral("lblAdjust1"));
    lblAdjust2_ = new QLabel(this);
    lblAdjust2_->setObjectName(QStringLiteral("lblAdjust2"));
    for (QLabel* l : {lblAdjust1_, lblAdjust2_}) {
        l->setFont(FigureFont());
        l->setContentsMargins(24, 0, 0, 0);
    }

    auto* ok = ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(text);
    layout->addWidget(lblAdjust1_);
    layout->addWidget(lblAdjust2_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfrmAdjust::Ask(const std::vector<std::string>& lines, const QWidget* over) {
    QLabel* labels[2] = {lblAdjust1_, lblAdjust2_};
    for (int i = 0; i < 2; ++i) {
        const bool used = i < static_cast<int>(lines.size());
        labels[i]->setText(used ? QString::fromStdString(lines[i]) : QString());
        labels[i]->setVisible(used);
    }
    adjustSize();
    if (over != nullptr) CentreOn(this, over);
    // The dialog is reused: Enter must mean "OK" whatever the last answer focused.
    ok_->setFocus(Qt::OtherFocusReason);
    return exec() == QDialog::Accepted;
}

bool ConfirmAdjustment(AppState& state, TfrmAdjust& dialog, const std::vector<AdjustmentPair>& moved,
                       const std::vector<FieldWrite>& writes, QWidget* window) {
    bool confirmed = false;
    {
        const ModalDialogScope modal(state);
        confirmed = dialog.Ask(AdjustmentLines(moved), window);
    }
    if (!confirmed) {
        CancelAdjustment(state.calc);
        return false;
    }
    WriteFields(window, writes);
    return true;
}

}  // namespace zavota::ui
