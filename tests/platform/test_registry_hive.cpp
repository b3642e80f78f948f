// The registry hive file: exact text of each value kind, kinds kept across a save, key paths
// compared case-insensitively, regedit-style input, and damaged files kept aside, never lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/RegistryHive.h"
#include "platform/Utf8.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace zavota::platform {
namespace {

using zavota::testing::TempFolder;

constexpr const char* kOption = "Software\\Orvane\\Vekkar\\Option";
constexpr const char* kHead = "Windows Registry Editor Version 5.00\r\n\r\n";

std::string Bytes(const std::string& path) { return ReadFileBytes(path).bytes; }

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RegistryHive, EachKindHasItsExactTextAndReadsBack) {
    struct Case {
        const char* what;
        std::function<bool(RegistryHive&)> write;
        std::string line;
        std::function<void(const RegistryHive&)> check;
    };
    const std::string evil = "a\r\n[HKEY_CURRENT_USER\\Evil]\r\n\"x\"=dword:00000001";
    const std::vector<Case> cases = {
        {"integer", [](RegistryHive& h) { return h.WriteInteger(kOption, "WordShow", 1); },
         "\"WordShow\"=dword:00000001", [](const RegistryHive& h) { EXPECT_EQ(h.ReadInteger(kOption, "WordShow"), 1); }},
        {"negative integer", [](RegistryHive& h) { return h.WriteInteger(kOption, "MarginIndexU", -3); },
         "\"MarginIndexU\"=dword:fffffffd",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadInteger(kOption, "MarginIndexU"), -3); }},
        {"lowest integer", [](RegistryHive& h) { return h.WriteInteger(kOption, "X", INT32_MIN); },
         "\"X\"=dword:80000000", [](const RegistryHive& h) { EXPECT_EQ(h.ReadInteger(kOption, "X"), INT32_MIN); }},
        {"zero real", [](RegistryHive& h) { return h.WriteReal(kOption, "YearGain", 0.0); },
         "\"YearGain\"=hex:00,00,00,00,00,00,00,00",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadReal(kOption, "YearGain"), 0.0); }},
        {"real", [](RegistryHive& h) { return h.WriteReal(kOption, "LowLimitK", -1.5); },
         "\"LowLimitK\"=hex:00,00,00,00,00,00,f8,bf",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadReal(kOption, "LowLimitK"), -1.5); }},
        {"empty binary", [](RegistryHive& h) { return h.WriteBinary(kOption, "B", ""); }, "\"B\"=hex:",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadBinary(kOption, "B"), ""); }},
        {"escaped string", [](RegistryHive& h) { return h.WriteString(kOption, "Word", "say \"hi\" C:\\x\\"); },
         "\"Word\"=\"say \\\"hi\\\" C:\\\\x\\\\\"",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadString(kOption, "Word"), "say \"hi\" C:\\x\\"); }},
        {"empty string", [](RegistryHive& h) { return h.WriteString(kOption, "Word", ""); }, "\"Word\"=\"\"",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadString(kOption, "Word"), ""); }},
        {"Japanese string", [](RegistryHive& h) { return h.WriteString(kOption, "FontName", "ＭＳ ゴシック"); },
         "\"FontName\"=\"ＭＳ ゴシック\"",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadString(kOption, "FontName"), "ＭＳ ゴシック"); }},
        {"tab and non-BMP character as hex(1)", [](RegistryHive& h) { return h.WriteString(kOption, "T", "\t\xF0\x9F\x98\x80"); },
         "\"T\"=hex(1):09,00,3d,d8,00,de,00,00",
         [](const RegistryHive& h) { EXPECT_EQ(h.ReadString(kOption, "T"), "\t\xF0\x9F\x98\x80"); }},
        {"line break opens no key", [&evil](RegistryHive& h) { return h.WriteString(kOption, "Word", evil); },
         "\"Word\"=hex(1):61,00,0d,00,0a,00,5b,00,48,00,4b,00,45,00,59,00,5f,00,43,00,55,00,52,00,52,00,45,00,4e,"
         "00,54,00,5f,00,55,00,53,00,45,00,52,00,5c,00,45,00,76,00,69,00,6c,00,5d,00,0d,00,0a,00,22,00,78,00,22,"
         "00,3d,00,64,00,77,00,6f,00,72,00,64,00,3a,00,30,00,30,00,30,00,30,00,30,00,30,00,30,00,31,00,00,00",
         [&evil](const RegistryHive& h) {
             EXPECT_EQ(h.ReadString(kOption, "Word"), evil);
             EXPECT_FALSE(h.KeyExists("Evil"));
             EXPECT_EQ(h.ValueNames(kOption), std::vector<std::string>{"Word"});
         }},
        {"default value and escaped name",
         [](RegistryHive& h) { return h.WriteString(kOption, "", "d") && h.WriteInteger(kOption, "a\"b\\", 2); },
         "@=\"d\"\r\n\"a\\\"b\\\\\"=dword:00000002", [](const RegistryHive& h) {
             EXPECT_EQ(h.ReadString(kOption, ""), "d");
             EXPECT_EQ(h.ReadInteger(kOption, "a\"b\\"), 2);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder tmp;
        RegistryHive hive(tmp / "hive.reg");
        ASSERT_TRUE(c.write(hive));
        EXPECT_EQ(hive.Serialise(), std::string(kHead) + "[HKEY_CURRENT_USER\\Software]\r\n\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\Orvane]\r\n\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar]\r\n\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Option]\r\n" +
                                       c.line + "\r\n\r\n");
        ASSERT_TRUE(hive.Commit());
        RegistryHive again(tmp / "hive.reg");
        again.Reload();
        EXPECT_FALSE(again.Damaged());
        c.check(again);
    }
}

TEST(RegistryHive, KeysAreWrittenInTreeOrder) {
    RegistryHive hive("unused.reg");
    for (const char* key : {"Software\\Orvane\\Vekkar\\Option", "Software\\Orvane\\Vekkar\\MarginTables2",
                            "Software\\Orvane\\Vekkar\\MarginTables\\2", "Software\\Orvane\\Vekkar\\MarginTables\\10",
                            "Software\\Orvane\\Vekkar\\MarginTables\\1", "Software\\Orvane\\Vekkar\\MarginTables",
                            "Software\\Orvane\\Vekkar\\display", "Software\\Orvane\\Vekkar\\Margin Tables"})
        hive.CreateKey(key);
    const std::string v = "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar";
    EXPECT_EQ(hive.Serialise(), std::string(kHead) + "[HKEY_CURRENT_USER\\Software]\r\n\r\n" +
                                    "[HKEY_CURRENT_USER\\Software\\Orvane]\r\n\r\n" + v + "]\r\n\r\n" + v +
                                    "\\display]\r\n\r\n" + v + "\\Margin Tables]\r\n\r\n" + v +
                                    "\\MarginTables]\r\n\r\n" + v + "\\MarginTables\\1]\r\n\r\n" + v +
                                    "\\MarginTables\\10]\r\n\r\n" + v + "\\MarginTables\\2]\r\n\r\n" + v +
                                    "\\MarginTables2]\r\n\r\n" + v + "\\Option]\r\n\r\n");
    EXPECT_EQ(hive.SubkeyNames("Software\\Orvane\\Vekkar\\"),
              (std::vector<std::string>{"display", "Margin Tables", "MarginTables", "MarginTables2", "Option"}));
}

TEST(RegistryHive, ValuesKeepTheirKind) {
    TempFolder tmp;
    RegistryHive hive(tmp / "hive.reg");
    ASSERT_TRUE(hive.WriteString(kOption, "S", "1"));
    ASSERT_TRUE(hive.WriteBinary(kOption, "B7", std::string("\x01\x02\x03\x04\x05\x06\x07", 7)));
    ASSERT_TRUE(hive.WriteInteger(kOption, "I", 1));
    ASSERT_TRUE(hive.WriteReal(kOption, "R", 2.5));
    ASSERT_TRUE(hive.Commit());
    hive.Reload();

    EXPECT_EQ(hive.ReadInteger(kOption, "S"), std::nullopt);
    EXPECT_EQ(hive.ReadString(kOption, "S"), "1");
    EXPECT_EQ(hive.ReadReal(kOption, "B7"), std::nullopt);
    EXPECT_EQ(hive.ReadBinary(kOption, "B7")->size(), 7u);
    EXPECT_EQ(hive.ReadString(kOption, "I"), std::nullopt);
    EXPECT_EQ(hive.ReadReal(kOption, "I"), std::nullopt);
    EXPECT_EQ(hive.ReadInteger(kOption, "R"), std::nullopt);
    EXPECT_EQ(hive.ReadReal(kOption, "R"), 2.5);
    EXPECT_EQ(hive.ReadInteger(kOption, "Absent"), std::nullopt);
    EXPECT_EQ(hive.ReadInteger("Software\\Absent", "I"), std::nullopt);

    // A rewrite with another kind replaces the value in place.
    ASSERT_TRUE(hive.WriteInteger(kOption, "s", 7));
    EXPECT_EQ(hive.ReadString(kOption, "S"), std::nullopt);
    EXPECT_EQ(hive.ReadInteger(kOption, "S"), 7);
    EXPECT_EQ(hive.ValueNames(kOption), (std::vector<std::string>{"S", "B7", "I", "R"}));
}

TEST(RegistryHive, PathsAndNamesCompareCaseInsensitively) {
    RegistryHive hive("unused.reg");
    ASSERT_TRUE(hive.WriteString("Software\\Orvane\\Vekkar\\Option", "Word", "a"));
    EXPECT_EQ(hive.ReadString("SOFTWARE\\orvane\\VEKKAR\\option", "WORD"), "a");
    EXPECT_EQ(hive.ReadString("\\Software\\Orvane\\Vekkar\\Option\\", "word"), "a");
    ASSERT_TRUE(hive.WriteString("software\\orvane\\vekkar\\OPTION", "wORD", "b"));
    EXPECT_EQ(hive.ReadString(kOption, "Word"), "b");
    EXPECT_EQ(hive.ValueNames(kOption), std::vector<std::string>{"Word"});
    EXPECT_EQ(hive.SubkeyNames("software\\orvane\\vekkar"), std::vector<std::string>{"Option"});
    EXPECT_TRUE(hive.KeyExists("SOFTWARE"));
}

TEST(RegistryHive, RefusesWhatTheFormatCannotHold) {
    RegistryHive hive("unused.reg");
    const std::string before = hive.Serialise();
    struct Case {
        const char* path;
        std::string name;
        std::string value;
    };
    for (const Case& c : std::vector<Case>{{"", "x", "v"},
                                           {"\\", "x", "v"},
                                           {"Software\\\\Vekkar", "x", "v"},
                                           // one trailing backslash is the registry's own; a second leaves an empty part
                                           {"Software\\Vekkar\\\\", "x", "v"},
                                           {"\\\\Software", "x", "v"},
                                           {"Software\\Ve\nkkar", "x", "v"},
                                           {"Software\\\xff", "x", "v"},
                                           {"Software", "line\nbreak", "v"},
                                           {"Software", "x", "bad \xc3\x28 utf-8"}}) {
        SCOPED_TRACE(c.path + std::string(" / ") + c.name);
        EXPECT_FALSE(hive.WriteString(c.path, c.name, c.value));
        EXPECT_EQ(hive.Serialise(), before);
    }
    hive.CreateKey("a\\\\b");
    hive.DeleteKey("");  // must not wipe the hive
    EXPECT_EQ(hive.Serialise(), before);
}

TEST(RegistryHive, DeleteKeyRemovesTheSubtreeOnly) {
    RegistryHive hive("unused.reg");
    const std::string base = "Software\\Orvane\\Vekkar\\";
    ASSERT_TRUE(hive.WriteInteger(base + "MarginTables", "Tables", 2));
    ASSERT_TRUE(hive.WriteString(base + "MarginTables\\0", "Name", "a"));
    ASSERT_TRUE(hive.WriteString(base + "MarginTables\\1\\Deep", "Name", "b"));
    ASSERT_TRUE(hive.WriteInteger(base + "MarginTables2", "Tables", 9));
    ASSERT_TRUE(hive.WriteInteger(base + "MarginTable", "Tables", 8));

    hive.DeleteKey("software\\orvane\\vekkar\\margintables\\");
    hive.DeleteKey(base + "Absent");

    EXPECT_FALSE(hive.KeyExists(base + "MarginTables"));
    EXPECT_FALSE(hive.KeyExists(base + "MarginTables\\1\\Deep"));
    EXPECT_EQ(hive.ReadInteger(base + "MarginTables2", "Tables"), 9);
    EXPECT_EQ(hive.ReadInteger(base + "MarginTable", "Tables"), 8);
    EXPECT_EQ(hive.SubkeyNames(base), (std::vector<std::string>{"MarginTable", "MarginTables2"}));
}

TEST(RegistryHive, ReadsRegeditFilesAndKeepsWhatItDoesNotUse) {
    // LF line ends, a BOM, comments, continuations, other kinds and roots, deletions.
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n"
        "\n"
        "; exported by hand\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Other]\n"
        "\"Path\"=hex(2):25,00,41,00,\\\n"
        "  00,00\n"
        "\n"
        "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Option]\r\n"
        "@=\"default\"\r\n"
        "\"List\"=hex(7):61,00,00,00,00,00\r\n"
        "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r"
        "\"YearGain\"=hex:00,00,00,00,\\\r\n"
        "    00,00,f0,3f\r\n"
        "\"Upper\"=DWORD:0000000A\r\n"
        "\"Gone\"=\"x\"\n"
        "\"Gone\"=-\n"
        "\"Odd\"=hex(1):41,00,00\n"
        "\"Wide\"=hex(1):41,00,42,00,00,00\n"
        "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Old\\Sub]\n"
        "\"a\"=dword:00000001\n"
        "[-HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Old]\n"
        "\"ignored\"=dword:00000001\n";
    RegistryHive hive("unused.reg");
    EXPECT_TRUE(hive.Parse(text));
    EXPECT_FALSE(hive.Damaged());
    EXPECT_EQ(hive.ReadString(kOption, ""), "default");
    EXPECT_EQ(hive.ReadReal(kOption, "YearGain"), 1.0);
    EXPECT_EQ(hive.ReadInteger(kOption, "Upper"), 10);
    EXPECT_EQ(hive.ReadString(kOption, "Wide"), "AB");
    EXPECT_EQ(hive.ReadString(kOption, "List"), std::nullopt);
    EXPECT_EQ(hive.ReadBinary(kOption, "Big"), std::nullopt);
    EXPECT_FALSE(hive.KeyExists("Software\\Orvane\\Vekkar\\Old"));

    const std::string v = "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar";
    EXPECT_EQ(hive.Serialise(), std::string(kHead) + "[HKEY_CURRENT_USER\\Software]\r\n\r\n" +
                                    "[HKEY_CURRENT_USER\\Software\\Orvane]\r\n\r\n" + v + "]\r\n\r\n" + v +
                                    "\\Option]\r\n"
                                    "@=\"default\"\r\n"
                                    "\"List\"=hex(7):61,00,00,00,00,00\r\n"
                                    "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                                    "\"YearGain\"=hex:00,00,00,00,00,00,f0,3f\r\n"
                                    "\"Upper\"=dword:0000000a\r\n"
                                    "\"Odd\"=hex(1):41,00,00\r\n"
                                    "\"Wide\"=\"AB\"\r\n"
                                    "\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Software]\r\n\r\n"
                                    "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                                    "\"Path\"=hex(2):25,00,41,00,00,00\r\n\r\n");
}

TEST(RegistryHive, DamagedTextKeepsEveryGoodLine) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n";
    const std::string good = "\"Good\"=dword:00000001\r\n";
    struct Case {
        const char* what;
        std::string text;
    };
    for (const Case& c : std::vector<Case>{
             {"truncated string", head + good + "\"Word\"=\"abc"},
             {"truncated key line", head + good + "[HKEY_CURRENT_USER\\Soft"},
             {"short dword", head + good + "\"W\"=dword:0000001\r\n"},
             {"long dword", head + good + "\"W\"=dword:000000001\r\n"},
             {"bad escape", head + good + "\"W\"=\"a\\nb\"\r\n"},
             {"bad hex", head + good + "\"W\"=hex:00,0g\r\n"},
             {"trailing comma", head + good + "\"W\"=hex:00,\r\n"},
             {"continuation at the end", head + good + "\"W\"=hex:00,\\\r\n"},
             {"text after a string", head + good + "\"W\"=\"a\" x\r\n"},
             {"unknown line", head + good + "REGEDIT4\r\n"},
             {"garbage bytes", head + good + "\"W\"=\"\xff\xfe\x80\"\r\n"},
             {"NUL byte", head + good + std::string("\"W\"=\"a\0b\"\r\n", 11)},
             {"unknown root", head + good + "[Software\\X]\r\n\"W\"=dword:00000001\r\n"},
             {"empty component", head + good + "[HKEY_CURRENT_USER\\A\\\\B]\r\n"},
             {"empty last part", head + good + "[HKEY_CURRENT_USER\\X\\]\r\n\"W\"=dword:00000001\r\n"},
             {"value before any key", "Windows Registry Editor Version 5.00\r\n\"W\"=dword:00000001\r\n" +
                                          head.substr(38) + good},
         }) {
        SCOPED_TRACE(c.what);
        RegistryHive hive("unused.reg");
        EXPECT_FALSE(hive.Parse(c.text));
        EXPECT_TRUE(hive.Damaged());
        EXPECT_EQ(hive.ReadInteger("Software", "Good"), 1);
        EXPECT_EQ(hive.ReadInteger("Software", "W"), std::nullopt);
        EXPECT_EQ(hive.ReadString("Software", "W"), std::nullopt);
        EXPECT_FALSE(hive.KeyExists("X"));
    }

    RegistryHive noHeader("unused.reg");
    EXPECT_FALSE(noHeader.Parse("[HKEY_CURRENT_USER\\Software]\r\n" + good));
    EXPECT_FALSE(noHeader.KeyExists("Software"));
}

TEST(RegistryHive, KeysDeeperThanWindowsKeepsAreRefused) {
    struct Case {
        std::size_t levels;  // below HKEY_CURRENT_USER
        bool kept;
    };
    for (const Case c : {Case{512, true}, {513, false}, {15000, false}}) {
        SCOPED_TRACE(c.levels);
        std::string key = "HKEY_CURRENT_USER";
        for (std::size_t i = 0; i < c.levels; ++i) key += "\\k" + std::to_string(i % 10);
        RegistryHive hive("unused.reg");
        EXPECT_EQ(hive.Parse(std::string(kHead) + "[" + key + "]\r\n\"V\"=dword:00000001\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software]\r\n\"Good\"=dword:00000002\r\n"),
                  c.kept);
        EXPECT_EQ(hive.ReadInteger(key.substr(18), "V"), c.kept ? std::optional<std::int32_t>(1) : std::nullopt);
        EXPECT_EQ(hive.ReadInteger("Software", "Good"), 2);
        // The deepest key Windows holds writes and reads back with all its parents.
        RegistryHive again("unused.reg");
        EXPECT_TRUE(again.Parse(hive.Serialise()));
        EXPECT_EQ(again.ReadInteger(key.substr(18), "V"), hive.ReadInteger(key.substr(18), "V"));
    }
}

TEST(RegistryHive, CommitKeepsADamagedFileAside) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
    };
    for (const Case& c : std::vector<Case>{
             {"garbage", [](const std::string& p) { WriteBytes(p, "\x01\x02garbage\xff"); }},
             {"no header", [](const std::string& p) { WriteBytes(p, "[HKEY_CURRENT_USER\\Software]\r\n"); }},
             {"40 MB", [](const std::string& p) {
                  WriteBytes(p, "Windows Registry Editor Version 5.00\r\n");
                  std::filesystem::resize_file(p, 40u * 1024u * 1024u);
              }}}) {
        SCOPED_TRACE(c.what);
        TempFolder tmp;
        const std::string path = tmp / "Vekkar.reg";
        c.make(path);
        const std::string old = Bytes(path);
        const auto oldSize = std::filesystem::file_size(path);

        RegistryHive hive(path);
        hive.Reload();
        EXPECT_TRUE(hive.Damaged());
        ASSERT_TRUE(hive.WriteInteger(kOption, "TopMost", 1));
        ASSERT_TRUE(hive.Commit());
        EXPECT_FALSE(hive.Damaged());

        const auto names = FolderEntries(tmp.Path());
        ASSERT_EQ(names.size(), 2u);
        EXPECT_EQ(names[0], "Vekkar.reg");
        EXPECT_TRUE(names[1].starts_with("Vekkar.reg.damaged-")) << names[1];
        EXPECT_EQ(std::filesystem::file_size(tmp / names[1]), oldSize);
        if (oldSize < 1024) {
            EXPECT_EQ(Bytes(tmp / names[1]), old);
        }

        RegistryHive again(path);
        again.Reload();
        EXPECT_FALSE(again.Damaged());
        EXPECT_EQ(again.ReadInteger(kOption, "TopMost"), 1);
    }
}

// Settings kept in a dotfiles folder behind a link: what is kept aside, the save's temporary
// file and the leftovers of killed saves all belong beside the target, and the link stays.
TEST(RegistryHive, ADamagedFileBehindALinkIsKeptAsARegularCopy) {
    struct Case {
        const char* what;
        bool link;
        bool keptAtStart;  // else at the first commit
        bool replaced;     // by another program after it was read: nothing to keep
    };
    const std::string garbage = "\x01\x02garbage\xff";
    for (const Case& c : {Case{"kept at start", false, true, false}, Case{"kept at start via a link", true, true, false},
                          Case{"kept at the first commit via a link", true, false, false},
                          Case{"replaced after it was read", false, true, true},
                          Case{"replaced after it was read, via a link", true, true, true}}) {
        SCOPED_TRACE(c.what);
        TempFolder tmp;
        std::filesystem::create_directories(tmp / "dotfiles");
        std::filesystem::create_directories(tmp / "config");
        const std::string target = tmp / "dotfiles/Vekkar.reg";
        const std::string path = c.link ? tmp / "config/Vekkar.reg" : target;
        if (c.link) std::filesystem::create_symlink("../dotfiles/Vekkar.reg", path);
        WriteBytes(target, garbage);
        // A save killed in an earlier run left this; a user's file only looks like one.
        const std::string stale = tmp / "dotfiles/.Vekkar.reg.zavota-a1B2c3";
        WriteBytes(stale, "old");
        const struct timespec longAgo[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, stale.c_str(), longAgo, 0), 0);

        RegistryHive hive(path);
        hive.Reload();
        ASSERT_TRUE(hive.Damaged());
        if (c.replaced) {
            ASSERT_TRUE(ReplaceFileAtomically(target, std::string(kHead)));
        }
        if (c.keptAtStart) {
            EXPECT_EQ(hive.KeepDamagedCopy().empty(), c.replaced);
        }
        std::vector<std::string> temps;
        SetFileStepHook([&](FileStep step, const std::string& file) {
            if (step == FileStep::Write) temps.push_back(file);
            return 0;
        });
        if (!c.replaced) {
            ASSERT_TRUE(hive.WriteInteger(kOption, "TopMost", 1));
            EXPECT_TRUE(hive.Commit());
        }
        SetFileStepHook({});

        EXPECT_EQ(temps.empty(), c.replaced);
        for (const std::filesystem::path temp : temps) {
            EXPECT_TRUE(std::filesystem::equivalent(temp.parent_path(), tmp / "dotfiles")) << temp;
            EXPECT_TRUE(temp.filename().string().starts_with(".Vekkar.reg.zavota-")) << temp;
            EXPECT_EQ(temp.filename().string().size(), std::string(".Vekkar.reg.zavota-a1B2c3").size()) << temp;
        }
        EXPECT_EQ(std::filesystem::is_symlink(path), c.link);
        EXPECT_EQ(FolderEntries(tmp / "config"), c.link ? std::vector<std::string>{"Vekkar.reg"}
                                                        : std::vector<std::string>{});
        const auto names = FolderEntries(tmp / "dotfiles");
        if (c.replaced) {
            EXPECT_EQ(names, std::vector<std::string>{"Vekkar.reg"});  // its save cleaned up
            continue;
        }
        ASSERT_EQ(names.size(), 2u);  // the stale temporary file is gone, and one copy is kept
        EXPECT_EQ(names[0], "Vekkar.reg");
        EXPECT_TRUE(names[1].starts_with("Vekkar.reg.damaged-")) << names[1];
        const std::string aside = tmp / ("dotfiles/" + names[1]);
        EXPECT_FALSE(std::filesystem::is_symlink(aside));
        EXPECT_EQ(Bytes(aside), garbage);
        RegistryHive again(path);
        again.Reload();
        EXPECT_EQ(again.ReadInteger(kOption, "TopMost"), 1);
    }
}

TEST(RegistryHive, InstancesMergeAtTheValueLevel) {
    TempFolder tmp;
    const std::string path = tmp / "new/folder/Vekkar.reg";
    RegistryHive a(path), b(path);
    a.Reload();
    ASSERT_TRUE(a.WriteInteger(kOption, "TopMost", 1));
    ASSERT_TRUE(a.Commit());  // creates the folders and the file
    b.Reload();
    ASSERT_TRUE(b.WriteString(kOption, "Word", "b"));
    ASSERT_TRUE(b.Commit());
    a.Reload();
    EXPECT_EQ(a.ReadInteger(kOption, "TopMost"), 1);
    EXPECT_EQ(a.ReadString(kOption, "Word"), "b");
    EXPECT_EQ(FolderEntries(tmp / "new/folder"), std::vector<std::string>{"Vekkar.reg"});
}

TEST(RegistryHive, FailedCommitLeavesTheOldFileAsItWas) {
    TempFolder tmp;
    zavota::testing::WherePermissionsBind(tmp.Path(), [&] {
        const std::string folder = tmp / "ro";
        const std::string path = folder + "/Vekkar.reg";
        {
            RegistryHive hive(path);
            ASSERT_TRUE(hive.WriteInteger(kOption, "TopMost", 1));
            ASSERT_TRUE(hive.Commit());
        }
        const std::string old = Bytes(path);

        // A read-only folder: the replace cannot happen.
        ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
        RegistryHive hive(path);
        hive.Reload();
        ASSERT_TRUE(hive.WriteInteger(kOption, "TopMost", 0));
        EXPECT_FALSE(hive.Commit());
        EXPECT_EQ(Bytes(path), old);
        EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Vekkar.reg"});

        // A file that cannot be read must not be replaced by a hive that never saw its content;
        // write-only (0200) gets past the replace's own read-only check.
        ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
        for (const mode_t mode : {0000, 0200}) {
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            hive.Reload();
            ASSERT_TRUE(hive.WriteInteger(kOption, "Other", 2));
            EXPECT_FALSE(hive.Commit()) << mode;
            ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
            EXPECT_EQ(Bytes(path), old) << mode;
            EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"Vekkar.reg"});
        }

        // A saved hive keeps its permissions.
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        hive.Reload();
        ASSERT_TRUE(hive.WriteInteger(kOption, "Other", 3));
        ASSERT_TRUE(hive.Commit());
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
    });
}

}  // namespace
}  // namespace zavota::platform

namespace zavota::platform {
namespace {

std::string Utf16(const std::string& utf8) { return std::string(kUtf16LeBom) + Utf16LeFromUtf8(utf8); }

TEST(RegistryHive, FileIsRegeditsOwnFormAndEveryFormLoads) {
    const std::string body = "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar\\Option]\r\n"
                             "\"FontName\"=\"ＭＳ ゴシック\"\r\n\"Motto\"=\"表\"\r\n\"TopMost\"=dword:00000001\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool damaged;
    };
    const Case cases[] = {
        {"regedit export", Utf16(std::string(kHead) + body), false},
        {"earlier version, UTF-8", kHead + body, false},
        {"UTF-8 with a mark", "\xEF\xBB\xBF" + (kHead + body), false},
        {"REGEDIT4 in code page 932", "REGEDIT4\r\n\r\n" + *ToCp932(body), false},
        {"unpaired surrogate", Utf16(std::string(kHead) + body) + std::string("\x00\xD8\r\x00\n\x00", 6), true},
    };
    for (const auto& c : cases) {
        TempFolder tmp;
        const std::string path = tmp / "Vekkar.reg";
        WriteBytes(path, c.bytes);
        RegistryHive hive(path);
        hive.Reload();
        EXPECT_EQ(hive.Damaged(), c.damaged) << c.what;
        EXPECT_EQ(hive.ReadString(kOption, "FontName"), "ＭＳ ゴシック") << c.what;
        EXPECT_EQ(hive.ReadString(kOption, "Motto"), "表") << c.what;
        EXPECT_EQ(hive.ReadInteger(kOption, "TopMost"), 1) << c.what;

        ASSERT_TRUE(hive.Commit()) << c.what;
        const std::string v = "[HKEY_CURRENT_USER\\Software\\Orvane\\Vekkar";
        EXPECT_EQ(Bytes(path), Utf16(std::string(kHead) + "[HKEY_CURRENT_USER\\Software]\r\n\r\n" +
                                     "[HKEY_CURRENT_USER\\Software\\Orvane]\r\n\r\n" + v + "]\r\n\r\n" + body +
                                     "\r\n"))
            << c.what;
    }
}

}  // namespace
}  // namespace zavota::platform
