// The main calculator window: the buy and sell pages, the options tab, the result panel and
// the menus.
#pragma once

#include <array>

#include <QDialog>

#include "core/PageLogic.h"
#include "ui/common/AppState.h"
#include "ui/calculator/CalcPage.h"
#include "ui/options/OptionsPages.h"

class QTabWidget;
class QLabel;
class QMenu;
class QAction;

namespace zavota::ui {

class ResultView;
class TfrmAdjust;

class TMainForm : public QDialog, public OptionsHost {
    Q_OBJECT
public:
    TMainForm(AppState& state, TfrmAdjust& adjust, QWidget* parent = nullptr);

    // Shows the window: position, colours, choices, and either the handed-over inputs
    // (calculated at once) or empty pages.
    void Run();
    // Applies the motto line and the colours again (after the options change them).
    void ApplyMotto() override;
    void ApplyColours() override;
    void RefreshTableLists() override;

    ResultView& Results() const { return *results_; }
    const CalcPageWidgets& PageWidgets(Page page) const { return pages_[page == Page::Buy ? 0 : 1]; }

signals:
    // Emitted once the close procedure has run.
    void closedForGood();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;  // MemoCalcBuy, MemoCalcSell
    void keyPressEvent(QKeyEvent* event) override;

private:
    CalcPageWidgets& Widgets(Page page) { return pages_[page == Page::Buy ? 0 : 1]; }
    static int Index(Page page) { return page == Page::Buy ? 0 : 1; }

    void BuildMenus();
    void ConnectPage(CalcPageWidgets& w);
    void Go(Page page);
    void Recalculate(Page page);
    void ClearPanel();
    void ClearInputs(Page page);
    void ClearPage(Page page);
    void SwitchToSlim(Page page);
    bool CheckManual(Page page);
    // The page's manual entries with the texts now in the figures; and the checked entries
    // put back into the figures and the page's record.
    std::array<ManualEntry, 4> TypedManualEntries(Page page) const;
    void TakeCheckedManualEntries(Page page, const std::array<ManualEntry, 4>& typed,
                                  const std::array<ManualEntry, 4>& checked);
    void ToggleManual(int figure);
    void ResetManualEntries();
    void SaveManualTexts(Page page);
    void RestoreManualEntries(Page page);
    void TabChanged(int index);
    void ShowCalcPage(Page page);
    void ShowOptionsPage(Page left);
    // The options page's commit when the options tab is current; true when it may be left.
    bool LeaveOptions(bool forGood = false);
    void OpenKeihi();
    void ToggleTopMost();
    void ShowMemoPad();
    void MemoCalc(Page page, const QString& price, const QString& shares);
    void StoreInputOptions();

    AppState& state_;
    TfrmAdjust& adjust_;
    std::array<CalcPageWidgets, 2> pages_;
    QTabWidget* tabs_ = nullptr;
    TOptionsTab* options_ = nullptr;
    QLabel* word_ = nullptr;
    QWidget* border_ = nullptr;
    ResultView* results_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QAction* topMost_ = nullptr;
    QAction* contents_ = nullptr;
    int initialHeight_ = 0;
    Page current_ = Page::Buy;   // the current calculation page
    int currentTab_ = 0;
    bool calculating_ = false;
    bool running_ = false;
    // Per page: the four manual figures' flags and their texts while the page is not shown.
    std::array<std::array<ManualEntry, 4>, 2> manual_{};
};

}  // namespace zavota::ui
