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
    std::mt19937 random(12345);
    for (const Kind& k : kinds) {
        const auto reset = [&] {
            const std::string target = platform::SaveTarget(k.file), folder = platform::FolderOf(target);
            const std::string name = target.substr(folder.size());
            for (const auto& e : std::filesystem::directory_iterator(folder))
                if (e.path().string().starts_with(target + ".") ||
                    e.path().filename().string().starts_with("." + name + ".zavota-"))
                    std::filesystem::remove(e.path());
            ASSERT_TRUE(platform::ReplaceFileAtomically(k.file, k.old));
        };
        // A whole save, to learn its steps, its time and the new file.
        reset();
        int steps = 0;
        platform::SetFileStepHook([&](platform::FileStep, const std::string&) { return ++steps, 0; });
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(k.save()) << k.name;
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
        platform::SetFileStepHook({});
        const std::string fresh = platform::ReadFileBytes(k.file).bytes;
        ASSERT_NE(fresh, k.old) << k.name;

        int kills = 0, torn = 0;
        for (int round = 0; round < Rounds(); ++round) {
            for (int at = 1; at <= steps; ++at) {
                reset();
                // Odd rounds kill at random moments instead of at the steps.
                const bool atRandom = round % 2 == 1;
                KillDuringSave(k.save, atRandom ? 0 : at,
                               std::chrono::microseconds(random() % (took.count() * 3 / 2 + 1)));
                const platform::FileContent after = platform::ReadFileBytes(k.file);
                ++kills;
                if (after.status != platform::ReadStatus::Ok || (after.bytes != k.old && after.bytes != fresh) ||
                    std::filesystem::is_symlink(k.file) != k.link) {
                    ++torn;
                    ADD_FAILURE() << k.name << ": torn after a kill at step " << at;
                }
            }
        }
        std::cout << "kill test: " << k.name << ": " << steps << " steps, " << kills << " kills, " << torn
                  << " torn\n";

        // Each step failing in turn: the result tells the truth (a success is the new file, a
        // failure the old one, or the new one when only the folder's fsync failed, which is
        // never a success), and no temporary file stays behind.
        int faults = 0, wrong = 0;
        for (const int error : {ENOSPC, EIO, EACCES}) {
            for (int at = 1; at <= steps; ++at) {
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

}  // namespace
}  // namespace zavota::testing
