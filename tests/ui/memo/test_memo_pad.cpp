// The memo pad driven by its control names: per-stock rows and their results, the hand-over,
// the summary, page operations and what survives a restart. Files are checked where the pages
// must stand on disk.
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QListWidget>
#include <QScrollBar>

#include <cstring>
#include <filesystem>
#include <functional>

#include "ui/UiTest.h"
#include "memo/MemoFixture.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "ui/calculator/Baseunit.h"
#include "ui/calculator/Mainunit.h"
#include "ui/memo/Memounit.h"
#include "ui/calculator/Slimunit.h"
#include "ui/common/StoredColour.h"

namespace zavota::testing {
namespace {

using Rows = std::vector<std::array<const char*, 3>>;  // comment, price, shares

class MemoPadTest : public UiTest {
protected:
    ~MemoPadTest() override {
        if (memo_) memo_->hide();
    }
    ui::TfrmMemo* Memo() {
        if (!memo_) memo_ = std::make_unique<ui::TfrmMemo>(State(), [] { return nullptr; });
        return memo_.get();
    }
    ui::TfrmMemo* Open() {
        Memo()->show();
        Settle();
        return memo_.get();
    }
    // A new window on the same files and hive, as the next start of the program.
    ui::TfrmMemo* Reopen() {
        memo_->close();
        Settle();
        memo_.reset();
        Restart();
        return Open();
    }
    QTableWidget* Grid() { return Find<QTableWidget>(Memo(), "grdMemo"); }
    void PutRows(const Rows& rows, int from = 1) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            for (int c = 0; c < 3; ++c) Grid()->item(from - 1 + static_cast<int>(i), c)->setText(QString::fromUtf8(rows[i][c]));
    }
    QString Cell(int row, int column) { return Grid()->item(row - 1, column)->text(); }
    bool Ticked(int row) { return Find<QCheckBox>(Memo(), ("chkS" + std::to_string(row)).c_str())->isChecked(); }
    void Tick(int row) { Click(Memo(), ("chkS" + std::to_string(row)).c_str()); }
    void ShowTab(int index) {
        Find<QTabWidget>(Memo(), "tabMemo")->setCurrentIndex(index);
        Settle();
    }
    // The next naming dialog gets this name.
    void NameNextPage(const char* name) {
        dialogs.Expect("frmMemoName", [name](QWidget* d) {
            Paste(d, "edtName", QString::fromUtf8(name));
            Click(d, "btnOk");
        });
    }
    std::string DataPath(const std::string& name) const { return Home().HomePath() + "Data/" + name; }
    void PutData(const std::string& name, const std::vector<platform::ProfileEntry>& values) {
        platform::EnsureFolder(Home().HomePath() + "Data/");
        ASSERT_TRUE(platform::ProfileFile(DataPath(name)).WriteBatch(values));
    }
    // Per-stock pages named and numbered in index order, each with rows (price, shares, ticked).
    void PutStockPages(const std::vector<std::pair<std::string, Rows>>& pages) {
        std::vector<platform::ProfileEntry> index;
        for (std::size_t n = 1; n <= pages.size(); ++n) {
            index.push_back({pages[n - 1].first, "FileNo", std::to_string(n)});
            std::vector<platform::ProfileEntry> page;
            int r = 1;
            for (const auto& row : pages[n - 1].second) {
                const std::string key = std::to_string(r++);
                page.push_back({"選択", key, row[0]});
                page.push_back({"単価", key, row[1]});
                page.push_back({"株数", key, row[2]});
            }
            PutData("M_" + std::to_string(n) + ".ini", page);
        }
        PutData("M00index.ini", index);
    }
    // "保存" is pressable again once the save notice has run out.
    void EndSaveNotice() {
        auto* notice = Memo()->findChild<QTimer*>("timCaption");
        notice->start(1);
        for (int i = 0; i < 400 && notice->isActive(); ++i) QTest::qWait(5);
    }
    std::vector<std::string> IndexSections(const char* index) {
        return platform::ProfileFile(DataPath(index)).Sections();
    }

    std::unique_ptr<ui::TfrmMemo> memo_;
};

TEST_F(MemoPadTest, TickedRowsGiveTheirTotals) {
    struct Case {
        Rows rows;
        std::vector<QString> shown;  // lblSelected, mmPrice, mmNum, mmTotal, edtPrice, edtNum
        QString firstPrice;          // as the row check leaves it
    } cases[] = {
        {{{"4/1", "1000", "100"}, {"4/2", "1,200", "300"}}, {"2", "1,150", "400", "460,000", "1150", "400"}, "1,000"},
        {{{"", "100", "1"}, {"", "101", "2"}}, {"2", "101", "3", "302", "101", "3"}, "100"},  // 100.67 rounds up
        {{{"", "99999999", "200"}, {"", "1", "1"}}, {"", "", "", "", "", ""}, "99,999,999"},  // 264: too large
    };
    Open();
    for (const Case& c : cases) {
        Messages().Clear();
        PutRows(c.rows);
        for (std::size_t r = 1; r <= c.rows.size(); ++r) Tick(static_cast<int>(r));
        Click(Memo(), "btnCalc_01");
        std::vector<QString> shown;
        for (const char* name : {"lblSelected", "mmPrice", "mmNum", "mmTotal", "edtPrice", "edtNum"})
            shown.push_back(Text(Memo(), name));
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(Messages().numbers, c.shown[0].isEmpty() ? std::vector<int>{264} : std::vector<int>{});
        EXPECT_EQ(Cell(1, 1), c.firstPrice);
        Click(Memo(), "btnAllSelect");  // all off again
    }
}

TEST_F(MemoPadTest, TickingChecksTheRow) {
    struct Case {
        const char* price;
        const char* shares;
        int message;
        int focusColumn;  // 0: no refusal
        const char* priceAfter;
        const char* sharesAfter;  // a refused row still shows its valid cells in display form
    } cases[] = {
        {"1234", "100", 0, 0, "1,234", "100"}, {"0", "1000", 270, 1, "0", "1,000"},
        {"", "1000", 260, 1, "", "1,000"},     {"1000", "", 260, 2, "1,000", ""},
        {"1000", "0", 271, 2, "1,000", "0"},   {"", "", 260, 1, "", ""},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.price + std::string("×") + c.shares);
        Messages().Clear();
        PutRows({{"", c.price, c.shares}});
        Tick(1);
        EXPECT_EQ(Ticked(1), c.message == 0);
        EXPECT_EQ(Messages().numbers, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_EQ(Cell(1, 1), c.priceAfter);
        EXPECT_EQ(Cell(1, 2), c.sharesAfter);
        if (c.message) {
            EXPECT_EQ(Grid()->currentColumn(), c.focusColumn);
        }
        Find<QCheckBox>(Memo(), "chkS1")->setChecked(false);
    }
}

TEST_F(MemoPadTest, CellsTakeDigitsOnlyAndTheRowMenuMovesRows) {
    Open();
    Messages().Clear();
    PutRows({{"12a", "12a", "1,0x0"}});
    EXPECT_EQ(Messages().numbers, (std::vector<int>{229, 229}));
    EXPECT_EQ((std::vector<QString>{Cell(1, 0), Cell(1, 1), Cell(1, 2)}), (std::vector<QString>{"12a", "12", "1,0"}));
    Grid()->setCurrentCell(0, 0);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(Cell(1, 0), "");

    struct Case {
        const char* action;
        int row;
        std::vector<QString> prices;  // rows 1, 2, 3, 4, 20 afterwards
    } cases[] = {
        {"popInsert", 20, {"1", "2", "3", "4", ""}},  {"popInsert", 2, {"1", "", "2", "3", "19"}},
        {"popCopy", 3, {"1", "2", "3", "3", "19"}},   {"popCopy", 20, {"1", "2", "3", "4", "20"}},
        {"popDelete", 1, {"2", "3", "4", "5", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action + std::to_string(c.row));
        for (int r = 1; r <= 20; ++r) Grid()->item(r - 1, 1)->setText(QString::number(r));
        auto* box = Find<QCheckBox>(Memo(), ("chkS" + std::to_string(c.row)).c_str());
        emit box->customContextMenuRequested(QPoint(1, 1));
        Memo()->findChild<QAction*>(c.action)->trigger();
        Find<QMenu>(Memo(), "popLine")->hide();
        EXPECT_EQ((std::vector<QString>{Cell(1, 1), Cell(2, 1), Cell(3, 1), Cell(4, 1), Cell(20, 1)}), c.prices);
        EXPECT_EQ(Grid()->currentRow(), c.row - 1);
    }
}

// Totals on screen are those of the ticked rows or none: every change of the rows or ticks
// clears them, so a hand-over can never send figures of rows that are no more.
TEST_F(MemoPadTest, EveryChangeOfTheTickedRowsClearsTheTotals) {
    PutStockPages({{"A", {{"", "1000", "100"}, {"", "2000", "100"}}}});
    const std::function<void()> actions[] = {
        [&] { Tick(2); },
        [&] { Tick(1); },  // untick
        [&] { Grid()->item(0, 1)->setText("1100"); },
        [&] { Grid()->item(0, 2)->setText(""); },
        [&] {
            Grid()->setCurrentCell(0, 2);
            QTest::keyClick(Grid(), Qt::Key_Delete);
        },
    };
    const char* rowActions[] = {"popInsert", "popCopy", "popDelete"};
    Open();
    const auto totals = [&] {
        QString all;
        for (const char* name : {"lblSelected", "mmPrice", "mmNum", "mmTotal", "edtPrice", "edtNum"})
            all += Text(Memo(), name);
        return all;
    };
    const auto showTotals = [&] {
        PutRows({{"", "1000", "100"}, {"", "2000", "100"}});
        if (!Ticked(1)) Tick(1);
        Click(Memo(), "btnCalc_01");
        ASSERT_EQ(totals(), "11,000100100,0001000100");
    };
    for (std::size_t i = 0; i < std::size(actions) + std::size(rowActions); ++i) {
        SCOPED_TRACE(i);
        showTotals();
        if (i < std::size(actions)) {
            actions[i]();
        } else {
            emit Find<QCheckBox>(Memo(), "chkS1")->customContextMenuRequested(QPoint(1, 1));
            Memo()->findChild<QAction*>(rowActions[i - std::size(actions)])->trigger();
            Find<QMenu>(Memo(), "popLine")->hide();
        }
        EXPECT_EQ(totals(), "");
        if (Ticked(2)) Tick(2);
    }
}

// The figures reach the calculator window on screen, which calculates them.
TEST_F(MemoPadTest, HandOverReachesTheVisibleCalculator) {
    Open();
    struct Refusal {
        const char* button;
        const char* price;
        const char* shares;
        int message;
    } refusals[] = {
        {"btnKai_Go", "", "400", 100},       {"btnUri_Go", "", "400", 104},     {"btnKai_Go", "0", "400", 201},
        {"btnUri_Go", "0", "400", 208},      {"btnKai_Go", "1150", "", 102},    {"btnKai_Go", "1150", "+", 200},
        {"btnKai_Go", "50000", "200000", 243},
    };
    for (const Refusal& r : refusals) {
        Messages().Clear();
        Paste(Memo(), "edtPrice", r.price);
        Paste(Memo(), "edtNum", r.shares);
        Click(Memo(), r.button);
        EXPECT_EQ(Messages().numbers, std::vector<int>{r.message}) << r.price << " × " << r.shares;
    }

    auto base = std::make_unique<ui::TBaseForm>(Home().HivePath(), "zavota", nullptr);
    RecordingPresenter recorder(&base->State().messages);
    recorder.answers = {MessageAnswer::No};  // the unnamed page is not kept at the switch
    base->State().messages.SetPresenter(&recorder);
    base->Start();
    Settle();
    base->MainForm().findChild<QAction*>("mnuMemo")->trigger();
    Settle();
    QWidget* memo = base->State().memoPad;
    ASSERT_TRUE(memo->isVisible());
    base->MainForm().showMinimized();  // the whole program goes to the task bar and comes back
    EXPECT_TRUE(memo->isMinimized());
    base->MainForm().showNormal();
    EXPECT_FALSE(memo->isMinimized());
    memo->showMinimized();  // opening it again brings it back
    base->MainForm().findChild<QAction*>("mnuMemo")->trigger();
    Settle();
    EXPECT_FALSE(memo->isMinimized());
    auto* grid = Find<QTableWidget>(memo, "grdMemo");
    grid->item(0, 1)->setText("1000");
    grid->item(0, 2)->setText("100");
    grid->item(1, 1)->setText("1200");
    grid->item(1, 2)->setText("300");
    Click(memo, "btnAllSelect");
    ui::TMainForm& main = base->MainForm();
    struct Case {
        const char* button;
        const char* price;
        const char* figure;
    } cases[] = {{"btnKai_Go", "edtYen_K", "mmPay_K"}, {"btnUri_Go", "edtYen_U", "mmPay_U"}};
    for (const Case& c : cases) {
        Click(memo, c.button);
        Settle();
        EXPECT_EQ(Text(&main, c.price), "1150");
        EXPECT_FALSE(Text(&main, c.figure).isEmpty());
    }
    Click(&main, "btnSlim_K");  // the memo pad follows to the slim window
    Settle();
    ASSERT_EQ(base->VisibleCalculator(), &base->SlimForm());
    ASSERT_TRUE(memo->isVisible());
    Find<QLineEdit>(memo, "edtPrice")->setText("1150");
    Find<QLineEdit>(memo, "edtNum")->setText("400");
    Click(memo, "btnUri_Go");
    Settle();
    EXPECT_EQ(Text(&base->SlimForm(), "edtR1_K"), "1150");
    EXPECT_EQ(Text(&base->SlimForm(), "edtNum_K"), "400");
    base->SlimForm().close();
    Settle();
    EXPECT_FALSE(memo->isVisible());
    EXPECT_EQ(recorder.numbers, std::vector<int>{3});
}

TEST_F(MemoPadTest, SummaryShowsEachPageAndItsShare) {
    PutStockPages({{"甲", {{"*", "1,000", "100"}, {"", "5", "5"}}}, {"乙", {{"*", "3000", "100"}}}, {"丙", {}}});
    Open();
    ShowTab(1);
    auto* grid = Find<QTableWidget>(Memo(), "grdSum");
    auto row = [&](int r) {
        std::vector<QString> texts;
        for (int c = 0; c < 5; ++c) texts.push_back(grid->item(r, c) ? grid->item(r, c)->text() : QString());
        return texts;
    };
    EXPECT_EQ(row(0), (std::vector<QString>{"甲", "1,000", "100", "100,000", "25.0"}));
    EXPECT_EQ(row(1), (std::vector<QString>{"乙", "3,000", "100", "300,000", "75.0"}));
    EXPECT_EQ(row(2), (std::vector<QString>{"丙", "0", "0", "0", "0.0"}));
    EXPECT_EQ(Text(Memo(), "mmSum"), "400,000");
    EXPECT_EQ(Text(Memo(), "lblSumCount"), "3");
    EXPECT_TRUE(Messages().numbers.empty());

    PutStockPages({{"甲", {{"*", "1000", "100"}}}, {"乙", {{"*", "abc", "100"}}}, {"丙", {}}});
    ShowTab(0);
    ShowTab(1);
    EXPECT_EQ(Messages().numbers, std::vector<int>{265});
    EXPECT_EQ(Text(Memo(), "mmSum"), "*********");
}

TEST_F(MemoPadTest, NewPageAfterYesIsACopyNumberedLast) {
    PutStockPages({{"A", {{"*", "500", "10"}}}, {"B", {{"*", "700", "20"}}}, {"C", {}}});
    PutData("M_4.ini", {{"コメント", "1", "孤児"}});  // left by a crash: no index lists it
    Open();
    Select(Memo(), "cmbTitle_01", 1);
    EXPECT_EQ(Text(Memo(), "lblPage_01"), "2/3");
    Messages().answers = {MessageAnswer::Yes};
    NameNextPage("X");
    Click(Memo(), "btnNew");
    Settle();
    EXPECT_EQ(Messages().numbers, std::vector<int>{5});
    EXPECT_EQ(Text(Memo(), "cmbTitle_01"), "X");
    EXPECT_EQ(Text(Memo(), "lblPage_01"), "4/4");
    EXPECT_EQ(IndexSections("M00index.ini"), (std::vector<std::string>{"A", "B", "C", "X"}));
    platform::ProfileFile copy(DataPath("M_4.ini"));
    EXPECT_EQ(copy.ReadString("単価", "1", ""), "700");
    EXPECT_EQ(copy.ReadString("株数", "1", ""), "20");
    EXPECT_EQ(copy.ReadString("選択", "1", ""), "*");
    EXPECT_EQ(copy.ReadString("銘柄（ページ名）", "Name", ""), "X");
    int orphans = 0;
    for (const auto& e : std::filesystem::directory_iterator(DataPath("")))
        if (e.path().filename().string().starts_with("M_4.ini.orphan-"))
            orphans += platform::ProfileFile(e.path().string()).ReadString("コメント", "1", "") == "孤児";
    EXPECT_EQ(orphans, 1);
    EXPECT_TRUE(Find<QPushButton>(Memo(), "btnPrev")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(Memo(), "btnNext")->isEnabled());
}

TEST_F(MemoPadTest, ReorderRewritesOnlyTheIndex) {
    PutData("N00index.ini", {{"FONT", "SIZE", "3"}, {"A", "FileNo", "1"}, {"B", "FileNo", "2"}, {"C", "FileNo", "3"}});
    for (const char* n : {"1", "2", "3"})
        ASSERT_TRUE(platform::ReplaceFileAtomically(DataPath(std::string("N_") + n + ".txt"), std::string("page ") + n + "\r\n"));
    Open();
    ShowTab(2);
    EXPECT_EQ(Text(Memo(), "cmbFont"), "11");
    dialogs.Expect("frmMemoSeq", [](QWidget* d) {
        Find<QListWidget>(d, "lstPages")->setCurrentRow(2);
        Click(d, "btnUp");
        Click(d, "btnUp");
        EXPECT_FALSE(Find<QPushButton>(d, "btnUp")->isEnabled());
        Click(d, "btnClose");
    });
    Click(Memo(), "btnChange");
    Settle();
    // The font size stays with the list, for the next start.
    EXPECT_EQ(IndexSections("N00index.ini"), (std::vector<std::string>{"FONT", "C", "A", "B"}));
    EXPECT_EQ(platform::ProfileFile(DataPath("N00index.ini")).ReadString("FONT", "SIZE", ""), "3");
    for (const char* n : {"1", "2", "3"})
        EXPECT_EQ(FileBytes(DataPath(std::string("N_") + n + ".txt")), std::string("page ") + n + "\r\n");
    EXPECT_EQ(Text(Memo(), "lblPage_03"), "1/3");
    EXPECT_EQ(Find<QPlainTextEdit>(Memo(), "redtMemo")->toPlainText(), "page 3");
}

TEST_F(MemoPadTest, NamesWithBracketsOrTakenInAnyCaseAreRefused) {
    PutStockPages({{"Abc", {}}, {"Other", {}}});
    Open();
    dialogs.Expect("frmMemoName", [this](QWidget* d) {
        EXPECT_EQ(Text(d, "edtName"), "Abc");
        for (const char* name : {"a[1]", "other", "ABC", "   "}) {
            Paste(d, "edtName", name);
            Click(d, "btnOk");
        }
        EXPECT_EQ(Messages().numbers, (std::vector<int>{261, 262, 262}));
        Paste(d, "edtName", " Renamed ");
        Click(d, "btnOk");
    });
    Click(Memo(), "btnRename");
    Settle();
    EXPECT_EQ(IndexSections("M00index.ini"), (std::vector<std::string>{"Renamed", "Other"}));
}

TEST_F(MemoPadTest, EmptyFolderShowsThePlaceholderAndSaveNamesIt) {
    Open();
    EXPECT_EQ(Text(Memo(), "cmbTitle_01"), "（新規ページ）");
    EXPECT_EQ(Text(Memo(), "lblPage_01"), "1/1");
    for (const char* name : {"btnNew", "btnPrev", "btnNext", "btnChange"})
        EXPECT_FALSE(Find<QPushButton>(Memo(), name)->isEnabled()) << name;
    PutRows({{"x", "1", "1"}});
    NameNextPage("甲");
    Click(Memo(), "btnSave");
    Settle();
    EXPECT_EQ(Memo()->windowTitle(), "Zavota　メモパッド　【データ保存完了】");
    EXPECT_FALSE(Find<QPushButton>(Memo(), "btnSave")->isEnabled());
    EndSaveNotice();
    EXPECT_EQ(Memo()->windowTitle(), "Zavota　メモパッド");
    EXPECT_TRUE(Find<QPushButton>(Memo(), "btnSave")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(Memo(), "btnNew")->isEnabled());
    EXPECT_EQ(IndexSections("M00index.ini"), std::vector<std::string>{"甲"});
    EXPECT_TRUE(platform::FileExists(DataPath("M_1.ini")));
}

// What a user did comes back at the next start: pages, names, order, text, font, position.
TEST_F(MemoPadTest, RestartKeepsWhatTheUserDid) {
    const QString text = QString::fromUtf8("一行目\n한국어 😀 ①\n\tタブ");
    Open();
    PutRows({{"4/1", "1000", "100"}});
    Tick(1);
    NameNextPage("甲");
    Click(Memo(), "btnSave");
    Settle();
    Messages().answers = {MessageAnswer::No};
    NameNextPage("乙");
    Click(Memo(), "btnNew");
    Settle();
    PutRows({{"", "2000", "5"}});
    ShowTab(2);
    Select(Memo(), "cmbFont", 4);
    Find<QPlainTextEdit>(Memo(), "redtMemo")->setPlainText(text);
    EndSaveNotice();
    NameNextPage("メモ");
    Click(Memo(), "btnSave");
    Settle();
    ShowTab(3);
    Paste(Memo(), "edtCalc_A", "1234.5");
    ShowTab(0);
    Memo()->move(150, 90);
    Reopen();

    EXPECT_EQ(State().display().MXY, (WindowPosition{150, 90}));
    EXPECT_EQ(Text(Memo(), "edtCalc_A"), "1234.5");
    EXPECT_EQ(Text(Memo(), "lblPage_01"), "1/2");
    EXPECT_EQ(Text(Memo(), "mmTotal"), "100,000");
    Select(Memo(), "cmbTitle_01", 1);
    EXPECT_EQ(Text(Memo(), "cmbTitle_01"), "乙");
    EXPECT_EQ(Cell(1, 1), "2000");  // never ticked: kept as typed
    ShowTab(2);
    EXPECT_EQ(Text(Memo(), "cmbTitle_03"), "メモ");
    EXPECT_EQ(Text(Memo(), "cmbFont"), "12");
    EXPECT_EQ(Find<QPlainTextEdit>(Memo(), "redtMemo")->toPlainText(), text);
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(MemoPadTest, ClosingWithAnUnnamedPageAsksFirst) {
    struct Case {
        MessageAnswer answer;
        bool named;  // the naming dialog is answered
        bool closed;
        bool saved;
    } cases[] = {
        {MessageAnswer::Cancel, false, false, false},
        {MessageAnswer::No, false, true, false},
        {MessageAnswer::Yes, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        platform::RemoveFile(DataPath("M_1.ini"));
        platform::RemoveFile(DataPath("M00index.ini"));
        Open();
        Messages().Clear();
        PutRows({{"メモ", "", ""}});
        Messages().answers = {c.answer};
        if (c.named) NameNextPage("新しい銘柄");
        Memo()->close();
        Settle();
        EXPECT_EQ(Messages().numbers, std::vector<int>{3});
        EXPECT_EQ(Memo()->isVisible(), !c.closed);
        EXPECT_EQ(platform::FileExists(DataPath("M_1.ini")), c.saved);
        Memo()->hide();
    }
}

// A save that cannot reach the disk says so, and the typed rows stay on screen.
TEST_F(MemoPadTest, FailedSaveSaysSoAndKeepsTheRows) {
    Open();
    ASSERT_TRUE(platform::EnsureFolder(DataPath("M_1.ini/")));  // a folder where the page file goes
    PutRows({{"残す", "1", "1"}});
    NameNextPage("甲");
    Click(Memo(), "btnSave");
    Settle();
    EXPECT_EQ(Messages().numbers, std::vector<int>{263});
    // What failed, on a line of its own (here the folder: a folder stands where the page goes).
    EXPECT_TRUE(Messages().texts.at(0).starts_with("データの保存に失敗しました。\n" + DataPath("")));
    EXPECT_EQ(Memo()->windowTitle(), "Zavota　メモパッド");
    EXPECT_EQ(Cell(1, 0), "残す");
    // The close is reported and goes through: a disk that refuses must not hold the pad open.
    Messages().Clear();
    Messages().answers = {MessageAnswer::Yes};
    NameNextPage("甲");
    Memo()->close();
    Settle();
    EXPECT_EQ(Messages().numbers, (std::vector<int>{3, 263}));
    EXPECT_FALSE(Memo()->isVisible());
}

}  // namespace
}  // namespace zavota::testing

namespace zavota::testing {
namespace {

// Moving to another page first saves the shown one; when that fails the page stays on screen.
TEST_F(MemoPadTest, NavigationStaysWhenTheShownPageCannotBeSaved) {
    PutStockPages({{"A", {}}, {"B", {{"*", "700", "20"}}}});
    ASSERT_TRUE(platform::RemoveFile(DataPath("M_1.ini")));
    ASSERT_TRUE(platform::EnsureFolder(DataPath("M_1.ini/")));
    Open();
    PutRows({{"残す", "1", "1"}});
    for (const char* step : {"btnNext", "cmbTitle_01", "btnChange"}) {
        SCOPED_TRACE(step);
        Messages().Clear();
        if (std::string(step) == "cmbTitle_01") Select(Memo(), step, 1);
        else Click(Memo(), step);
        Settle();
        EXPECT_EQ(Messages().numbers, std::vector<int>{263});
        EXPECT_EQ(Text(Memo(), "lblPage_01"), "1/2");
        EXPECT_EQ(Text(Memo(), "cmbTitle_01"), "A");
        EXPECT_EQ(Cell(1, 0), "残す");
    }
    Messages().Clear();
    Memo()->close();  // a failed save at the close is reported, and the close goes through
    Settle();
    EXPECT_EQ(Messages().numbers, std::vector<int>{263});
    EXPECT_FALSE(Memo()->isVisible());
}

}  // namespace
}  // namespace zavota::testing

namespace zavota::testing {
namespace {

// The options page repaints the memo pad through the state's hook, and only while it is shown.
TEST_F(MemoPadTest, ColourChangeReachesTheShownPad) {
    State().memoPad = Open();
    State().display()[Colour::MemoPanel] = ui::ToStoredColour(QColor(1, 2, 3));
    State().RepaintMemoPadIfVisible();
    EXPECT_EQ(Find<QWidget>(Memo(), "pnlMemo01")->palette().color(QPalette::Window), QColor(1, 2, 3));
}

}  // namespace
}  // namespace zavota::testing

namespace zavota::testing {
namespace {

// Each box stands level with its row at any font and scroll position; a box whose row is out
// of view is hidden rather than left beside another row.
TEST_F(MemoPadTest, BoxesStayLevelWithTheirRows) {
    Open();
    const auto boxesShown = [&] {
        int shown = 0;
        for (int r = 0; r < 20; ++r) {
            const auto* box = Find<QCheckBox>(Memo(), ("chkS" + std::to_string(r + 1)).c_str());
            const QRect row = Grid()->visualItemRect(Grid()->item(r, 0));
            EXPECT_EQ(box->isVisible(), row.top() >= 0 && row.bottom() < Grid()->viewport()->height()) << r;
            if (!box->isVisible()) continue;
            ++shown;
            EXPECT_EQ(box->mapToGlobal(QPoint(0, 0)).y(), Grid()->viewport()->mapToGlobal(row.topLeft()).y()) << r;
            EXPECT_EQ(box->height(), Grid()->rowHeight(r)) << r;
        }
        return shown;
    };
    EXPECT_EQ(boxesShown(), 20);
    QFont large = Grid()->font();
    large.setPixelSize(24);
    Grid()->setFont(large);
    Settle();
    EXPECT_EQ(boxesShown(), 20);
    Grid()->setFixedHeight(Grid()->height() / 2);  // too short for its rows: it scrolls
    Grid()->scrollToItem(Grid()->item(19, 1));
    Settle();
    ASSERT_GT(Grid()->verticalScrollBar()->value(), 0);
    EXPECT_LT(boxesShown(), 20);
    EXPECT_TRUE(Find<QCheckBox>(Memo(), "chkS20")->isVisible());
}

// Both number grids check each key as it is typed; after a refusal typing goes on in the cell,
// although the box took the focus from it meanwhile.
TEST_F(MemoPadTest, NumberCellsAreCheckedKeyByKey) {
    Open();
    QLineEdit box;
    const struct Forget {
        RecordingPresenter& p;
        ~Forget() { p.whileShown = {}; }
    } forget{Messages()};
    Messages().whileShown = [&] {
        const QPointer<QWidget> had = QApplication::focusWidget();
        box.show();
        box.activateWindow();
        box.setFocus();
        Settle();
        EXPECT_TRUE(box.hasFocus());
        box.hide();
        if (had) had->activateWindow();
        Settle();
    };
    const struct {
        int tab;
        const char* grid;
        int column;
        const char* kept;
    } cases[] = {{0, "grdMemo", 1, "123"}, {0, "grdMemo", 2, "123"}, {0, "grdMemo", 0, "12a3"}, {3, "grdCalc", 0, "123"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.grid) + std::to_string(c.column));
        ShowTab(c.tab);
        Messages().Clear();
        auto* grid = Find<QTableWidget>(Memo(), c.grid);
        grid->setCurrentCell(0, c.column);
        grid->editItem(grid->currentItem());
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
        ASSERT_NE(editor, nullptr);
        const std::vector<int> refused = std::string(c.kept) == "123" ? std::vector<int>{229} : std::vector<int>{};
        for (char key : std::string("12a")) QTest::keyClick(editor, key);
        EXPECT_EQ(Messages().numbers, refused);  // at the "a", before the editing ends
        ASSERT_EQ(grid->indexWidget(grid->currentIndex()), editor) << "the editor closed when the box took the focus";
        QTest::keyClick(editor, '3');
        EXPECT_EQ(grid->currentItem()->text(), c.kept);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_EQ(grid->item(0, c.column)->text(), c.kept);
        EXPECT_EQ(Messages().numbers, refused);
    }
}

// A stored tick passes the row check when the page opens, with its message; a data folder that
// cannot be made is reported at the first save, and the rows stay.
TEST_F(MemoPadTest, OpeningChecksStoredTicksAndAMissingFolderIsReported) {
    PutStockPages({{"A", {{"*", "0", "5"}, {"*", "1000", "10"}}}});
    Open();
    EXPECT_EQ(Messages().numbers, std::vector<int>{270});
    EXPECT_EQ((std::vector<bool>{Ticked(1), Ticked(2)}), (std::vector<bool>{false, true}));
    EXPECT_EQ(Grid()->currentRow() * 10 + Grid()->currentColumn(), 1);  // row 1, price
    EXPECT_EQ(Cell(2, 1), "1,000");

    Memo()->hide();
    const std::string folder = DataPath("").substr(0, DataPath("").size() - 1);
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(platform::ReplaceFileAtomically(folder, "a file"));
    // A folder that cannot be made is said at the opening, with its path, once a run.
    Messages().Clear();
    Open();
    ASSERT_EQ(Messages().numbers, std::vector<int>{279});
    EXPECT_NE(Messages().texts.at(0).find(folder), std::string::npos);
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(static_cast<int>(answer));
        if (!Memo()->isVisible()) Open();
        PutRows({{"残す", "1", "1"}});
        Messages().Clear();
        Messages().answers = {answer};
        if (answer == MessageAnswer::Yes) NameNextPage("甲");
        Memo()->close();
        Settle();
        // Answered No, the calculator's own file is what failed, and the box says so.
        ASSERT_EQ(Messages().numbers, (std::vector<int>{3, 263}));
        if (answer == MessageAnswer::No) EXPECT_NE(Messages().texts.at(1).find("Calc.ini"), std::string::npos);
        else EXPECT_NE(Messages().texts.at(1).find("M_1.ini"), std::string::npos);
        EXPECT_FALSE(Memo()->isVisible());
    }
}

// Pages stay in code page 932 with the marks Windows maps into it; a page that cannot is kept in
// UTF-8 and the user is told, once.
TEST_F(MemoPadTest, PagesFallBackToUtf8OnlyForWhatCodePage932Lacks) {
    Open();
    PutRows({{"〜‖−￠￡￢", "1", "1"}});
    NameNextPage("波〜");
    const struct {
        const char* added;
        bool utf8;
        std::vector<int> messages;
    } saves[] = {{"", false, {}}, {"😀", true, {30}}, {"😀", true, {}}};
    for (const auto& save : saves) {
        Grid()->item(1, 0)->setText(save.added);
        Messages().Clear();
        Click(Memo(), "btnSave");
        Settle();
        EndSaveNotice();
        EXPECT_EQ(Messages().numbers, save.messages);
        const std::string bytes = FileBytes(DataPath("M_1.ini"));
        EXPECT_EQ(bytes.starts_with("\xEF\xBB\xBF"), save.utf8);
        if (!save.utf8) EXPECT_NE(bytes.find("\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA"), std::string::npos);
    }
    EXPECT_FALSE(FileBytes(DataPath("M00index.ini")).starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(FileBytes(DataPath("M00index.ini")), "[\x94\x67\x81\x60]\r\nFileNo=1\r\n");  // one entry: 波～
}

}  // namespace
}  // namespace zavota::testing
