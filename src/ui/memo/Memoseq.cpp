#include "ui/memo/Memoseq.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "ui/common/ReaderNames.h"
#include "ui/memo/MemoPageView.h"

namespace zavota::ui {

TfrmMemoSeq::TfrmMemoSeq(const PageList& pages, QWidget* parent) : QDialog(parent), pages_(pages) {
    setObjectName(QStringLiteral("frmMemoSeq"));
    setWindowTitle(Q("Zavota　メモパッド"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* caption = new QLabel(Q("並び順の変更"), this);
    auto* listCaption = new QLabel(Q("ページ 一覧"), this);
    lstPages_ = new QListWidget(this);
    lstPages_->setObjectName(QStringLiteral("lstPages"));
    lstPages_->setMinimumSize(240, 220);
    NameByLabel(listCaption, lstPages_);
    btnUp_ = new QPushButton(Q("▲"), this);
    btnUp_->setObjectName(QStringLiteral("btnUp"));
    btnUp_->setAccessibleName(Q("上へ"));
    btnDown_ = new QPushButton(Q("▼"), this);
    btnDown_->setObjectName(QStringLiteral("btnDown"));
    btnDown_->setAccessibleName(Q("下へ"));
    auto* close = new QPushButton(Q("閉じる"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(caption, 0, 0, 1, 2);
    layout->addWidget(listCaption, 1, 1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(btnUp_);
    arrows->addWidget(btnDown_);
    arrows->addStretch();
    layout->addLayout(arrows, 2, 0);
    layout->addWidget(lstPages_, 2, 1);
    layout->addWidget(close, 3, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // no resize handle, as the memo pad

    connect(lstPages_, &QListWidget::currentRowChanged, this, &TfrmMemoSeq::lstPagesClick);
    connect(btnUp_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(btnDown_, &QPushButton::clicked, this, [this] { Move(1); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    Fill();
    lstPages_->setCurrentRow(0);
    lstPagesClick();
}

void TfrmMemoSeq::Fill() {
    lstPages_->clear();
    for (const MemoPageEntry& e : pages_) lstPages_->addItem(Q(e.name));
}

void TfrmMemoSeq::lstPagesClick() {
    selected_ = std::max(lstPages_->currentRow(), 0);
    const int last = static_cast<int>(pages_.size()) - 1;
    btnUp_->setEnabled(selected_ > 0);
    btnDown_->setEnabled(selected_ < last);
}

void TfrmMemoSeq::Move(int by) {
    const int to = selected_ + by;
    if (to < 0 || to >= static_cast<int>(pages_.size())) return;
    std::swap(pages_[selected_], pages_[to]);
    const QSignalBlocker block(lstPages_);
    Fill();
    lstPages_->setCurrentRow(to);
    lstPagesClick();
}

void TfrmMemoSeq::closeEvent(QCloseEvent* event) {
    selected_ = std::max(lstPages_->currentRow(), 0);
    QDialog::closeEvent(event);
}

PageList AskPageOrder(AppState& state, const PageList& pages, int& selected, QWidget* parent) {
    ModalDialogScope modal(state);
    TfrmMemoSeq dialog(pages, parent);
    dialog.exec();
    selected = dialog.Selected();
    return dialog.Pages();
}

}  // namespace zavota::ui
