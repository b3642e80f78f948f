// Profile (INI) files: any file reads without harm; a value written into it reads back as the
// Windows profile functions would give it (a line break as a space), and every other value of
// the file stays as it was.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "platform/Utf8.h"

namespace {

// A key name that the profile format can hold as a key at all.
bool KeyLike(const std::string& name) {
    const auto first = name.find_first_not_of(" \t\n\v\f\r");
    return first != std::string::npos && name[first] != ';' && name[first] != '[' &&
           name.find_first_of("=\r\n") == std::string::npos && name.find('\0') == std::string::npos &&
           zavota::platform::ValidUtf8(name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using zavota::platform::ProfileFile;
    const auto parts = zavota::fuzz::Parts(data, size, 4);
    const std::string path = zavota::fuzz::ScratchFile("p.ini", parts[0]);
    ProfileFile file(path);
    file.Refresh();
    const auto sections = file.Sections();
    for (const auto& s : sections) file.Keys(s);

    const std::string& key = parts[2];
    std::string value = parts[3];
    if (!KeyLike(key) || !zavota::platform::ValidUtf8(value) || file.Damaged()) return 0;
    if (!file.Write("S", key, value)) return 0;
    std::erase(value, '\0');  // no text file holds one
    std::string expected;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        expected += value[i] == '\r' || value[i] == '\n' ? ' ' : value[i];
    }
    // A file that fits code page 932 holds the marks Windows maps into it in their code page forms.
    ProfileFile reader(path);
    const std::optional<std::string> back = reader.Read("S", key);
    FUZZ_CHECK(back == expected || back == zavota::platform::WithBestFits(expected));
    auto after = reader.Sections();
    if (after.size() == sections.size() + 1 && after.back() == "S") after.pop_back();
    FUZZ_CHECK(std::equal(after.begin(), after.end(), sections.begin(), sections.end(),
                          [](const std::string& a, const std::string& b) {
                              return a == b || a == zavota::platform::WithBestFits(b);
                          }));
    return 0;
}
