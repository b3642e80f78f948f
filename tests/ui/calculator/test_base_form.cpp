#include <filesystem>
#include <fstream>

#include <QAction>
#include <QSignalSpy>
#include <QTabWidget>

#include "ui/UiTest.h"
#include "ui/calculator/Baseunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/calculator/Slimunit.h"
#include "ui/calculator/ZOrder.h"

namespace zavota::testing {
namespace {

// The whole program from its state window, on the fixture's hive.
class BaseFormTest : public UiTest {
protected:
    std::unique_ptr<ui::TBaseForm> StartProgram(const char* commandLine = "zavota") {
        auto base = std::make_unique<ui::TBaseForm>(Home().HivePath(), commandLine, nullptr);
        recorder_ = std::make_unique<RecordingPresenter>(&base->State().messages);
        base->State().messages.SetPresenter(recorder_.get());
        base->Start();
        Settle();
        return base;
    }
    // Options written as a previous run would have left them.
    void StoreOptions(int defaultShow, int topMost, int showMemo) {
        State().option().DefaultShow = defaultShow;
        State().option().ShowMemo = showMemo;
        State().option().TopMost = topMost;
        ASSERT_TRUE(State().store.SaveStartupOptions());
        ASSERT_TRUE(State().store.SaveTopMost());
    }
    std::unique_ptr<RecordingPresenter> recorder_;
};

// Boxes shown while the state window is being built, before a catalogue exists to ask.
struct TextRecorder : MessagePresenter {
    void Show(const MessageBoxContent& box) override { texts.push_back(box.text); }
    MessageAnswer Ask(const MessageBoxContent&) override { return MessageAnswer::Cancel; }
    std::vector<std::string> texts;
};

TEST_F(BaseFormTest, AnUnreadableSettingsFileIsKeptAsideAndNamedOnce) {
    const std::string hive = Home().HivePath();
    std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
    for (const std::uintmax_t size : {std::uintmax_t{4}, std::uintmax_t{100} << 20}) {  // damaged, too large
        SCOPED_TRACE(size);
        std::ofstream(hive, std::ios::binary) << "junk";
        std::filesystem::resize_file(hive, size);
        TextRecorder shown;
        ui::TBaseForm base(hive, "zavota", &shown);
        ASSERT_EQ(shown.texts.size(), 1u);
        const std::string aside = shown.texts[0].substr(shown.texts[0].find('\n') + 1);
        EXPECT_EQ(shown.texts[0], "設定ファイルを読み込めないため、初期設定で始めます。元のファイルは次の名前で残しました。\n" + aside);
        EXPECT_TRUE(aside.starts_with(hive + ".damaged-"));
        EXPECT_EQ(std::filesystem::file_size(aside), size);
        // The first save replaces the file without keeping a second copy.
        ASSERT_TRUE(base.State().store.SaveTopMost());
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(hive).parent_path()), {}),
                  3);  // the hive, its copy and the lock file
        std::filesystem::remove(aside);
    }
}

TEST_F(BaseFormTest, DefaultShowPicksTheFirstWindow) {
    for (int defaultShow : {0, 1, 7}) {
        SCOPED_TRACE(defaultShow);
        StoreOptions(defaultShow, 0, 0);
        auto base = StartProgram();
        QWidget* shown = base->VisibleCalculator();
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->objectName(), defaultShow == 0 ? "MainForm" : "SlimForm");
        EXPECT_FALSE(base->isVisible());
        shown->close();
        Settle();
    }
}

TEST_F(BaseFormTest, SafeStartTurnsTopMostAndMemoOffForGood) {
    struct Case {
        const char* commandLine;
        bool safe;
    } cases[] = {
        {"zavota -off", true}, {"zavota -OFF", true}, {"zavota -Off", false}, {"-off", false}, {"zavota /off", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        StoreOptions(0, 1, 1);
        {
            auto base = StartProgram(c.commandLine);
            EXPECT_EQ(base->State().safeStart, c.safe);
            base->MainForm().close();
            Settle();
        }
        Restart();
        EXPECT_EQ(State().option().TopMost, c.safe ? 0 : 1);
        EXPECT_EQ(State().option().ShowMemo, c.safe ? 0 : 1);
    }
}

TEST_F(BaseFormTest, ClosingByTheTitleBarSavesOnceAndEnds) {
    auto base = StartProgram();
    QSignalSpy finished(base.get(), &ui::TBaseForm::finished);
    ui::TMainForm& main = base->MainForm();
    main.move(120, 80);
    main.close();
    Settle();
    EXPECT_EQ(base->ExitSaves(), 1);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(base->VisibleCalculator(), nullptr);
    main.close();  // a second close of a hidden window changes nothing
    Settle();
    EXPECT_EQ(base->ExitSaves(), 1);
    Restart();
    EXPECT_EQ(State().display().XY.x, main.x());
    EXPECT_EQ(State().display().XY.y, main.y());
}

TEST_F(BaseFormTest, UnwritableSettingsAreReportedOncePerRun) {
    // A folder where the hive file should be cannot be replaced by a file: every save fails.
    std::filesystem::create_directories(Home().HivePath());
    auto base = StartProgram();
    QAction* topMost = base->MainForm().findChild<QAction*>("mnuTopMost");
    ASSERT_NE(topMost, nullptr);
    topMost->trigger();
    topMost->trigger();
    base->MainForm().close();  // and the one at the end
    Settle();
    EXPECT_EQ(base->ExitSaves(), 1);
    EXPECT_EQ(recorder_->numbers, std::vector<int>{290});
}

TEST_F(BaseFormTest, SwitchingKeepsInputsPageAndPosition) {
    auto base = StartProgram();
    ui::TMainForm& main = base->MainForm();
    Find<QTabWidget>(&main, "pgcCalcInput")->setCurrentIndex(1);
    Paste(&main, "edtYen_U", "1100");
    Paste(&main, "edtNum_U", "1000");
    Paste(&main, "edtR1_U", "1000");
    main.move(150, 90);
    Click(&main, "btnSlim_U");
    Settle();
    ui::TSlimForm& slim = base->SlimForm();
    ASSERT_EQ(base->VisibleCalculator(), &slim);
    EXPECT_EQ(base->ExitSaves(), 0);
    EXPECT_EQ(slim.pos(), main.pos());
    EXPECT_EQ(Text(&slim, "edtYen_K"), "1000");
    EXPECT_EQ(Text(&slim, "edtNum_K"), "1000");
    EXPECT_EQ(Text(&slim, "edtR1_K"), "1100");

    Click(&slim, "btnNormal");
    Settle();
    ASSERT_EQ(base->VisibleCalculator(), &main);
    EXPECT_EQ(Find<QTabWidget>(&main, "pgcCalcInput")->currentIndex(), 1);
    EXPECT_EQ(Text(&main, "edtYen_U"), "1100");
    EXPECT_EQ(Text(&main, "edtNum_U"), "1000");
    EXPECT_EQ(Text(&main, "edtR1_U"), "1000");
    EXPECT_EQ(Text(&main, "mmResult_M"), "+96,850");  // recalculated on arrival
    EXPECT_EQ(base->ExitSaves(), 0);
    main.close();
    Settle();
    EXPECT_EQ(base->ExitSaves(), 1);
}

TEST_F(BaseFormTest, SlimHandsBackTheSideItsInputsBelongTo) {
    struct Case {
        const char* buy;
        const char* sell;
        int page;
        const char* marked;
    } cases[] = {
        {"1000", "1100", 0, "mmResult_Last"},
        {"", "1100", 1, "mmPay_U"},
        {"1000", "", 0, "mmPay_K"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.buy) + "/" + c.sell);
        StoreOptions(1, 0, 0);
        auto base = StartProgram();
        ui::TSlimForm& slim = base->SlimForm();
        Paste(&slim, "edtYen_K", c.buy);
        Paste(&slim, "edtNum_K", "1000");
        Paste(&slim, "edtR1_K", c.sell);
        Click(&slim, "btnNormal");
        Settle();
        ui::TMainForm& main = base->MainForm();
        ASSERT_EQ(base->VisibleCalculator(), &main);
        EXPECT_EQ(Find<QTabWidget>(&main, "pgcCalcInput")->currentIndex(), c.page);
        QLineEdit* marked = Find<QLineEdit>(&main, c.marked);
        EXPECT_FALSE(marked->text().isEmpty());
        main.close();
        Settle();
    }
}

TEST_F(BaseFormTest, MemoPadOpensAtStartAndFollowsTheSwitch) {
    StoreOptions(0, 0, 1);
    auto base = std::make_unique<ui::TBaseForm>(Home().HivePath(), "zavota", nullptr);
    QWidget memoPad;  // stands in for the memo pad window
    base->State().memoPad = &memoPad;
    EXPECT_TRUE(base->State().memoPending);
    base->Start();
    Settle();
    EXPECT_TRUE(memoPad.isVisible());
    EXPECT_FALSE(base->State().memoPending);

    Click(&base->MainForm(), "btnSlim_K");  // closed with the window, reopened with the next
    Settle();
    EXPECT_EQ(base->VisibleCalculator(), &base->SlimForm());
    EXPECT_TRUE(memoPad.isVisible());

    memoPad.hide();
    Click(&base->SlimForm(), "btnNormal");  // closed before: stays closed
    Settle();
    EXPECT_FALSE(memoPad.isVisible());

    memoPad.show();
    base->MainForm().close();  // the end of the program closes it
    Settle();
    EXPECT_FALSE(memoPad.isVisible());
    EXPECT_FALSE(base->State().memoPending);
    base->State().memoPad = nullptr;
}

TEST_F(BaseFormTest, DeactivationKeepsTheWindowOnTopOnlyWithoutOwnDialogs) {
    StoreOptions(0, 1, 0);
    auto base = StartProgram();
    ui::AppState& s = base->State();
    QWidget* main = base->VisibleCalculator();
    EXPECT_TRUE(ui::StaysOnTop(main));  // placed in the topmost band when shown
    struct Case {
        int topMost;
        bool dialog;
        bool onTop;
    } cases[] = {{1, false, true}, {1, true, false}, {0, false, false}, {1, false, true}};
    for (const Case& c : cases) {
        s.option().TopMost = c.topMost;
        s.modalDialogOpen = c.dialog;
        base->ApplicationDeactivated();
        EXPECT_EQ(ui::StaysOnTop(main), c.onTop) << c.topMost << c.dialog;
    }
    s.modalDialogOpen = false;
    main->close();
    Settle();
}

}  // namespace
}  // namespace zavota::testing
