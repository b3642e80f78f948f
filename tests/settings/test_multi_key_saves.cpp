// Saves that write several keys of one file: one replace, so a kill or a failure leaves the
// old file or the new one, and memory keeps what the user entered.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

#include "core/YenTesting.h"
#include "platform/FileIo.h"
#include "settings/KeihiFile.h"
#include "settings/MarginTableFile.h"
#include "support/FileFaults.h"
#include "support/TempFolder.h"

namespace zavota::testing {
namespace {

TEST(MultiKeySaves, EachIsOneReplaceAndAFailureLeavesTheOldFile) {
    TempFolder folder;
    platform::NamedMutex mutex{"VekkarMutex", folder.Path()};
    MarginTable table;
    table.Name = "新";
    table.Same = 1;
    table.ElementsK = table.ElementsU = 3;
    for (auto* side : {&table.bracketsK, &table.bracketsU})
        for (int i = 0; i < 3; ++i) (*side)[static_cast<std::size_t>(i)] = {W(i * 10), W(i * 10 + 10), R(100), W(0), W(0)};
    const KeihiSet set{.RateK = 2.5, .DaysK = 30, .Kanri = 1000, .Comment = "新"};

    struct Case {
        const char* what;
        std::string file;
        std::function<bool()> save;
    };
    const Case cases[] = {
        {"table export", folder / "table.ini", [&] { return ExportMarginTable(table, folder / "table.ini", mutex); }},
        {"expense set", folder / KeihiFileName(1), [&] { return WriteKeihiSet(folder.Path(), 1, set, mutex); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(platform::ReplaceFileAtomically(c.file, "[x]\r\nold=1\r\n"));
        for (int error : {ENOSPC, EIO, EACCES}) {
            int renames = 0;
            {
                FileStepHookGuard fault([&](platform::FileStep step, const std::string&) {
                    if (step != platform::FileStep::Rename) return 0;
                    return ++renames == 1 ? 0 : error;  // the first replace passes, a second would fail
                });
                EXPECT_TRUE(c.save()) << c.what;
                EXPECT_EQ(renames, 1) << c.what;
            }
            const std::string saved = platform::ReadFileBytes(c.file).bytes;
            {
                FileStepHookGuard fault(FailStep(platform::FileStep::Write, error));
                EXPECT_FALSE(c.save()) << c.what;
            }
            EXPECT_EQ(platform::ReadFileBytes(c.file).bytes, saved) << c.what;
        }
    }
    EXPECT_EQ(ReadKeihiSet(folder.Path(), 1, mutex), set);
}

}  // namespace
}  // namespace zavota::testing
