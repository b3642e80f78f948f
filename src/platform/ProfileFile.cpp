#include "platform/ProfileFile.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include <sys/stat.h>

#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/ProfileText.h"
#include "platform/Utf8.h"

namespace zavota::platform {

namespace {

using profile::LineKind;

// Index of the first section header with that name, or lines.size().
std::size_t FindSection(const std::vector<std::string>& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = profile::ParseLine(lines[i]);
        if (line.kind == LineKind::Section && profile::SameName(profile::NameFromFile(line.name), section))
            return i;
    }
    return lines.size();
}

// Calls f(index, parsed line) for the key lines of the section that starts at `header`.
template <class F>
void ForEachKey(const std::vector<std::string>& lines, std::size_t header, F f) {
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const auto line = profile::ParseLine(lines[i]);
        if (line.kind == LineKind::Section) return;
        if (line.kind == LineKind::Key && !f(i, line)) return;
    }
}

std::string Fold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// Names that differ only in case are one name, and only the first of them can be read.
class NameList {
public:
    void Add(std::string name) {
        if (seen_.insert(Fold(name)).second) names_.push_back(std::move(name));
    }
    std::vector<std::string> Take() { return std::move(names_); }

private:
    std::unordered_set<std::string> seen_;
    std::vector<std::string> names_;
};

// Broken UTF-8 from a caller is stored as the replacement character, as it would read back;
// a NUL, which no text file holds, is left out.
std::string ValidText(std::string_view text) {
    std::string valid = DecodeFromDisk(std::string(kUtf8Bom) + std::string(text)).text;
    std::erase(valid, '\0');
    return valid;
}

// The name as a caller's text is looked up and stored.
std::string Name(std::string_view text) { return profile::NameToFile(ValidText(text)); }

// The lines grouped by section with their names indexed, so that a batch of many writes (a
// page index of thousands of sections) takes linear time. Each write does what a single write
// does: a value that exists is replaced in the first section of that name, a new key goes after
// the section's last key line, a new section to the end.
class Editor {
public:
    explicit Editor(const std::vector<std::string>& lines) {
        blocks_.emplace_back();  // lines before the first section belong to none
        for (const auto& text : lines) {
            const auto line = profile::ParseLine(text);
            if (line.kind == LineKind::Section) {
                blocks_.emplace_back();
                sections_.try_emplace(Fold(profile::NameFromFile(line.name)), blocks_.size() - 1);
            } else if (line.kind == LineKind::Key && blocks_.size() > 1) {
                blocks_.back().keys.try_emplace(Fold(profile::NameFromFile(line.name)), blocks_.back().lines.size());
                blocks_.back().lastKey = blocks_.back().lines.size();
            }
            blocks_.back().lines.push_back(text);
        }
    }

    void Apply(std::string_view rawSection, std::string_view rawKey, std::string_view value) {
        const std::string section = Name(rawSection), key = Name(rawKey);
        const std::string line = key + "=" + profile::ValueToFile(ValidText(value));
        auto [at, added] = sections_.try_emplace(Fold(section), blocks_.size());
        if (added) {
            blocks_.emplace_back();
            blocks_.back().lines.push_back("[" + section + "]");
        }
        Block& b = blocks_[at->second];
        if (auto k = b.keys.find(Fold(key)); k != b.keys.end()) {
            // The name keeps the spelling it has in the file.
            b.lines[k->second] = std::string(profile::ParseLine(b.lines[k->second]).name) + line.substr(key.size());
            return;
        }
        b.lines.insert(b.lines.begin() + static_cast<std::ptrdiff_t>(++b.lastKey), line);
        b.keys.emplace(Fold(key), b.lastKey);
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const auto& b : blocks_) lines.insert(lines.end(), b.lines.begin(), b.lines.end());
        return lines;
    }

private:
    struct Block {
        std::vector<std::string> lines;  // the header first
        std::unordered_map<std::string, std::size_t> keys;  // folded name -> first key line
        std::size_t lastKey = 0;  // the last key line, or the header
    };
    std::vector<Block> blocks_;
    std::unordered_map<std::string, std::size_t> sections_;  // folded name -> first block
};

}  // namespace

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

bool ProfileFile::Refresh() {
    const FileStamp now = StampOf(path_);
    if (loaded_ && now == stamp_) return !tooLarge_;

    FileContent content = ReadFileBytes(path_);
    lines_.clear();
    damaged_ = false;
    readable_ = true;
    tooLarge_ = false;
    switch (content.status) {
        case ReadStatus::Ok: {
            DecodedText decoded = DecodeFromDisk(content.bytes);
            damaged_ = decoded.damaged;
            utf16_ = decoded.utf16le;
            // A NUL would only travel on into the next copy of the file.
            if (damaged_) {
                for (std::size_t at = 0; (at = decoded.text.find('\0', at)) != std::string::npos;)
                    decoded.text.replace(at, 1, "\xEF\xBF\xBD");
            }
            lines_ = profile::SplitLines(decoded.text);
            break;
        }
        case ReadStatus::Missing:
            break;
        case ReadStatus::TooLarge:
            // Nothing of it can be shown, but it must not be overwritten unseen either.
            damaged_ = true;
            tooLarge_ = true;
            break;
        case ReadStatus::Failed:
            readable_ = false;
            break;
    }
    stamp_ = now;
    // An unreadable file is tried again on every call, since its stamp may not change.
    loaded_ = readable_;
    return readable_ && !tooLarge_;
}

std::vector<std::string> ProfileFile::Sections() {
    Refresh();
    NameList names;
    for (const auto& text : lines_) {
        const auto line = profile::ParseLine(text);
        if (line.kind == LineKind::Section) names.Add(profile::NameFromFile(line.name));
    }
    return names.Take();
}

std::vector<std::string> ProfileFile::Keys(std::string_view section) {
    Refresh();
    NameList names;
    const std::size_t header = FindSection(lines_, Name(section));
    if (header == lines_.size()) return {};
    ForEachKey(lines_, header, [&](std::size_t, const profile::Line& line) {
        names.Add(profile::NameFromFile(line.name));
        return true;
    });
    return names.Take();
}

std::vector<std::pair<std::string, std::optional<std::string>>> ProfileFile::ValuesOf(std::string_view key) {
    Refresh();
    std::vector<std::pair<std::string, std::optional<std::string>>> found;
    std::unordered_set<std::string> seen;
    const std::string name = Name(key);
    bool current = false;  // inside the first block of a section name
    for (const auto& text : lines_) {
        const auto line = profile::ParseLine(text);
        if (line.kind == LineKind::Section) {
            std::string section = profile::NameFromFile(line.name);
            current = seen.insert(Fold(section)).second;
            if (current) found.emplace_back(std::move(section), std::nullopt);
        } else if (current && line.kind == LineKind::Key && !found.back().second &&
                   profile::SameName(profile::NameFromFile(line.name), name)) {
            found.back().second = profile::ValueFromFile(line.value);
        }
    }
    return found;
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) {
    Refresh();
    std::optional<std::string> value;
    const std::size_t header = FindSection(lines_, Name(section));
    if (header == lines_.size()) return value;
    const std::string name = Name(key);
    ForEachKey(lines_, header, [&](std::size_t, const profile::Line& line) {
        if (!profile::SameName(profile::NameFromFile(line.name), name)) return true;
        value = profile::ValueFromFile(line.value);
        return false;
    });
    return value;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) {
    return Read(section, key).value_or(std::string(fallback));
}

bool ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    Refresh();
    if (!readable_) return false;  // writing would lose whatever the file holds
    Editor editor(lines_);
    editor.Apply(section, key, value);
    return Store(editor.Lines());
}

bool ProfileFile::WriteBatch(const std::vector<ProfileEntry>& entries) {
    Refresh();
    if (!readable_) return false;
    Editor editor(lines_);
    for (const auto& e : entries) editor.Apply(e.section, e.key, e.value);
    return Store(editor.Lines());
}

bool ProfileFile::ReplaceAll(const std::vector<ProfileEntry>& entries) {
    Refresh();
    if (!readable_) return false;
    Editor editor(std::vector<std::string>{});
    for (const auto& e : entries) editor.Apply(e.section, e.key, e.value);
    return Store(editor.Lines());
}

bool ProfileFile::Flush() {
    Refresh();
    if (!readable_) return false;
    // Every write is on disk already; only a file that does not exist yet needs writing.
    if (FileExists(path_)) return true;
    return Store(lines_);
}

bool ProfileFile::Store(std::vector<std::string> lines) {
    // A Unicode file stays one, as the Windows functions keep it.
    const std::string text = profile::JoinLines(lines);
    const std::string bytes = utf16_ ? std::string(kUtf16LeBom) + Utf16LeFromUtf8(text) : EncodeForDisk(text);
    // A damaged file may still hold what the user wants back: it is kept aside.
    if (!(damaged_ ? ReplaceDamagedFile(path_, bytes) : ReplaceFileAtomically(path_, bytes))) return false;
    lines_ = std::move(lines);
    damaged_ = false;
    readable_ = true;
    tooLarge_ = false;
    stamp_ = StampOf(path_);
    loaded_ = true;
    return true;
}

}  // namespace zavota::platform
