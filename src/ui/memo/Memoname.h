// "ページ名を入力してください。": the name of a new or renamed memo page.
#pragma once

#include <optional>

#include <QDialog>

#include "memo/PageList.h"
#include "ui/common/AppState.h"

class QLineEdit;

namespace zavota::ui {

class TfrmMemoName : public QDialog {
    Q_OBJECT
public:
    // `taken`: the pages of the tab shown, whose names cannot be given again.
    TfrmMemoName(AppState& state, const PageList& taken, MemoPageKind kind, const QString& pending,
                 QWidget* parent = nullptr);
    QString Name() const { return name_; }

private:
    void btnOkClick();

    AppState& state_;
    const PageList& taken_;
    MemoPageKind kind_;
    QString name_;
    QLineEdit* edtName_;
};

// Shows the dialog modally; the accepted name, or nothing after "ｷｬﾝｾﾙ".
std::optional<QString> AskPageName(AppState& state, const PageList& taken, MemoPageKind kind,
                                   const QString& pending, QWidget* parent);

}  // namespace zavota::ui
