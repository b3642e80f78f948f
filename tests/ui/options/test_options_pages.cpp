// The options tab: its five pages, the commits that keep a page when a field is refused,
// the table list operations, the table files and the colours.
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>

#include <sstream>

#include "ui/MainWindowTest.h"
#include "cli/CalcCommand.h"
#include "core/OptionChecks.h"
#include "platform/FileIo.h"
#include "settings/MarginTableFile.h"

namespace zavota::testing {
namespace {

class OptionsTest : public MainWindowTest {
protected:
    QTabWidget* Tabs() { return Find<QTabWidget>(W(), "pgcCalcInput"); }
    // The options tab with one of its pages.
    void OpenOptions(const char* selector) {
        if (!W()) Open();
        Tabs()->setCurrentIndex(2);
        Settle();
        Click(W(), selector);
        Settle();
        Messages().Clear();
    }
    void LeaveTab() {
        Tabs()->setCurrentIndex(0);
        Settle();
    }
    // Tables named as given, each with a flat fee of 100 × its position + 100 yen.
    void StoreTables(const std::vector<std::string>& names) {
        MarginTableSet& set = State().calc.tables;
        for (int i = 0; i < kMaxTables; ++i) set.Clear(i);
        for (std::size_t i = 0; i < names.size(); ++i) {
            MarginTable& t = set.Slot(static_cast<int>(i));
            t.LoadSample();
            t.Name = names[i];
            t.bracketsK[0].addition = t.bracketsU[0].addition = Yen::FromInt(100 * static_cast<std::int64_t>(i) + 100);
        }
        ASSERT_TRUE(State().store.SaveCommissionTables());
    }
    // A new start of the program on the saved hive; the window goes with the old state.
    void RestartProgram() {
        W()->close();
        main_.reset();
        Restart();
    }
    QListWidget* List() { return Find<QListWidget>(W(), "lstTables"); }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (int i = 0; i < List()->count(); ++i) names.push_back(List()->item(i)->text().toStdString());
        return names;
    }
};

TEST_F(OptionsTest, ARefusedFieldKeepsItsPageWhicheverWayItIsLeft) {
    struct Case {
        const char* selector;
        const char* field;
        const char* text;
        int message;
    } cases[] = {
        {"btnCalc_Opt", "edtYearGain", "10000000000", 237},
        {"btnCalc_Opt", "edtYearGain", "-10000000000", 238},
        {"btnCalc_Opt", "edtYearGain", "-", 200},
        {"btnTax_Opt", "edtRate_S_K", "5.005", 112},
        {"btnTax_Opt", "edtRate_S_U", "100", 231},
        {"btnTax_Opt", "edtRate_F_R", "100", 232},
        {"btnTax_Opt", "edtRate_S_U", "+", 200},
    };
    enum Way { ByTab, BySelector, ByClose, ByMemoPad };
    for (const Case& c : cases)
        for (Way way : {ByTab, BySelector, ByClose, ByMemoPad}) {
            SCOPED_TRACE(std::string(c.field) + " " + c.text + " way " + std::to_string(way));
            OpenOptions(c.selector);
            Paste(W(), c.field, QString::fromUtf8(c.text));
            Messages().Clear();
            if (way == ByTab) Tabs()->setCurrentIndex(1);
            if (way == BySelector) Click(W(), "btnWake_Opt");
            if (way == ByClose) {
                EXPECT_FALSE(W()->close());
            }
            if (way == ByMemoPad) Find<QAction>(W(), "mnuMemo")->trigger();
            Settle();
            EXPECT_EQ(Messages().numbers, std::vector<int>{c.message});
            EXPECT_EQ(Tabs()->currentIndex(), 2);
            EXPECT_TRUE(Find<QAbstractButton>(W(), c.selector)->isChecked());
            EXPECT_FALSE(Find<QAbstractButton>(W(), "btnWake_Opt")->isChecked());
            EXPECT_TRUE(W()->isVisible());
            EXPECT_FALSE(State().handover.exitRequested);
            EXPECT_EQ(QApplication::focusWidget(), Find(W(), c.field));
            Paste(W(), c.field, "");  // an emptied field is 0 and lets the page go
        }
    LeaveTab();
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(State().calc.tax.KaiS, Yen{});
}

TEST_F(OptionsTest, EveryOptionSurvivesARestart) {
    State().choosers.chooseColour = [](QWidget*, QColor) { return QColor(0x12, 0x34, 0x56); };
    OpenOptions("btnCalc_Opt");
    Paste(W(), "edtYearGain", "-1,234,567");
    EXPECT_EQ(Text(W(), "edtYearGain"), "-1234567");
    Find<QCheckBox>(W(), "chkDontUse_Tax")->setChecked(true);
    Find<QCheckBox>(W(), "chkUse_Unit")->setChecked(false);
    Find<QCheckBox>(W(), "chkTwoTable")->setChecked(true);
    Click(W(), "btnTax_Opt");
    Paste(W(), "edtRate_S_K", "8");
    Paste(W(), "edtRate_S_U", "10.5");
    Paste(W(), "edtRate_F_E", "15.31");
    Paste(W(), "edtRate_F_R", "");
    Find<QCheckBox>(W(), "chkCalcEach")->setChecked(true);
    Click(W(), "btnWake_Opt");
    Click(W(), "rdbDefaultShow1");
    Find<QCheckBox>(W(), "chkMemo")->setChecked(true);
    const QString motto = QStringLiteral("～　損切りは早めに\"注意\"～");
    Paste(W(), "edtWord", QStringLiteral("  ") + motto + QStringLiteral(" "));
    QComboBox* fonts = Find<QComboBox>(W(), "cmbFont");
    ASSERT_GT(fonts->count(), 1);
    fonts->setCurrentIndex(1);
    const std::string font = fonts->currentText().toStdString();
    Click(W(), "btnColor_Opt");
    QTest::mouseClick(Find(W(), "pnlMinusChar"), Qt::LeftButton);
    LeaveTab();
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_TRUE(Find(W(), "cmbTable2_K")->isVisible());

    RestartProgram();
    const TaxSettings& t = State().calc.tax;
    EXPECT_EQ(t.YearGain, Yen::FromInt(-1234567));
    EXPECT_EQ(t.DontUse, 1);
    EXPECT_EQ(State().calc.listedTicks.DontUse, 1);
    EXPECT_EQ(State().calc.otcTicks.DontUse, 1);
    EXPECT_EQ(State().option().TwoFlag, 1);
    EXPECT_EQ(t.KaiS, Yen::FromInt(8));
    EXPECT_EQ(t.UriS, Yen::FromRaw(105000));
    EXPECT_EQ(t.ShinSyotoku, Yen::FromRaw(153100));
    EXPECT_EQ(t.ShinJyuumin, Yen{});
    EXPECT_EQ(t.CalcEach, 1);
    const OptionSettings& o = State().option();
    EXPECT_EQ(o.DefaultShow, 1);
    EXPECT_EQ(o.ShowMemo, 1);
    EXPECT_EQ(o.WordShow, 1);
    EXPECT_EQ(o.Word, motto.toStdString());
    EXPECT_EQ(o.FontName, font);
    EXPECT_EQ(State().display()[Colour::MinusChar], 0x563412u);
}

TEST_F(OptionsTest, MottoFieldRefusesWhatCannotBeStored) {
    OpenOptions("btnWake_Opt");
    QLineEdit* word = Find<QLineEdit>(W(), "edtWord");
    struct Case {
        QString typed;
        bool paste;
        QString expected;
        std::vector<int> messages;
    } cases[] = {
        {QString(41, QChar(0x3042)), false, QString(40, QChar(0x3042)), {}},  // "あ": 2 bytes each
        {QString(81, QLatin1Char('a')), true, QString(), {}},                 // never cut, refused whole
        {QString(80, QLatin1Char('a')), true, QString(80, QLatin1Char('a')), {}},
        {QStringLiteral("a\tb"), true, QString(), {200}},
        {QStringLiteral("波😀"), true, QString(), {200}},  // no code page 932 character
        {QStringLiteral("波〜"), true, QStringLiteral("波〜"), {}},  // U+301C: stored as 0x8160
        {QString(40, QChar(0xFF5E)), true, QString(40, QChar(0xFF5E)), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        word->clear();
        Messages().Clear();
        if (c.paste) {
            word->insert(c.typed);  // as a paste does: an edit of the user's
        } else {
            for (QChar ch : c.typed) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(word, &key);
            }
        }
        EXPECT_EQ(word->text(), c.expected);
        EXPECT_EQ(Messages().numbers, c.messages);
    }
}

// Rates are checked as converted; the profit-tax rates take today's third decimal; a stored
// value shows whole and is refused, not rounded, when it cannot be taken.
TEST_F(OptionsTest, RatesShowWholeAndAreCheckedAsConverted) {
    struct Case {
        std::int64_t storedKaiS;  // raw, times 10,000
        const char* field;
        const char* typed;        // nullptr: left as shown
        QString shownKaiS;
        std::vector<int> messages;
        Yen income;               // ShinSyotoku afterwards
    } cases[] = {
        {50000, "edtRate_F_E", "15.315", QStringLiteral("5.00"), {}, Yen::FromRaw(153150)},
        {50000, "edtRate_F_E", "15.3155", QStringLiteral("5.00"), {115}, Yen::FromInt(7)},
        {50000, "edtRate_S_K", "5.00001", QStringLiteral("5.00"), {}, Yen::FromInt(7)},  // 5.0000 once converted
        {50000, "edtRate_S_K", "5.015", QStringLiteral("5.00"), {112}, Yen::FromInt(7)},
        {50001, "edtRate_F_E", nullptr, QStringLiteral("5.0001"), {112}, Yen::FromInt(7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + (c.typed ? c.typed : "stored"));
        State().calc.tax.Reset();
        State().calc.tax.KaiS = Yen::FromRaw(c.storedKaiS);
        OpenOptions("btnTax_Opt");
        EXPECT_EQ(Text(W(), "edtRate_S_K"), c.shownKaiS);
        if (c.typed) Paste(W(), c.field, QString::fromUtf8(c.typed));
        LeaveTab();
        EXPECT_EQ(Messages().numbers, c.messages);
        EXPECT_EQ(State().calc.tax.ShinSyotoku, c.income);
        for (const char* field : kRateFields) Paste(W(), field, "");
        LeaveTab();
    }
    OpenOptions("btnTax_Opt");
    Paste(W(), "edtRate_F_E", "15.315");
    Click(W(), "btnCalc_Opt");
    Click(W(), "btnTax_Opt");
    EXPECT_EQ(Text(W(), "edtRate_F_E"), "15.315");
}

// "現在の税率" fills the fields as typing would: nothing is taken before the page is left, a
// field typed over afterwards wins, and the year's gain and the other choices stay.
TEST_F(OptionsTest, TodaysRatesFillTheFieldsAndAreTakenWhenThePageIsLeft) {
    for (const bool typedOver : {false, true}) {
        SCOPED_TRACE(typedOver);
        State().calc.tax.Reset();
        State().calc.tax.YearGain = Yen::FromInt(123456);
        State().calc.tax.DontUse = 1;
        State().calc.tax.CalcEach = 1;
        OpenOptions("btnTax_Opt");
        Click(W(), "btnToday_T");
        const QString shown[] = {"10.00", "10.00", "15.315", "5.00"};
        for (std::size_t i = 0; i < kRateFields.size(); ++i) EXPECT_EQ(Text(W(), kRateFields[i]), shown[i]);
        EXPECT_EQ(State().calc.tax.KaiS, Yen::FromInt(5));  // not yet
        if (typedOver) Paste(W(), "edtRate_F_R", "4");
        LeaveTab();
        EXPECT_EQ(State().calc.tax.YearGain, Yen::FromInt(123456));
        EXPECT_EQ(State().calc.tax.DontUse, 1);
        RestartProgram();
        const TaxSettings& t = State().calc.tax;
        EXPECT_EQ(t.KaiS, Yen::FromInt(10));
        EXPECT_EQ(t.UriS, Yen::FromInt(10));
        EXPECT_EQ(t.ShinSyotoku, Yen::FromRaw(153150));
        EXPECT_EQ(t.ShinJyuumin, Yen::FromInt(typedOver ? 4 : 5));
        EXPECT_EQ(t.CalcEach, 1);
    }
}

TEST_F(OptionsTest, StoredMottoThatCannotBeKeptIsShownWholeAndRefusedUntilShortened) {
    const std::string stored(82, 'a');
    State().option().Word = stored;
    State().option().WordShow = 1;
    OpenOptions("btnWake_Opt");
    QLineEdit* word = Find<QLineEdit>(W(), "edtWord");
    EXPECT_EQ(word->text().toStdString(), stored);
    LeaveTab();
    EXPECT_EQ(Messages().numbers, std::vector<int>{200});
    EXPECT_EQ(Tabs()->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), word);
    word->end(false);
    for (int i = 0; i < 2; ++i) QTest::keyClick(word, Qt::Key_Backspace);  // taken though still too long
    EXPECT_EQ(word->text().size(), 80);
    Messages().Clear();
    LeaveTab();
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_EQ(State().option().Word, std::string(80, 'a'));
}

TEST_F(OptionsTest, MottoChoicesEnableTheirControls) {
    State().option().WordShow = 0;
    State().option().WordYearGain = 1;
    State().option().FontName = "No Such Font";
    OpenOptions("btnWake_Opt");
    for (const char* name : {"edtWord", "cmbFont", "chkWordYearGain"}) EXPECT_FALSE(Find(W(), name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QCheckBox>(W(), "chkWordYearGain")->isChecked());
    EXPECT_EQ(Find<QComboBox>(W(), "cmbFont")->currentIndex(), 0);
    Click(W(), "btnCalc_Opt");
    EXPECT_EQ(State().option().WordYearGain, 0);
    EXPECT_EQ(State().option().FontName, Find<QComboBox>(W(), "cmbFont")->itemText(0).toStdString());
    EXPECT_FALSE(Find(W(), "pnlWord")->isVisible());

    Click(W(), "btnWake_Opt");
    Click(W(), "rdbWordShow1");
    Click(W(), "chkWordYearGain");
    EXPECT_FALSE(Find(W(), "edtWord")->isEnabled());
    EXPECT_EQ(State().option().WordYearGain, 1);
    Click(W(), "btnCalc_Opt");
    EXPECT_EQ(Text(W(), "pnlWord"), "現在の年間利益額は 0円です。");
}

TEST_F(OptionsTest, TaxDefaultsKeepTheProfitTaxSwitch) {
    State().calc.tax.DontUse = 1;
    State().calc.tax.YearGain = Yen::FromInt(500);
    OpenOptions("btnTax_Opt");
    Paste(W(), "edtRate_S_K", "8");
    Click(W(), "btnReset_T");
    EXPECT_EQ(Text(W(), "edtRate_S_K"), "5.00");
    EXPECT_EQ(Text(W(), "edtRate_F_E"), "7.00");
    Click(W(), "btnCalc_Opt");
    EXPECT_EQ(Text(W(), "edtYearGain"), "0");
    EXPECT_TRUE(Find<QCheckBox>(W(), "chkDontUse_Tax")->isChecked());
}

TEST_F(OptionsTest, DeletingAsksWithTheNameAndKeepsAtLeastOneTable) {
    StoreTables({"A"});
    OpenOptions("btnMargin_Opt");
    Click(W(), "btnDelete");
    EXPECT_EQ(Messages().numbers, std::vector<int>{111});
    EXPECT_EQ(Listed(), std::vector<std::string>{"A"});

    StoreTables({"A", "B", "C"});
    Click(W(), "btnCalc_Opt");
    Click(W(), "btnMargin_Opt");
    List()->setCurrentRow(2);
    Messages().Clear();
    Messages().answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
    Click(W(), "btnDelete");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B", "C"}));
    Click(W(), "btnDelete");
    EXPECT_EQ(Messages().texts, (std::vector<std::string>{"「C」を削除してよろしいですか？", "「C」を削除してよろしいですか？"}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(List()->currentRow(), 1);  // the new last table
    EXPECT_FALSE(Find(W(), "btnDown")->isEnabled());
    EXPECT_TRUE(Find(W(), "btnUp")->isEnabled());
    RestartProgram();
    EXPECT_EQ(State().calc.tables.UsedNames(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(OptionsTest, AFullSetOffersNoNewTable) {
    for (int count : {14, 15}) {
        SCOPED_TRACE(count);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("T" + std::to_string(i));
        StoreTables(names);
        OpenOptions("btnCalc_Opt");
        Click(W(), "btnMargin_Opt");
        const bool full = count == 15;
        for (const char* b : {"btnNew", "btnCopyNew", "btnIn_M"}) EXPECT_EQ(Find(W(), b)->isEnabled(), !full) << b;
        EXPECT_EQ(Find(W(), "lblMax")->isVisible(), full);
        EXPECT_EQ(Text(W(), "lblMax"), "登録できるテーブルは最大１５個までです");
    }
}

TEST_F(OptionsTest, AMovedTableBecomesTheChoiceOfBothPages) {
    for (bool two : {false, true}) {
        SCOPED_TRACE(two);
        StoreTables({"A", "B", "C"});
        State().option().TwoFlag = two ? 1 : 0;
        State().option().MarginIndexK = 2;
        State().option().MarginIndex2U = 2;
        main_.reset();
        OpenOptions("btnMargin_Opt");
        List()->setCurrentRow(1);
        Click(W(), "btnUp");
        EXPECT_EQ(Listed(), (std::vector<std::string>{"B", "A", "C"}));
        EXPECT_EQ(List()->currentRow(), 0);
        LeaveTab();
        const OptionSettings& o = State().option();
        EXPECT_EQ(o.MarginIndexK, 0);
        EXPECT_EQ(o.MarginIndexU, 0);
        EXPECT_EQ(o.MarginIndex2U, two ? 0 : 2);
        for (const char* combo : {"cmbTable_K", "cmbTable_U"}) EXPECT_EQ(Text(W(), combo), "B") << combo;
        EXPECT_EQ(Text(W(), "cmbTable2_U"), two ? "B" : "C");
        // The moved order is saved at once.
        Calculate("1000", "100");
        EXPECT_EQ(Text(W(), "mmMargin_K"), "200");
    }
}

TEST_F(OptionsTest, TableFilesReportWhatWentWrongAndLeaveTheSetAlone) {
    StoreTables({"A", "B"});
    const std::string folder = Home().Path();
    const std::string garbage = folder + "garbage.ini";
    ASSERT_TRUE(platform::ReplaceFileAtomically(garbage, "[other]\r\nName=x\r\n"));
    struct Case {
        const char* button;
        std::string chosen;  // "" cancels the dialog
        std::vector<int> messages;
        std::string folder;  // MarginPath afterwards ("" unchanged)
    } cases[] = {
        {"btnOut_M", folder + "tables/b.ini", {292}, folder + "tables/"},
        {"btnOut_M", "", {}, ""},
        {"btnOut_M", folder + "b.ini", {}, folder},
        {"btnIn_M", garbage, {293}, folder},
        {"btnIn_M", folder + "none.ini", {291}, folder},
        {"btnIn_M", "", {}, ""},
    };
    OpenOptions("btnMargin_Opt");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.chosen);
        State().option().MarginPath = "/start/";
        QString offered;
        State().choosers.saveTableFile = [&](QWidget*, const QString& start, const QString& name) {
            EXPECT_EQ(start, "/start/");
            EXPECT_TRUE(State().modalDialogOpen);
            offered = name;
            return QString::fromStdString(c.chosen);
        };
        State().choosers.openTableFile = [&](QWidget*, const QString& start) {
            EXPECT_EQ(start, "/start/");
            return QString::fromStdString(c.chosen);
        };
        List()->setCurrentRow(1);
        Messages().Clear();
        Click(W(), c.button);
        EXPECT_EQ(Messages().numbers, c.messages);
        EXPECT_EQ(State().option().MarginPath, c.folder.empty() ? "/start/" : c.folder);
        EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B"}));
        EXPECT_EQ(State().calc.tables.UsedCount(), 2);
        if (std::string(c.button) == "btnOut_M" && !c.chosen.empty()) {
            EXPECT_EQ(offered, "B");
        }
    }
    MarginTable back;
    ASSERT_EQ(ImportMarginTable(folder + "b.ini", back, State().store.Mutex()), ImportDone);
    back.inUse = true;
    EXPECT_TRUE(back == State().calc.tables.Slot(1));
}

TEST_F(OptionsTest, ColoursRepaintAtOnceAndTheMemoPadWhenShown) {
    QColor answer(1, 2, 3);
    State().choosers.chooseColour = [&](QWidget*, QColor initial) {
        EXPECT_TRUE(State().modalDialogOpen);
        EXPECT_EQ(initial.isValid(), true);
        return answer;
    };
    int memoRepaints = 0;
    State().memoRepaint = [&] { ++memoRepaints; };
    QWidget memoPad;
    State().memoPad = &memoPad;
    OpenOptions("btnColor_Opt");
    struct Case {
        const char* panel;
        Colour colour;
        bool memoShown;
        int repaints;
    } cases[] = {
        {"pnlKaiPanel", Colour::KaiPanel, true, 0},
        {"pnlResultChar", Colour::ResultChar, true, 1},
        {"pnlMemo", Colour::MemoPanel, false, 0},
        {"pnlMemo", Colour::MemoPanel, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.panel);
        memoPad.setVisible(c.memoShown);
        memoRepaints = 0;
        State().display().ResetColours();
        QTest::mouseClick(Find(W(), c.panel), Qt::LeftButton);
        EXPECT_EQ(State().display()[c.colour], 0x030201u);
        EXPECT_EQ(memoRepaints, c.repaints);
        if (c.colour == Colour::KaiPanel) {
            EXPECT_EQ(Find(W(), "pnlInput_K")->palette().color(QPalette::Window), answer);
            EXPECT_EQ(Find(W(), "pnlKaiPanel")->palette().color(QPalette::Window), answer);
        }
    }
    answer = QColor();  // cancelled
    QTest::mouseClick(Find(W(), "pnlMarker"), Qt::LeftButton);
    EXPECT_EQ(State().display()[Colour::Marker], DefaultColour(static_cast<int>(Colour::Marker)));
    Click(W(), "btnReset_C");
    EXPECT_EQ(State().display()[Colour::MemoPanel], DefaultColour(static_cast<int>(Colour::MemoPanel)));
    EXPECT_EQ(memoRepaints, 2);  // the reset repaints the shown memo pad too
    State().memoPad = nullptr;
}

TEST_F(OptionsTest, TheCommandLineCalculatesWithTheReorderedTables) {
    StoreTables({"A", "B"});
    OpenOptions("btnMargin_Opt");
    List()->setCurrentRow(1);
    Click(W(), "btnDown");  // nothing below the last
    Click(W(), "btnUp");
    LeaveTab();
    std::ostringstream out, err;
    ASSERT_EQ(cli::CalcMain({"--price", "1000", "--shares", "100", "--table", "0"}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("　　手数料\t200"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace zavota::testing

namespace zavota::testing {
namespace {

// A table built in the editor, written to a file, deleted and read back equals itself.
TEST_F(OptionsTest, ATableSurvivesExportDeleteAndImport) {
    StoreTables({"A"});
    const std::string file = Home().Path() + "round.ini";
    State().choosers.saveTableFile = [&](QWidget*, const QString&, const QString&) { return QString::fromStdString(file); };
    State().choosers.openTableFile = [&](QWidget*, const QString&) { return QString::fromStdString(file); };
    OpenOptions("btnMargin_Opt");
    dialogs.Expect("frmMargin", [](QWidget* d) {
        auto* name = Find<QLineEdit>(d, "edtTableName");
        name->selectAll();
        name->insert(QStringLiteral("往復・段階制"));
        Click(d, "chkKai_Uri");
        auto* g = Find<QTableWidget>(d, "grdMargin");
        const char* buy[][5] = {{"0", "100,000", "0.1", "100", "0"}, {"100,000", "500,000", "0.05", "50", "10"}};
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 5; ++c) g->item(r, c)->setText(QString::fromUtf8(buy[r][c]));
        Paste(d, "edtLowLimit", "100");
        Find<QTabBar>(d, "tabMargin")->setCurrentIndex(1);
        const char* sell[] = {"0", "1,000,000", "0.2", "0", "5.5"};
        for (int c = 0; c < 5; ++c) g->item(0, c)->setText(QString::fromUtf8(sell[c]));
        Paste(d, "edtHighLimit", "3000");
        Click(d, "chkMiniAfter");
        Click(d, "btnOK");
    });
    Click(W(), "btnNew");
    Settle();
    ASSERT_EQ(Listed(), (std::vector<std::string>{"A", "往復・段階制"}));
    const MarginTable built = State().calc.tables.Slot(1);
    EXPECT_EQ(built.Same, 1);
    EXPECT_EQ(built.ElementsK, 2);

    Click(W(), "btnOut_M");
    Click(W(), "btnDelete");
    ASSERT_EQ(Listed(), std::vector<std::string>{"A"});
    EXPECT_EQ(Messages().numbers, std::vector<int>{2});  // the question naming the table
    Messages().Clear();
    // "キャンセル" in the editor takes the imported table out again.
    dialogs.Click("frmMargin", "キャンセル");
    Click(W(), "btnIn_M");
    Settle();
    EXPECT_EQ(Listed(), std::vector<std::string>{"A"});
    dialogs.Expect("frmMargin", [](QWidget* d) { Click(d, "btnOK"); });
    Click(W(), "btnIn_M");
    Settle();
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_TRUE(State().calc.tables.Slot(1) == built);
    LeaveTab();
    EXPECT_EQ(Text(W(), "cmbTable_K"), "往復・段階制");
    RestartProgram();
    EXPECT_TRUE(State().calc.tables.Slot(1) == built);
}

}  // namespace
}  // namespace zavota::testing
