// Loading the stored settings: defaults and every fallback rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SettingsFixture.h"
#include "core/YenTesting.h"
#include "settings/StoredText.h"

namespace zavota::testing {
namespace {

using LoadTest = SettingsFixture;

const std::string kOption = kVekkar + "Option";
const std::string kTables = kVekkar + "MarginTables";

void StoreTable(platform::RegistryHive& h, int n, const std::string& name, int brackets = 1) {
    const std::string key = kTables + "\\" + std::to_string(n);
    h.WriteInteger(key, "Same", 0);
    h.WriteString(key, "Name", name);
    h.WriteInteger(key, "ElementsK", brackets);
    h.WriteReal(key, "LowLimitK", 0);
    h.WriteReal(key, "HighLimitK", 0);
    h.WriteInteger(key, "MiniAfterK", 0);
    for (int i = 0; i < brackets; ++i)
        h.WriteString(key, "K" + std::to_string(i),
                      std::to_string(i * 1000) + "," + std::to_string((i + 1) * 1000) + ",0.5000,100,0.0000");
}

TEST_F(LoadTest, FirstStartGivesEveryDefault) {
    program.option.Word = "changed";
    calc.tables.Clear(0);
    store.LoadAll();
    EXPECT_EQ(program.option, OptionSettings{.MarginPath = home.HomePath()});
    EXPECT_EQ(program.display, DisplaySettings{});
    EXPECT_EQ(program.display.XY, (WindowPosition{10, 20}));
    EXPECT_EQ(program.display[Colour::KaiPanel], 0x800000u);
    EXPECT_EQ(program.display[Colour::MemoPanel], 0xFFFF00u);
    EXPECT_EQ(program.clipboard, ClipboardItems{});
    EXPECT_EQ(program.clipboard.flags[5], 1);  // TotalK
    EXPECT_EQ(program.clipboard.flags[2], 0);  // YakuteiK
    EXPECT_EQ(calc.tax.KaiS, W(5));
    EXPECT_EQ(calc.tax.ShinSyotoku, W(7));
    EXPECT_EQ(calc.tax.ShinJyuumin, W(3));
    EXPECT_EQ(calc.listedTicks, UnitTable(0));
    EXPECT_EQ(calc.otcTicks, UnitTable(1));
    EXPECT_EQ(calc.tables.UsedCount(), 1);
    EXPECT_EQ(calc.tables.Slot(0).Name, kSampleTableName);
    EXPECT_FALSE(std::filesystem::exists(home.HivePath())) << "loading writes nothing";
}

TEST_F(LoadTest, TradeKindsAndIndicesAreNormalised) {
    struct Case {
        int stored;
        int kind;
    };
    for (const Case c : {Case{2, 3}, {3, 3}, {1, 1}, {0, 1}, {4, 1}, {-1, 1}}) {
        Stored([&](auto& h) {
            h.WriteInteger(kOption, "TaxTypeK", c.stored);
            h.WriteInteger(kOption, "TaxTypeU", c.stored);
        });
        store.LoadAll();
        EXPECT_EQ(program.option.TaxTypeK, c.kind) << c.stored;
        EXPECT_EQ(program.option.TaxTypeU, c.kind) << c.stored;
    }
    Stored([](auto& h) {
        h.WriteInteger(kOption, "MarginIndexU", -3);
        h.WriteInteger(kOption, "MarginIndexK", 2);
        h.WriteInteger(kOption, "MarginIndex2K", -1);
        h.WriteInteger(kOption, "MarginIndex2U", 4);
    });
    store.LoadAll();
    EXPECT_EQ(program.option.MarginIndexU, 0);
    EXPECT_EQ(program.option.MarginIndexK, 2);
    EXPECT_EQ(program.option.MarginIndex2U, 0) << "read only in two-table mode";
    Stored([](auto& h) { h.WriteInteger(kOption, "TwoFlag", 1); });
    store.LoadAll();
    EXPECT_EQ(program.option.MarginIndex2K, 0);
    EXPECT_EQ(program.option.MarginIndex2U, 4);
}

TEST_F(LoadTest, TextsTakeTheirDefaultsByTheirOwnRules) {
    store.LoadAll();
    EXPECT_EQ(program.option.Word, kDefaultWord);
    Stored([](auto& h) {
        h.WriteString(kOption, "Word", "");
        h.WriteString(kOption, "FontName", "");
    });
    store.LoadAll();
    EXPECT_EQ(program.option.Word, "") << "a motto the user emptied stays empty";
    EXPECT_EQ(program.option.FontName, kDefaultFontName);
    Stored([](auto& h) {
        h.WriteInteger(kOption, "Word", 5);  // the wrong kind is unreadable
        h.WriteString(kOption, "FontName", "Noto Sans CJK JP");
        h.WriteString(kOption, "WordShow", "0");
    });
    store.LoadAll();
    EXPECT_EQ(program.option.Word, kDefaultWord);
    EXPECT_EQ(program.option.FontName, "Noto Sans CJK JP");
    EXPECT_EQ(program.option.WordShow, 1);
}

TEST_F(LoadTest, PositionsDecodeByTheStoredRule) {
    struct Case {
        std::int32_t stored;
        WindowPosition loaded;
    };
    for (const Case c : {Case{655380, {10, 20}}, {6553595, {99, 65531}}, {0, {0, 0}}, {-65536, {-1, 0}}}) {
        Stored([&](auto& h) { h.WriteInteger(kVekkar + "Display", "XY", c.stored); });
        store.LoadAll();
        EXPECT_EQ(program.display.XY, c.loaded) << c.stored;
    }
}

TEST_F(LoadTest, MarginPathFallsBackToTheTablesFolder) {
    Stored([&](auto& h) { h.WriteString(kOption, "MarginPath", home / "gone/"); });
    store.LoadAll();
    EXPECT_EQ(program.option.MarginPath, home.HomePath());
    std::filesystem::create_directories(home.HomePath() + "Tables");
    store.LoadAll();
    EXPECT_EQ(program.option.MarginPath, home.HomePath() + "Tables/");
    std::filesystem::create_directories(home / "mine");
    Stored([&](auto& h) { h.WriteString(kOption, "MarginPath", home / "mine/"); });
    store.LoadAll();
    EXPECT_EQ(program.option.MarginPath, home / "mine/");
}

TEST_F(LoadTest, TickTablesFallBackOneByOne) {
    Stored([](auto& h) {
        h.WriteInteger(kVekkar + "UnitTable", "DontUse", 1);  // no Elements
        const std::string otc = kVekkar + "UnitTable2";
        h.WriteInteger(otc, "DontUse", 1);
        h.WriteInteger(otc, "Elements", 2);
        h.WriteString(otc, "0", " 0,1000,1 ");
        h.WriteString(otc, "1", "1000, 5000 ,5");
    });
    store.LoadAll();
    EXPECT_EQ(calc.listedTicks, UnitTable(0));
    EXPECT_EQ(calc.otcTicks.DontUse, 1);
    ASSERT_EQ(calc.otcTicks.Elements, 2);
    EXPECT_EQ(calc.otcTicks.rows[1].low, W(1000));
    EXPECT_EQ(calc.otcTicks.rows[1].high, W(5000));
    EXPECT_EQ(calc.otcTicks.rows[1].tick, W(5));

    struct Broken {
        const char* what;
        int elements;
        const char* row1;
    };
    for (const Broken b : {Broken{"no tick", 2, "1000,5000"}, {"empty row", 2, ""}, {"fractional tick", 2, "1000,5000,2.5"},
                           {"leading comma", 2, ",5000,5"}, {"no rows", 0, "1000,5000,5"},
                           {"missing row", 3, "1000,5000,5"}, {"low bound not a number", 2, "x,5000,5"},
                           {"high bound not a number", 2, "1000,5e3x,5"}}) {
        Stored([&](auto& h) {
            const std::string otc = kVekkar + "UnitTable2";
            h.WriteInteger(otc, "Elements", b.elements);
            h.WriteString(otc, "1", b.row1);
        });
        store.LoadAll();
        EXPECT_EQ(calc.otcTicks, UnitTable(1)) << b.what;
    }

    // One row is a table of its own, not a damaged one.
    Stored([](auto& h) {
        const std::string otc = kVekkar + "UnitTable2";
        h.WriteInteger(otc, "Elements", 1);
        h.WriteString(otc, "0", "0,99999999,7");
    });
    store.LoadAll();
    ASSERT_EQ(calc.otcTicks.Elements, 1);
    EXPECT_EQ(calc.otcTicks.rows[0].tick, W(7));
}

TEST_F(LoadTest, TickCountsBeyondTenReadTenRows) {
    Stored([](auto& h) {
        const std::string key = kVekkar + "UnitTable";
        h.WriteInteger(key, "DontUse", 0);
        h.WriteInteger(key, "Elements", 12);
        for (int i = 0; i < 12; ++i)
            h.WriteString(key, std::to_string(i), std::to_string(i * 100) + "," + std::to_string(i * 100 + 100) + ",1");
    });
    store.LoadAll();
    EXPECT_EQ(calc.listedTicks.Elements, 10);
    EXPECT_EQ(calc.listedTicks.rows[9].high, W(1000));
}

TEST_F(LoadTest, CommissionTablesAreCutShortOrFallBack) {
    struct Case {
        const char* what;
        void (*damage)(platform::RegistryHive&);  // a value of the wrong kind reads as absent
        int count;
    };
    const Case cases[] = {
        {"table 1 lacks LowLimitK", [](auto& h) { h.WriteString(kTables + "\\1", "LowLimitK", "0"); }, 1},
        {"table 0 lacks ElementsK", [](auto& h) { h.WriteString(kTables + "\\0", "ElementsK", "x"); }, -1},
        {"a four-field bracket in table 2", [](auto& h) { h.WriteString(kTables + "\\2", "K0", "0,1000,0.5000,100"); }, 2},
        {"an empty bracket in table 1", [](auto& h) { h.WriteString(kTables + "\\1", "K0", ""); }, 1},
        {"a missing subkey 2", [](auto& h) { h.DeleteKey(kTables + "\\2"); }, 2},
        {"ElementsK 0 in table 1", [](auto& h) { h.WriteInteger(kTables + "\\1", "ElementsK", 0); }, 1},
        {"Tables 0", [](auto& h) { h.WriteInteger(kTables, "Tables", 0); }, -1},
        {"Tables as text", [](auto& h) { h.WriteString(kTables, "Tables", "3"); }, -1},
        {"a limit of the wrong kind", [](auto& h) { h.WriteInteger(kTables + "\\2", "HighLimitK", 0); }, 2},
        {"separate sides, only the buy maximum of the wrong kind",
         [](auto& h) {
             const std::string key = kTables + "\\2";
             h.WriteInteger(key, "Same", 1);
             h.WriteInteger(key, "ElementsU", 1);
             h.WriteReal(key, "LowLimitU", 0);
             h.WriteReal(key, "HighLimitU", 0);
             h.WriteInteger(key, "MiniAfterU", 0);
             h.WriteString(key, "U0", "0,1000,0.5000,100,0.0000");
             h.WriteInteger(key, "HighLimitK", 0);
         },
         2},
        {"nothing wrong", [](auto&) {}, 3},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(home.HivePath());
        Stored([&](auto& h) {
            h.WriteInteger(kTables, "Tables", 3);
            StoreTable(h, 0, "A");
            StoreTable(h, 1, "B");
            StoreTable(h, 2, "C");
            c.damage(h);
        });
        store.LoadAll();
        if (c.count < 0) {
            EXPECT_EQ(calc.tables.UsedCount(), 1) << c.what;
            EXPECT_EQ(calc.tables.Slot(0).Name, kSampleTableName) << c.what;
            continue;
        }
        EXPECT_EQ(calc.tables.UsedCount(), c.count) << c.what;
        EXPECT_EQ(calc.tables.Slot(0).Name, "A") << c.what;
        if (c.count < 3) {
            EXPECT_EQ(calc.tables.Slot(c.count), MarginTable{}) << c.what << ": the unusable table is cleared";
        }
    }
}

TEST_F(LoadTest, ACutShortSetIsSavedShort) {
    Stored([](auto& h) {
        h.WriteInteger(kTables, "Tables", 3);
        StoreTable(h, 0, "A");
        StoreTable(h, 1, "B");
        StoreTable(h, 2, "C");
        h.WriteString(kTables + "\\1", "LowLimitK", "0");
    });
    store.LoadAll();
    ASSERT_TRUE(store.SaveCommissionTables());
    auto hive = Hive();
    EXPECT_EQ(hive->ReadInteger(kTables, "Tables"), 1);
    EXPECT_EQ(hive->SubkeyNames(kTables), std::vector<std::string>{"0"});
}

TEST_F(LoadTest, AtMostFifteenTablesAreRead) {
    Stored([](auto& h) {
        h.WriteInteger(kTables, "Tables", 20);
        for (int n = 0; n < 20; ++n) StoreTable(h, n, "T" + std::to_string(n));
    });
    store.LoadAll();
    EXPECT_EQ(calc.tables.UsedCount(), 15);
    EXPECT_EQ(calc.tables.Slot(14).Name, "T14");
}

TEST_F(LoadTest, SharedTablesCopyTheBuySideAndNamesFallBack) {
    Stored([](auto& h) {
        h.WriteInteger(kTables, "Tables", 2);
        StoreTable(h, 0, "");
        const std::string key = kTables + "\\0";
        h.WriteReal(key, "LowLimitK", 250);
        h.WriteInteger(key, "MiniAfterK", 1);
        // Sell values of a shared table are leftovers and must not be used.
        h.WriteInteger(key, "ElementsU", 2);
        h.WriteString(key, "U0", "0,1,9.0000,9,0.0000");
        h.WriteReal(key, "LowLimitU", 999);
        h.WriteInteger(key, "MiniAfterU", 0);
        StoreTable(h, 1, "separate", 2);
        const std::string sep = kTables + "\\1";
        h.WriteInteger(sep, "Same", 2);  // any non-zero value means separate sides
        h.WriteInteger(sep, "ElementsU", 1);
        h.WriteReal(sep, "LowLimitU", 80);
        h.WriteReal(sep, "HighLimitU", 900);
        h.WriteString(sep, "U0", "0,99999999,0.1050,0,10.0000");
        // MiniAfterU missing: both flags become 0, the table stays usable.
        h.WriteInteger(sep, "MiniAfterK", 1);
    });
    store.LoadAll();
    ASSERT_EQ(calc.tables.UsedCount(), 2);
    const MarginTable& shared = calc.tables.Slot(0);
    EXPECT_EQ(shared.Name, kUnknownTableName);
    EXPECT_EQ(shared.ElementsU, 1);
    EXPECT_EQ(shared.LowLimitU, W(250));
    EXPECT_EQ(shared.MiniAfterU, 1);
    EXPECT_EQ(shared.bracketsU[0], shared.bracketsK[0]);
    const MarginTable& separate = calc.tables.Slot(1);
    EXPECT_EQ(separate.ElementsK, 2);
    EXPECT_EQ(separate.ElementsU, 1);
    EXPECT_EQ(separate.LowLimitU, W(80));
    EXPECT_EQ(separate.HighLimitU, W(900));
    EXPECT_EQ(separate.bracketsU[0].rate, R(1050));
    EXPECT_EQ(separate.bracketsU[0].discount, W(10));
    EXPECT_EQ(separate.MiniAfterK, 0);
    EXPECT_EQ(separate.MiniAfterU, 0);
}

TEST_F(LoadTest, DamagedHivesLoadDefaultsAndAreKeptAside) {
    const std::string garbage[] = {
        std::string("\x00\xff\xfe garbage", 12),
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Option]\r\n\"TopMost\"=dword:0000",
        "not a hive at all",
        std::string(33 * 1024 * 1024, 'x'),
    };
    for (const std::string& bytes : garbage) {
        std::filesystem::create_directories(std::filesystem::path(home.HivePath()).parent_path());
        std::ofstream(home.HivePath(), std::ios::binary) << bytes;
        program.option.TopMost = 1;
        store.LoadAll();
        EXPECT_EQ(program.option.TopMost, 0);
        EXPECT_EQ(calc.tables.UsedCount(), 1);
        ASSERT_TRUE(store.SaveTopMost());
        auto hive = Hive();
        EXPECT_FALSE(hive->Damaged());
        int kept = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(home.HivePath()).parent_path())) {
            if (entry.path().filename().string().find(".damaged-") == std::string::npos) continue;
            ++kept;
            std::filesystem::remove(entry.path());
        }
        EXPECT_EQ(kept, 1) << "the damaged hive is kept aside once";
    }
}

}  // namespace
}  // namespace zavota::testing
