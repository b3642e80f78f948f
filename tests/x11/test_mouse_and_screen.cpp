// The program as a mouse user on a real X display meets it: clicks sent by the X server (not
// set by the program), and stored positions on a screen smaller than the one they came from.
#include <algorithm>
#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "x11/WaitFor.h"
#include "ui/calculator/Baseunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/calculator/Slimunit.h"
#include "ui/common/AppState.h"
#include "ui/common/WindowPlacement.h"

namespace zavota::testing {
namespace {

// The pointer moved to a point of the screen and clicked there by the X server.
void XClick(QPoint at, int clicks = 1) {
    QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click",
                                  "--repeat", QString::number(clicks), "--delay", "60", "1"});
}

class X11ProgramTest : public ::testing::Test {
protected:
    void StartProgram() {
        base_ = std::make_unique<ui::TBaseForm>(home_.HivePath(), "zavota", nullptr);
        base_->Start();
        ASSERT_TRUE(WaitFor([this] { return base_->VisibleCalculator() != nullptr; }));
        ASSERT_TRUE(WaitFor([this] { return base_->VisibleCalculator()->isActiveWindow(); }));
    }
    ~X11ProgramTest() override {
        if (base_ && base_->VisibleCalculator() != nullptr) base_->VisibleCalculator()->close();
        WaitFor([this] { return !base_ || base_->ExitSaves() == 1; });
    }
    // A setting written to the hive before the program starts.
    void Store(const std::function<void(ui::AppState&)>& change) {
        ui::AppState s(home_.HivePath());
        s.store.LoadAll();
        change(s);
        EXPECT_TRUE(s.store.SaveAtExit());
        EXPECT_TRUE(s.store.SaveCommissionTables());
        EXPECT_TRUE(s.store.SaveStartupOptions());
    }

    IsolatedHome home_;
    std::unique_ptr<ui::TBaseForm> base_;
};

TEST_F(X11ProgramTest, AClickedTableCanBeChangedMovedAndExported) {
    Store([](ui::AppState& s) {
        for (int i = 0; i < 3; ++i) {
            s.calc.tables.Slot(i).LoadSample();
            s.calc.tables.Slot(i).Name = "T" + std::to_string(i + 1);
        }
        s.display().XY = {300, 250};  // room around it for the larger editor
    });
    StartProgram();
    ui::TMainForm* main = &base_->MainForm();
    ASSERT_TRUE(WaitFor([main] { return ui::FramePosition(main) == WindowPosition{300, 250}; }));  // at rest
    main->findChild<QTabWidget*>("pgcCalcInput")->setCurrentIndex(2);
    main->findChild<QAbstractButton*>("btnMargin_Opt")->click();
    auto* list = main->findChild<QListWidget*>("lstTables");
    ASSERT_TRUE(WaitFor([&] { return list->isVisible() && list->count() == 3; }));
    const auto button = [main](const char* name) { return main->findChild<QPushButton*>(name)->isEnabled(); };

    const auto itemAt = [list](int row) {
        return list->viewport()->mapToGlobal(list->visualItemRect(list->item(row)).center());
    };
    XClick(itemAt(1));
    ASSERT_TRUE(WaitFor([&] { return list->currentRow() == 1; }));
    QApplication::processEvents();
    for (const char* name : {"btnChange", "btnDelete", "btnOut_M", "btnCopyNew", "btnUp", "btnDown"})
        EXPECT_TRUE(button(name)) << name;

    // A double click opens the editor on the clicked table, centred on the main window.
    QString edited;
    QPoint offCentre;
    int framedTicks = 0;
    QTimer closer;  // polls: the editor runs its own loop until it is closed
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog->frameGeometry().height() <= dialog->height()) return;  // not framed yet
        const auto centre = [](const QWidget* w) {
            return QRect(QPoint(ui::FramePosition(w).x, ui::FramePosition(w).y), w->frameGeometry().size()).center();
        };
        offCentre = centre(dialog) - centre(main);
        if (offCentre.manhattanLength() > 4 && ++framedTicks < 60) return;  // the frame may still move
        edited = dialog->objectName();
        dialog->close();
    });
    closer.start();
    XClick(itemAt(2), 2);
    EXPECT_TRUE(WaitFor([&] { return edited == QLatin1String("frmMargin"); }));
    EXPECT_LE(offCentre.manhattanLength(), 4) << offCentre.x() << "," << offCentre.y();
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_TRUE(button("btnChange"));
    EXPECT_TRUE(button("btnUp"));
    EXPECT_FALSE(button("btnDown"));
}

// A screen of 1366 × 768 (run-under-openbox with ZAVOTA_X11_SCREEN=1366x768x24): positions
// stored on a larger screen bring every window back whole.
TEST_F(X11ProgramTest, StoredPositionsOffASmallScreenComeBackWhole) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    if (QGuiApplication::primaryScreen()->geometry().size() != QSize(1366, 768))
        GTEST_SKIP() << "needs a screen of 1366 x 768";
    struct Case {
        int defaultShow;
        WindowPosition stored;
    } cases[] = {{1, {400, 300}}, {1, {1300, 700}}, {0, {900, 500}}, {0, {-50, -40}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.defaultShow) + " at " + std::to_string(c.stored.x) + "," + std::to_string(c.stored.y));
        Store([&](ui::AppState& s) {
            s.option().DefaultShow = c.defaultShow;
            s.display().XY = c.stored;
        });
        StartProgram();
        QWidget* window = base_->VisibleCalculator();
        ASSERT_TRUE(WaitFor([&] { return window->frameGeometry().height() > window->height(); }));
        const QSize size = window->frameGeometry().size();
        // Pulled in the least distance that brings the whole frame onto the usable area.
        const QPoint expected(std::clamp(c.stored.x, area.left(), area.right() + 1 - size.width()),
                              std::clamp(c.stored.y, area.top(), area.bottom() + 1 - size.height()));
        QPoint frame;
        WaitFor([&] {
            frame = QPoint(ui::FramePosition(window).x, ui::FramePosition(window).y);
            return frame == expected;
        });
        EXPECT_EQ(frame, expected) << size.width() << "x" << size.height();
        EXPECT_TRUE(area.contains(QRect(frame, size)));
        window->close();
        ASSERT_TRUE(WaitFor([this] { return base_->ExitSaves() == 1; }));
        base_.reset();
    }
}

}  // namespace
}  // namespace zavota::testing
