// The "サマリー" tab: every per-stock page with its totals and its share of the grand total.
#pragma once

#include <QWidget>

#include "memo/PageList.h"
#include "ui/common/AppState.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zavota::ui {

class TMemoSummaryPage : public QWidget {
    Q_OBJECT
public:
    TMemoSummaryPage(AppState& state, MemoStore& store, QWidget* parent = nullptr);
    // Reads every page's file afresh.
    void Build(const PageList& pages);
    void ApplyColours(const DisplaySettings& colours);
    QPushButton* CloseButton() const { return btnEnd_; }

private:
    AppState& state_;
    MemoStore& store_;
    QTableWidget* grdSum_;
    QLineEdit* mmSum_;
    QLabel* lblSumCount_;
    QPushButton* btnEnd_;
};

}  // namespace zavota::ui
