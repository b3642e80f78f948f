// The "自由形式" tab: named pages of plain text with one font size for all of them.
#pragma once

#include <QWidget>

#include "ui/common/AppState.h"
#include "ui/memo/MemoPageView.h"

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace zavota::ui {

class TMemoFreePage : public QWidget, public MemoPageView {
    Q_OBJECT
public:
    TMemoFreePage(AppState& state, MemoStore& store, QWidget* parent = nullptr);

    MemoPageKind Kind() const override { return MemoPageKind::FreeForm; }
    QComboBox* TitleList() const override { return cmbTitle_; }
    QLabel* PositionLabel() const override { return lblPage_; }
    bool HasContent() const override;
    void ClearPage() override;
    bool LoadPage(int number) override;
    bool SavePage(const MemoPageEntry& entry) override;
    void FocusPage() override;

    // The stored font index; one outside the list selects 9 points.
    void SetFontIndex(int index);
    int FontIndex() const;
    void ApplyColours(const DisplaySettings& colours);
    QPushButton* CloseButton() const { return btnEnd_; }

signals:
    void reloadRequested();
    void clearRequested();

private:
    void cmbFontChange();
    void popTextPopup(const QPoint& at);

    AppState& state_;
    MemoStore& store_;
    QComboBox* cmbTitle_;
    QLabel* lblPage_;
    QComboBox* cmbFont_;
    QPlainTextEdit* redtMemo_;
    QMenu* popText_;
    QAction* popCut_;
    QAction* popCopy_;
    QAction* popPaste_;
    QPushButton* btnEnd_;
};

}  // namespace zavota::ui
