// A memo store on a fresh data folder, with the settings store's mutex beside it, and helpers
// to put files there the way another program or an older copy would have left them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "memo/MemoStore.h"
#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/NamedMutex.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace zavota::testing {

// Code page 932 bytes of a UTF-8 text that fits the code page.
inline std::string Cp932(std::string_view utf8) {
    auto bytes = platform::ToCp932(utf8);
    if (!bytes) ADD_FAILURE() << "not code page 932: " << utf8;
    return bytes.value_or("");
}

inline std::string FileBytes(const std::string& path) {
    platform::FileContent content = platform::ReadFileBytes(path);
    return content.status == platform::ReadStatus::Ok ? content.bytes : "<unreadable>";
}

class MemoStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::EnsureFolder(data)); }

    std::string Path(std::string_view name) const { return data + std::string(name); }
    // A file in the data folder, given as UTF-8 text and stored in code page 932.
    void PutFile(std::string_view name, std::string_view utf8) {
        ASSERT_TRUE(platform::ReplaceFileAtomically(Path(name), Cp932(utf8)));
    }
    bool Exists(std::string_view name) const { return platform::FileExists(Path(name)); }

    TempFolder tmp;
    platform::NamedMutex mutex{"VekkarMutex", tmp.Path()};
    std::string data = tmp / "Data/";
    MemoStore store{data, mutex};
};

}  // namespace zavota::testing
