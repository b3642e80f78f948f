// A save killed at any moment leaves the old file or the new one, never a mix or nothing.
// Each save kind runs in a child process that dies at every write, fsync and rename step, and
// (with ZAVOTA_KILL_ROUNDS above 1, for longer runs) at random moments by SIGKILL.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <thread>
#include <vector>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "SettingsFixture.h"
#include "core/YenTesting.h"
#include "memo/MemoPages.h"
#include "memo/MemoStore.h"
#include "platform/FileIo.h"
#include "settings/KeihiFile.h"
#include "settings/MarginTableFile.h"

namespace zavota::testing {
namespace {

MarginTable LargeTable(const std::string& name, int rate) {
    MarginTable t;
    t.inUse = true;
    t.Name = name;
    t.Same = 1;
    t.ElementsK = t.ElementsU = kMaxBrackets;
    for (int i = 0; i < kMaxBrackets; ++i) {
        const MarginBracket b{W(i * 1000), W(i * 1000 + 1000), R(rate + i), W(i), W(0)};
        t.bracketsK[static_cast<std::size_t>(i)] = t.bracketsU[static_cast<std::size_t>(i)] = b;
    }
    return t;
}

int Rounds() {
    const char* v = std::getenv("ZAVOTA_KILL_ROUNDS");
    return v != nullptr && std::atoi(v) > 0 ? std::atoi(v) : 1;
}

// Runs `save` in a child that is stopped at step `killAt` (counting from 1), or by SIGKILL after
// `delay` when killAt is 0.
void KillDuringSave(const std::function<bool()>& save, int killAt, std::chrono::microseconds delay) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int steps = 0;
        if (killAt > 0)
            platform::SetFileStepHook([&](platform::FileStep, const std::string&) {
                if (++steps == killAt) std::_Exit(0);
                return 0;
            });
        std::_Exit(save() ? 0 : 1);
    }
    if (killAt == 0) {
        std::this_thread::sleep_for(delay);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

// Runs `run` whole once (from `reset`) to count its file steps, lets `learn` take in the new
// state, then kills it at every step, and in odd rounds at random moments; `whole` tells after
// each kill whether the files hold the old or the new state. Returns steps, kills, and the kills
// after which they held neither.
struct KillCount {
    int steps = 0, kills = 0, broken = 0;
};
KillCount KillAtEveryStep(const std::function<void()>& reset, const std::function<bool()>& run,
                          const std::function<void()>& learn, const std::function<bool()>& whole) {
    static std::mt19937 random(12345);
    KillCount count;
    reset();
    platform::SetFileStepHook([&](platform::FileStep, const std::string&) { return ++count.steps, 0; });
    const auto start = std::chrono::steady_clock::now();
    const bool done = run();
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    platform::SetFileStepHook({});
    EXPECT_TRUE(done);
    learn();
    for (int round = 0; round < Rounds(); ++round) {
        for (int at = 1; at <= count.steps; ++at) {
            reset();
            const bool atRandom = round % 2 == 1;
            KillDuringSave(run, atRandom ? 0 : at, std::chrono::microseconds(random() % (took.count() * 3 / 2 + 1)));
            ++count.kills;
            if (!whole()) {
                ++count.broken;
                ADD_FAILURE() << "neither old nor new after a kill at step " << at;
            }
        }
    }
    return count;
}

class SaveKillTest : public SettingsFixture {};

TEST_F(SaveKillTest, EveryKillLeavesTheOldOrTheNewFile) {
    const std::string data = home / "data/";
    ASSERT_TRUE(platform::EnsureFolder(data));
    platform::NamedMutex mutex{"VekkarMutex", data};
    for (int n = 0; n < kMaxTables; ++n) calc.tables.Slot(n) = LargeTable("旧" + std::to_string(n), 100);
    ASSERT_TRUE(store.SaveCommissionTables());
    const std::string oldHive = platform::ReadFileBytes(home.HivePath()).bytes;
    for (int n = 0; n < kMaxTables; ++n) calc.tables.Slot(n) = LargeTable("新" + std::to_string(n), 200);
    const KeihiSet newSet{.RateK = 2.5, .DaysK = 30, .Other = 7, .Comment = "新しい経費"};
    const std::string text(300'000, 'x');

    struct Kind {
        const char* name;
        std::string file;
        std::string old;  // what the file holds before each save
        std::function<bool()> save;
        bool link = false;  // `file` is a symbolic link, and must stay one
    };
    // Settings kept in a dotfiles folder, reached through a link.
    const std::string linked = home / "linked.reg";
    ASSERT_TRUE(platform::ReplaceFileAtomically(data + "dotfiles.reg", oldHive));
    std::filesystem::create_symlink("data/dotfiles.reg", linked);
    SettingsStore linkedStore(BindSettings(program, calc), linked);
    const Kind kinds[] = {
        {"settings hive", home.HivePath(), oldHive, [&] { return store.SaveCommissionTables(); }},
        {"damaged hive", home.HivePath(), oldHive + "\"broken", [&] { return store.SaveCommissionTables(); }},
        {"table export", data + "table.ini", "[手数料テーブル]\r\nName=旧\r\nK0=0,1,1.0000,0,0.0000\r\n",
         [&] { return ExportMarginTable(LargeTable("新", 300), data + "table.ini", mutex); }},
        {"expense set", data + KeihiFileName(1), "[経費データ]\r\nRate_N_K=1\r\nComment=旧\r\n",
         [&] { return WriteKeihiSet(data, 1, newSet, mutex); }},
        {"memo calculator", data + "Calc.ini", "[Title]\r\nName=old\r\n", [&] {
             MemoStore memo(data, mutex);
             const bool ok = memo.open("Calc.ini", MemoFileKind::Ini, false) &&
                             memo.writeCalculator(std::vector<std::string>(kCalculatorItems, "新"));
             return memo.close() && ok;
         }},
        {"text file", data + "N_1.txt", "old text\r\n", [&] { return platform::ReplaceFileAtomically(data + "N_1.txt", text); }},
        {"damaged text page", data + "N_2.txt", "old\x81\r\n", [&] {
             MemoStore memo(data, mutex);
             if (!memo.open("N_2.txt", MemoFileKind::Text, false)) return false;
             memo.textStream()->Write("新しいページ");
             return memo.close();
         }},
        {"memo page", data + "M_1.ini", "[銘柄（ページ名）]\r\nName=旧\r\n", [&] {
             MemoStore memo(data, mutex);
             std::vector<MemoCell> cells{{kCellPageName, 0, "新"}};
             for (int r = 1; r <= kMemoRows; ++r) cells.push_back({kCellPrice, r, std::to_string(1000 + r)});
             const bool ok = memo.open("M_1.ini", MemoFileKind::Ini, false) && memo.writeCells(cells);
             return memo.close() && ok;
         }},
        {"memo index", data + "N00index.ini", "[旧]\r\nFileNo=1\r\n", [&] {
             MemoStore memo(data, mutex);
             std::vector<MemoPageEntry> pages;
             for (int n = 1; n <= 200; ++n) pages.push_back({"ページ" + std::to_string(n), n});
             return memo.replaceIndex(MemoPageKind::FreeForm, pages);
         }},
        {"memo index emptied", data + "M00index.ini", "[旧]\r\nFileNo=1\r\n", [&] {
             MemoStore memo(data, mutex);
             return memo.replaceIndex(MemoPageKind::PerStock, {});
         }},
        {"settings hive through a link", linked, oldHive, [&] { return linkedStore.SaveCommissionTables(); }, true},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        const auto reset = [&] {
            const std::string target = platform::SaveTarget(k.file), folder = platform::FolderOf(target);
            const std::string name = target.substr(folder.size());
            for (const auto& e : std::filesystem::directory_iterator(folder))
                if (e.path().string().starts_with(target + ".") ||
                    e.path().filename().string().starts_with("." + name + ".zavota-"))
                    std::filesystem::remove(e.path());
            ASSERT_TRUE(platform::ReplaceFileAtomically(k.file, k.old));
        };
        std::string fresh;
        const KillCount count = KillAtEveryStep(
            reset, k.save,
            [&] {
                fresh = platform::ReadFileBytes(k.file).bytes;
                ASSERT_NE(fresh, k.old);
            },
            [&] {
                const platform::FileContent after = platform::ReadFileBytes(k.file);
                return after.status == platform::ReadStatus::Ok && (after.bytes == k.old || after.bytes == fresh) &&
                       std::filesystem::is_symlink(k.file) == k.link;
            });
        std::cout << "kill test: " << k.name << ": " << count.steps << " steps, " << count.kills << " kills, "
                  << count.broken << " torn\n";

        // Each step failing in turn: the result tells the truth (a success is the new file, a
        // failure the old one, or the new one when only the folder's fsync failed, which is
        // never a success), and no temporary file stays behind.
        int faults = 0, wrong = 0;
        for (const int error : {ENOSPC, EIO, EACCES}) {
            for (int at = 1; at <= count.steps; ++at) {
                reset();
                int step = 0;
                bool folderSync = false;
                platform::SetFileStepHook([&](platform::FileStep kind, const std::string&) {
                    if (++step != at) return 0;
                    folderSync = kind == platform::FileStep::SyncFolder;
                    return error;
                });
                const bool saved = k.save();
                platform::SetFileStepHook({});
                const std::string after = platform::ReadFileBytes(k.file).bytes;
                const std::string target = platform::SaveTarget(k.file), folder = platform::FolderOf(target);
                bool leftover = false;
                for (const auto& e : std::filesystem::directory_iterator(folder))
                    leftover = leftover || e.path().filename().string().starts_with(
                                               "." + target.substr(folder.size()) + ".zavota-");
                ++faults;
                if ((saved ? after != fresh || folderSync : after != k.old && after != fresh) || leftover) {
                    ++wrong;
                    ADD_FAILURE() << k.name << ": step " << at << " failing with " << error << " left "
                                  << (leftover ? "a temporary file" : saved ? "an old file after success" : "a torn file");
                }
            }
        }
        std::cout << "fault test: " << k.name << ": " << faults << " failed steps, " << wrong << " wrong\n";
    }
}

// The memo pad's page operations killed at every step: the pages read back as the next start
// reads them (finishing a delete that was cut off) are the old ones or the new ones, each name
// with its own content.
TEST_F(SaveKillTest, PageOperationsEndInTheOldOrTheNewPages) {
    const std::string data = home / "pages/";
    ASSERT_TRUE(platform::EnsureFolder(data));
    platform::NamedMutex mutex{"VekkarMutex", data};
    MemoStore memo(data, mutex);  // forked with the child; it holds no file between operations
    using Pages = std::vector<std::pair<std::string, std::string>>;  // name and content, list order
    const auto save = [&](const std::string& name, int number) {
        StockGrid g{};
        g[0].comment = name + name;
        return SaveStockPage(memo, {name, number}, g);
    };
    const auto pages = [&] {
        Pages read;
        for (const MemoPageEntry& e : LoadPageList(memo, MemoPageKind::PerStock)) {
            StockGrid g{};
            if (e.number > 0 && LoadStockPage(memo, e.number, g)) read.emplace_back(e.name, g[0].comment);
        }
        return read;
    };
    const auto remove = [&](int position) {
        return [&, position] {
            PageList list = LoadPageList(memo, MemoPageKind::PerStock);
            return DeletePage(memo, MemoPageKind::PerStock, list, position).indexRewritten;
        };
    };
    const Pages old{{"A", "AA"}, {"B", "BB"}, {"C", "CC"}};
    const struct {
        const char* name;
        Pages fresh;
        std::function<bool()> run;
    } operations[] = {
        {"delete a middle page", {old[0], old[2]}, remove(1)},
        {"delete the first page", {old[1], old[2]}, remove(0)},
        {"delete the last page", {old[0], old[1]}, remove(2)},
        {"new page", {old[0], old[1], old[2], {"D", "DD"}},
         [&] { return memo.setAsideOrphan(MemoPageKind::PerStock, 4) && save("D", 4); }},
        {"reorder", {old[2], old[0], old[1]},
         [&] { return RewritePageIndex(memo, MemoPageKind::PerStock, {{"C", 3}, {"A", 1}, {"B", 2}}); }},
    };
    for (const auto& op : operations) {
        SCOPED_TRACE(op.name);
        const KillCount count = KillAtEveryStep(
            [&] {
                for (const auto& e : std::filesystem::directory_iterator(data)) std::filesystem::remove(e.path());
                ASSERT_TRUE(save("A", 1) && save("B", 2) && save("C", 3));
            },
            op.run, [&] { ASSERT_EQ(pages(), op.fresh); },
            [&] { return pages() == old || pages() == op.fresh; });
        std::cout << "kill test: " << op.name << ": " << count.steps << " steps, " << count.kills << " kills, "
                  << count.broken << " mixed up or lost\n";
    }
}

}  // namespace
}  // namespace zavota::testing
