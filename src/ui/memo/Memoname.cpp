#include "ui/memo/Memoname.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "memo/MemoPages.h"
#include "ui/memo/MemoPageView.h"

namespace zavota::ui {

TfrmMemoName::TfrmMemoName(AppState& state, const PageList& taken, MemoPageKind kind, const QString& pending,
                           QWidget* parent)
    : QDialog(parent), state_(state), taken_(taken), kind_(kind) {
    setObjectName(QStringLiteral("frmMemoName"));
    setWindowTitle(Q("Zavota　メモパッド"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* lblTitle = new QLabel(Q("ページ名を入力してください。"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    edtName_ = new QLineEdit(pending, this);
    edtName_->setObjectName(QStringLiteral("edtName"));
    edtName_->setMaxLength(30);
    edtName_->setMinimumWidth(260);
    edtName_->setAccessibleName(Q("ページ名"));
    lblTitle->setBuddy(edtName_);
    auto* ok = new QPushButton(Q("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Q("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle);
    layout->addWidget(edtName_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(ok, &QPushButton::clicked, this, &TfrmMemoName::btnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    edtName_->selectAll();
}

void TfrmMemoName::btnOkClick() {
    const QString name = edtName_->text().trimmed();
    const int refusal = PageNameRefusal(name.toStdString(), taken_, kind_);
    if (refusal < 0) return;
    if (refusal > 0) {
        state_.messages.ShowMessage(refusal);
        edtName_->setFocus();
        return;
    }
    name_ = name;
    accept();
}

std::optional<QString> AskPageName(AppState& state, const PageList& taken, MemoPageKind kind,
                                   const QString& pending, QWidget* parent) {
    ModalDialogScope modal(state);
    TfrmMemoName dialog(state, taken, kind, pending, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name();
}

}  // namespace zavota::ui
