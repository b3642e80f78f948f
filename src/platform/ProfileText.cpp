#include "platform/ProfileText.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace zavota::platform::profile {

namespace {

constexpr std::string_view kSpace = " \t\n\v\f\r";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kSpace) - first + 1);
}

// Wrapped in a matching pair of quotes, which reading takes off.
bool IsQuoted(std::string_view s) {
    return s.size() >= 2 && s.front() == s.back() && (s.front() == '"' || s.front() == '\'');
}

// No profile line can hold a line break: each (CR, LF or CR LF) becomes one space.
std::string OneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
    }
    return out;
}

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

namespace {

bool SameAsciiFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool AllAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (SameAsciiFolded(a, b)) return true;
    if (AllAscii(a) && AllAscii(b)) return false;
    // Names one code page 932 form stands for are one name ("波〜" is stored as "波～"), as the
    // Windows functions find them.
    return SameAsciiFolded(WithBestFits(a), WithBestFits(b));
}

std::string NameFromFile(std::string_view stored) { return std::string(stored); }

std::string ValueFromFile(std::string_view stored) {
    if (IsQuoted(stored)) stored = stored.substr(1, stored.size() - 2);
    return std::string(stored);
}

std::string NameToFile(std::string_view name) { return std::string(Trim(OneLine(name))); }

std::string ValueToFile(std::string_view value) {
    const std::string line = OneLine(value);
    // Reading takes one pair of quotes off, here and in Windows: the pair keeps outer blanks
    // and quotes of the text itself.
    const bool outerSpace = !line.empty() && (kSpace.find(line.front()) != std::string_view::npos ||
                                              kSpace.find(line.back()) != std::string_view::npos);
    if (outerSpace || IsQuoted(line)) return '"' + line + '"';
    return line;
}

}  // namespace zavota::platform::profile
