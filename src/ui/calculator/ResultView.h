// The result panel of the main window: the buy, sell and profit blocks with their rows,
// rules and figure boxes, the marker, the sign colours and the colours of section Display.
#pragma once

#include <array>
#include <memory>
#include <string>

#include <QWidget>

#include "core/PageLogic.h"
#include "settings/SettingsData.h"

class QLineEdit;
class QPushButton;
class QLabel;

namespace zavota::ui {

class ResultView : public QWidget {
    Q_OBJECT
public:
    // 242 wide. The profit block holds the "その他経費" button (btnKeihi).
    explicit ResultView(const DisplaySettings& display, QWidget* parent = nullptr);
    ~ResultView() override;

    // Fills the blocks of `side` from `result` (buy/sell rows, profit rows for All); the
    // expenses figure only when `expenseSet` > 0. Clears first. Emits resultsShown(true).
    void ShowResult(const TradeResult& result, PanelSide side, Page page, int expenseSet);
    // Empties every figure (manual figures included), removes the marker. Emits resultsShown(false).
    void Clear();
    // Marker background and text on one box; the final profit keeps the minus colour when negative.
    void Mark(const std::string& box);
    // Buy page: pnlKai, pnlUri, pnlResult from the top; sell page: pnlUri first.
    void PlaceBlocks(Page page);
    // Paints every block from the colours (call after they change).
    void ApplyColours();
    void SetExpensesCaption(int expenseSet);

    QLineEdit* Box(const char* name) const;  // one of the twenty figure boxes
    QPushButton* ExpensesButton() const;
    bool HasResults() const { return hasResults_; }

    // Manual entry of figure f (ManualFigure order): editable, figure and label in bold,
    // with `text`; or read-only, regular, empty. mmMargin_K takes only digits, "+" and the
    // clipboard keys.
    void SetManual(int f, bool on, const QString& text);
    QString ManualText(int f) const;
    void SetManualText(int f, const QString& text);
    // Figures shown in bold become editable again, or all figures read-only (options page).
    void SetManualEditable(bool editable);

signals:
    void resultsShown(bool shown);
    // The user double-clicked the label of manual figure f.
    void manualToggleRequested(int f);

private:
    struct Rows;
    struct Row;
    Row* FindRow(const char* box) const;
    void EmptyFigures();
    void PaintRow(Row& row);

    const DisplaySettings& display_;
    bool hasResults_ = false;
    std::unique_ptr<Rows> rows_;
};

}  // namespace zavota::ui
