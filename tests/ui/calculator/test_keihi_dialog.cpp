#include <filesystem>
#include <memory>
#include <optional>

#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>

#include "ui/UiTest.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "settings/KeihiFile.h"
#include "ui/calculator/Keihiunit.h"

namespace zavota::testing {
namespace {

using F = KeihiField;

class KeihiDialogTest : public UiTest {
protected:
    std::string DataFolder() const { return Home().HomePath() + "Data/"; }
    std::string SetPath(int n) const { return DataFolder() + KeihiFileName(n); }

    void WriteSetFile(int n, const KeihiSet& set) {
        ASSERT_TRUE(platform::EnsureFolder(DataFolder()));
        ASSERT_TRUE(WriteKeihiSet(DataFolder(), n, set, State().store.Mutex()));
    }
    // A stored value of a set file, as another program reading the file would see it.
    std::optional<std::string> Stored(int n, const char* key) {
        platform::ProfileFile file(SetPath(n));
        file.Refresh();
        return file.Read("経費データ", key);
    }
    std::string Bytes(int n) { return platform::ReadFileBytes(SetPath(n)).bytes; }

    // The dialog shown without a modal loop, as the calling page `side` opens it.
    std::unique_ptr<ui::TfrmKeihi> Open(int side) {
        State().keihiSide = side;
        auto d = std::make_unique<ui::TfrmKeihi>(State());
        d->show();
        Settle();
        return d;
    }
    // A field's text replaced by typing, key by key.
    static void Enter(QWidget* d, const char* name, const char* text) {
        Paste(d, name, "");
        Type(d, name, QString::fromUtf8(text));
    }
    static QTabBar* Tabs(QWidget* d) { return Find<QTabBar>(d, "tabKeihi"); }
    // A click on a tab, as the user changes it.
    static void ClickTab(QWidget* d, int index) {
        QTabBar* tabs = Tabs(d);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    static KeihiSet Sample() {
        KeihiSet s;
        s.RateK = 2.5;
        s.DaysK = 30;
        s.RateU = 1.1;
        s.DaysU = 7;
        s.Kanri = 1234567;
        s.Meigi = 50;
        s.Haitou = 500;
        s.Hibu = 20;
        s.Other = -2500;
        s.Comment = "六月の建玉";
        return s;
    }
};

TEST_F(KeihiDialogTest, OkSelectsTheShownSetForTheCallingPageAndWritesAllFour) {
    State().calc.keihiSelected = {3, 0};
    bool modalFlag = false;
    dialogs.Expect("frmKeihi", [&](QWidget* d) {
        modalFlag = State().modalDialogOpen;
        EXPECT_EQ(Tabs(d)->currentIndex(), 0);  // the sell page had no set
        ClickTab(d, 2);
        Enter(d, "edtNenriK", "3");
        Enter(d, "edtNenri2K", "30");
        Enter(d, "edtOther", "-500");
        Paste(d, "edtComment", QString::fromUtf8("  メモ "));
        Click(d, "btnOk");
    });
    ui::RunKeihiDialog(State(), 1, nullptr);

    EXPECT_TRUE(modalFlag);
    EXPECT_FALSE(State().modalDialogOpen);
    EXPECT_EQ(State().keihiSide, 1);
    EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{3, 2}));
    EXPECT_TRUE(Messages().numbers.empty());

    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(platform::FileExists(SetPath(n))) << n;
    EXPECT_EQ(Stored(2, "Rate_N_K"), "3");
    EXPECT_EQ(Stored(2, "Days_N_K"), "30");
    EXPECT_EQ(Stored(2, "Other"), "-500");
    EXPECT_EQ(Stored(2, "Kanri"), "0");
    EXPECT_EQ(Stored(2, "Comment"), "メモ");
    EXPECT_EQ(Stored(1, "Rate_N_K"), "0");
    EXPECT_EQ(Stored(4, "Comment"), "");
}

TEST_F(KeihiDialogTest, OkOnTheFirstTabSelectsNoSet) {
    State().calc.keihiSelected = {2, 4};
    auto d = Open(0);
    EXPECT_EQ(Tabs(d.get())->currentIndex(), 2);
    ClickTab(d.get(), 0);
    Click(d.get(), "btnOk");
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{0, 4}));
}

TEST_F(KeihiDialogTest, OpeningReadsTheFilesAndShowsThePagesSetWithoutSeparators) {
    WriteSetFile(3, Sample());
    State().calc.keihiSets[0].Other = 99;  // not in any file: replaced at opening
    State().calc.keihiSelected = {3, 1};
    auto d = Open(0);

    EXPECT_EQ(Tabs(d.get())->currentIndex(), 3);
    EXPECT_EQ(Text(d.get(), "edtNenriK"), "2.50");
    EXPECT_EQ(Text(d.get(), "edtNenriU"), "1.10");
    EXPECT_EQ(Text(d.get(), "edtNenri2K"), "30");
    EXPECT_EQ(Text(d.get(), "edtKanri"), "1234567");
    EXPECT_EQ(Text(d.get(), "edtOther"), "-2500");
    EXPECT_EQ(Text(d.get(), "edtComment"), "六月の建玉");
    EXPECT_EQ(State().calc.keihiSets[2], Sample());
    EXPECT_EQ(State().calc.keihiSets[0], KeihiSet{});
    EXPECT_TRUE(Messages().numbers.empty());
}

// A set file written elsewhere may hold more than the fields take by typing: shown whole, not
// emptied with message 200 or cut.
TEST_F(KeihiDialogTest, LongStoredValuesAreShownWholeNotCut) {
    KeihiSet set = Sample();
    set.Comment = std::string(70, 'c');
    set.Kanri = 123456789012.0;  // 12 digits in a field of 10
    WriteSetFile(1, set);
    State().calc.keihiSelected = {1, 1};
    auto d = Open(0);
    EXPECT_EQ(Text(d.get(), "edtComment").size(), 70);
    EXPECT_EQ(Text(d.get(), "edtKanri"), "123456789012");
    EXPECT_TRUE(Messages().numbers.empty());
}

TEST_F(KeihiDialogTest, CancelPutsBackSetsAndSelectionAndWritesNothing) {
    WriteSetFile(1, Sample());
    State().calc.keihiSelected = {1, 2};
    const std::string before = Bytes(1);

    dialogs.Expect("frmKeihi", [&](QWidget* d) {
        Paste(d, "edtKanri", "777");
        ClickTab(d, 4);  // applies set 1
        Enter(d, "edtMeigi", "5");
        Click(d, "btnCancel");
    });
    ui::RunKeihiDialog(State(), 0, nullptr);

    EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{1, 2}));
    EXPECT_EQ(State().calc.keihiSets[0], Sample());
    EXPECT_EQ(State().calc.keihiSets[3], KeihiSet{});
    EXPECT_EQ(Bytes(1), before);
    for (int n = 2; n <= 4; ++n) EXPECT_FALSE(platform::FileExists(SetPath(n))) << n;
}

TEST_F(KeihiDialogTest, TheFirstTabTakesNoInput) {
    State().calc.keihiSelected = {0, 0};
    auto d = Open(0);
    QStringList tabs;
    for (int t = 0; t < Tabs(d.get())->count(); ++t) tabs << Tabs(d.get())->tabText(t);
    EXPECT_EQ(tabs, QStringList({"経費を指定しない", "１", "２", "３", "４"}));
    EXPECT_EQ(Text(d.get(), "edtComment"), "このページには入力できません");
    for (const char* name : {"edtNenriK", "edtNenri2K", "edtNenriU", "edtNenri2U", "edtKanri", "edtMeigi",
                             "edtHaitou", "edtHibu", "edtOther", "edtComment"}) {
        SCOPED_TRACE(name);
        QWidget* w = Find(d.get(), name);
        EXPECT_FALSE(w->isEnabled());
        if (std::string(name) != "edtComment") {
            EXPECT_EQ(Text(d.get(), name), "");
        }
    }
    EXPECT_FALSE(Find(d.get(), "btnClear")->isEnabled());
    EXPECT_FALSE(Find(d.get(), "btnSave")->isEnabled());

    ClickTab(d.get(), 1);
    EXPECT_TRUE(Find(d.get(), "edtNenriK")->isEnabled());
    EXPECT_TRUE(Find(d.get(), "btnSave")->isEnabled());
    EXPECT_EQ(Text(d.get(), "edtNenriK"), "0.00");
    EXPECT_EQ(Text(d.get(), "edtComment"), "");
}

TEST_F(KeihiDialogTest, KeyFiltersAndLengthLimits) {
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"edtNenriK", "-2.5a", "2.5"},         {"edtNenriU", "+12.345678", "+12.345"},
        {"edtNenri2K", "1.5", "15"},           {"edtNenri2K", "12345", "123"},
        {"edtNenri2U", "-1234.5", "12345"},    {"edtKanri", "-1", "1"},
        {"edtMeigi", "1234567890123", "1234567890"},
        {"edtHaitou", "1,000", "1000"},        {"edtHibu", "123456789012", "12345678901"},
        {"edtOther", "-500", "-500"},          {"edtOther", "-1.5", "-15"},
    };
    State().calc.keihiSelected = {1, 0};
    auto d = Open(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed);
        Paste(d.get(), c.field, "");
        Type(d.get(), c.field, QString::fromUtf8(c.typed));
        EXPECT_EQ(Text(d.get(), c.field), QString::fromUtf8(c.shown));
    }
    Type(d.get(), "edtComment", QString(70, QLatin1Char('x')));
    EXPECT_EQ(Text(d.get(), "edtComment").size(), 60);

    // Pasted text that is not a number is refused at once.
    Paste(d.get(), "edtHibu", "12a");
    EXPECT_EQ(Text(d.get(), "edtHibu"), "");
    EXPECT_EQ(Messages().numbers, std::vector<int>{200});
}

TEST_F(KeihiDialogTest, ARefusedFieldKeepsTheTabAndTheDialogAndGetsTheFocus) {
    struct Case {
        const char* field;
        const char* text;  // pasted: some cannot be typed
        int message;
    };
    const Case cases[] = {
        {"edtNenriK", "2.555", 112},   {"edtNenriU", "100", 281},     {"edtNenri2K", "366", 282},
        {"edtNenri2U", "1.5", 101},    {"edtKanri", "100000000", 233}, {"edtHibu", "0.5", 101},
        {"edtOther", "-100000000", 283}, {"edtOther", "-", 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        Messages().Clear();
        State().calc.keihiSelected = {2, 0};
        auto d = Open(0);
        Paste(d.get(), c.field, QString::fromUtf8(c.text));

        ClickTab(d.get(), 3);
        EXPECT_EQ(Tabs(d.get())->currentIndex(), 2);
        EXPECT_EQ(d->ShownTab(), 2);
        EXPECT_EQ(d->focusWidget(), Find(d.get(), c.field));
        EXPECT_EQ(Text(d.get(), c.field), QString::fromUtf8(c.text));  // the text stays to be mended

        Click(d.get(), "btnOk");
        EXPECT_TRUE(d->isVisible());
        Click(d.get(), "btnSave");
        EXPECT_EQ(Messages().numbers, (std::vector<int>{c.message, c.message, c.message}));
        EXPECT_FALSE(platform::FileExists(SetPath(2)));

        // Mended, the title bar closes without selecting: the refused "OK" is not remembered.
        Paste(d.get(), c.field, "");
        d->close();
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{2, 0}));
        EXPECT_FALSE(platform::FileExists(SetPath(2)));
    }
}

TEST_F(KeihiDialogTest, TitleBarCloseKeepsAppliedValuesInMemoryOnly) {
    State().calc.keihiSelected = {0, 3};
    auto d = Open(1);
    Enter(d.get(), "edtHaitou", "800");
    Paste(d.get(), "edtComment", QString::fromUtf8("仮"));
    d->close();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(State().calc.keihiSets[2].Haitou, 800);
    EXPECT_EQ(State().calc.keihiSets[2].Comment, "仮");
    EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{0, 3}));
    EXPECT_FALSE(platform::FileExists(SetPath(3)));
}

TEST_F(KeihiDialogTest, SaveWritesTheShownSetAndBecomesWhatCancelReturnsTo) {
    State().calc.keihiSelected = {2, 0};
    auto d = Open(0);
    Enter(d.get(), "edtNenriU", "1.25");
    Enter(d.get(), "edtNenri2U", "10");
    Click(d.get(), "btnSave");
    EXPECT_TRUE(Messages().numbers.empty());
    EXPECT_EQ(Stored(2, "Rate_N_U"), "1.25");
    EXPECT_EQ(Stored(2, "Days_N_U"), "10");
    for (int n : {1, 3, 4}) EXPECT_FALSE(platform::FileExists(SetPath(n))) << n;

    Click(d.get(), "btnClear");
    for (const char* name : {"edtNenriU", "edtNenri2U", "edtComment"}) EXPECT_EQ(Text(d.get(), name), "") << name;
    ClickTab(d.get(), 1);  // applies the cleared fields as zeros
    EXPECT_EQ(State().calc.keihiSets[1], KeihiSet{});
    Click(d.get(), "btnCancel");
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(State().calc.keihiSets[1].RateU, 1.25);
    EXPECT_EQ(State().calc.keihiSets[1].DaysU, 10);
}

TEST_F(KeihiDialogTest, AFileThatCannotBeWrittenIsReportedAsADataSaveFailure) {
    // A folder where the set file belongs: no user, root included, can write it.
    ASSERT_TRUE(platform::EnsureFolder(SetPath(2) + "/"));
    State().calc.keihiSelected = {2, 0};
    auto d = Open(0);
    Enter(d.get(), "edtKanri", "300");
    Click(d.get(), "btnSave");
    EXPECT_EQ(Messages().numbers, std::vector<int>{263});
    EXPECT_TRUE(d->isVisible());

    // "OK" writes set 1, fails at set 2 and stops there; the choice is made all the same.
    Messages().Clear();
    Click(d.get(), "btnOk");
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(Messages().numbers, std::vector<int>{263});
    EXPECT_TRUE(platform::FileExists(SetPath(1)));
    EXPECT_FALSE(platform::FileExists(SetPath(3)));
    EXPECT_FALSE(platform::FileExists(SetPath(4)));
    EXPECT_EQ(State().calc.keihiSelected[0], 2);
}

TEST_F(KeihiDialogTest, PlacedOnScreenAndEveryCloseKeepsThePosition) {
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    State().display().KXY = {-40, screen.height() + 500};
    auto d = Open(0);
    EXPECT_EQ(d->pos().x(), 0);
    EXPECT_EQ(d->frameGeometry().bottom() + 1, screen.height());

    d->move(30, 40);
    Click(d.get(), "btnCancel");
    EXPECT_EQ(State().display().KXY, (WindowPosition{30, 40}));
}

TEST_F(KeihiDialogTest, WithoutADataFolderTheSetsInMemoryStand) {
    // The data folder's place is taken by a file.
    ASSERT_TRUE(platform::EnsureFolder(Home().HomePath()));
    ASSERT_TRUE(platform::ReplaceFileAtomically(Home().HomePath() + "Data", "x"));
    State().calc.keihiSets[3] = Sample();
    State().calc.keihiSelected = {0, 4};
    auto d = Open(1);
    EXPECT_EQ(Tabs(d.get())->currentIndex(), 4);
    EXPECT_EQ(Text(d.get(), "edtOther"), "-2500");
    Paste(d.get(), "edtOther", "0");
    ClickTab(d.get(), 0);
    Click(d.get(), "btnCancel");
    EXPECT_EQ(State().calc.keihiSets[3], Sample());
    EXPECT_EQ(State().calc.keihiSelected, (std::array<int, 2>{0, 4}));
}

}  // namespace
}  // namespace zavota::testing
