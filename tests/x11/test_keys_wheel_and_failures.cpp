// What a user's hands do on a real X display: keys and the wheel sent by the X server, message
// boxes answered with a key, a settings file that cannot be written.
#include <functional>
#include <memory>
#include <set>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QComboBox>
#include <QMessageBox>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QAction>

#include <gtest/gtest.h>

#include "support/FileFaults.h"
#include "support/TempFolder.h"
#include "ui/calculator/Baseunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/common/AppState.h"
#include "ui/common/QtMessagePresenter.h"
#include "ui/common/WindowPlacement.h"
#include "x11/WaitFor.h"

namespace zavota::testing {
namespace {

void XKeys(const QStringList& keys) {
    QProcess::execute("xdotool", QStringList{"key", "--delay", "40"} + keys);
    // The X server's events reach the program a little after xdotool returns.
    WaitFor([] { return false; }, 120);
}

// The pointer moved over a widget and the wheel rolled there by the X server (4 up, 5 down).
void XWheel(QWidget* over, int button, int notches) {
    const QPoint at = over->mapToGlobal(over->rect().center());
    // Without --sync, which waits for a motion that never comes when the pointer is there already.
    QProcess::execute("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "sleep", "0.1",
                                  "click", "--repeat", QString::number(notches), "--delay", "80",
                                  QString::number(button)});
    WaitFor([] { return false; }, 150);
}

// A click on a tab of a strip.
void XClick(QTabBar* bar, int tab) {
    const QPoint at = bar->mapToGlobal(bar->tabRect(tab).center());
    QProcess::startDetached("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()),
                                        "click", "1"});
}

QString ActiveName() {
    return QApplication::activeWindow() != nullptr ? QApplication::activeWindow()->objectName() : QString();
}

// Answers each real message box with Return, sent by the X server, and keeps what it said.
class BoxAnswerer {
public:
    BoxAnswerer() {
        timer_.setInterval(30);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || box == last_ || !box->isActiveWindow()) return;
            last_ = box;
            texts_.push_back(box->text().toStdString());
            QProcess::startDetached("xdotool", {"key", "Return"});
        });
        timer_.start();
    }
    int Count() const { return static_cast<int>(texts_.size()); }
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    QTimer timer_;
    QPointer<QMessageBox> last_;
    std::vector<std::string> texts_;
};

class X11HandsTest : public ::testing::Test {
protected:
    void StartProgram() {
        // Real boxes, answered by keys as a user answers them.
        base_ = std::make_unique<ui::TBaseForm>(home_.HivePath(), "zavota", &presenter_);
        base_->Start();
        ASSERT_TRUE(WaitFor([this] { return base_->VisibleCalculator() != nullptr; }));
        ASSERT_TRUE(WaitFor([this] { return base_->VisibleCalculator()->isActiveWindow(); }));
    }
    ~X11HandsTest() override {
        if (base_ && base_->VisibleCalculator() != nullptr) base_->VisibleCalculator()->close();
        WaitFor([this] { return !base_ || base_->ExitSaves() == 1; });
    }
    ui::TMainForm* Main() { return &base_->MainForm(); }
    void Store(const std::function<void(ui::AppState&)>& change) {
        ui::AppState s(home_.HivePath());
        s.store.LoadAll();
        change(s);
        EXPECT_TRUE(s.store.SaveCommissionTables());
    }
    // The settings as the next start of the program reads them.
    std::unique_ptr<ui::AppState> ReadBack() {
        auto s = std::make_unique<ui::AppState>(home_.HivePath());
        s->store.LoadAll();
        return s;
    }
    template <typename T>
    T* Find(const char* name) {
        return Main()->findChild<T*>(QString::fromUtf8(name));
    }

    IsolatedHome home_;
    ui::QtMessagePresenter presenter_;
    std::unique_ptr<ui::TBaseForm> base_;
};

// Tab and Shift+Tab run through every control of each options page and the page strip, each
// stop a visible control, and come back round.
TEST_F(X11HandsTest, TabRunsRoundEveryOptionsPage) {
    StartProgram();
    Find<QTabWidget>("pgcCalcInput")->setCurrentIndex(2);
    for (const char* selector : {"btnCalc_Opt", "btnMargin_Opt", "btnTax_Opt", "btnWake_Opt", "btnColor_Opt"}) {
        SCOPED_TRACE(selector);
        Find<QAbstractButton>(selector)->click();
        QApplication::processEvents();
        Find<QAbstractButton>(selector)->setFocus();
        ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == Find<QWidget>(selector); }));
        for (const char* key : {"Tab", "shift+Tab"}) {
            SCOPED_TRACE(key);
            std::vector<QString> stops;
            bool back = false;
            for (int i = 0; i < 60 && !back; ++i) {
                QWidget* before = QApplication::focusWidget();
                QProcess::execute("xdotool", {"key", key});
                WaitFor([&] { return QApplication::focusWidget() != before; }, 1000);
                QWidget* focus = QApplication::focusWidget();
                ASSERT_NE(focus, nullptr);
                stops.push_back(focus->objectName());
                EXPECT_TRUE(focus->isVisible() && !focus->visibleRegion().isEmpty())
                    << focus->metaObject()->className() << " " << focus->objectName().toStdString();
                back = focus == Find<QWidget>(selector);
            }
            QStringList all;
            for (const QString& s : stops) all << s;
            EXPECT_TRUE(back) << all.join(' ').toStdString();
        }
    }
}

// Keys typed where the focus is: Ctrl+Tab and its kin switch the memo pad's tabs from inside a
// grid, Return ends a cell's edit and goes down a row in both number grids, and a new commission
// table starts with its name.
TEST_F(X11HandsTest, KeysReachWhatTheUserIsTypingInto) {
    StartProgram();
    BoxAnswerer boxes;  // "save the new page?" at the close: Return keeps the preselected No
    Find<QAction>("mnuMemo")->trigger();
    ASSERT_TRUE(WaitFor([] { return ActiveName() == "frmMemo"; }, 6000)) << ActiveName().toStdString();
    QWidget* memo = QApplication::activeWindow();
    auto* tabs = memo->findChild<QTabWidget*>("tabMemo");
    for (const auto& [tab, gridName] : {std::pair{0, "grdMemo"}, std::pair{3, "grdCalc"}}) {
        SCOPED_TRACE(gridName);
        tabs->setCurrentIndex(tab);
        auto* grid = memo->findChild<QTableWidget*>(gridName);
        grid->setCurrentCell(0, grid->columnCount() - 1);
        grid->setFocus();
        ASSERT_TRUE(WaitFor([&] { return grid->hasFocus(); }));
        XKeys({"1", "2", "Return"});
        EXPECT_EQ(grid->item(0, grid->columnCount() - 1)->text(), "12");
        EXPECT_EQ(grid->currentRow(), 1);
        EXPECT_EQ(QApplication::focusWidget(), grid);  // the edit is over
        XKeys({"3", "KP_Enter"});
        EXPECT_EQ(grid->currentRow(), 2);
    }
    // From the calculator's grid, one tab on and round, back, and on again.
    for (const auto& [keys, expected] : {std::pair{"ctrl+Tab", 0}, std::pair{"ctrl+shift+Tab", 3},
                                         std::pair{"ctrl+Next", 0}, std::pair{"ctrl+Prior", 3}}) {
        XKeys({keys});
        EXPECT_EQ(tabs->currentIndex(), expected) << keys;
    }
    memo->close();
    ASSERT_TRUE(WaitFor([&] { return !memo->isVisible(); }));

    Find<QTabWidget>("pgcCalcInput")->setCurrentIndex(2);
    Find<QAbstractButton>("btnMargin_Opt")->click();
    QString focused;
    QTimer::singleShot(0, [&] {
        WaitFor([] { return ActiveName() == "frmMargin"; });
        WaitFor([&] { return QApplication::focusWidget() != nullptr; }, 500);
        focused = QApplication::focusWidget()->objectName();
        QApplication::activeWindow()->findChild<QAbstractButton*>("btnCancel")->click();
    });
    Find<QAbstractButton>("btnNew")->click();
    EXPECT_EQ(focused, "edtTableName");
}

// The wheel rolled over a choice the user is not in changes nothing; in it, it does.
TEST_F(X11HandsTest, TheWheelChangesOnlyTheChoiceInTheFocus) {
    Store([](ui::AppState& s) {
        for (int i = 0; i < 3; ++i) {
            s.calc.tables.Slot(i).LoadSample();
            s.calc.tables.Slot(i).Name = "T" + std::to_string(i + 1);
        }
    });
    StartProgram();
    auto* price = Find<QWidget>("edtYen_K");
    price->setFocus();
    ASSERT_TRUE(WaitFor([&] { return price->hasFocus(); }));
    for (const char* name : {"cmbTable_K", "cmbTax_K"}) {
        SCOPED_TRACE(name);
        auto* combo = Find<QComboBox>(name);
        const int before = combo->currentIndex();
        XWheel(combo, 5, 3);
        EXPECT_EQ(combo->currentIndex(), before);
        EXPECT_TRUE(price->hasFocus());
        combo->setFocus();
        ASSERT_TRUE(WaitFor([&] { return combo->hasFocus(); }));
        XWheel(combo, 5, 1);
        EXPECT_EQ(combo->currentIndex(), before + 1);
        price->setFocus();
        ASSERT_TRUE(WaitFor([&] { return price->hasFocus(); }));
    }
    // Nor does the page strip turn under it.
    auto* pages = Find<QTabWidget>("pgcCalcInput");
    XWheel(pages->tabBar(), 5, 2);
    EXPECT_EQ(pages->currentIndex(), 0);
}

// A settings file that cannot be written: each attempt to leave is reported, the second one with
// nothing changed goes through, the close always ends the program, and what could not be
// written is written at the end once the disk takes it again.
TEST_F(X11HandsTest, AFailedSettingsWriteReportsButNeverTraps) {
    StartProgram();
    BoxAnswerer boxes;
    auto* pages = Find<QTabWidget>("pgcCalcInput");
    pages->setCurrentIndex(2);
    QApplication::processEvents();
    const std::string reason = std::string(": ") + std::strerror(EROFS);
    {
        FileStepHookGuard readOnly(FailStep(platform::FileStep::Create, EROFS));
        for (int attempt = 1; attempt <= 2; ++attempt) {
            // The click goes to the calculator window once the last box has gone.
            ASSERT_TRUE(WaitFor([&] { return QApplication::activeModalWidget() == nullptr && Main()->isActiveWindow(); },
                                8000));
            XClick(pages->tabBar(), 0);
            ASSERT_TRUE(WaitFor([&] { return boxes.Count() == attempt; }, 8000)) << attempt;
            ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 8000));
            WaitFor([] { return false; }, 200);
            EXPECT_EQ(pages->currentIndex(), attempt == 1 ? 2 : 0) << attempt;
        }
        EXPECT_EQ(boxes.Texts()[0], "レジストリへの書き出しに失敗しました。\n" + home_.HivePath() + reason);
        // Every attempt is reported (the calculation page's, once more, then the tax rates'); the
        // tax rates may be left at once and wait in memory for the end.
        pages->setCurrentIndex(2);
        Find<QAbstractButton>("btnTax_Opt")->click();
        ASSERT_EQ(boxes.Count(), 3);
        auto* rate = Find<QLineEdit>("edtRate_S_K");
        rate->setText("10");
        Find<QAbstractButton>("btnCalc_Opt")->click();
        ASSERT_TRUE(WaitFor([&] { return boxes.Count() == 4; }, 8000));
        EXPECT_EQ(Find<QAbstractButton>("btnCalc_Opt")->isChecked(), true);
    }
    EXPECT_EQ(ReadBack()->calc.tax.KaiS, Yen::FromInt(5));
    // The disk takes writes again; the program ends normally from the options tab.
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeModalWidget() == nullptr && Main()->isActiveWindow(); }, 8000));
    XKeys({"alt+F4"});
    ASSERT_TRUE(WaitFor([&] { return base_->ExitSaves() == 1; }, 8000));
    EXPECT_EQ(boxes.Count(), 4);
    EXPECT_EQ(ReadBack()->calc.tax.KaiS, Yen::FromInt(10));
}

TEST_F(X11HandsTest, ClosingWithAFailingDiskReportsOnceAndEnds) {
    StartProgram();
    BoxAnswerer boxes;
    Find<QTabWidget>("pgcCalcInput")->setCurrentIndex(2);
    QApplication::processEvents();
    FileStepHookGuard readOnly(FailStep(platform::FileStep::Create, EROFS));
    XKeys({"alt+F4"});
    ASSERT_TRUE(WaitFor([&] { return base_->ExitSaves() == 1; }, 8000));
    EXPECT_EQ(boxes.Count(), 1);  // the page's write; the end's save fails alike, unsaid
    EXPECT_FALSE(std::filesystem::exists(home_.HivePath()));
}

// Never placed by the user, the memo pad opens beside the calculator where the screen has room;
// on a laptop's 1366 × 768 it stays whole on the screen, and a hand-over brings the calculator
// (with the answer) to the front. Runs on both screens.
TEST_F(X11HandsTest, MemoPadBesideTheCalculatorOrWholeOnASmallScreen) {
    StartProgram();
    BoxAnswerer boxes;
    ui::TMainForm* main = Main();
    Find<QAction>("mnuMemo")->trigger();
    ASSERT_TRUE(WaitFor([] { return ActiveName() == "frmMemo"; }, 6000));
    QWidget* memo = QApplication::activeWindow();
    ASSERT_TRUE(WaitFor([&] { return memo->frameGeometry().height() > memo->height(); }));
    WaitFor([] { return false; }, 300);  // the frame at rest
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect pad(QPoint(ui::FramePosition(memo).x, ui::FramePosition(memo).y), memo->frameGeometry().size());
    const QRect calc(QPoint(ui::FramePosition(main).x, ui::FramePosition(main).y), main->frameGeometry().size());
    EXPECT_TRUE(area.contains(pad));
    const bool small = area.width() < calc.width() + pad.width();
    if (!small) {
        EXPECT_EQ(pad.left(), calc.right() + 1);
        EXPECT_EQ(pad.top(), calc.top());
    }
    auto* grid = memo->findChild<QTableWidget*>("grdMemo");
    grid->item(0, 1)->setText("1000");
    grid->item(0, 2)->setText("100");
    memo->findChild<QAbstractButton*>("btnAllSelect")->click();
    memo->findChild<QAbstractButton*>("btnKai_Go")->click();
    EXPECT_TRUE(WaitFor([&] { return main->isActiveWindow(); })) << (small ? "small screen" : "wide screen");
    EXPECT_EQ(Find<QLineEdit>("edtYen_K")->text(), "1000");
    memo->close();
}

}  // namespace
}  // namespace zavota::testing
