// Where the program keeps its files. Environment variables are read on every call, so tests
// can point each case at its own folder.
#pragma once
#include <string>

namespace zavota::platform {

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// "Beside the executable": $ZAVOTA_HOME when set, else the executable's folder for a portable
// copy, else ${XDG_DATA_HOME:-$HOME/.local/share}/Zavota/. Trailing "/".
std::string ProgramFolder();

// The marker file that makes a copy of the program portable.
inline constexpr const char* kPortableMarker = "zavota.portable";

// A copy is portable only when its user made it one: a marker file or a "Data" folder beside
// the executable, and not installed under a prefix (no "../share/zavota/"). Whether the folder
// is writable says nothing: root can write /usr/bin.
bool IsPortableCopy(const std::string& executableFolder);

// A folder installed with the program: `name` in "../share/zavota/" from the executable's folder,
// the layout of the package and of `cmake --install`. Resolved, with a trailing "/"; empty when
// there is no such folder.
std::string InstalledFolder(const std::string& name);
std::string InstalledFolder(const std::string& executableFolder, const std::string& name);

// The data folder of memo pages and expense sets: ProgramFolder() + "Data/".
std::string DataFolder();

// The registry hive file: $ZAVOTA_REGISTRY when set, else
// ${XDG_CONFIG_HOME:-$HOME/.config}/Orvane/Vekkar.reg.
std::string HivePath();

}  // namespace zavota::platform
