// Saving the settings: each group by itself, in the stored forms, all or nothing on disk.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <algorithm>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "SettingsFixture.h"
#include "core/YenTesting.h"
#include "platform/FileIo.h"
#include "settings/StoredText.h"
#include "support/FileFaults.h"
#include "support/Unprivileged.h"

namespace zavota::testing {
namespace {

using SaveTest = SettingsFixture;

std::vector<std::string> TickValues(const UnitTable& t) {
    std::vector<std::string> names = {"DontUse", "Elements"};
    for (int i = 0; i < t.Elements; ++i) names.push_back(std::to_string(i));
    return names;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Changes every value the store keeps to something other than its default.
void ChangeEverything(ProgramSettings& p, CalcState& c, const std::string& folder) {
    auto& o = p.option;
    o.WordShow = 0;
    o.Word = "今日も\"安全\"運転 \\ 〜";
    o.FontName = "Noto Sans Mono CJK JP";
    o.WordYearGain = 1;
    o.DefaultShow = 1;
    o.TopMost = 1;
    o.ShowMemo = 1;
    o.TaxTypeK = 3;
    o.MarginIndexK = 1;
    o.MarginIndexU = 1;
    o.MiniFlagU = 1;
    o.MiniU = 1000;
    o.TenFlagK = 1;
    o.TwoFlag = 1;
    o.MarginIndex2K = 1;
    o.MarginIndex2U = 0;
    o.MarginPath = folder;
    p.display.XY = {300, 400};
    p.display.MXY = {1, 2};
    p.display.KXY = {0, 0};
    p.display[Colour::Marker] = 0x123456;
    p.clipboard.flags.fill(1);
    c.tax.KaiS = W(8);
    c.tax.UriS = R(105000);
    c.tax.ShinSyotoku = R(153150);
    c.tax.ShinJyuumin = W(5);
    c.tax.DontUse = 1;
    c.tax.YearGain = W(-1234567);
    c.tax.CalcEach = 1;
    c.listedTicks.Clear();
    c.listedTicks.DontUse = 1;
    c.listedTicks.Elements = 2;
    c.listedTicks.rows[0] = {W(0), W(3000), W(1)};
    c.listedTicks.rows[1] = {W(3000), W(99999999), W(10)};
    c.otcTicks.DontUse = 1;
    MarginTable t;
    t.inUse = true;
    t.Same = 1;
    t.Name = "定率・ネット証券";
    t.ElementsK = 2;
    t.ElementsU = 1;
    t.LowLimitK = W(100);
    t.HighLimitU = R(25005000);
    t.MiniAfterU = 1;
    t.bracketsK[0] = {W(0), W(1000000), R(1050), W(0), R(105)};
    t.bracketsK[1] = {W(1000000), W(99999999), R(10), W(2500), W(0)};
    t.bracketsU[0] = {W(0), W(99999999), R(2000), W(50), W(10)};
    c.tables.Slot(1) = t;
}

TEST_F(SaveTest, EverythingSavedLoadsBackTheSame) {
    store.LoadAll();
    std::filesystem::create_directories(home / "tables");
    ChangeEverything(program, calc, home / "tables/");
    for (bool ok : {store.SaveCalcPage(), store.SaveAtExit(), store.SaveMemoPosition(), store.SaveColours(),
                    store.SaveTaxRates(), store.SaveTickTables(), store.SaveCommissionTables(),
                    store.SaveClipboardItems(), store.SaveStartupOptions(), store.SaveTopMost()})
        EXPECT_TRUE(ok);
    auto again = Reloaded();
    EXPECT_EQ(again->program.option, program.option);
    EXPECT_EQ(again->program.display, program.display);
    EXPECT_EQ(again->program.clipboard, program.clipboard);
    EXPECT_EQ(again->calc.tax.KaiS, calc.tax.KaiS);
    EXPECT_EQ(again->calc.tax.UriS, calc.tax.UriS);
    EXPECT_EQ(again->calc.tax.ShinSyotoku, calc.tax.ShinSyotoku);
    EXPECT_EQ(again->calc.tax.YearGain, calc.tax.YearGain);
    EXPECT_EQ(again->calc.tax.DontUse, 1);
    EXPECT_EQ(again->calc.tax.CalcEach, 1);
    EXPECT_EQ(again->calc.listedTicks, calc.listedTicks);
    EXPECT_EQ(again->calc.otcTicks, calc.otcTicks);
    for (int n = 0; n < kMaxTables; ++n) EXPECT_EQ(again->calc.tables.Slot(n), calc.tables.Slot(n)) << n;
}

TEST_F(SaveTest, EachSaveWritesOnlyItsGroup) {
    struct Case {
        const char* what;
        bool (SettingsStore::*save)();
        std::vector<std::pair<std::string, std::vector<std::string>>> values;
    };
    const std::string o = kVekkar + "Option", t = kVekkar + "Tax", d = kVekkar + "Display";
    const std::vector<std::string> trade = {"TaxTypeK", "TaxTypeU", "MarginIndexK", "MarginIndexU", "MiniFlagK",
                                            "MiniFlagU", "MiniK", "MiniU", "TenFlagK", "TenFlagU", "TwoFlag"};
    std::vector<std::string> atExit = trade;
    atExit.push_back("MarginPath");
    const Case cases[] = {
        {"SaveTopMost", &SettingsStore::SaveTopMost, {{o, {"TopMost"}}}},
        {"SaveStartupOptions", &SettingsStore::SaveStartupOptions,
         {{o, {"WordShow", "Word", "FontName", "WordYearGain", "DefaultShow", "ShowMemo"}}}},
        {"SaveTaxRates", &SettingsStore::SaveTaxRates, {{t, {"CalcEach", "KaiS", "UriS", "ShinSyotoku", "ShinJyuumin"}}}},
        {"SaveMemoPosition", &SettingsStore::SaveMemoPosition, {{d, {"MXY"}}}},
        {"SaveAtExit", &SettingsStore::SaveAtExit, {{d, {"XY", "KXY"}}, {o, atExit}}},
        {"SaveCalcPage", &SettingsStore::SaveCalcPage,
         {{t, {"YearGain", "DontUse"}}, {kVekkar + "UnitTable", TickValues(UnitTable(0))},
          {kVekkar + "UnitTable2", TickValues(UnitTable(1))}, {o, trade}}},
        {"SaveClipboardItems", &SettingsStore::SaveClipboardItems,
         {{kVekkar + "Clipboard",
           {"GakuK", "NumK", "YakuteiK", "MarginK", "SZeiK", "TotalK", "PayK", "GakuU", "NumU", "YakuteiU", "MarginU",
            "SZeiU", "TotalU", "PayU", "ResultM", "ResultKeihi", "ResultTax", "ResultLast", "ResultR"}}}},
    };
    store.LoadAll();
    for (const Case& c : cases) {
        std::filesystem::remove(home.HivePath());
        ASSERT_TRUE((store.*c.save)()) << c.what;
        auto hive = Hive();
        for (const auto& [key, names] : c.values) EXPECT_EQ(hive->ValueNames(key), names) << c.what << " " << key;
        std::vector<std::string> sections;
        for (const auto& [key, names] : c.values) sections.push_back(key.substr(kVekkar.size()));
        std::sort(sections.begin(), sections.end());
        sections.erase(std::unique(sections.begin(), sections.end()), sections.end());
        auto present = hive->SubkeyNames("Software\\Orvane\\Vekkar");
        std::sort(present.begin(), present.end());
        EXPECT_EQ(present, sections) << c.what;
    }
}

TEST_F(SaveTest, TwoTableIndicesAreWrittenOnlyInTwoTableMode) {
    store.LoadAll();
    program.option.MarginIndexK = -2;
    program.option.MarginIndex2K = 3;
    ASSERT_TRUE(store.SaveAtExit());
    EXPECT_EQ(Hive()->ReadInteger(kVekkar + "Option", "MarginIndex2K"), std::nullopt);
    EXPECT_EQ(program.option.MarginIndexK, 0) << "a negative index is mended in memory before it is written";
    program.option.TwoFlag = 1;
    ASSERT_TRUE(store.SaveAtExit());
    EXPECT_EQ(Hive()->ReadInteger(kVekkar + "Option", "MarginIndex2K"), 3);
}

TEST_F(SaveTest, PositionsOffTheScreenAreClampedAndKeepTheOtherCoordinate) {
    struct Case {
        WindowPosition window;
        std::int32_t stored;
        WindowPosition loaded;
    };
    for (const Case c : {Case{{100, -5}, 6553600, {100, 0}}, {{-30, 40}, 40, {0, 40}}, {{10, 20}, 655380, {10, 20}},
                         {{40000, 70000}, 32767 * 65536 + 65535, {32767, 65535}}}) {
        program.display.XY = c.window;
        ASSERT_TRUE(store.SaveAtExit());
        EXPECT_EQ(Hive()->ReadInteger(kVekkar + "Display", "XY"), c.stored);
        store.LoadAll();
        EXPECT_EQ(program.display.XY, c.loaded);
    }
}

TEST_F(SaveTest, TablesAreStoredInTheirTextForms) {
    MarginTable& t = calc.tables.Slot(0);
    t.bracketsK[0] = {W(0), W(30000000), R(1055), R(1005000), R(1234)};
    t.LowLimitK = R(15005);
    ASSERT_TRUE(store.SaveCommissionTables());
    auto hive = Hive();
    const std::string key = kVekkar + "MarginTables\\0";
    EXPECT_EQ(hive->ReadString(key, "K0"), "0,30000000,0.1055,101,0.1234") << "the addition is stored whole";
    EXPECT_EQ(hive->ValueNames(key), (std::vector<std::string>{"Same", "Name", "ElementsK", "LowLimitK", "HighLimitK",
                                                                "MiniAfterK", "K0"}));
    store.LoadAll();
    EXPECT_EQ(calc.tables.Slot(0).bracketsK[0].addition, W(101));
    EXPECT_EQ(calc.tables.Slot(0).bracketsK[0].rate, R(1055));
    EXPECT_EQ(calc.tables.Slot(0).LowLimitK, R(15005));
    EXPECT_EQ(Hive()->ReadString(kVekkar + "UnitTable", "0"), std::nullopt) << "tick tables are not part of this save";

    // Sides kept apart: the sell side's own values and its rows in use, and no row more.
    calc.tables.Slot(0).Same = 1;
    ASSERT_TRUE(store.SaveCommissionTables());
    EXPECT_EQ(Hive()->ValueNames(key),
              (std::vector<std::string>{"Same", "Name", "ElementsK", "ElementsU", "LowLimitK", "LowLimitU", "HighLimitK",
                                        "HighLimitU", "MiniAfterK", "MiniAfterU", "K0", "U0"}));
}

TEST_F(SaveTest, AnEmptyTickTableIsSavedWithItsDefaults) {
    calc.listedTicks.Clear();
    calc.listedTicks.DontUse = 1;
    ASSERT_TRUE(store.SaveTickTables());
    auto hive = Hive();
    const std::string key = kVekkar + "UnitTable";
    EXPECT_EQ(hive->ReadInteger(key, "DontUse"), 1);
    EXPECT_EQ(hive->ReadInteger(key, "Elements"), UnitTable(0).Elements);
    EXPECT_EQ(hive->ReadString(key, "0"), UnitRowText(UnitTable(0).rows[0]));
    EXPECT_EQ(UnitRowText(UnitTable(0).rows[0]), "0,2000,1");
}

TEST_F(SaveTest, ASaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    program.option.TopMost = 1;
    ASSERT_TRUE(store.SaveTopMost());
    WherePermissionsBind(home.Path(), [&] {
        const std::string before = FileText(home.HivePath());
        const std::string folder = std::filesystem::path(home.HivePath()).parent_path();
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        Instance other(home.HivePath());
        ASSERT_EQ(other.program.option.TopMost, 1);
        other.program.option.TopMost = 0;
        other.calc.tables.Clear(0);
        EXPECT_FALSE(other.store.SaveTopMost());
        EXPECT_FALSE(other.store.SaveCommissionTables());
        chmod(folder.c_str(), 0755);
        EXPECT_EQ(FileText(home.HivePath()), before);
    });
    EXPECT_EQ(Reloaded()->program.option.TopMost, 1);
}

// A full disk: each group's save fails naming the file and the reason, keeps its values, and the
// save at the end writes them once the disk has room again.
TEST_F(SaveTest, AGroupThatFailedIsNamedAndWrittenAtTheEnd) {
    struct Case {
        const char* what;
        bool (SettingsStore::*save)();
        std::function<void()> change;
        std::function<bool(const Instance&)> stored;
    };
    const Case cases[] = {
        {"top most", &SettingsStore::SaveTopMost, [&] { program.option.TopMost = 1; },
         [](const Instance& i) { return i.program.option.TopMost == 1; }},
        {"startup", &SettingsStore::SaveStartupOptions, [&] { program.option.Word = "新"; },
         [](const Instance& i) { return i.program.option.Word == "新"; }},
        {"tax rates", &SettingsStore::SaveTaxRates, [&] { calc.tax.KaiS = W(10); },
         [](const Instance& i) { return i.calc.tax.KaiS == W(10); }},
        {"calc page", &SettingsStore::SaveCalcPage, [&] { calc.tax.YearGain = W(-5); },
         [](const Instance& i) { return i.calc.tax.YearGain == W(-5); }},
        {"memo position", &SettingsStore::SaveMemoPosition, [&] { program.display.MXY = {40, 50}; },
         [](const Instance& i) { return i.program.display.MXY.x == 40; }},
        {"colours", &SettingsStore::SaveColours, [&] { program.display.colours[3] = 0x123456; },
         [](const Instance& i) { return i.program.display.colours[3] == 0x123456; }},
        {"clipboard", &SettingsStore::SaveClipboardItems, [&] { program.clipboard.flags[2] = 7; },
         [](const Instance& i) { return i.program.clipboard.flags[2] == 7; }},
        {"tick tables", &SettingsStore::SaveTickTables, [&] { calc.otcTicks.DontUse = 1; },
         [](const Instance& i) { return i.calc.otcTicks.DontUse == 1; }},
        {"commission tables", &SettingsStore::SaveCommissionTables, [&] { calc.tables.Slot(0).Name = "満杯"; },
         [](const Instance& i) { return i.calc.tables.Slot(0).Name == "満杯"; }},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(home.HivePath());
        store.LoadAll();
        c.change();
        {
            FileStepHookGuard full(FailStep(platform::FileStep::Write, ENOSPC));
            EXPECT_FALSE((store.*c.save)()) << c.what;
        }
        EXPECT_EQ(store.LastFailure(), home.HivePath() + ": " + std::strerror(ENOSPC)) << c.what;
        EXPECT_FALSE(c.stored(*Reloaded())) << c.what;
        ASSERT_TRUE(store.HasUnsavedGroups()) << c.what;
        ASSERT_TRUE(store.SaveAtExit()) << c.what;
        EXPECT_TRUE(store.LastFailure().empty());
        EXPECT_FALSE(store.HasUnsavedGroups()) << c.what;
        EXPECT_TRUE(c.stored(*Reloaded())) << c.what;
    }
    // A group saved after its failure is no longer carried to the end.
    calc.tax.KaiS = W(8);
    {
        FileStepHookGuard full(FailStep(platform::FileStep::Write, ENOSPC));
        EXPECT_FALSE(store.SaveTaxRates());
    }
    ASSERT_TRUE(store.SaveTaxRates());
    EXPECT_FALSE(store.HasUnsavedGroups());
}

// A link's save under kills and failures is in the save kill test; here a chain of links to a
// file not there yet, then a damaged target.
TEST_F(SaveTest, SettingsKeptAsALinkAreSavedThroughIt) {
    const std::string config = platform::FolderOf(home.HivePath()), target = home / "dotfiles/Vekkar.reg";
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(home / "dotfiles");
    std::filesystem::create_symlink("../../dotfiles/Vekkar.reg", config + "middle.reg");
    std::filesystem::create_symlink("middle.reg", home.HivePath());
    store.LoadAll();
    program.option.Word = "新しい";
    ASSERT_TRUE(store.SaveStartupOptions());
    std::ofstream(target, std::ios::app) << "junk";
    store.LoadAll();
    program.option.TopMost = 1;
    ASSERT_TRUE(store.SaveTopMost());
    EXPECT_EQ(std::filesystem::read_symlink(home.HivePath()), "middle.reg");
    const auto again = Reloaded();
    EXPECT_EQ(again->program.option.TopMost, 1);
    EXPECT_EQ(again->program.option.Word, "新しい");
    // The damaged file is kept aside beside the target, and nothing else is left there.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home / "dotfiles"), {}), 2);
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST_F(SaveTest, InstancesSavingAtOnceKeepEachOthersLastWrites) {
    // Each process saves its own group 200 times; the hive must end with every group's last
    // values, which it can only do if every save re-reads under the lock.
    constexpr int kProcesses = 8;
    constexpr int kRounds = 200;
    using Save = bool (*)(SettingsStore&, ProgramSettings&, CalcState&, int);
    const Save saves[kProcesses] = {
        [](SettingsStore& s, ProgramSettings& p, CalcState&, int k) { p.option.TopMost = k; return s.SaveTopMost(); },
        [](SettingsStore& s, ProgramSettings& p, CalcState&, int k) { p.display.MXY = {k, k}; return s.SaveMemoPosition(); },
        [](SettingsStore& s, ProgramSettings& p, CalcState&, int k) { p.display.colours[0] = static_cast<std::uint32_t>(k); return s.SaveColours(); },
        [](SettingsStore& s, ProgramSettings&, CalcState& c, int k) { c.tax.KaiS = W(k); return s.SaveTaxRates(); },
        [](SettingsStore& s, ProgramSettings&, CalcState& c, int k) { c.listedTicks.rows[0].tick = W(k); return s.SaveTickTables(); },
        [](SettingsStore& s, ProgramSettings&, CalcState& c, int k) { c.tables.Slot(0).Name = "T" + std::to_string(k); return s.SaveCommissionTables(); },
        [](SettingsStore& s, ProgramSettings& p, CalcState&, int k) { p.clipboard.flags[0] = k; return s.SaveClipboardItems(); },
        [](SettingsStore& s, ProgramSettings& p, CalcState&, int k) { p.option.Word = std::to_string(k); return s.SaveStartupOptions(); },
    };
    pid_t children[kProcesses];
    for (int i = 0; i < kProcesses; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            Instance instance(home.HivePath());
            bool ok = true;
            for (int k = 1; k <= kRounds; ++k) ok = saves[i](instance.store, instance.program, instance.calc, k) && ok;
            std::_Exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto hive = Hive();
    EXPECT_FALSE(hive->Damaged());
    auto last = Reloaded();
    EXPECT_EQ(last->program.option.TopMost, kRounds);
    EXPECT_EQ(last->program.display.MXY, (WindowPosition{kRounds, kRounds}));
    EXPECT_EQ(last->program.display.colours[0], static_cast<std::uint32_t>(kRounds));
    EXPECT_EQ(last->calc.tax.KaiS, W(kRounds));
    EXPECT_EQ(last->calc.listedTicks.rows[0].tick, W(kRounds));
    EXPECT_EQ(last->calc.tables.Slot(0).Name, "T" + std::to_string(kRounds));
    EXPECT_EQ(last->program.clipboard.flags[0], kRounds);
    EXPECT_EQ(last->program.option.Word, std::to_string(kRounds));
}

}  // namespace
}  // namespace zavota::testing
