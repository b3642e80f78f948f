// Whole pages on disk (one replace per file, read back through the profile rules), the row
// rules shared by the grid and the summary, and the checks of names and hand-over figures.
#include "MemoFixture.h"
#include "memo/MemoPages.h"
#include "platform/ProfileFile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace zavota::testing {
namespace {

using MemoPagesTest = MemoStoreTest;

StockGrid Grid(std::initializer_list<StockRow> rows) {
    StockGrid g{};
    std::copy(rows.begin(), rows.end(), g.begin());
    return g;
}

TEST_F(MemoPagesTest, StockPageSavedWholeReadsBackAndTotalsAsOnScreen) {
    StockGrid grid = Grid({{"4/1 買い", "1,000", "100", true},
                           {" 한국어 ", "1200", "300", true},
                           {"", "0", "5", true},  // cannot stay ticked
                           {"メモ", "101", "2", false}});
    ASSERT_TRUE(SaveStockPage(store, {"北海[電機]", 3}, grid));
    EXPECT_FALSE(grid[2].selected);

    platform::ProfileFile file(Path("M_3.ini"));
    EXPECT_EQ(file.Sections(), (std::vector<std::string>{"銘柄（ページ名）", "選択", "コメント", "単価", "株数"}));
    EXPECT_EQ(file.Keys("株数").size(), 20u);
    EXPECT_EQ(file.ReadString("銘柄（ページ名）", "Name", ""), "北海[電機]");
    EXPECT_EQ(file.ReadString("コメント", "2", "?"), "한국어");
    EXPECT_EQ(file.ReadString("選択", "3", "?"), "");
    EXPECT_EQ(file.ReadString("株数", "20", "?"), "");
    platform::ProfileFile index(Path("M00index.ini"));
    EXPECT_EQ(index.ReadString("北海[電機]", "FileNo", ""), "3");

    StockGrid loaded{};
    ASSERT_TRUE(LoadStockPage(store, 3, loaded));
    grid[1].comment = "한국어";  // stored trimmed
    EXPECT_TRUE(loaded == grid);
    StockGrid shown = loaded;
    const StockResults onScreen = ComputeStockRows(shown);
    const PageTotals onDisk = store.pageTotals(3);
    ASSERT_EQ(onDisk.status, kTotalsDone);
    EXPECT_EQ(onScreen.totals.amount(), onDisk.amount);
    EXPECT_EQ(onScreen.totals.average(), onDisk.average);
    EXPECT_EQ(onDisk.amount, Yen::FromInt(460000));
    EXPECT_EQ(onDisk.average, Yen::FromInt(1150));
}

// A tick stored on a row without a price or a number of shares (an older copy kept such rows) is
// not handed to the row check, which would greet the user with a message on opening.
TEST_F(MemoPagesTest, StoredTicksOnRowsWithoutFiguresLoadUnticked) {
    const struct {
        const char *price, *shares;
        bool ticked;
    } rows[] = {{"", "", false}, {"", "100", false}, {"1000", "", false}, {"1000", "100", true}, {"0", "5", true}};
    std::vector<MemoCell> cells{{kCellPageName, 0, "古い"}};
    for (int r = 1; r <= 5; ++r) {
        cells.push_back({kCellSelected, r, "*"});
        cells.push_back({kCellPrice, r, rows[r - 1].price});
        cells.push_back({kCellShares, r, rows[r - 1].shares});
    }
    ASSERT_TRUE(store.open("M_2.ini", MemoFileKind::Ini, false));
    ASSERT_TRUE(store.writeCells(cells));
    ASSERT_TRUE(store.close());
    StockGrid loaded{};
    ASSERT_TRUE(LoadStockPage(store, 2, loaded));
    for (int r = 0; r < 5; ++r) EXPECT_EQ(loaded[r].selected, rows[r].ticked) << "row " << r + 1;
}

TEST_F(MemoPagesTest, FreePageKeepsTextOutsideTheCodePage) {
    const std::string text = "一行目\n😀 ① 한국어\n\tタブ";
    ASSERT_TRUE(SaveFreePage(store, {"メモ", 1}, 4, text));
    EXPECT_EQ(LoadFreePage(store, 1), text);
    platform::ProfileFile index(Path("N00index.ini"));
    EXPECT_EQ(index.Sections(), (std::vector<std::string>{"FONT", "メモ"}));
    EXPECT_EQ(index.ReadString("FONT", "SIZE", ""), "4");
    EXPECT_FALSE(LoadFreePage(store, 2).has_value());
}

// Failures at each step and kills are in the save kill test; here what is particular to it.
TEST_F(MemoPagesTest, IndexRewriteRefusesAReadOnlyIndexAndLeavesAnEmptyOne) {
    PutFile("M00index.ini", "[A]\r\nFileNo=1\r\n");
    PutFile("M00index.ini.new", "[A]\r\nFileNo=1\r\n");  // what an earlier version's failed rewrite left
    ::chmod(Path("M00index.ini").c_str(), 0444);
    EXPECT_FALSE(store.replaceIndex(MemoPageKind::PerStock, {{"B", 1}}));
    EXPECT_EQ(FileBytes(Path("M00index.ini")), "[A]\r\nFileNo=1\r\n");
    EXPECT_FALSE(Exists("M00index.ini.new"));
    ::chmod(Path("M00index.ini").c_str(), 0640);
    EXPECT_TRUE(store.replaceIndex(MemoPageKind::PerStock, {{"（新規ページ）", 0}}));
    EXPECT_EQ(FileBytes(Path("M00index.ini")), "");
    struct stat st {};
    ASSERT_EQ(::stat(Path("M00index.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(MemoRulesTest, TotalsAtTheirLimits) {
    struct Case {
        const char* what;
        StockGrid grid;
        int message, count;
        std::int64_t amount;
    } cases[] = {
        // 99,999,999 × 100 + 100 × 1 is exactly ten billion: refused.
        {"total of exactly the limit", Grid({{"", "99,999,999", "100", true}, {"", "100", "1", true}}), 264, 2,
         10'000'000'000},
        {"one yen below the limit", Grid({{"", "99999999", "100", true}, {"", "99", "1", true}}), 0, 2,
         9'999'999'999},
        {"cell above the largest", Grid({{"", "100000000", "1", true}, {"", "5", "1", true}}), 0, 1, 5},
        {"row 20 counts", [] {
             StockGrid g{};
             g[19] = {"", "300", "2", true};
             return g;
         }(), 0, 1, 600},
    };
    for (Case& c : cases) {
        const StockResults r = ComputeStockRows(c.grid);
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_EQ(r.shown, c.message == 0) << c.what;
        EXPECT_EQ(r.count, c.count) << c.what;
        EXPECT_EQ(r.totals.amount(), Yen::FromInt(c.amount)) << c.what;
    }
}

TEST(MemoRulesTest, NamesHandOverAndShares) {
    const PageList pages{{"Abc", 1}, {"株式", 2}};
    struct Name {
        const char* name;
        MemoPageKind kind;
        int refusal;
    } names[] = {
        {"  ", MemoPageKind::PerStock, -1},  {"a[1]", MemoPageKind::PerStock, 261},
        {"x]", MemoPageKind::PerStock, 261}, {"ABC", MemoPageKind::PerStock, 262},
        {"株式", MemoPageKind::FreeForm, 262}, {"font", MemoPageKind::FreeForm, 262},
        {"font", MemoPageKind::PerStock, 0}, {"Ａｂｃ", MemoPageKind::PerStock, 0},
    };
    for (const Name& n : names) EXPECT_EQ(PageNameRefusal(n.name, pages, n.kind), n.refusal) << n.name;

    struct HandOver {
        const char* price;
        const char* shares;
        bool buy;
        int message;
        std::string focus;
    } handOvers[] = {
        {" ", "1", true, 100, "edtPrice"},        {"", "1", false, 104, "edtPrice"},
        {"100000000", "1", true, 201, "edtPrice"}, {"0", "1", false, 208, "edtPrice"},
        {"1.5", "1", true, 101, "edtPrice"},       {"1", "", true, 102, "edtNum"},
        {"1", "100000000", true, 202, "edtNum"},   {"1", "2.0", false, 101, "edtNum"},
        {"50000", "200000", true, 243, "edtPrice"}, {"49999", "200000", false, 0, ""},
        {"99999999", "100", true, 0, ""},           {"100", "99999999", false, 0, ""},
    };
    for (const HandOver& h : handOvers) {
        const FieldCheck c = CheckMemoHandOver(h.price, h.shares, h.buy);
        EXPECT_EQ(c.message, h.message) << h.price << " × " << h.shares;
        if (c.message) {
            EXPECT_EQ(c.focus, h.focus) << h.price << " × " << h.shares;
        }
    }

    struct Share {
        const char* amount;
        std::int64_t grand;
        const char* share;
    } shares[] = {{"100,000", 400000, "25.0"}, {"0", 400000, "0.0"}, {"1", 3, "33.3"}, {"2", 3, "66.7"}, {"5", 0, "0"}};
    for (const Share& s : shares) EXPECT_EQ(SummaryShare(s.amount, Yen::FromInt(s.grand)), s.share) << s.amount;
}

}  // namespace
}  // namespace zavota::testing
