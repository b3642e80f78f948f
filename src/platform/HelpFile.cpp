#include "platform/HelpFile.h"

#include <filesystem>

#include "platform/FileIo.h"
#include "platform/Folders.h"

namespace zavota::platform {

namespace {

// Path characters that stand for themselves in a file URL (RFC 3986 unreserved, sub-delims,
// ":", "@" and "/"); everything else, non-ASCII bytes included, is percent-encoded.
bool PlainInPath(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '-': case '.': case '_': case '~': case '!': case '$': case '&': case '\'': case '(':
        case ')': case '*': case '+': case ',': case ';': case '=': case ':': case '@': case '/':
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string FindHelpManual() { return FindHelpManual(ExecutableFolder()); }

std::string FindHelpManual(const std::string& executableFolder) {
    const std::string beside = executableFolder + "help/index.html";
    if (FileExists(beside)) {
        std::error_code ec;
        const std::filesystem::path resolved = std::filesystem::canonical(beside, ec);
        return ec ? beside : resolved.string();
    }
    const std::string installed = InstalledFolder(executableFolder, "help");
    return !installed.empty() && FileExists(installed + "index.html") ? installed + "index.html" : std::string();
}

std::string HelpAnchor(int context) {
    switch (context) {
        case kHelpContextKeihi:
            return "keihi";
        default:
            return {};
    }
}

std::string HelpUrl(const std::string& manualPath, int context) {
    if (manualPath.empty() || manualPath.front() != '/') return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : manualPath) {
        if (PlainInPath(c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 0xF];
        }
    }
    const std::string anchor = HelpAnchor(context);
    if (!anchor.empty()) url += "#" + anchor;
    return url;
}

}  // namespace zavota::platform
