// The two table editors driven by their object names: commits with their messages and focus,
// the sides of a commission table, the backups of "キャンセル" and what reaches the hive.
#include <filesystem>

#include <QButtonGroup>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>

#include "ui/UiTest.h"
#include "ui/options/Marginunit.h"
#include "ui/options/Yobineunit.h"
#include "core/YenTesting.h"

namespace zavota::testing {
namespace {

class TableEditorTest : public UiTest {
protected:
    // A new table as the options page adds it: the next slot, one zero bracket per side.
    int AddNewTable() {
        const int slot = State().calc.tables.UsedCount();
        MarginTable& t = State().calc.tables.Slot(slot);
        t.Clear();
        t.inUse = true;
        t.ElementsK = t.ElementsU = 1;
        return slot;
    }
    static QTableWidget* Grid(QWidget* d, const char* name) { return Find<QTableWidget>(d, name); }
    static void SetCell(QTableWidget* g, int row, int col, const char* text) {
        g->item(row - 1, col)->setText(QString::fromUtf8(text));
    }
    static void SetRow(QTableWidget* g, int row, std::vector<const char*> texts) {
        for (std::size_t c = 0; c < texts.size(); ++c) SetCell(g, row, static_cast<int>(c), texts[c]);
    }
    static std::pair<int, int> Current(QTableWidget* g) { return {g->currentRow() + 1, g->currentColumn()}; }
    // What a paste into an edit box does: an edit of the user, not of the program.
    static void PasteOver(QWidget* d, const char* name, const QString& text) {
        auto* e = Find<QLineEdit>(d, name);
        e->selectAll();
        e->insert(text);
    }
};

TEST_F(TableEditorTest, NewTableRegisteredAtOnceIsRefusedAndEveryCancelRemovesIt) {
    const int closes = 3;  // "キャンセル", the window frame, Escape
    for (int how = 0; how < closes; ++how) {
        SCOPED_TRACE(how);
        Messages().Clear();
        const int slot = AddNewTable();
        ui::TfrmMargin d(State(), slot, 1);
        d.show();
        Settle();
        EXPECT_EQ(Grid(&d, "grdMargin")->item(0, 2)->text(), QStringLiteral("0.000"));
        Paste(&d, "edtTableName", QStringLiteral("new"));
        Click(&d, "btnOK");
        EXPECT_EQ(Messages().numbers, std::vector<int>{221});
        EXPECT_EQ(Current(Grid(&d, "grdMargin")), std::make_pair(1, 1));
        EXPECT_TRUE(d.isVisible());

        if (how == 0) Click(&d, "btnCancel");
        else if (how == 1) d.close();
        else QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.Position(), slot - 1);
        EXPECT_FALSE(d.TablesChanged());
        EXPECT_FALSE(State().calc.tables.Slot(slot).inUse);
        Restart();
        EXPECT_EQ(State().calc.tables.UsedCount(), 1);
    }
}

TEST_F(TableEditorTest, SeparateSidesBuiltInTheEditorComeBackAfterARestart) {
    const int slot = AddNewTable();
    ui::TfrmMargin d(State(), slot, 1);
    d.show();
    Settle();
    PasteOver(&d, "edtTableName", QString::fromUtf8("往復テスト"));
    Click(&d, "chkKai_Uri");
    auto* tabs = Find<QTabBar>(&d, "tabMargin");
    ASSERT_EQ(tabs->count(), 2);
    QTableWidget* g = Grid(&d, "grdMargin");
    SetRow(g, 1, {"0", "100,000", "0.1", "100", "0"});
    SetRow(g, 2, {"100,001", "500,000", "0.05", "50", "10"});
    tabs->setCurrentIndex(1);  // refused: the buy grid has a gap
    EXPECT_EQ(Messages().numbers, std::vector<int>{222});
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Current(g), std::make_pair(2, 0));
    SetCell(g, 2, 0, "100,000");
    Type(&d, "edtLowLimit", QStringLiteral("100"));
    Type(&d, "edtHighLimit", QStringLiteral("5,000"));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(Text(&d, "edtLowLimit"), QString());
    SetRow(g, 1, {"0", "1,000,000", "0.2", "0", "5.5"});
    Type(&d, "edtLowLimit", QStringLiteral("200"));
    Click(&d, "chkMiniAfter");
    Click(&d, "btnOK");
    EXPECT_EQ(Messages().numbers, std::vector<int>{222});
    EXPECT_TRUE(d.TablesChanged());
    EXPECT_EQ(d.Position(), slot);

    MarginTable want;
    want.inUse = true;
    want.Same = 1;
    want.MiniAfterU = 1;
    want.Name = "往復テスト";
    want.ElementsK = 2;
    want.ElementsU = 1;
    want.LowLimitK = W(100);
    want.HighLimitK = W(5000);
    want.LowLimitU = W(200);
    want.bracketsK[0] = {W(0), W(100'000), R(1000), W(100), W(0)};
    want.bracketsK[1] = {W(100'000), W(500'000), R(500), W(50), W(10)};
    want.bracketsU[0] = {W(0), W(1'000'000), R(2000), W(0), R(55'000)};
    EXPECT_TRUE(State().calc.tables.Slot(slot) == want);
    Restart();
    EXPECT_TRUE(State().calc.tables.Slot(slot) == want);
}

TEST_F(TableEditorTest, CancelRestoresAnExistingTableAfterACommittedSideAndDroppedEdits) {
    MarginTable& sample = State().calc.tables.Slot(0);
    sample.Same = 1;
    const MarginTable before = sample;
    ui::TfrmMargin d(State(), 0, 2);
    d.show();
    Settle();
    QTableWidget* g = Grid(&d, "grdMargin");
    SetCell(g, 1, 3, "999");
    Find<QTabBar>(&d, "tabMargin")->setCurrentIndex(1);  // the buy side is written into the table
    EXPECT_EQ(sample.bracketsK[0].addition, W(999));
    SetCell(g, 1, 3, "777");
    Click(&d, "chkKai_Uri");  // shared again: the sell edit is dropped, the buy side shown
    EXPECT_EQ(g->item(0, 3)->text(), QStringLiteral("999"));
    EXPECT_EQ(Find<QTabBar>(&d, "tabMargin")->tabText(0), QString::fromUtf8("売り買い共通"));
    QTest::keyClick(g, Qt::Key_Delete);  // no editor open: the current cell (row 1, column 0) empties
    EXPECT_EQ(g->item(0, 0)->text(), QString());
    Click(&d, "btnCancel");
    EXPECT_TRUE(sample == before);
    EXPECT_EQ(d.Position(), 0);
    Restart();
    EXPECT_EQ(State().calc.tables.Slot(0).Same, 1);
}

TEST_F(TableEditorTest, RefusalsFocusTheirControlAndTheNameKeepsToCodePage932) {
    State().calc.tables.Slot(1) = State().calc.tables.Slot(0);
    State().calc.tables.Slot(1).Name = "他社";
    const struct {
        const char* field;
        const char* text;
        int message;
    } cases[] = {{"edtTableName", "", 105}, {"edtTableName", "他社", 214}, {"edtLowLimit", "0", 215},
                 {"edtHighLimit", "+", 200}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        Messages().Clear();
        ui::TfrmMargin d(State(), 0, 2);
        d.show();
        d.activateWindow();
        Settle();
        Paste(&d, c.field, QString::fromUtf8(c.text));
        Click(&d, "btnOK");
        EXPECT_EQ(Messages().numbers, std::vector<int>{c.message});
        EXPECT_EQ(d.focusWidget(), Find(&d, c.field));
        Click(&d, "btnCancel");
    }
    Messages().Clear();
    ui::TfrmMargin d(State(), 0, 2);
    PasteOver(&d, "edtTableName", QString::fromUtf8("あいうえおかきくけこさしすせそ"));  // 30 bytes
    PasteOver(&d, "edtTableName", QString::fromUtf8("株😀"));
    EXPECT_EQ(Messages().numbers, std::vector<int>{200});
    EXPECT_EQ(Text(&d, "edtTableName"), QString::fromUtf8(kSampleTableName));
}

TEST_F(TableEditorTest, TickResetThenCancelRestoresBothTablesAndTheCheckStaysOff) {
    for (UnitTable* t : {&State().calc.listedTicks, &State().calc.otcTicks}) {
        t->DontUse = 1;
        t->Elements = 1;
        t->rows[0] = {W(0), W(500), W(5)};
    }
    const UnitTable listed = State().calc.listedTicks, otc = State().calc.otcTicks;
    ui::TfrmYobine d(State());
    d.show();
    Settle();
    auto* otcRadio = Find<QRadioButton>(&d, "rdbOtc");
    SetCell(Grid(&d, "grdYobine"), 1, 2, "500");  // a tick as large as its range
    otcRadio->click();
    EXPECT_EQ(Messages().numbers, std::vector<int>{230});
    EXPECT_TRUE(Find<QRadioButton>(&d, "rdbListed")->isChecked());
    SetCell(Grid(&d, "grdYobine"), 1, 2, "5");
    otcRadio->click();
    Click(&d, "btnReset");
    EXPECT_TRUE(Find<QRadioButton>(&d, "rdbListed")->isChecked());
    EXPECT_EQ(Grid(&d, "grdYobine")->item(7, 1)->text(), QStringLiteral("100,000,000"));
    UnitTable listedDefaults(0), otcDefaults(1);
    listedDefaults.DontUse = otcDefaults.DontUse = 1;
    EXPECT_EQ(State().calc.listedTicks, listedDefaults);
    EXPECT_EQ(State().calc.otcTicks, otcDefaults);
    d.close();  // the window frame cancels too
    EXPECT_EQ(State().calc.listedTicks, listed);
    EXPECT_EQ(State().calc.otcTicks, otc);
}

// Only the chaining message names its row; every other refusal is the catalogue's text alone.
TEST_F(TableEditorTest, TicksThatCannotChainAreRefusedNamingTheRow) {
    const struct {
        std::vector<std::vector<const char*>> rows;
        int message;
        std::pair<int, int> cell;
    } cases[] = {
        {{{"0", "100", "30"}, {"100", "1,000", "7"}}, 239, {1, 1}},
        {{{"0", "895", "10"}, {"895", "1,137", "3"}}, 239, {1, 1}},
        {{{"0", "100", "10"}, {"200", "1,000", "7"}}, 222, {2, 0}},
        {{{"0", "100", "0"}}, 236, {1, 2}},
        {{{"0", "100", "x"}}, 217, {1, 2}},
        {{{"0", "100.5", "1"}}, 108, {1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ui::TfrmYobine d(State());
        d.show();
        Settle();
        QTableWidget* g = Grid(&d, "grdYobine");
        for (int r = 1; r <= kMaxUnitRows; ++r) SetRow(g, r, {"", "", ""});
        for (std::size_t r = 0; r < c.rows.size(); ++r) SetRow(g, static_cast<int>(r) + 1, c.rows[r]);
        Messages().Clear();
        Click(&d, "btnOK");
        EXPECT_EQ(Messages().numbers, std::vector<int>{c.message});
        ASSERT_EQ(Messages().texts.size(), 1u);
        if (c.message == 239) EXPECT_TRUE(Messages().texts[0].starts_with("1行目の")) << Messages().texts[0];
        else EXPECT_EQ(Messages().texts[0], MessageCatalogue::Notice(c.message).text);
        EXPECT_EQ(Current(g), c.cell);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(State().calc.listedTicks, UnitTable(0));
        d.close();
    }
}

TEST_F(TableEditorTest, TickTypedWithAPointIsCheckedOnEveryChangeAndStoredWhole) {
    ui::TfrmYobine d(State());
    d.show();
    Settle();
    QTableWidget* g = Grid(&d, "grdYobine");
    g->setCurrentCell(0, 2);  // the editor opens on the current cell
    auto* editor = qobject_cast<QLineEdit*>(g->indexWidget(g->model()->index(0, 2)));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("2.5"));
    EXPECT_EQ(Messages().numbers, (std::vector<int>{229, 229}));  // "2." and "2.5"
    Click(&d, "btnOK");
    EXPECT_FALSE(d.isVisible());
    Restart();
    EXPECT_EQ(State().calc.listedTicks.rows[0].tick, W(2));
    EXPECT_EQ(State().calc.listedTicks.Elements, 8);
}

// A limit or a name from a table file that the editor could not take by typing is shown whole
// and refused when registered, never shown empty and stored as 0 or cut.
TEST_F(TableEditorTest, StoredLimitsAndNamesShownWholeAndRefusedOnRegister) {
    struct Case {
        std::int64_t lowLimit;
        std::string name;
        QString shownLow;
        int message;
    } cases[] = {
        {100'000'000, "big", QStringLiteral("100000000"), 216},
        {99'999'999, std::string(30, 'n'), QStringLiteral("99999999"), 200},
        {99'999'999, "fits", QStringLiteral("99999999"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Messages().Clear();
        MarginTable& t = State().calc.tables.Slot(0);
        t.LowLimitK = t.LowLimitU = W(c.lowLimit);
        t.Name = c.name;
        ui::TfrmMargin d(State(), 0, 2);
        d.show();
        Settle();
        EXPECT_EQ(Text(&d, "edtLowLimit"), c.shownLow);
        EXPECT_EQ(Text(&d, "edtTableName").toStdString(), c.name);
        Click(&d, "btnOK");
        EXPECT_EQ(Messages().numbers, c.message ? std::vector<int>{c.message} : std::vector<int>{});
        EXPECT_EQ(d.isVisible(), c.message != 0);
        if (c.message) Click(&d, "btnCancel");
        EXPECT_EQ(State().calc.tables.Slot(0).LowLimitK, W(c.lowLimit));
    }
}

TEST_F(TableEditorTest, TodaysListedStepsReplaceOnlyTheListedTableUntilOk) {
    const UnitTable listed = State().calc.listedTicks;
    for (bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        ui::TfrmYobine d(State());
        d.show();
        Settle();
        Find<QRadioButton>(&d, "rdbOtc")->click();
        SetCell(Grid(&d, "grdYobine"), 1, 2, "2");  // an OTC edit, taken before the listed rows change
        Click(&d, "btnToday");
        EXPECT_TRUE(Find<QRadioButton>(&d, "rdbListed")->isChecked());
        EXPECT_EQ(Grid(&d, "grdYobine")->item(9, 1)->text(), QStringLiteral("50,000,000"));
        EXPECT_EQ(Grid(&d, "grdYobine")->item(1, 2)->text(), QStringLiteral("5"));  // 3,000 to 5,000
        Click(&d, ok ? "btnOK" : "btnCancel");
        Restart();
        EXPECT_EQ(State().calc.otcTicks.rows[0].tick, ok ? W(2) : W(1));
        EXPECT_EQ(State().calc.listedTicks.Elements, ok ? 10 : listed.Elements);
        EXPECT_EQ(State().calc.listedTicks.Tick(W(3001), true), ok ? W(5) : W(10));
    }
}

TEST_F(TableEditorTest, AFailedSaveIsReportedAndBothEditorsClose) {
    std::filesystem::create_directories(Home().HivePath());
    ui::TfrmYobine y(State());
    y.show();
    Click(&y, "btnOK");
    ui::TfrmMargin m(State(), 0, 2);
    m.show();
    Click(&m, "btnOK");
    EXPECT_EQ(Messages().numbers, (std::vector<int>{290, 290}));
    EXPECT_FALSE(y.isVisible() || m.isVisible());
    EXPECT_TRUE(m.TablesChanged());
}

}  // namespace
}  // namespace zavota::testing
