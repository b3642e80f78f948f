// The four stored sets of other expenses: "K_1.ini" … "K_4.ini" in the data folder, section
// "経費データ".
#pragma once

#include <string>

#include "core/KeihiSet.h"
#include "platform/NamedMutex.h"

namespace zavota {

inline constexpr const char* kKeihiSection = "経費データ";

std::string KeihiFileName(int n);  // "K_" + n + ".ini"

// A missing or damaged file, and every missing or unconvertible number, reads as zero; a
// missing comment as empty.
KeihiSet ReadKeihiSet(const std::string& dataFolder, int n, platform::NamedMutex& mutex);
// The same for a set file anywhere.
KeihiSet ReadKeihiSetFile(const std::string& path, platform::NamedMutex& mutex);
// Unlocked, as ImportMarginTable without a mutex.
KeihiSet ReadKeihiSetFile(const std::string& path);

// Writes the set's ten keys in order; false when the file could not be written.
bool WriteKeihiSet(const std::string& dataFolder, int n, const KeihiSet& set, platform::NamedMutex& mutex);

}  // namespace zavota
