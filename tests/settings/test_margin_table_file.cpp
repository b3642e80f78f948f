// Commission tables in files of their own: export, import, and what old files leave behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>

#include "core/YenTesting.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "settings/MarginTableFile.h"
#include "support/TempFolder.h"

namespace zavota::testing {
namespace {

class MarginTableFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    platform::NamedMutex mutex{"VekkarMutex", folder.Path()};
    std::string path = folder / "table.ini";

    // Files as a Windows copy of the program writes them: code page 932.
    void WriteFile(const std::string& text) {
        std::ofstream(path, std::ios::binary) << platform::ToCp932(text).value_or(text);
    }
    ImportResult Import(MarginTable& t) { return ImportMarginTable(path, t, mutex); }
};

MarginTable Shared() {
    MarginTable t;
    t.inUse = true;
    t.Name = "定額・表示";  // "表" ends in 0x5C in code page 932
    t.ElementsK = 2;
    t.ElementsU = 2;
    t.LowLimitK = W(1500);
    t.HighLimitK = R(25005);
    t.MiniAfterK = 1;
    t.bracketsK[0] = {W(0), W(1000000), R(1050), W(100), W(0)};
    t.bracketsK[1] = {W(1000000), W(99999999), R(5), R(2505000), R(1)};
    t.bracketsU = t.bracketsK;
    t.MiniAfterU = 1;
    t.LowLimitU = t.LowLimitK;
    t.HighLimitU = t.HighLimitK;
    return t;
}

TEST_F(MarginTableFileTest, ASharedTableIsWrittenWithItsSellSideAndReadBackShared) {
    ASSERT_TRUE(ExportMarginTable(Shared(), path, mutex));
    platform::ProfileFile file(path);
    EXPECT_EQ(file.Sections(), std::vector<std::string>{kMarginTableSection});
    EXPECT_EQ(file.Keys(kMarginTableSection),
              (std::vector<std::string>{"Name", "Same", "MiniAfterK", "MiniAfterU", "ElementsK", "ElementsU",
                                        "LowLimitK", "LowLimitU", "HighLimitK", "HighLimitU", "K0", "K1"}));
    struct Expect {
        const char* key;
        const char* value;
    };
    for (const Expect e : {Expect{"Name", "定額・表示"}, {"Same", "0"}, {"MiniAfterU", "1"}, {"ElementsU", "2"},
                           {"LowLimitK", "1500"}, {"LowLimitU", "1500"}, {"HighLimitU", "2.5005"},
                           {"K0", "0,1000000,0.1050,100,0.0000"}, {"K1", "1000000,99999999,0.0005,251,0.0001"}})
        EXPECT_EQ(file.ReadString(kMarginTableSection, e.key, "?"), e.value) << e.key;

    MarginTable back;
    ASSERT_EQ(Import(back), ImportDone);
    MarginTable expected = Shared();
    expected.inUse = false;  // taking the table into the set is the caller's step
    expected.bracketsK[1].addition = W(251);
    expected.bracketsU[1].addition = W(251);
    EXPECT_EQ(back, expected);
}

TEST_F(MarginTableFileTest, TheFileIsCodePage932WithCrLf) {
    MarginTable t = Shared();
    t.ElementsK = 1;
    ASSERT_TRUE(ExportMarginTable(t, path, mutex));
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.substr(0, 16), "[\x8e\xe8\x90\x94\x97\xbf\x83\x65\x81\x5b\x83\x75\x83\x8b]");
    EXPECT_NE(bytes.find("\r\nName=\x92\xe8\x8a\x7a\x81\x45\x95\x5c\x8e\xa6\r\n"), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(MarginTableFileTest, ImportResults) {
    const std::string good = "[手数料テーブル]\r\nName=A\r\nSame=0\r\nElementsK=1\r\nElementsU=1\r\nK0=0,1000,1.0000,0,0.0000\r\n";
    struct Case {
        const char* what;
        std::string text;
        ImportResult result;
    };
    const Case cases[] = {
        {"a table", good, ImportDone},
        {"an empty name", "[手数料テーブル]\r\nName=\r\nElementsK=1\r\nK0=0,1000,1,0,0\r\n", ImportNotATable},
        {"another section", "[経費データ]\r\nName=A\r\nElementsK=1\r\nK0=0,1000,1,0,0\r\n", ImportNotATable},
        {"ElementsK 3 without K2", "[手数料テーブル]\r\nName=A\r\nElementsK=3\r\nK0=0,1,1,0,0\r\nK1=1,2,1,0,0\r\n",
         ImportNotATable},
        {"a four-field bracket", "[手数料テーブル]\r\nName=A\r\nElementsK=1\r\nK0=0,1000,1,0\r\n", ImportNotATable},
        {"a separate side missing U1",
         "[手数料テーブル]\r\nName=A\r\nSame=1\r\nElementsK=1\r\nElementsU=2\r\nK0=0,1,1,0,0\r\nU0=0,1,1,0,0\r\n",
         ImportNotATable},
        {"garbage bytes", std::string("\x81\x00\xff[\x01", 5), ImportNotATable},
    };
    for (const Case& c : cases) {
        WriteFile(c.text);
        MarginTable t;
        EXPECT_EQ(Import(t), c.result) << c.what;
    }
    std::filesystem::remove(path);
    MarginTable t;
    EXPECT_EQ(Import(t), ImportUnreadable) << "a missing file";
    std::filesystem::create_directory(path);
    EXPECT_EQ(Import(t), ImportUnreadable) << "a folder";
}

TEST_F(MarginTableFileTest, SellBracketsFollowSame) {
    const std::string body =
        "Name=A\r\nElementsK=3\r\nElementsU=2\r\nLowLimitU=70\r\nK0=0,10,1,0,0\r\nK1=10,20,2,0,0\r\nK2=20,30,3,0,0\r\n"
        "U0=0,50,5,0,0\r\nU1=50,60,6,0,0\r\n";
    // Every non-zero Same means separate sides, and such a table exports its sell side too.
    for (const char* same : {"1", "2", "-1"}) {
        WriteFile(std::string("[手数料テーブル]\r\nSame=") + same + "\r\n" + body);
        MarginTable separate;
        ASSERT_EQ(Import(separate), ImportDone) << same;
        EXPECT_EQ(separate.bracketsU[0].rate, W(5)) << same;
        EXPECT_EQ(separate.bracketsU[1].high, W(60)) << same;
        EXPECT_EQ(separate.LowLimitU, W(70)) << same;
        ASSERT_TRUE(ExportMarginTable(separate, path, mutex));
        MarginTable again;
        ASSERT_EQ(Import(again), ImportDone) << same;
        EXPECT_EQ(again, separate) << same;
    }

    WriteFile("[手数料テーブル]\r\nSame=0\r\n" + body);
    MarginTable shared;
    ASSERT_EQ(Import(shared), ImportDone);
    EXPECT_EQ(shared.bracketsU[0], shared.bracketsK[0]);
    EXPECT_EQ(shared.bracketsU[1], shared.bracketsK[1]);
    EXPECT_EQ(shared.bracketsU[2], MarginBracket{}) << "only ElementsU brackets are copied";
}

TEST_F(MarginTableFileTest, AbsurdCountsAndNumbersAreTamed) {
    WriteFile("[手数料テーブル]\r\nName=A\r\nSame=x\r\nElementsK=-4\r\nElementsU=500\r\nLowLimitK=abc\r\n");
    MarginTable t;
    EXPECT_EQ(Import(t), ImportDone);
    EXPECT_EQ(t.Same, 0);
    EXPECT_EQ(t.ElementsK, 0);
    EXPECT_EQ(t.ElementsU, kMaxBrackets);
    EXPECT_EQ(t.LowLimitK, W(0));
}

TEST_F(MarginTableFileTest, ExportingOverAnOldFileKeepsItsExtraKeys) {
    std::string old = "[手数料テーブル]\r\nName=Old\r\nElementsK=10\r\n";
    for (int i = 0; i < 10; ++i) old += "K" + std::to_string(i) + "=0,1,1,0,0\r\n";
    old += "[memo]\r\nnote=kept\r\n";
    WriteFile(old);
    MarginTable t = Shared();
    t.ElementsK = 3;
    t.bracketsK[2] = {W(5), W(6), W(7), W(8), W(9)};
    ASSERT_TRUE(ExportMarginTable(t, path, mutex));
    platform::ProfileFile file(path);
    EXPECT_EQ(file.ReadString(kMarginTableSection, "K9", ""), "0,1,1,0,0");
    EXPECT_EQ(file.ReadString("memo", "note", ""), "kept");
    MarginTable back;
    ASSERT_EQ(Import(back), ImportDone);
    EXPECT_EQ(back.ElementsK, 3);
    EXPECT_EQ(back.bracketsK[2], (MarginBracket{W(5), W(6), W(7), W(8), W(9)}));
    EXPECT_EQ(back.bracketsK[3], MarginBracket{});
}

TEST_F(MarginTableFileTest, ANameCodePage932CannotHoldSurvives) {
    MarginTable t = Shared();
    t.Name = "ユーロ€";  // no code page 932 form
    ASSERT_TRUE(ExportMarginTable(t, path, mutex));
    MarginTable back;
    ASSERT_EQ(Import(back), ImportDone);
    EXPECT_EQ(back.Name, t.Name);
}

TEST_F(MarginTableFileTest, AnExportRemovesOnlyTheLeftoversOfItsOwnKilledSaves) {
    struct Leftover {
        const char* name;
        bool old;      // older than this process
        bool removed;  // by the export
    };
    const Leftover files[] = {
        {".table.ini.zavota-a1B2c3", true, true},
        {".table.ini.zavota-Z9y8X7", false, false},  // another instance may be writing it now
        {".other.ini.zavota-a1B2c3", true, false},   // the leftover of another file's save
        {"notes.tmp-Draft1", true, false},           // the user's own files
        {"table.ini.tmp-a1B2c3", true, false},
        {"xtable.ini.zavota-a1B2c3", true, false},   // names that only resemble a temporary file
        {".table.ini.zavota-a1B2c3d", true, false},
        {".table.ini.zavota-a1B2c", true, false},
        {".table.ini.zavota-a1B-c3", true, false},
        {"..table.ini.zavota-a1B2c", true, false},
    };
    const struct timespec longAgo[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    for (const Leftover& f : files) {
        std::ofstream(folder / f.name) << "x";
        if (f.old) utimensat(AT_FDCWD, (folder / f.name).c_str(), longAgo, 0);
    }
    ASSERT_TRUE(ExportMarginTable(Shared(), path, mutex));
    for (const Leftover& f : files) EXPECT_EQ(std::filesystem::exists(folder / f.name), !f.removed) << f.name;
}

}  // namespace
}  // namespace zavota::testing
