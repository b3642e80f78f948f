// zavota-cli on the stored settings: what `settings` lists and what `calc` takes from it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "CliTesting.h"
#include "core/CalcState.h"
#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/Folders.h"
#include "settings/SettingsStore.h"
#include "support/TempFolder.h"

namespace zavota::cli {
namespace {

class StoredSettingsTest : public ::testing::Test {
protected:
    testing::IsolatedHome home;  // a hive of this test's own
    CalcState calc;
    ProgramSettings program;
    SettingsStore store{BindSettings(program, calc), platform::HivePath()};

    static MarginTable Table(const std::string& name, Yen rate, Yen addition) {
        MarginTable t;
        t.inUse = true;
        t.Name = name;
        t.ElementsK = t.ElementsU = 1;
        t.bracketsK[0] = {Yen{}, Yen::FromInt(99999999), rate, addition, Yen{}};
        t.bracketsU[0] = t.bracketsK[0];
        return t;
    }
    static std::string Figure(const CliRun& run, const std::string& box) {
        const std::string key = "\"" + box + "\":\"";
        const auto at = run.out.find(key);
        if (at == std::string::npos) return "(none)";
        const auto start = at + key.size();
        return run.out.substr(start, run.out.find('"', start) - start);
    }
};

TEST_F(StoredSettingsTest, AnEmptyHiveListsEveryDefault) {
    const CliRun run = Settings({"--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    for (const char* part : {
             R"({"Option":{"WordShow":1,"Word":"ここのメッセージは（各種設定）→「起動時」で変更できます","FontName":"ＭＳ ゴシック","WordYearGain":0,"DefaultShow":0,"ShowMemo":0,"TopMost":0,"TaxTypeK":1,"TaxTypeU":1,"MarginIndexK":0,"MarginIndexU":0,"MiniFlagK":0,"MiniFlagU":0,"MiniK":0,"MiniU":0,"TenFlagK":0,"TenFlagU":0,"TwoFlag":0,"MarginPath":)",
             R"("Tax":{"CalcEach":0,"KaiS":5,"UriS":5,"ShinSyotoku":7,"ShinJyuumin":3,"YearGain":0,"DontUse":0})",
             R"("Display":{"XY":655380,"MXY":13107260,"KXY":26214580,"KaiPanel":8388608,"UriPanel":32768,"KaiPanelChar":16777215,"UriPanelChar":16777215,"KaiResult":65535,"UriResult":16711935,"GetResult":16777215,"ResultChar":0,"ResultLine":16711680,"Marker":65280,"MarkerChar":0,"MinusChar":255,"MemoPanel":16776960})",
             R"("Clipboard":{"GakuK":1,"NumK":1,"YakuteiK":0,"MarginK":0,"SZeiK":0,"TotalK":1,"PayK":0,"GakuU":1,"NumU":1,"YakuteiU":0,"MarginU":0,"SZeiU":0,"TotalU":1,"PayU":0,"ResultM":0,"ResultKeihi":0,"ResultTax":0,"ResultLast":1,"ResultR":1})",
             R"("UnitTable":{"DontUse":0,"Elements":8,"0":"0,2000,1","1":"2000,3000,5",)",
             R"("UnitTable2":{"DontUse":0,"Elements":6,"0":"0,1000,1",)",
             R"("MarginTables":{"Tables":1,"0":{"Same":0,"Name":"サンプル・定額式","ElementsK":1,"LowLimitK":0,"HighLimitK":0,"MiniAfterK":0,"K0":"0,30000000,0.0000,1500,0.0000"}}})"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n in " << run.out;
    EXPECT_EQ(run.out.find("MarginIndex2K"), std::string::npos) << "not loaded outside two-table mode";
}

TEST_F(StoredSettingsTest, WhatTheProgramSavedIsListed) {
    store.LoadAll();
    program.option.TwoFlag = 1;
    program.option.MarginIndex2U = 1;
    program.option.Word = "利確は\"早め\"に";
    program.display.XY = {100, 200};
    calc.tax.UriS = Yen::FromRaw(105000);
    calc.tables.Slot(1) = Table("定率", Yen::FromInt(1), Yen{});
    ASSERT_TRUE(store.SaveAtExit() && store.SaveStartupOptions() && store.SaveTaxRates() && store.SaveCommissionTables());
    const CliRun run = Settings({"--json"});
    for (const char* part : {R"("TwoFlag":1,"MarginIndex2K":0,"MarginIndex2U":1)", R"("Word":"利確は\"早め\"に")",
                             R"("XY":6553800,)", R"("UriS":10.5,)", R"("Tables":2,)",
                             R"("1":{"Same":0,"Name":"定率","ElementsK":1,"LowLimitK":0,"HighLimitK":0,"MiniAfterK":0,"K0":"0,99999999,1.0000,0,0.0000"})"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n in " << run.out;
    const CliRun text = Settings({});
    EXPECT_NE(text.out.find("\n[MarginTables\\1]\nSame=0\nName=\"定率\"\n"), std::string::npos) << text.out;
    EXPECT_EQ(Settings({"--bogus"}).code, 2);
}

TEST_F(StoredSettingsTest, CalcTakesThePageChoicesFromTheHive) {
    store.LoadAll();
    calc.tables.Slot(1) = Table("定率1%", Yen::FromInt(1), Yen{});
    calc.tables.Slot(2) = Table("定額300", Yen{}, Yen::FromInt(300));
    program.option.MarginIndexK = 1;
    program.option.MarginIndexU = 2;
    ASSERT_TRUE(store.SaveCommissionTables() && store.SaveAtExit());

    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* box;
        const char* figure;
    };
    const std::vector<std::string> trade = {"--price", "1000", "--shares", "1000", "--json"};
    auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), trade.begin(), trade.end());
        return more;
    };
    const Case cases[] = {
        {"the stored buy-page table", with({}), "mmMargin_K", "10,000"},
        {"the stored sell-page table", with({"--page", "sell"}), "mmMargin_U", "300"},
        {"a table by name", with({"--table", "定額300"}), "mmMargin_K", "300"},
        {"a table by index", with({"--table", "0"}), "mmMargin_K", "1,500"},
        {"the sell leg's own table", with({"--sell-at", "1000", "--table2", "定額300"}), "mmMargin_U", "300"},
        {"one table for both legs", with({"--sell-at", "1000"}), "mmMargin_U", "10,000"},
    };
    for (const Case& c : cases) {
        const CliRun run = Calc(c.args);
        EXPECT_EQ(run.code, 0) << c.what << run.out << run.err;
        EXPECT_EQ(Figure(run, c.box), c.figure) << c.what << "\n" << run.out;
    }
    const CliRun unknown = Calc(with({"--table", "無い"}));
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(Calc(with({"--table", "3"})).code, 2) << "three tables: indices 0 to 2";
}

TEST_F(StoredSettingsTest, StoredKindMiniAndOtcApplyUnlessOverridden) {
    store.LoadAll();
    program.option.TenFlagK = 1;  // OTC issues step by 10 yen above 1,000
    program.option.MiniFlagK = 1;
    program.option.MiniK = 1000;
    ASSERT_TRUE(store.SaveAtExit());
    const std::vector<std::string> base = {"--price", "2003", "--shares", "350", "--json"};
    // Mini-stock with a unit of 1,000: 350 shares is not a multiple of a tenth of the unit.
    EXPECT_NE(Calc(base).out.find("\"message\":206"), std::string::npos) << Calc(base).out;
    std::vector<std::string> noMini = base;
    noMini.push_back("--no-mini");
    const CliRun otc = Calc(noMini);
    EXPECT_NE(otc.out.find(R"({"entered":2003,"used":2010,"tick":10})"), std::string::npos) << otc.out;
    noMini.push_back("--no-otc");
    const CliRun listed = Calc(noMini);
    EXPECT_NE(listed.out.find(R"({"entered":2003,"used":2005,"tick":5})"), std::string::npos) << listed.out;

    program.option.TaxTypeK = kTradeMargin;
    ASSERT_TRUE(store.SaveAtExit());
    // Margin trading switches the stored mini-stock choice off.
    EXPECT_EQ(Calc(base).code, 0) << Calc(base).out;
}

TEST_F(StoredSettingsTest, TableAndExpenseFiles) {
    const std::string table = home / "t.ini";
    std::ofstream(table, std::ios::binary)
        << *platform::ToCp932("[手数料テーブル]\r\nName=ファイル\r\nSame=0\r\nElementsK=1\r\nElementsU=1\r\n"
                              "K0=0,99999999,0.5000,0,0.0000\r\n");
    const std::string broken = home / "broken.ini";
    std::ofstream(broken, std::ios::binary) << "[x]\r\n";
    const std::string expenses = home / "K_9.ini";
    std::ofstream(expenses, std::ios::binary)
        << *platform::ToCp932("[経費データ]\r\nRate_N_K=3\r\nDays_N_K=30\r\nOther=0\r\n");
    const std::string badExpenses = home / "K_8.ini";
    std::ofstream(badExpenses, std::ios::binary) << *platform::ToCp932("[経費データ]\r\nRate_N_K=100\r\n");

    const std::vector<std::string> trade = {"--price", "1000", "--shares", "1000", "--json"};
    auto run = [&](std::vector<std::string> more) {
        more.insert(more.begin(), trade.begin(), trade.end());
        return Calc(more);
    };
    EXPECT_EQ(Figure(run({"--table-file", table}), "mmMargin_K"), "5,000");
    EXPECT_EQ(Figure(run({"--sell-at", "1000", "--table2-file", table}), "mmMargin_U"), "5,000");
    EXPECT_NE(run({"--table-file", broken}).out.find("\"message\":293"), std::string::npos);
    EXPECT_NE(run({"--table-file", home / "none.ini"}).out.find("\"message\":291"), std::string::npos);
    // 3.00 % a year for 30 days on 1,000,000 yen: 2,465 yen.
    EXPECT_EQ(Figure(run({"--kind", "margin", "--sell-at", "1100", "--expenses", expenses}), "mmResult_Keihi"), "2,465");
    EXPECT_NE(run({"--kind", "margin", "--sell-at", "1100", "--expenses", badExpenses}).out.find("\"message\":281"),
              std::string::npos);
    EXPECT_EQ(run({"--expenses", home / "none.ini"}).code, 2);
    EXPECT_EQ(run({"--table", "0", "--table-file", table}).code, 2);
    EXPECT_EQ(run({"--otc", "--no-otc"}).code, 2);
}

TEST_F(StoredSettingsTest, AnUnreadableSettingsFileIsNamedAndLeftAlone) {
    const std::string hive = platform::HivePath();
    std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
    for (const std::uintmax_t size : {std::uintmax_t{4}, std::uintmax_t{100} << 20}) {
        SCOPED_TRACE(size);
        std::ofstream(hive, std::ios::binary) << "junk";
        std::filesystem::resize_file(hive, size);  // 100 MB: too large to be read at all
        for (const CliRun& run : {Settings({}), Calc({"--price", "1000", "--shares", "1000"})}) {
            EXPECT_EQ(run.code, 0) << run.err;
            EXPECT_EQ(run.err, "zavota-cli: メッセージ 296: 設定ファイルを読み込めないため、初期設定を使います。 " +
                                   hive + "\n");
        }
        EXPECT_EQ(std::filesystem::file_size(hive), size);
        for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(hive).parent_path()))
            EXPECT_EQ(e.path().string().find(".damaged-"), std::string::npos) << e.path();
    }
}

TEST_F(StoredSettingsTest, ASettingsFileThatCannotBeOpenedIsNamedAndNothingWaitsOnIt) {
    const std::string hive = platform::HivePath();
    std::filesystem::create_directories(std::filesystem::path(hive).parent_path());
    struct Case {
        const char* what;
        std::function<void()> make;
        std::function<void()> undo;
    };
    std::vector<Case> cases = {
        {"fifo", [&] { ASSERT_EQ(::mkfifo(hive.c_str(), 0644), 0); }, [&] { std::filesystem::remove(hive); }},
        {"folder", [&] { std::filesystem::create_directory(hive); }, [&] { std::filesystem::remove(hive); }},
    };
    // Root reads a file without read permission all the same.
    if (::geteuid() != 0)
        cases.push_back({"no read permission",
                         [&] {
                             std::ofstream(hive) << "x";
                             std::filesystem::permissions(hive, std::filesystem::perms::owner_write);
                         },
                         [&] { std::filesystem::remove(hive); }});
    // Reading a FIFO used to wait for a writer for ever: a hang ends the test run instead.
    ::alarm(20);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        for (const CliRun& run : {Settings({}), Calc({"--price", "1000", "--shares", "1000"})}) {
            EXPECT_EQ(run.code, 0) << run.err;
            EXPECT_EQ(run.err, "zavota-cli: メッセージ 296: 設定ファイルを読み込めないため、初期設定を使います。 " +
                                   hive + "\n");
        }
        c.undo();
    }
    ::alarm(0);
}

TEST_F(StoredSettingsTest, CalcWritesNothing) {
    const std::string table = home / "t.ini";
    std::ofstream(table, std::ios::binary)
        << *platform::ToCp932("[手数料テーブル]\r\nName=ファイル\r\nSame=0\r\nElementsK=1\r\nElementsU=1\r\n"
                              "K0=0,99999999,0.5000,0,0.0000\r\n");
    const std::string expenses = home / "K_9.ini";
    std::ofstream(expenses, std::ios::binary) << *platform::ToCp932("[経費データ]\r\nOther=1\r\n");
    EXPECT_EQ(Calc({"--price", "1000", "--shares", "1000"}).code, 0);
    // The files are read without taking the settings lock, which would leave its lock file.
    EXPECT_EQ(Calc({"--price", "1000", "--shares", "1000", "--table-file", table, "--sell-at", "1100",
                    "--table2-file", table, "--expenses", expenses})
                  .code,
              0);
    EXPECT_EQ(Settings({}).code, 0);
    EXPECT_FALSE(platform::FolderExists(platform::FolderOf(platform::HivePath())));
}

// Stored tick tables whose bands send a search back and forth: both walks end at once with the
// walk's error, and on an everyday press the reference walk prints what the fast walk prints.
TEST_F(StoredSettingsTest, SearchesEndOnStoredTicksThatCannotChainAndTheReferenceWalkAgrees) {
    struct Loop {
        UnitRow low, high;
        std::vector<std::string> press;
    };
    auto y = [](std::int64_t v) { return Yen::FromInt(v); };
    const Loop loops[] = {
        {{y(0), y(100), y(30)}, {y(100), y(1'000), y(7)},
         {"--page", "sell", "--price", "200", "--shares", "100", "--target-rate", "90"}},
        {{y(0), y(895), y(10)}, {y(895), y(1'137), y(3)},
         {"--page", "sell", "--price", "893", "--shares", "1000", "--target-rate", "3"}},
    };
    for (const Loop& l : loops) {
        calc.listedTicks.Clear();
        calc.listedTicks.Elements = 2;
        calc.listedTicks.rows[0] = l.low;
        calc.listedTicks.rows[1] = l.high;
        ASSERT_TRUE(store.SaveTickTables());
        for (const bool reference : {false, true}) {
            std::vector<std::string> args = l.press;
            args.push_back("--json");
            if (reference) args.push_back("--reference-walk");
            const CliRun run = Calc(args);
            EXPECT_EQ(run.code, 1);
            EXPECT_NE(run.out.find(R"("message":241)"), std::string::npos) << run.out;
        }
    }
    calc.listedTicks.LoadDefaults();
    ASSERT_TRUE(store.SaveTickTables());
    const std::vector<std::string> press = {"--price", "1000", "--shares", "1000", "--target-profit", "50000", "--json"};
    std::vector<std::string> reference = press;
    reference.push_back("--reference-walk");
    const CliRun fast = Calc(press), slow = Calc(reference);
    EXPECT_EQ(fast.code, 0);
    EXPECT_EQ(fast.out, slow.out);
}

}  // namespace
}  // namespace zavota::cli
