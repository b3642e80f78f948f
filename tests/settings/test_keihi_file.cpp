// The expense set files K_1.ini … K_4.ini.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "settings/KeihiFile.h"
#include "support/TempFolder.h"

namespace zavota::testing {
namespace {

class KeihiFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    platform::NamedMutex mutex{"VekkarMutex", folder.Path()};

    std::string Bytes(int n) {
        std::ifstream in(folder / KeihiFileName(n), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(KeihiFileTest, ASetIsWrittenInKeyOrderAsPlainDecimals) {
    KeihiSet set{.RateK = 2.5, .DaysK = 30, .RateU = 0, .DaysU = 0, .Kanri = 1000, .Meigi = 0, .Haitou = 500,
                 .Hibu = 0, .Other = -1200, .Comment = "月末"};
    ASSERT_TRUE(WriteKeihiSet(folder.Path(), 2, set, mutex));
    EXPECT_EQ(Bytes(2),
              "[\x8c\x6f\x94\xef\x83\x66\x81\x5b\x83\x5e]\r\nRate_N_K=2.5\r\nRate_N_U=0\r\nDays_N_K=30\r\nDays_N_U=0\r\n"
              "Kanri=1000\r\nMeigi=0\r\nHaitou=500\r\nHibu=0\r\nOther=-1200\r\nComment=\x8c\x8e\x96\x96\r\n");
    EXPECT_EQ(ReadKeihiSet(folder.Path(), 2, mutex), set);
}

TEST_F(KeihiFileTest, MissingOrDamagedFilesReadAsZeros) {
    EXPECT_EQ(ReadKeihiSet(folder.Path(), 1, mutex), KeihiSet{});
    std::ofstream(folder / KeihiFileName(3), std::ios::binary)
        << *platform::ToCp932("[経費データ]\r\nRate_N_K=abc\r\nDays_N_K=1e400\r\nKanri=1,000\r\nMeigi= 250 \r\nOther=-\r\n");
    const KeihiSet read = ReadKeihiSet(folder.Path(), 3, mutex);
    EXPECT_EQ(read.RateK, 0);
    EXPECT_EQ(read.DaysK, 0);
    EXPECT_EQ(read.Kanri, 0);
    EXPECT_EQ(read.Meigi, 250);
    EXPECT_EQ(read.Other, 0);
    EXPECT_EQ(read.Comment, "");
    std::ofstream(folder / KeihiFileName(4), std::ios::binary) << std::string("\xff\xfe\x00garbage", 10);
    EXPECT_EQ(ReadKeihiSet(folder.Path(), 4, mutex), KeihiSet{});
}

TEST_F(KeihiFileTest, CommentsComeBackExactly) {
    for (const char* comment : {"〜波ダッシュ", "  leading", "\"quoted\"", "two\r\nlines", "[経費データ]"}) {
        KeihiSet set;
        set.Comment = comment;
        set.Other = 5;
        ASSERT_TRUE(WriteKeihiSet(folder.Path(), 1, set, mutex));
        // A line break, which no profile value can hold, comes back as a space.
        if (set.Comment == "two\r\nlines") set.Comment = "two lines";
        // The wave dash is written as code page 932 writes it, and reads back in that form.
        if (set.Comment == "〜波ダッシュ") set.Comment = "～波ダッシュ";
        EXPECT_EQ(ReadKeihiSet(folder.Path(), 1, mutex), set) << comment;
        platform::ProfileFile file(folder / KeihiFileName(1));
        EXPECT_EQ(file.Sections(), std::vector<std::string>{kKeihiSection}) << comment;
    }
}

TEST_F(KeihiFileTest, AFolderThatDoesNotExistFailsTheWrite) {
    EXPECT_FALSE(WriteKeihiSet(folder / "missing/", 1, KeihiSet{}, mutex));
}

}  // namespace
}  // namespace zavota::testing
