#include "settings/MarginTableFile.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/NumberText.h"
#include "platform/FileIo.h"
#include "platform/ProfileFile.h"
#include "settings/StoredText.h"

namespace zavota {

namespace {

std::string LimitText(Yen value) { return ShortestText(value.ToDouble()); }

}  // namespace

bool ExportMarginTable(const MarginTable& t, const std::string& path, platform::NamedMutex& mutex) {
    platform::MutexGuard guard(mutex);
    // A shared table uses its buy side for both; the file says so explicitly.
    const bool separate = t.Same != 0;
    const auto& sellLow = separate ? t.LowLimitU : t.LowLimitK;
    const auto& sellHigh = separate ? t.HighLimitU : t.HighLimitK;
    const int sellMini = separate ? t.MiniAfterU : t.MiniAfterK;
    const int sellCount = separate ? t.ElementsU : t.ElementsK;

    std::vector<platform::ProfileEntry> keys;
    auto add = [&](std::string key, std::string value) {
        keys.push_back({kMarginTableSection, std::move(key), std::move(value)});
    };
    add("Name", t.Name);
    add("Same", std::to_string(t.Same));
    add("MiniAfterK", std::to_string(t.MiniAfterK));
    add("MiniAfterU", std::to_string(sellMini));
    add("ElementsK", std::to_string(t.ElementsK));
    add("ElementsU", std::to_string(sellCount));
    add("LowLimitK", LimitText(t.LowLimitK));
    add("LowLimitU", LimitText(sellLow));
    add("HighLimitK", LimitText(t.HighLimitK));
    add("HighLimitU", LimitText(sellHigh));
    for (int i = 0; i < t.ElementsK && i < kMaxBrackets; ++i)
        add("K" + std::to_string(i), BracketText(t.bracketsK[static_cast<std::size_t>(i)]));
    for (int i = 0; separate && i < t.ElementsU && i < kMaxBrackets; ++i)
        add("U" + std::to_string(i), BracketText(t.bracketsU[static_cast<std::size_t>(i)]));
    // One replace: a kill or a failure leaves the old file or the whole new table, never a mix.
    return platform::ProfileFile(path).WriteBatch(keys);
}

ImportResult ImportMarginTable(const std::string& path, MarginTable& t, platform::NamedMutex& mutex) {
    platform::MutexGuard guard(mutex);
    return ImportMarginTable(path, t);
}

ImportResult ImportMarginTable(const std::string& path, MarginTable& t) {
    platform::ProfileFile file(path);
    // The profile functions read a missing file as empty; here it is a file that cannot be read.
    if (!platform::FileExists(path) || !file.Refresh()) return ImportUnreadable;

    auto text = [&](const std::string& key) { return file.ReadString(kMarginTableSection, key, ""); };
    auto integer = [&](const std::string& key) { return ParseStoredInteger(text(key)).value_or(0); };
    auto decimal = [&](const std::string& key) { return ParseStoredDecimal(text(key)).value_or(Yen{}); };
    // A count beyond the brackets that can exist would let the editor read rows never loaded.
    auto count = [&](const std::string& key) { return std::clamp(integer(key), 0, kMaxBrackets); };

    t.Name = text("Name");
    if (t.Name.empty()) return ImportNotATable;
    t.Same = integer("Same");
    t.MiniAfterK = integer("MiniAfterK");
    t.MiniAfterU = integer("MiniAfterU");
    t.ElementsK = count("ElementsK");
    t.ElementsU = count("ElementsU");
    t.LowLimitK = decimal("LowLimitK");
    t.LowLimitU = decimal("LowLimitU");
    t.HighLimitK = decimal("HighLimitK");
    t.HighLimitU = decimal("HighLimitU");

    const bool separate = t.Same != 0;
    return ReadBrackets(t, separate, [&](const std::string& key) { return file.Read(kMarginTableSection, key); })
               ? ImportDone
               : ImportNotATable;
}

}  // namespace zavota
