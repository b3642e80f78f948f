#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "platform/FileIo.h"

namespace zavota::platform {

namespace {

// A variable that is unset and one set to "" mean the same here.
std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string HomeFolder() {
    std::string home = Variable("HOME");
    if (!home.empty()) return WithSlash(home);
    // Services and some sandboxes start without HOME.
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] != '\0')
        return WithSlash(found->pw_dir);
    return "./";
}

// An XDG base folder: the variable when it holds an absolute path (the XDG rules ignore relative
// ones), else the default below the home folder.
std::string XdgFolder(const char* name, const char* fallbackBelowHome) {
    std::string value = Variable(name);
    if (!value.empty() && value.front() == '/') return WithSlash(value);
    return HomeFolder() + fallbackBelowHome;
}

}  // namespace

std::string ExecutableFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return "./";
        if (static_cast<std::size_t>(n) < buffer.size()) return FolderOf(std::string(buffer.data(), static_cast<std::size_t>(n)));
        buffer.resize(buffer.size() * 2);  // possibly truncated
    }
}

std::string ProgramFolder() {
    std::string home = Variable("ZAVOTA_HOME");
    if (!home.empty()) return WithSlash(home);
    std::string exe = ExecutableFolder();
    if (IsPortableCopy(exe)) return exe;
    return XdgFolder("XDG_DATA_HOME", ".local/share/") + "Zavota/";
}

bool IsPortableCopy(const std::string& executableFolder) {
    if (FolderExists(executableFolder + "../share/zavota")) return false;
    return FileExists(executableFolder + kPortableMarker) || FolderExists(executableFolder + "Data");
}

std::string InstalledFolder(const std::string& name) { return InstalledFolder(ExecutableFolder(), name); }

std::string InstalledFolder(const std::string& executableFolder, const std::string& name) {
    const std::string path = executableFolder + "../share/zavota/" + name;
    if (!FolderExists(path)) return {};
    // "bin/../share" reads better in a dialog's folder field and a browser's address bar.
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return WithSlash(ec ? path : resolved.string());
}

std::string DataFolder() { return ProgramFolder() + "Data/"; }

std::string HivePath() {
    std::string path = Variable("ZAVOTA_REGISTRY");
    if (!path.empty()) return path;
    return XdgFolder("XDG_CONFIG_HOME", ".config/") + "Orvane/Vekkar.reg";
}

}  // namespace zavota::platform
