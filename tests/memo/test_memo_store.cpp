#include "memo/MemoStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "memo/MemoFixture.h"
#include "platform/ProfileFile.h"

namespace zavota {
namespace {

using testing::Cp932;
using testing::FileBytes;
using testing::MemoStoreTest;

struct Row {
    std::string selected, comment, price, shares;
};

// Saves a per-stock page the way the memo pad does: the name, then each column for all rows.
bool SavePage(MemoStore& store, int number, const std::string& name, std::vector<Row> rows) {
    rows.resize(kMemoRows);
    if (!store.open(MemoPageFileName(MemoPageKind::PerStock, number), MemoFileKind::Ini, false)) return false;
    // As the memo pad saves a page: every cell in one write of the file.
    std::vector<MemoCell> cells{{kCellPageName, 0, name}};
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellSelected, r, rows[r - 1].selected});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellComment, r, rows[r - 1].comment});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellPrice, r, rows[r - 1].price});
    for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellShares, r, rows[r - 1].shares});
    const bool ok = store.writeCells(cells);
    return store.close() && ok;
}

std::string Section(const std::string& cp932Name, const std::string& firstValue) {
    std::string s = "[" + cp932Name + "]\r\n1=" + firstValue + "\r\n";
    for (int r = 2; r <= kMemoRows; ++r) s += std::to_string(r) + "=\r\n";
    return s;
}

TEST_F(MemoStoreTest, SavedPageFileHasEveryKeyInCodePage932WithCrLf) {
    ASSERT_TRUE(SavePage(store, 1, "トヨタ", {{"*", "1/5", "1,234", "100"}}));
    const std::string expected =
        "[\x96\xc1\x95\xbf\x81\x69\x83\x79\x81\x5b\x83\x57\x96\xbc\x81\x6a]\r\n"  // 銘柄（ページ名）
        "Name=\x83\x67\x83\x88\x83\x5e\r\n" +                                     // トヨタ
        Section("\x91\x49\x91\xf0", "*") +                                        // 選択
        Section("\x83\x52\x83\x81\x83\x93\x83\x67", "1/5") +                      // コメント
        Section("\x92\x50\x89\xbf", "1,234") +                                    // 単価
        Section("\x8a\x94\x90\x94", "100");                                       // 株数
    EXPECT_EQ(FileBytes(Path("M_1.ini")), expected);

    // A second save over it replaces every value in place: no stale row, same layout.
    ASSERT_TRUE(SavePage(store, 1, "トヨタ", {{"", "", "", ""}, {"*", "1/6", "900", "5"}}));
    ASSERT_TRUE(SavePage(store, 2, "トヨタ", {{"", "", "", ""}, {"*", "1/6", "900", "5"}}));
    EXPECT_EQ(FileBytes(Path("M_1.ini")), FileBytes(Path("M_2.ini")));
    std::vector<std::string> prices;
    ASSERT_TRUE(store.open("M_1.ini", MemoFileKind::Ini, true));
    ASSERT_TRUE(store.readColumn(kCellPrice, kMemoRows, prices));
    store.close();
    ASSERT_EQ(prices.size(), 20u);
    EXPECT_EQ(prices[0], "");
    EXPECT_EQ(prices[1], "900");
}

TEST_F(MemoStoreTest, IndexListsPagesInFileOrderAndDropsDamagedEntries) {
    PutFile("M00index.ini",
            "[A]\r\nFileNo=2\r\n[B]\r\nFileNo=1\r\n[Zero]\r\nFileNo=0\r\n[MinusOne]\r\nFileNo=-1\r\n"
            "[NoNumber]\r\nOther=3\r\n[FONT]\r\nSIZE=4\r\n[Negative]\r\nFileNo=-7\r\n"
            "[Huge]\r\nFileNo=99999999999\r\n[TooMany]\r\nFileNo=100000\r\n[Text]\r\nFileNo=abc\r\n"
            "[Partly]\r\nFileNo=3x\r\n[銘柄C]\r\nFileNo= 3 \r\n[Last]\r\nFileNo=99999\r\n");
    std::vector<MemoPageEntry> pages{{"stale", 9}};
    ASSERT_TRUE(store.open("M00index.ini", MemoFileKind::Ini, true));
    ASSERT_TRUE(store.readPageIndex(pages));
    EXPECT_TRUE(store.close());
    const std::vector<MemoPageEntry> expected{{"A", 2}, {"B", 1}, {"銘柄C", 3}, {"Last", 99999}};
    EXPECT_EQ(pages, expected);
}

TEST_F(MemoStoreTest, IndexEntryWrittenTwiceStaysOneSection) {
    ASSERT_TRUE(store.open("M00index.ini", MemoFileKind::Ini, false));
    EXPECT_TRUE(store.writeIndexEntry("A", 1));
    EXPECT_TRUE(store.writeIndexEntry("B", 2));
    EXPECT_TRUE(store.writeIndexEntry("A", 3));
    std::vector<MemoPageEntry> pages;
    EXPECT_TRUE(store.readPageIndex(pages));
    store.close();
    EXPECT_EQ(pages, (std::vector<MemoPageEntry>{{"A", 3}, {"B", 2}}));
}

TEST_F(MemoStoreTest, FontSize) {
    struct Case {
        const char* file;  // nullptr: no index file
        int index;
        bool ok;
    };
    const Case cases[] = {
        {nullptr, 1, true},
        {"[A]\r\nFileNo=1\r\n", 1, true},
        {"[FONT]\r\nSIZE=4\r\n", 4, true},
        {"[FONT]\r\nSIZE=9\r\n", 9, true},  // out of the list: the window falls back itself
        {"[FONT]\r\nSIZE=big\r\n", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(none)");
        platform::RemoveFile(Path("N00index.ini"));
        if (c.file) PutFile("N00index.ini", c.file);
        ASSERT_TRUE(store.open("N00index.ini", MemoFileKind::Ini, true));
        int index = -5;
        EXPECT_EQ(store.readFontSize(index), c.ok);
        EXPECT_EQ(index, c.index);
        store.close();
    }
    // Written and read back; nothing open reads as the default and fails.
    ASSERT_TRUE(store.open("N00index.ini", MemoFileKind::Ini, false));
    EXPECT_TRUE(store.writeFontSize(6));
    store.close();
    int index = 0;
    EXPECT_FALSE(store.readFontSize(index));
    EXPECT_EQ(index, 1);
    ASSERT_TRUE(store.open("N00index.ini", MemoFileKind::Ini, true));
    EXPECT_TRUE(store.readFontSize(index));
    EXPECT_EQ(index, 6);
    store.close();
}

TEST_F(MemoStoreTest, ReadColumnTakesKeysByPosition) {
    std::string many = "[株数]\r\n";
    for (int k = 1; k <= 25; ++k) many += std::to_string(k) + "=" + std::to_string(k * 10) + "\r\n";
    PutFile("M_1.ini", "[単価]\r\n5=500\r\n1=100\r\n9=\r\n; note\r\nno equals\r\n" + many + "[コメント]\r\n");
    struct Case {
        int kind;
        int maxRows;
        bool ok;
        std::vector<std::string> values;
    };
    std::vector<std::string> twenty;
    for (int k = 1; k <= 20; ++k) twenty.push_back(std::to_string(k * 10));
    const Case cases[] = {
        {kCellPrice, 20, true, {"500", "100", ""}},
        {kCellPrice, 2, true, {"500", "100"}},
        {kCellShares, 20, true, twenty},
        {kCellComment, 20, true, {}},   // empty section
        {kCellSelected, 20, true, {}},  // no such section
        {kCellPrice, -1, true, {}},
        {kCellPageName, 20, false, {"untouched"}},
        {3, 20, false, {"untouched"}},
    };
    ASSERT_TRUE(store.open("M_1.ini", MemoFileKind::Ini, true));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << c.kind << " max " << c.maxRows);
        std::vector<std::string> values{"untouched"};
        EXPECT_EQ(store.readColumn(c.kind, c.maxRows, values), c.ok);
        EXPECT_EQ(values, c.values);
    }
    store.close();
}

TEST_F(MemoStoreTest, WriteCellRefusesUnknownKindsAndClosedStore) {
    EXPECT_FALSE(store.writeCell(kCellPrice, 1, "100"));  // nothing open
    EXPECT_FALSE(store.writeCalculator(std::vector<std::string>(17)));
    ASSERT_TRUE(store.open("M_1.ini", MemoFileKind::Ini, false));
    for (int kind : {-3, 3, 99}) EXPECT_FALSE(store.writeCell(kind, 1, "x")) << kind;
    store.close();
    EXPECT_FALSE(Exists("M_1.ini"));  // an absent INI file is not created by open or close
}

TEST_F(MemoStoreTest, CalculatorFileDefaultsAndRoundTrip) {
    std::vector<std::string> items{"kept"};
    ASSERT_TRUE(store.open("Calc.ini", MemoFileKind::Ini, true));
    ASSERT_TRUE(store.readCalculator(items));
    store.close();
    std::vector<std::string> expected{"kept"};
    expected.resize(1 + 12);
    expected.insert(expected.end(), {"-", "", "", "2", "0"});
    EXPECT_EQ(items, expected);

    // As typed, including what the format must quote or cannot hold in code page 932.
    std::vector<std::string> typed{"1", " 2 ", "\"3\"", "4", "5", "6", "7", "8", "9", "10",
                                   "1,000", "3", "*", "", "7€", "3", "2"};
    ASSERT_TRUE(store.open("Calc.ini", MemoFileKind::Ini, false));
    EXPECT_FALSE(store.writeCalculator(std::vector<std::string>(16, "x")));
    EXPECT_TRUE(store.writeCalculator(typed));
    store.close();

    platform::ProfileFile file(Path("Calc.ini"));
    EXPECT_EQ(file.Sections(), (std::vector<std::string>{"Title", "Data"}));
    EXPECT_EQ(file.ReadString("Title", "Name", ""), "シンプル計算機");
    EXPECT_EQ(file.Keys("Data"), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A",
                                                           "B", "PER", "M1", "M2", "TRUNC", "DIGITS"}));
    items.clear();
    ASSERT_TRUE(store.open("Calc.ini", MemoFileKind::Ini, true));
    ASSERT_TRUE(store.readCalculator(items));
    store.close();
    EXPECT_EQ(items, typed);
}

// A page whose only filled row is the last one.
std::vector<Row> OnlyLastRow(Row last) {
    std::vector<Row> rows(kMemoRows);
    rows.back() = std::move(last);
    return rows;
}

TEST_F(MemoStoreTest, PageTotals) {
    struct Case {
        const char* what;
        std::vector<Row> rows;
        int status;
        std::int64_t average, shares, amount;  // whole units
    };
    const Case cases[] = {
        {"one row", {{"*", "", "1,000", "500"}}, kTotalsDone, 1000, 500, 500000},
        {"unticked rows ignored",
         {{"", "", "5000", "100"}, {"*", "", "1000", "100"}, {"x", "", "9", "9"}, {" *", "", "abc", "1"}},
         kTotalsDone, 1000, 100, 100000},
        {"empty price counts 0", {{"*", "", "", "100"}, {"*", "", "1000", "100"}}, kTotalsDone, 500, 200, 100000},
        {"average half away from zero", {{"*", "", "100", "1"}, {"*", "", "101", "2"}}, kTotalsDone, 101, 3, 302},
        // 100.5 x 3 = 301.5 -> 302 and 0.25 x 2 = 0.5 -> 1: 303 / 5 = 60.6 -> 61
        {"row amounts half away from zero", {{"*", "", "100.5", "3"}, {"*", "", "0.25", "2"}}, kTotalsDone, 61, 5,
         303},
        {"exact half average", {{"*", "", "2.5", "2"}}, kTotalsDone, 3, 2, 5},
        {"negative half rounds away from zero", {{"*", "", "-1.5", "1"}}, kTotalsDone, -2, 1, -2},
        // shares 1.5 sum to 2; amount 150; 150 / 2 = 75
        {"share total rounded", {{"*", "", "100", "1.5"}}, kTotalsDone, 75, 2, 150},
        {"separators and exponent", {{"*", "", "1,000", "5e2"}}, kTotalsDone, 1000, 500, 500000},
        {"nothing ticked", {{"", "", "1000", "1"}}, kTotalsDone, 0, 0, 0},
        {"row 20 counts", OnlyLastRow({"*", "", "1,000", "7"}), kTotalsDone, 1000, 7, 7000},
        {"price not a number", {{"*", "", "1000", "1"}, {"*", "", "abc", "1"}}, kTotalsInvalid, 0, 0, 0},
        {"shares not a number", {{"*", "", "1000", "1x"}}, kTotalsInvalid, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SavePage(store, 1, "P", c.rows));
        const PageTotals t = store.pageTotals(1);
        EXPECT_EQ(t.status, c.status);
        if (c.status != kTotalsDone) continue;
        EXPECT_EQ(t.average, Yen::FromInt(c.average));
        EXPECT_EQ(t.shares, Yen::FromInt(c.shares));
        EXPECT_EQ(t.amount, Yen::FromInt(c.amount));
    }
    EXPECT_FALSE(store.isOpen());

    EXPECT_EQ(store.pageTotals(0).status, kTotalsUnavailable);
    ASSERT_TRUE(store.open("M00index.ini", MemoFileKind::Ini, true));
    EXPECT_EQ(store.pageTotals(1).status, kTotalsUnavailable);  // busy
    store.close();
    if (::geteuid() != 0) {
        ::chmod(Path("M_1.ini").c_str(), 0);
        EXPECT_EQ(store.pageTotals(1).status, kTotalsUnavailable);
    }
}

TEST_F(MemoStoreTest, OneFileAtATimeAndNoFileOpsWhileOpen) {
    PutFile("a.ini", "[x]\r\ny=1\r\n");
    ASSERT_TRUE(store.open("a.ini", MemoFileKind::Ini, true));
    EXPECT_EQ(store.textStream(), nullptr);
    EXPECT_FALSE(store.open("b.ini", MemoFileKind::Ini, true));
    EXPECT_FALSE(store.removeFile("a.ini"));
    EXPECT_FALSE(store.renameFile("a.ini", "c.ini"));
    EXPECT_TRUE(store.isOpen());
    EXPECT_TRUE(store.close());
    EXPECT_FALSE(store.close());

    EXPECT_TRUE(store.renameFile("a.ini", "c.ini"));
    EXPECT_TRUE(Exists("c.ini"));
    EXPECT_FALSE(Exists("a.ini"));
    EXPECT_TRUE(store.removeFile("c.ini"));
    EXPECT_FALSE(store.removeFile("c.ini"));
    EXPECT_FALSE(store.renameFile("c.ini", "d.ini"));
}

TEST_F(MemoStoreTest, NamesStayInsideTheDataFolder) {
    PutFile("../outside.ini", "[x]\r\ny=1\r\n");
    for (const char* name : {"", ".", "..", "../outside.ini", "sub/a.ini"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.open(name, MemoFileKind::Ini, true));
        EXPECT_FALSE(store.open(name, MemoFileKind::Text, false));
        EXPECT_FALSE(store.removeFile(name));
        EXPECT_FALSE(store.renameFile(name, "x.ini"));
        EXPECT_FALSE(store.renameFile("x.ini", name));
    }
    EXPECT_TRUE(platform::FileExists(tmp / "outside.ini"));
}

TEST_F(MemoStoreTest, TextPagesRoundTrip) {
    struct Case {
        std::string text;
        std::string bytes;     // on disk
        std::string readBack;  // what a load gives
        bool fallback = false; // the file turned UTF-8 with this save
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"メモ\n2行目", Cp932("メモ\r\n2行目\r\n"), "メモ\n2行目"},
        // Marks typed in their Unicode forms go to disk in their code page 932 forms.
        {"〜‖−￠￡￢¢", "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x91\r\n", "～∥－￠￡￢￠"},
        {"株価😀\n\n末尾\t", bom + "株価😀\r\n\r\n末尾\t\r\n", "株価😀\n\n末尾\t", true},
        {"😀", bom + "😀\r\n", "😀"},  // UTF-8 already: no second notice
        {"abc", "abc\r\n", "abc"},
        {"a\r\nb\rc\n", "a\r\nb\r\nc\r\n", "a\nb\nc"},
        {"\n", "\r\n", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(store.open("N_1.txt", MemoFileKind::Text, false));
        ASSERT_NE(store.textStream(), nullptr);
        store.textStream()->Write(c.text);
        ASSERT_TRUE(store.close());
        EXPECT_EQ(FileBytes(Path("N_1.txt")), c.bytes);
        EXPECT_EQ(store.takeUtf8Fallback(), c.fallback);

        ASSERT_TRUE(store.open("N_1.txt", MemoFileKind::Text, true));
        EXPECT_EQ(store.textStream()->Text(), c.readBack);
        EXPECT_FALSE(store.textStream()->Damaged());
        EXPECT_TRUE(store.close());
        EXPECT_EQ(store.textStream(), nullptr);
    }
}

TEST_F(MemoStoreTest, TextPageReadsAnyLineEnd) {
    ASSERT_TRUE(platform::ReplaceFileAtomically(Path("N_2.txt"), Cp932("一\n二\r三\r\n\r\n四")));
    ASSERT_TRUE(store.open("N_2.txt", MemoFileKind::Text, true));
    EXPECT_EQ(store.textStream()->Text(), "一\n二\n三\n\n四");
    EXPECT_EQ(store.textStream()->Lines(), (std::vector<std::string>{"一", "二", "三", "", "四"}));
    store.close();
    // A last empty line is a line the user typed: it must come back.
    ASSERT_TRUE(platform::ReplaceFileAtomically(Path("N_3.txt"), Cp932("一\r\n\r\n")));
    ASSERT_TRUE(store.open("N_3.txt", MemoFileKind::Text, true));
    EXPECT_EQ(store.textStream()->Lines(), (std::vector<std::string>{"一", ""}));
    store.close();
    EXPECT_FALSE(store.open("N_9.txt", MemoFileKind::Text, true));
    EXPECT_FALSE(store.isOpen());
}

TEST_F(MemoStoreTest, DamagedTextPageIsKeptAsideWhenSavedOver) {
    const std::string damaged = "ok\x81\x20\r\n";  // a lead byte without its second byte
    ASSERT_TRUE(platform::ReplaceFileAtomically(Path("N_1.txt"), damaged));
    ASSERT_TRUE(store.open("N_1.txt", MemoFileKind::Text, true));
    EXPECT_TRUE(store.textStream()->Damaged());
    store.close();
    ASSERT_TRUE(store.open("N_1.txt", MemoFileKind::Text, false));
    store.textStream()->Write("new");
    ASSERT_TRUE(store.close());
    EXPECT_EQ(FileBytes(Path("N_1.txt")), "new\r\n");
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data)) {
        if (entry.path().filename().string().starts_with("N_1.txt.damaged-")) {
            ++kept;
            EXPECT_EQ(FileBytes(entry.path().string()), damaged);
        }
    }
    EXPECT_EQ(kept, 1);
}

// Orphans set aside within one second take numbered names: none replaces the one before it.
TEST_F(MemoStoreTest, OrphansSetAsideInOneSecondAllSurvive) {
    const std::string page = Path("M_4.ini");
    for (int attempt = 0; attempt < 5; ++attempt) {
        std::filesystem::remove_all(data);
        ASSERT_TRUE(platform::EnsureFolder(data));
        const std::string first = platform::StampedName(page, "orphan", 1);
        for (const char* content : {"a", "b", "c"}) {
            ASSERT_TRUE(platform::ReplaceFileAtomically(page, content));
            ASSERT_TRUE(store.setAsideOrphan(MemoPageKind::PerStock, 4));
            EXPECT_FALSE(Exists("M_4.ini"));
        }
        if (platform::StampedName(page, "orphan", 1) != first) continue;  // a second went by: again
        EXPECT_EQ(FileBytes(first), "a");
        EXPECT_EQ(FileBytes(first + "-2"), "b");
        EXPECT_EQ(FileBytes(first + "-3"), "c");
        return;
    }
    ADD_FAILURE() << "three renames never fitted in one second";
}

TEST_F(MemoStoreTest, SavesIntoReadOnlyFolderReportFailure) {
    testing::WherePermissionsBind(tmp.Path(), [&] {
        PutFile("N_1.txt", "old\r\n");
        PutFile("Calc.ini", "[Data]\r\n0=old\r\n");
        ASSERT_TRUE(store.open("N_1.txt", MemoFileKind::Text, false));  // still writable here
        ASSERT_EQ(::chmod(data.c_str(), 0555), 0);
        store.textStream()->Write("new");
        EXPECT_FALSE(store.close());
        EXPECT_EQ(FileBytes(Path("N_1.txt")), "old\r\n");

        EXPECT_FALSE(store.open("N_1.txt", MemoFileKind::Text, false));
        EXPECT_FALSE(store.isOpen());
        ASSERT_TRUE(store.open("M_1.ini", MemoFileKind::Ini, false));
        EXPECT_FALSE(store.writeCell(kCellPageName, 0, "A"));
        store.close();
        EXPECT_FALSE(Exists("M_1.ini"));

        ASSERT_TRUE(store.open("Calc.ini", MemoFileKind::Ini, false));
        EXPECT_FALSE(store.writeCalculator(std::vector<std::string>(kCalculatorItems, "new")));
        store.close();
        EXPECT_EQ(FileBytes(Path("Calc.ini")), "[Data]\r\n0=old\r\n");
    });
}

// Every operation that touches a file waits for the mutex and gives it back on every way out.
TEST_F(MemoStoreTest, OperationsHoldTheMutex) {
    PutFile("M_1.ini", "[単価]\r\n1=5\r\n");
    PutFile("N_1.txt", "x\r\n");
    std::vector<std::string> list;
    std::vector<MemoPageEntry> pages;
    int font = 0;
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"open ini", [&] { store.open("M_1.ini", MemoFileKind::Ini, false); }},
        {"writeCell", [&] { store.writeCell(kCellPrice, 1, "6"); }},
        {"writeCell refused", [&] { store.writeCell(7, 1, "6"); }},
        {"readColumn", [&] { store.readColumn(kCellPrice, 20, list); }},
        {"writeIndexEntry", [&] { store.writeIndexEntry("A", 1); }},
        {"readPageIndex", [&] { store.readPageIndex(pages); }},
        {"writeFontSize", [&] { store.writeFontSize(2); }},
        {"readFontSize", [&] { store.readFontSize(font); }},
        {"writeCalculator", [&] { store.writeCalculator(std::vector<std::string>(17)); }},
        {"readCalculator", [&] { store.readCalculator(list); }},
        {"open refused while open", [&] { store.open("N_1.txt", MemoFileKind::Text, true); }},
        {"removeFile refused while open", [&] { store.removeFile("N_1.txt"); }},
        {"close", [&] { store.close(); }},
        {"open text", [&] { store.open("N_1.txt", MemoFileKind::Text, false); }},
        {"close text", [&] { store.close(); }},
        {"open missing text", [&] { store.open("N_7.txt", MemoFileKind::Text, true); }},
        {"renameFile", [&] { store.renameFile("N_1.txt", "N_2.txt"); }},
        {"removeFile", [&] { store.removeFile("N_2.txt"); }},
        {"pageTotals", [&] { store.pageTotals(1); }},
    };
    for (const auto& [what, operation] : operations) {
        SCOPED_TRACE(what);
        std::atomic<bool> held{false};
        std::atomic<bool> released{false};
        std::thread holder([&] {
            platform::NamedMutex other("VekkarMutex", tmp.Path());
            other.Lock();
            held = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            released = true;
            other.Unlock();
        });
        while (!held) std::this_thread::yield();
        operation();
        EXPECT_TRUE(released);
        holder.join();
        EXPECT_EQ(mutex.Depth(), 0);
    }
    EXPECT_NE(FileBytes(Path("M_1.ini")).find("1=6\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zavota
