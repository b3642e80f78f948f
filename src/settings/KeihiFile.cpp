#include "settings/KeihiFile.h"

#include <array>
#include <utility>
#include <vector>

#include "core/NumberText.h"
#include "platform/ProfileFile.h"

namespace zavota {

namespace {

// The numeric keys in the order they are written.
constexpr std::array<std::pair<const char*, KeihiField>, 9> kKeys{{
    {"Rate_N_K", KeihiField::RateK},
    {"Rate_N_U", KeihiField::RateU},
    {"Days_N_K", KeihiField::DaysK},
    {"Days_N_U", KeihiField::DaysU},
    {"Kanri", KeihiField::Kanri},
    {"Meigi", KeihiField::Meigi},
    {"Haitou", KeihiField::Haitou},
    {"Hibu", KeihiField::Hibu},
    {"Other", KeihiField::Other},
}};

}  // namespace

std::string KeihiFileName(int n) { return "K_" + std::to_string(n) + ".ini"; }

KeihiSet ReadKeihiSet(const std::string& dataFolder, int n, platform::NamedMutex& mutex) {
    return ReadKeihiSetFile(dataFolder + KeihiFileName(n), mutex);
}

KeihiSet ReadKeihiSetFile(const std::string& path, platform::NamedMutex& mutex) {
    platform::MutexGuard guard(mutex);
    return ReadKeihiSetFile(path);
}

KeihiSet ReadKeihiSetFile(const std::string& path) {
    platform::ProfileFile file(path);
    KeihiSet set;
    if (!file.Refresh()) return set;
    for (const auto& [key, field] : kKeys)
        KeihiValue(set, field) = ParseNumber(file.ReadString(kKeihiSection, key, "")).value_or(0.0);
    set.Comment = file.ReadString(kKeihiSection, "Comment", "");
    return set;
}

bool WriteKeihiSet(const std::string& dataFolder, int n, const KeihiSet& set, platform::NamedMutex& mutex) {
    platform::MutexGuard guard(mutex);
    KeihiSet values = set;
    std::vector<platform::ProfileEntry> keys;
    for (const auto& [key, field] : kKeys) keys.push_back({kKeihiSection, key, ShortestText(KeihiValue(values, field))});
    keys.push_back({kKeihiSection, "Comment", set.Comment});
    // One replace, so that a set is never stored half old and half new.
    return platform::ProfileFile(dataFolder + KeihiFileName(n)).WriteBatch(keys);
}

}  // namespace zavota
