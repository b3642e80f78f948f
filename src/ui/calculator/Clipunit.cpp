#include "ui/calculator/Clipunit.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

#include "ui/common/WindowPlacement.h"

namespace zavota::ui {

namespace {

struct BoxDef {
    int item;  // index into the stored order
    const char* name;
    const char* caption;
};

struct GroupDef {
    const char* name;
    const char* caption;
    std::vector<BoxDef> boxes;  // from top to bottom
};

const std::vector<GroupDef>& Groups() {
    static const std::vector<GroupDef> groups = {
        {"grpKai", "買い",
         {{0, "chkGaku_K", "買単価"}, {1, "chkNum_K", "株数"}, {2, "chkYakutei_K", "約定金額"},
          {3, "chkMargin_K", "手数料"}, {4, "chkSZei_K", "手数料分消費税"}, {5, "chkTotal_K", "支払合計額"},
          {6, "chkPay_K", "ペイ単価"}}},
        {"grpUri", "売り",
         {{7, "chkGaku_U", "売単価"}, {8, "chkNum_U", "株数"}, {9, "chkYakutei_U", "約定金額"},
          {10, "chkMargin_U", "手数料"}, {11, "chkSZei_U", "手数料分消費税"}, {12, "chkTotal_U", "受取合計額"},
          {13, "chkPay_U", "ペイ単価"}}},
        // Here the profit items stand in another order than the stored one.
        {"grpResult", "利益",
         {{14, "chkResult_M", "利益額"}, {17, "chkResult_Last", "最終利益"}, {18, "chkResult_R", "利益率"},
          {16, "chkResult_Tax", "利益に対する課税"}, {15, "chkResult_Keihi", "その他経費"}}},
    };
    return groups;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TfrmClip::TfrmClip(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("frmClip"));
    setWindowTitle(QStringLiteral("Zavota　－　クリップボードにコピーする項目の選択"));
    setWindowFlags(FixedDialogFlags());
    setModal(true);

    auto* groupRow = new QHBoxLayout;
    groupRow->setSpacing(10);
    for (const GroupDef& g : Groups()) {
        auto* box = new QGroupBox(QString::fromUtf8(g.caption), this);
        box->setObjectName(QString::fromUtf8(g.name));
        auto* column = new QVBoxLayout(box);
        column->setSpacing(6);
        for (const BoxDef& b : g.boxes) {
            auto* check = new QCheckBox(QString::fromUtf8(b.caption), box);
            check->setObjectName(QString::fromUtf8(b.name));
            const int item = b.item;
            connect(check, &QCheckBox::clicked, this,
                    [this, item](bool checked) { state_.program.clipboard.flags[item] = checked ? 1 : 0; });
            boxes_[item] = check;
            column->addWidget(check);
        }
        column->addStretch();
        groupRow->addWidget(box);
    }

    QPushButton* ok = Button(this, "btnOk", "変更");
    ok->setDefault(true);
    QPushButton* cancel = Button(this, "btnCancel", "キャンセル");
    QPushButton* reset = Button(this, "btnDefault", "初期値に戻す");
    connect(ok, &QPushButton::clicked, this, &TfrmClip::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &TfrmClip::btnCancelClick);
    connect(reset, &QPushButton::clicked, this, &TfrmClip::btnDefaultClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(12);
    layout->addLayout(groupRow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Refresh();
}

void TfrmClip::showEvent(QShowEvent* event) {
    backup_ = state_.program.clipboard;
    Refresh();
    QDialog::showEvent(event);
}

void TfrmClip::Refresh() {
    for (int i = 0; i < kClipboardItemCount; ++i) boxes_[i]->setChecked(state_.program.clipboard.flags[i] == 1);
}

void TfrmClip::btnOkClick() {
    state_.Saved(state_.store.SaveClipboardItems());
    accept();
}

void TfrmClip::btnCancelClick() {
    state_.program.clipboard = backup_;
    reject();
}

void TfrmClip::btnDefaultClick() {
    state_.program.clipboard.Reset();
    Refresh();
}

void RunClipDialog(AppState& state, QWidget* parent) {
    ModalDialogScope modal(state);
    TfrmClip dialog(state, parent);
    dialog.exec();
}

void CopyResults(AppState& state, ClipboardLayout layout, ShownBlocks shown) {
    if (!shown.buy && !shown.sell) return;
    const ClipboardGroups groups{shown.buy, shown.sell, shown.profit, state.handover.side == 1};
    const std::string text = ClipboardText(state.calc.result, state.program.clipboard.flags, groups, layout);
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace zavota::ui
