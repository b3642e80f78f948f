#include "platform/ProfileText.h"

namespace zavota::platform::profile {

namespace {

constexpr std::string_view kSpace = " \t\n\v\f\r";
constexpr std::string_view kEscapeMark = "\\:";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool HasControl(std::string_view s) {
    for (char c : s)
        if (IsControl(c)) return true;
    return false;
}

bool HasOuterSpace(std::string_view s) {
    return !s.empty() && (kSpace.find(s.front()) != std::string_view::npos ||
                          kSpace.find(s.back()) != std::string_view::npos);
}

// "\:" and the text with "\" doubled, control characters and the characters in `special` as
// escapes, and trailing spaces as "\x20" so that trimming cannot take them.
std::string Escape(std::string_view text, std::string_view special) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out(kEscapeMark);
    const std::size_t kept = text.find_last_not_of(' ') + 1;  // 0 when all spaces
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (IsControl(c) || i >= kept || special.find(c) != std::string_view::npos) {
            const auto b = static_cast<unsigned char>(c);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The reverse of Escape. An escape it does not know stays as written, so a hand-edited file
// loses nothing.
std::string Unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (s[i] != '\\' || next == '\0') {
            out += s[i];
        } else if (next == '\\' || next == 'r' || next == 'n' || next == 't') {
            out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
            ++i;
        } else if (next == 'x' && i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 && HexDigit(s[i + 2]) < 8 &&
                   HexDigit(s[i + 3]) >= 0) {
            // Only ASCII: a higher byte alone would not be UTF-8.
            out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Wrapped in a matching pair of quotes, which reading takes off.
bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && s.front() == s.back() && (s.front() == '"' || s.front() == '\'');
}

bool StartsEscaped(std::string_view s) { return s.substr(0, kEscapeMark.size()) == kEscapeMark; }

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

Line ParseLine(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty()) return {};
    if (line.front() == ';') return {LineKind::Comment, {}, {}};
    if (line.front() == '[') {
        const auto close = line.rfind(']');
        if (close != std::string_view::npos)
            return {LineKind::Section, Trim(line.substr(1, close - 1)), {}};
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return {LineKind::Other, {}, {}};
    return {LineKind::Key, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string NameFromFile(std::string_view stored) {
    return StartsEscaped(stored) ? Unescape(stored.substr(kEscapeMark.size())) : std::string(stored);
}

std::string ValueFromFile(std::string_view stored) {
    if (IsQuoted(stored)) stored = stored.substr(1, stored.size() - 2);
    return NameFromFile(stored);
}

std::string SectionToFile(std::string_view name) {
    const auto bracket = name.find(']');
    const bool inner = bracket != std::string_view::npos && bracket + 1 < name.size();
    if (HasControl(name) || inner || HasOuterSpace(name) || StartsEscaped(name)) return Escape(name, "]");
    return std::string(name);
}

std::string KeyToFile(std::string_view name) {
    const bool opener = !name.empty() && (name.front() == ';' || name.front() == '[');
    if (HasControl(name) || opener || name.find('=') != std::string_view::npos || HasOuterSpace(name) ||
        StartsEscaped(name))
        return Escape(name, "=");
    return std::string(name);
}

std::string ValueToFile(std::string_view value) {
    if (HasControl(value) || StartsEscaped(value)) return Escape(value, "");
    if (IsQuoted(value) || HasOuterSpace(value)) return '"' + std::string(value) + '"';
    return std::string(value);
}

}  // namespace zavota::platform::profile
