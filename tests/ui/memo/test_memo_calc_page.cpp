#include <filesystem>
#include <map>

#include <QKeyEvent>
#include <QRadioButton>
#include <QTableWidget>

#include "ui/UiTest.h"
#include "memo/MemoStore.h"
#include "ui/memo/MemoCalcPage.h"

namespace zavota::testing {
namespace {

class MemoCalcPageTest : public UiTest {
protected:
    MemoCalcPageTest() {
        std::filesystem::create_directories(data);
        page.show();
        Settle();
    }
    QTableWidget* Grid() { return Find<QTableWidget>(&page, "grdCalc"); }
    void SetCells(const std::vector<const char*>& cells) {
        for (int r = 0; r < 10; ++r)
            Grid()->item(r, 0)->setText(r < static_cast<int>(cells.size()) ? QString::fromUtf8(cells[r]) : QString());
    }
    QString CellText(int row) { return Grid()->item(row, 0)->text(); }
    bool Enabled(const char* name) {
        auto* w = Find(&page, name);
        return w != nullptr && w->isEnabled();
    }
    void Check(const char* name) {
        if (auto* b = Find<QAbstractButton>(&page, name)) b->setChecked(true);
    }

    std::string data = Home().HomePath() + "Data/";
    MemoStore store{data, State().store.Mutex()};
    ui::TMemoCalcPage page{State(), store};
};

TEST_F(MemoCalcPageTest, PressesGiveTheirResults) {
    struct Case {
        std::vector<const char*> cells;
        const char* rounding;
        int digits;
        const char *a, *b;
        bool percent;
        const char* press;
        std::map<const char*, const char*> expected;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {{"1", "2", "2"}, "rbtnS2", 0, "", "", false, "btnCalc01", {{"mmCalc_H", "2"}, {"mmCalc_T", "5"}}, {}},
        {{"1", "2", "2"}, "rbtnS1", 0, "", "", false, "btnCalc01", {{"mmCalc_H", "1"}, {"mmCalc_T", "5"}}, {}},
        {{"1", "2", "2"}, "rbtnS3", 2, "", "", false, "btnCalc01", {{"mmCalc_H", "1.67"}, {"mmCalc_T", "5.00"}}, {}},
        {{"1,000", "", "+"}, "rbtnS2", 0, "", "", false, "btnCalc01", {{"mmCalc_H", "1,000"}, {"mmCalc_T", "1,000"}}, {}},
        {{"1", "99,999,999"}, "rbtnS2", 0, "", "", false, "btnCalc01", {{"mmCalc_H", ""}, {"mmCalc_T", ""}}, {266}},
        {{}, "rbtnS2", 0, "200", "8", true, "btnCalc02",
         {{"mmCalc_R1", "200"}, {"mmCalc_R3", "16"}, {"mmCalc_R4", "2,500"}, {"rbtnCalc_R51", "****"}}, {}},
        {{}, "rbtnS2", 1, "10", "0", false, "btnCalc02",
         {{"mmCalc_R2", "10.0"}, {"mmCalc_R4", "*** ZERO ***"}, {"rbtnCalc_R51", "100.0%"}, {"rbtnCalc_R52", "0.0%"}},
         {}},
        {{}, "rbtnS3", 0, "-7", "2", false, "btnCalc02", {{"mmCalc_R4", "-4"}}, {}},
        {{}, "rbtnS2", 0, "5", "", false, "btnCalc02", {{"mmCalc_R1", ""}, {"rbtnCalc_R51", ""}}, {200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.press) + " " + (c.cells.empty() ? "" : c.cells[0]) + " " + c.a);
        Messages().Clear();
        SetCells(c.cells);
        Check(c.rounding);
        Select(&page, "cmbS4", c.digits);
        Paste(&page, "edtCalc_A", QString::fromUtf8(c.a));
        Paste(&page, "edtCalc_B", QString::fromUtf8(c.b));
        Find<QCheckBox>(&page, "chkPer")->setChecked(c.percent);
        Click(&page, c.press);
        for (const auto& [name, text] : c.expected) EXPECT_EQ(Text(&page, name).toStdString(), text) << name;
        EXPECT_EQ(Messages().numbers, c.messages);
    }
    // The empty and the "+" cell were emptied; the 266 run selected the offending row.
    SetCells({"10", "x", "99999999"});
    Click(&page, "btnCalc01");
    EXPECT_EQ(CellText(1), "");
    EXPECT_EQ(Grid()->currentRow(), 2);
}

TEST_F(MemoCalcPageTest, GridCellsKeepOnlyNumberCharacters) {
    Grid()->item(0, 0)->setText("12a3");
    EXPECT_EQ(CellText(0), "12");
    EXPECT_EQ(Messages().numbers, std::vector<int>{229});
    Grid()->setCurrentCell(0, 0);
    QTest::keyClick(Grid(), Qt::Key_Delete);
    EXPECT_EQ(CellText(0), "");
}

TEST_F(MemoCalcPageTest, TransferButtonsFollowTheResults) {
    const char* transfers[] = {"btnCalc_R11", "btnCalc_R12", "btnCalc_R13", "btnCalc_R14", "btnCalc_R44", "btnCalc_R53"};
    for (const char* b : transfers) EXPECT_FALSE(Enabled(b)) << b;

    Paste(&page, "edtCalc_A", "123456788");
    Paste(&page, "edtCalc_B", "1");
    Click(&page, "btnCalc02");
    EXPECT_EQ(Text(&page, "mmCalc_R1"), "123,456,789");
    EXPECT_FALSE(Enabled("btnCalc_R11") || Enabled("btnCalc_R12"));
    EXPECT_TRUE(Enabled("btnCalc_R13") && Enabled("btnCalc_R14") && Enabled("btnCalc_R53"));
    Click(&page, "btnCalc_R13");
    EXPECT_EQ(Text(&page, "edtCalc_M1"), "123456789");
    // Too large for an operand: refused from the memory too.
    Click(&page, "btnCalc_M11");
    EXPECT_EQ(Messages().numbers, std::vector<int>{266});
    EXPECT_EQ(Text(&page, "edtCalc_A"), "123456788");

    // A result longer than what may be typed into A arrives whole.
    Select(&page, "cmbS4", 3);
    Paste(&page, "edtCalc_A", "-99999999");
    Paste(&page, "edtCalc_B", "0.001");
    Click(&page, "btnCalc02");
    ASSERT_TRUE(Enabled("btnCalc_R11"));
    Click(&page, "btnCalc_R11");
    EXPECT_EQ(Text(&page, "edtCalc_A"), "-99999998.999");
    Type(&page, "edtCalc_B", "1234567890123");
    EXPECT_EQ(Text(&page, "edtCalc_B"), "0.0011234567");

    // The split of 5 and 3 goes to M2 from the chosen side.
    Select(&page, "cmbS4", 1);
    Paste(&page, "edtCalc_A", "5");
    Paste(&page, "edtCalc_B", "3");
    Click(&page, "btnCalc02");
    Check("rbtnCalc_R52");
    Click(&page, "btnCalc_R54");
    EXPECT_EQ(Text(&page, "edtCalc_M2"), "37.5");
    Click(&page, "btnCalc_M22");
    EXPECT_EQ(Text(&page, "edtCalc_B"), "37.5");

    // An operand that is not a number leaves no button beside an emptied row.
    Paste(&page, "edtCalc_B", "");
    Click(&page, "btnCalc02");
    for (const char* b : transfers) EXPECT_FALSE(Enabled(b)) << b;
    Click(&page, "btnCalc02");
    Paste(&page, "edtCalc_B", "3");
    Click(&page, "btnCalc02");
    Click(&page, "btnClear02");
    for (const char* b : transfers) EXPECT_FALSE(Enabled(b)) << b;
    EXPECT_TRUE(Find<QRadioButton>(&page, "rbtnCalc_R51")->isChecked());
    EXPECT_EQ(Text(&page, "edtCalc_A"), "");
}

TEST_F(MemoCalcPageTest, SavedValuesComeBackAtTheNextOpening) {
    SetCells({"1,000", "", "2.5", "-3", "", "", "", "", "", "9"});
    Paste(&page, "edtCalc_A", "12.5");
    Paste(&page, "edtCalc_B", "-4");
    Find<QCheckBox>(&page, "chkPer")->setChecked(true);
    Paste(&page, "edtCalc_M1", "77");
    Paste(&page, "edtCalc_M2", "-0.125");
    Check("rbtnS3");
    Select(&page, "cmbS4", 2);
    ASSERT_TRUE(page.Save());

    ui::TMemoCalcPage next(State(), store);
    next.Load();
    auto* grid = Find<QTableWidget>(&next, "grdCalc");
    const char* cells[] = {"1,000", "", "2.5", "-3", "", "", "", "", "", "9"};
    for (int r = 0; r < 10; ++r) EXPECT_EQ(grid->item(r, 0)->text().toStdString(), cells[r]) << r;
    EXPECT_EQ(Text(&next, "edtCalc_A"), "12.5");
    EXPECT_EQ(Text(&next, "edtCalc_B"), "-4");
    EXPECT_TRUE(Find<QCheckBox>(&next, "chkPer")->isChecked());
    EXPECT_EQ(Text(&next, "edtCalc_M1"), "77");
    EXPECT_EQ(Text(&next, "edtCalc_M2"), "-0.125");
    EXPECT_TRUE(Find<QRadioButton>(&next, "rbtnS3")->isChecked());
    EXPECT_EQ(Text(&next, "cmbS4"), "2");

    // A file that cannot be read opens the page empty with its defaults; saving over it fails.
    std::filesystem::remove(data + "Calc.ini");
    std::filesystem::create_directory(data + "Calc.ini");
    next.Load();
    EXPECT_EQ(grid->item(0, 0)->text(), "");
    EXPECT_EQ(Text(&next, "edtCalc_A"), "");
    EXPECT_TRUE(Find<QRadioButton>(&next, "rbtnS2")->isChecked());
    EXPECT_FALSE(next.Save());
    EXPECT_TRUE(Messages().numbers.empty());
}

}  // namespace
}  // namespace zavota::testing
