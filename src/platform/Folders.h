// Where the program keeps its files. Environment variables are read on every call, so tests
// can point each case at its own folder.
#pragma once
#include <string>

namespace zavota::platform {

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// "Beside the executable": $ZAVOTA_HOME when set, else the executable's folder when it is
// writable (a portable copy), else ${XDG_DATA_HOME:-$HOME/.local/share}/Zavota/. Trailing "/".
std::string ProgramFolder();

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
