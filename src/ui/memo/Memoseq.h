// "並び順の変更": the order of a memo pad tab's pages. Any close applies the order.
#pragma once

#include <QDialog>

#include "memo/PageList.h"
#include "ui/common/AppState.h"

class QListWidget;
class QPushButton;

namespace zavota::ui {

class TfrmMemoSeq : public QDialog {
    Q_OBJECT
public:
    TfrmMemoSeq(const PageList& pages, QWidget* parent = nullptr);
    const PageList& Pages() const { return pages_; }
    int Selected() const { return selected_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void lstPagesClick();
    void Move(int by);
    void Fill();

    PageList pages_;
    int selected_ = 0;
    QListWidget* lstPages_;
    QPushButton* btnUp_;
    QPushButton* btnDown_;
};

// Shows the dialog modally; the new order and the position to show.
PageList AskPageOrder(AppState& state, const PageList& pages, int& selected, QWidget* parent);

}  // namespace zavota::ui
