// The main window's options tab "（各種設定）": five pages chosen by a row of selector
// buttons. Each page is filled from the state when shown and committed when left.
#pragma once

#include <array>

#include <QWidget>

class QButtonGroup;
class QToolButton;
class QTabWidget;

namespace zavota::ui {

class AppState;

// What the pages change on the main window.
class OptionsHost {
public:
    virtual void ApplyMotto() = 0;
    // Colours, and the second table lists shown or hidden with the two-table choice.
    virtual void ApplyColours() = 0;
    // The four table lists refilled, each selecting its stored table.
    virtual void RefreshTableLists() = 0;

protected:
    ~OptionsHost() = default;
};

class OptionsPage : public QWidget {
public:
    using QWidget::QWidget;
    // Fills the controls from the state.
    virtual void ShowPage() = 0;
    // Takes what the controls hold. False: the page stays, a message was shown and the
    // offending field has the focus. `forGood`: the window is closing, and a failed write
    // (reported all the same) may not keep it open.
    virtual bool Commit(bool forGood) = 0;
};

class TOptionsTab : public QWidget {
    Q_OBJECT
public:
    enum PageIndex { CalcPage, MarginPage, TaxPage, WakePage, ColourPage, PageCount };

    TOptionsTab(AppState& state, OptionsHost& host, QWidget* parent = nullptr);

    // The tab became current: the current page is shown again.
    void Enter();
    // The tab is being left (another tab, closing, the memo pad): the current page's commit.
    bool Leave(bool forGood = false);
    int CurrentPage() const { return current_; }
    OptionsPage* Page(int index) const { return pages_[static_cast<std::size_t>(index)]; }

private:
    void Choose(int index);

    std::array<QToolButton*, PageCount> selectors_{};
    std::array<OptionsPage*, PageCount> pages_{};
    QButtonGroup* group_ = nullptr;
    QTabWidget* pgcOpt_ = nullptr;
    int current_ = CalcPage;
};

}  // namespace zavota::ui
