#include "platform/RegistryHive.h"

#include <array>
#include <bit>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <utility>

#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/Utf8.h"

namespace zavota::platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUserRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kAnsiHeader = "REGEDIT4";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

enum class Kind { Integer, String, Binary, Other };

struct Value {
    std::string name;
    Kind kind = Kind::Other;
    std::uint32_t number = 0;  // Integer
    std::string data;          // String (UTF-8), Binary (bytes), Other (the text after "=")
    bool removed = false;      // deleted, until the key's values are next compacted
};

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool HasControl(std::string_view s) {
    for (unsigned char c : s)
        if (IsControl(c)) return true;
    return false;
}

char FoldChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Fold(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = FoldChar(c);
    return out;
}

bool StartsWithFolded(std::string_view s, std::string_view lowerPrefix) {
    if (s.size() < lowerPrefix.size()) return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if (FoldChar(s[i]) != lowerPrefix[i]) return false;
    return true;
}

// Valid UTF-8 in, UTF-16LE bytes out, with the terminating zero regedit writes for hex(1).
std::string Utf16LeWithTerminator(std::string_view utf8) { return Utf16LeFromUtf8(utf8) + std::string(2, '\0'); }

// UTF-16LE bytes of a hex(1) value to UTF-8, dropping one terminating zero; nullopt for an odd
// length or an unpaired surrogate.
std::optional<std::string> StringFromHex1(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    if (bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == std::string_view("\0\0", 2))
        bytes.remove_suffix(2);
    RepairedText text = Utf8FromUtf16Le(bytes);
    if (text.damaged) return std::nullopt;
    return std::move(text.text);
}

// The text of a hive file in any form regedit writes or reads: UTF-16LE after its mark (what
// regedit exports), UTF-8 with or without a mark (earlier versions of this program), and the
// "REGEDIT4" form in the ANSI code page. Line checks find whatever does not decode.
RepairedText HiveFileText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeBom)) return Utf8FromUtf16Le(bytes.substr(kUtf16LeBom.size()));
    if (bytes.starts_with(kBom)) bytes.remove_prefix(kBom.size());
    else if (bytes.starts_with(kAnsiHeader))
        if (auto text = FromCp932(bytes)) return {std::move(*text), false};
    return {std::string(bytes), false};
}

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexBytes(std::string& out, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += ',';
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kHexDigits[b >> 4];
        out += kHexDigits[b & 0x0F];
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = FoldChar(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// "00,0a,ff": comma-separated bytes of two hex digits each; empty text is no bytes.
std::optional<std::string> ParseHexList(std::string_view text) {
    std::string bytes;
    text = Trim(text);
    if (text.empty()) return bytes;
    for (;;) {
        std::size_t comma = text.find(',');
        std::string_view token = Trim(text.substr(0, comma));
        if (token.size() != 2) return std::nullopt;
        int hi = HexValue(token[0]), lo = HexValue(token[1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += static_cast<char>(hi << 4 | lo);
        if (comma == std::string_view::npos) return bytes;
        text.remove_prefix(comma + 1);
    }
}

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// Reads a quoted text starting at s[pos] == '"'; on success pos is just past the closing quote.
// Only \\ and \" are escapes.
std::optional<std::string> ParseQuoted(std::string_view s, std::size_t& pos) {
    std::string out;
    for (std::size_t i = pos + 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            pos = i + 1;
            return out;
        }
        if (c == '\\') {
            if (++i >= s.size() || (s[i] != '\\' && s[i] != '"')) return std::nullopt;
            c = s[i];
        }
        out += c;
    }
    return std::nullopt;  // unterminated
}

// Splits on CR, LF or CR LF.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) {
            line = text_.substr(pos_);
            pos_ = text_.size();
            return true;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A line the parser may look at: no NUL byte and valid UTF-8.
bool CleanLine(std::string_view line) {
    return line.find('\0') == std::string_view::npos && ValidUtf8(line);
}

// Windows keeps keys at most this many levels below a root; a deeper key cannot come from it,
// and refusing it keeps a hostile file from costing more than its size.
constexpr std::size_t kMaxKeyDepth = 512;

// Key path components: non-empty, no control characters, valid UTF-8 ("\" separates them), at
// most one root and kMaxKeyDepth levels.
bool ValidComponents(std::string_view path) {
    if (path.empty() || !ValidUtf8(path) || HasControl(path)) return false;
    std::size_t start = 0;
    for (std::size_t depth = 0; depth <= kMaxKeyDepth; ++depth) {
        std::size_t end = path.find('\\', start);
        if (end == start || start == path.size()) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
    return false;
}

// Calls f(component) for each "\"-separated component of a valid path, in order, while f
// returns true; returns whether every call did.
template <class F>
bool ForEachComponent(std::string_view path, F f) {
    for (std::size_t start = 0;;) {
        const std::size_t end = path.find('\\', start);
        if (!f(path.substr(start, end == std::string_view::npos ? end : end - start))) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

// A key path as it appears in a file, root included.
bool ValidFullPath(std::string_view fullPath) {
    std::string_view root = fullPath.substr(0, fullPath.find('\\'));
    return root.size() > 5 && StartsWithFolded(root, "hkey_") && ValidComponents(fullPath);
}

bool ValidValueName(std::string_view name) { return ValidUtf8(name) && !HasControl(name); }

// An API key path ("Software\\Orvane\\Vekkar\\Option") as the full path below HKEY_CURRENT_USER.
// One leading "\" (an absolute path) and one trailing "\" are accepted, as the registry does.
std::optional<std::string> UserPath(std::string_view path) {
    if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    std::string full(kUserRoot);
    full += '\\';
    full += path;
    if (path.empty() || !ValidComponents(full)) return std::nullopt;
    return full;
}

}  // namespace

struct RegistryHive::Model {
    // A tree, each key holding only its own name, so that a path costs its own length and no
    // more, however deep it lies.
    struct Key {
        std::string name;  // as first created
        bool listed = true;  // false for a root that only holds the keys below it
        std::vector<Value> values;
        std::unordered_map<std::string, std::size_t> index;  // folded name -> position
        // By folded name: the order regedit exports keys in.
        std::map<std::string, std::unique_ptr<Key>> subkeys;

        Value* Find(std::string_view name) {
            auto it = index.find(Fold(name));
            return it == index.end() ? nullptr : &values[it->second];
        }
        // Replaces a value of the same name in place (keeping its spelling) or appends.
        void Set(Value v) {
            std::string folded = Fold(v.name);
            auto it = index.find(folded);
            if (it != index.end()) {
                v.name = std::move(values[it->second].name);
                values[it->second] = std::move(v);
                return;
            }
            index.emplace(std::move(folded), values.size());
            values.push_back(std::move(v));
        }
        // Marks the value removed and compacts only when half are removed, so that a file of
        // many deletion lines parses in linear time.
        void Remove(std::string_view name) {
            auto it = index.find(Fold(name));
            if (it == index.end()) return;
            values[it->second].removed = true;
            index.erase(it);
            if (++removedCount * 2 <= values.size()) return;
            std::erase_if(values, [](const Value& v) { return v.removed; });
            removedCount = 0;
            index.clear();
            for (std::size_t i = 0; i < values.size(); ++i) index.emplace(Fold(values[i].name), i);
        }
        std::size_t removedCount = 0;
    };

    Key top;  // holds the roots ("HKEY_CURRENT_USER", …) as its subkeys
    bool unreadable = false;  // the last Reload could not read an existing file

    Key* Find(std::string_view fullPath) {
        Key* key = &top;
        ForEachComponent(fullPath, [&](std::string_view name) {
            auto it = key->subkeys.find(Fold(name));
            key = it == key->subkeys.end() ? nullptr : it->second.get();
            return key != nullptr;
        });
        return key;
    }

    // Creates the key and its missing parents; an existing key keeps its own spelling.
    // A root is written to the file only when a file named it.
    Key& Create(std::string_view fullPath) {
        Key* key = &top;
        ForEachComponent(fullPath, [&](std::string_view name) {
            auto& slot = key->subkeys[Fold(name)];
            if (!slot) {
                slot = std::make_unique<Key>();
                slot->name = std::string(name);
                slot->listed = key != &top;
            }
            key = slot.get();
            return true;
        });
        key->listed = true;
        return *key;
    }

    void Delete(std::string_view fullPath) {
        const std::size_t sep = fullPath.rfind('\\');
        Key* parent = sep == std::string_view::npos ? &top : Find(fullPath.substr(0, sep));
        if (parent != nullptr) parent->subkeys.erase(Fold(fullPath.substr(sep == std::string_view::npos ? 0 : sep + 1)));
    }

    // A typed write: false, with nothing changed, for a path or name the file cannot hold.
    bool Put(std::string_view path, Value v) {
        auto full = UserPath(path);
        if (!full || !ValidValueName(v.name)) return false;
        Create(*full).Set(std::move(v));
        return true;
    }

    void Clear() { top.subkeys.clear(); }

    // One key and its subtree in file order; `path` is the key's full path while it is written.
    static void SerialiseKey(const Key& key, std::string& path, std::string& out);
};

namespace {

std::string ValueText(const Value& v) {
    switch (v.kind) {
    case Kind::Integer: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(v.number));
        return buf;
    }
    case Kind::String: {
        if (!HasControl(v.data)) return Quote(v.data);
        std::string out = "hex(1):";
        AppendHexBytes(out, Utf16LeWithTerminator(v.data));
        return out;
    }
    case Kind::Binary: {
        std::string out = "hex:";
        AppendHexBytes(out, v.data);
        return out;
    }
    case Kind::Other:
        break;
    }
    return v.data;
}

// The data after "=": a quoted string, dword:, hex: or hex(n):, whose byte lists may run on
// over "\" continuation lines.
bool ParseData(std::string_view data, LineReader& lines, Value& v) {
    if (data.starts_with('"')) {
        std::size_t end = 0;
        auto s = ParseQuoted(data, end);
        if (!s || end != data.size()) return false;
        v.kind = Kind::String;
        v.data = std::move(*s);
        return true;
    }
    if (StartsWithFolded(data, "dword:")) {
        std::string_view digits = data.substr(6);
        if (digits.size() != 8) return false;
        v.kind = Kind::Integer;
        for (char c : digits) {
            if (HexValue(c) < 0) return false;
            v.number = v.number << 4 | static_cast<std::uint32_t>(HexValue(c));
        }
        return true;
    }
    const std::size_t colon = data.find(':');
    if (!StartsWithFolded(data, "hex") || colon == std::string_view::npos) return false;
    std::string joined(data.substr(colon + 1));
    while (!joined.empty() && joined.back() == '\\') {
        joined.pop_back();
        std::string_view more;
        if (!lines.Next(more) || !CleanLine(more)) return false;
        joined += Trim(more);
    }
    const std::string tag = Fold(data.substr(0, colon));
    bool tagOk = tag == "hex";
    if (!tagOk && tag.size() > 5 && tag.starts_with("hex(") && tag.back() == ')') {
        tagOk = true;
        for (std::size_t i = 4; i + 1 < tag.size(); ++i) tagOk = tagOk && HexValue(tag[i]) >= 0;
    }
    auto bytes = tagOk ? ParseHexList(joined) : std::nullopt;
    if (!bytes) return false;
    if (tag == "hex") {
        v.kind = Kind::Binary;
        v.data = std::move(*bytes);
    } else if (auto s = tag == "hex(1)" ? StringFromHex1(*bytes) : std::nullopt) {
        v.kind = Kind::String;
        v.data = std::move(*s);
    } else {
        v.kind = Kind::Other;
        v.data = std::string(data.substr(0, colon + 1)) + std::string(Trim(joined));
    }
    return true;
}

// `"name"=data` or `@=data`; `remove` for the deletion form `"name"=-`.
bool ParseValueLine(std::string_view line, LineReader& lines, Value& v, bool& remove) {
    std::size_t pos = 1;
    if (line.front() == '"') {
        pos = 0;
        auto name = ParseQuoted(line, pos);
        if (!name) return false;
        v.name = std::move(*name);
    } else if (line.front() != '@') {
        return false;
    }
    std::string_view rest = Trim(line.substr(pos));
    if (!rest.starts_with('=')) return false;
    rest = Trim(rest.substr(1));
    remove = rest == "-";
    return remove || ParseData(rest, lines, v);
}

}  // namespace

RegistryHive::RegistryHive(std::string path) : path_(std::move(path)), model_(std::make_unique<Model>()) {}

RegistryHive::~RegistryHive() = default;

void RegistryHive::Reload() {
    loadedStamp_ = StampOf(path_);
    FileContent content = ReadFileBytes(path_);
    model_->unreadable = false;
    switch (content.status) {
    case ReadStatus::Ok:
        Parse(content.bytes);
        return;
    case ReadStatus::Missing:
        model_->Clear();
        damaged_ = false;
        return;
    case ReadStatus::TooLarge:
        model_->Clear();
        damaged_ = true;
        return;
    case ReadStatus::Failed:
        // Nothing is known of the content, so a Commit would overwrite settings unseen.
        model_->Clear();
        damaged_ = false;
        model_->unreadable = true;
        return;
    }
}

bool RegistryHive::Unreadable() const { return model_->unreadable; }

bool RegistryHive::Commit() {
    if (model_->unreadable) return false;
    EnsureFolder(FolderOf(path_));
    // regedit's own encoding, so that it imports every Japanese text intact.
    const std::string bytes = std::string(kUtf16LeBom) + Utf16LeFromUtf8(Serialise());
    // A damaged file may still hold what the user wants back; it is never overwritten.
    // A copy kept aside at start-up already holds this very file.
    const bool keep = damaged_ && (keptStamp_ == FileStamp{} || StampOf(path_) != keptStamp_);
    if (!(keep ? ReplaceDamagedFile(path_, bytes) : ReplaceFileAtomically(path_, bytes))) return false;
    damaged_ = false;
    return true;
}

std::string RegistryHive::KeepDamagedCopy() {
    // Another instance may have replaced the file since it was read: that one is not damaged.
    if (!damaged_ || StampOf(path_) != loadedStamp_) return {};
    std::string aside = CopyAside(path_);
    if (!aside.empty()) keptStamp_ = loadedStamp_;
    return aside;
}

bool RegistryHive::KeyExists(std::string_view path) const {
    auto full = UserPath(path);
    return full && model_->Find(*full) != nullptr;
}

void RegistryHive::CreateKey(std::string_view path) {
    if (auto full = UserPath(path)) model_->Create(*full);
}

void RegistryHive::DeleteKey(std::string_view path) {
    if (auto full = UserPath(path)) model_->Delete(*full);
}

std::vector<std::string> RegistryHive::SubkeyNames(std::string_view path) const {
    std::vector<std::string> names;
    auto full = UserPath(path);
    if (!full) return names;
    if (const Model::Key* key = model_->Find(*full))
        for (const auto& [folded, sub] : key->subkeys) names.push_back(sub->name);
    return names;
}

std::vector<std::string> RegistryHive::ValueNames(std::string_view path) const {
    std::vector<std::string> names;
    auto full = UserPath(path);
    if (!full) return names;
    if (const Model::Key* key = model_->Find(*full))
        for (const Value& v : key->values)
            if (!v.removed) names.push_back(v.name);
    return names;
}

namespace {

template <typename ModelT>
const Value* FindTyped(ModelT& model, std::string_view path, std::string_view name, Kind kind) {
    auto full = UserPath(path);
    if (!full) return nullptr;
    auto* key = model.Find(*full);
    if (key == nullptr) return nullptr;
    const Value* v = key->Find(name);
    return v != nullptr && v->kind == kind ? v : nullptr;
}

}  // namespace

std::optional<std::int32_t> RegistryHive::ReadInteger(std::string_view path, std::string_view name) const {
    const Value* v = FindTyped(*model_, path, name, Kind::Integer);
    if (v == nullptr) return std::nullopt;
    return static_cast<std::int32_t>(v->number);
}

std::optional<std::string> RegistryHive::ReadString(std::string_view path, std::string_view name) const {
    const Value* v = FindTyped(*model_, path, name, Kind::String);
    if (v == nullptr) return std::nullopt;
    return v->data;
}

std::optional<std::string> RegistryHive::ReadBinary(std::string_view path, std::string_view name) const {
    const Value* v = FindTyped(*model_, path, name, Kind::Binary);
    if (v == nullptr) return std::nullopt;
    return v->data;
}

std::optional<double> RegistryHive::ReadReal(std::string_view path, std::string_view name) const {
    const Value* v = FindTyped(*model_, path, name, Kind::Binary);
    if (v == nullptr || v->data.size() != 8) return std::nullopt;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(v->data[static_cast<std::size_t>(i)]);
    return std::bit_cast<double>(bits);
}

bool RegistryHive::WriteInteger(std::string_view path, std::string_view name, std::int32_t value) {
    return model_->Put(path, Value{std::string(name), Kind::Integer, static_cast<std::uint32_t>(value), {}});
}

bool RegistryHive::WriteString(std::string_view path, std::string_view name, std::string_view value) {
    // Invalid UTF-8 would make the file damaged at the next Reload.
    return ValidUtf8(value) && model_->Put(path, Value{std::string(name), Kind::String, 0, std::string(value)});
}

bool RegistryHive::WriteBinary(std::string_view path, std::string_view name, std::string_view bytes) {
    return model_->Put(path, Value{std::string(name), Kind::Binary, 0, std::string(bytes)});
}

bool RegistryHive::WriteReal(std::string_view path, std::string_view name, double value) {
    auto bits = std::bit_cast<std::uint64_t>(value);
    char bytes[8];
    for (char& b : bytes) {
        b = static_cast<char>(bits & 0xFF);
        bits >>= 8;
    }
    return WriteBinary(path, name, std::string_view(bytes, sizeof bytes));
}

void RegistryHive::Model::SerialiseKey(const Key& key, std::string& path, std::string& out) {
    const std::size_t parent = path.size();
    if (!path.empty()) path += '\\';
    path += key.name;
    if (key.listed) {
        out += '[';
        out += path;
        out += "]\r\n";
        for (const Value& v : key.values) {
            if (v.removed) continue;
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += '=';
            out += ValueText(v);
            out += "\r\n";
        }
        out += "\r\n";
    }
    for (const auto& [folded, sub] : key.subkeys) SerialiseKey(*sub, path, out);
    path.resize(parent);
}

std::string RegistryHive::Serialise() const {
    std::string out(kHeader);
    out += "\r\n\r\n";
    std::string path;
    for (const auto& [folded, root] : model_->top.subkeys) Model::SerialiseKey(*root, path, out);
    return out;
}

bool RegistryHive::Parse(std::string_view bytes) {
    Model& model = *model_;
    model.Clear();
    const RepairedText text = HiveFileText(bytes);

    LineReader lines(text.text);
    std::string_view line;
    if (!lines.Next(line) || (Trim(line) != kHeader && Trim(line) != kAnsiHeader)) {
        damaged_ = true;
        return false;
    }

    bool ok = !text.damaged;
    Model::Key* current = nullptr;
    bool afterDeletion = false;  // values under a "[-key]" section are dropped, as regedit does
    while (lines.Next(line)) {
        if (!CleanLine(line)) {
            ok = false;
            continue;
        }
        line = Trim(line);
        if (line.empty() || line.front() == ';') continue;

        if (line.front() == '[') {
            current = nullptr;
            afterDeletion = false;
            std::string_view path = line.size() >= 3 && line.back() == ']' ? line.substr(1, line.size() - 2) : "";
            const bool deletion = path.starts_with('-');
            if (deletion) path.remove_prefix(1);
            if (!ValidFullPath(path)) {
                ok = false;
            } else if (deletion) {
                model.Delete(path);
                afterDeletion = true;
            } else {
                current = &model.Create(path);
            }
            continue;
        }

        Value v;
        bool remove = false;
        if (!ParseValueLine(line, lines, v, remove) || (current == nullptr && !afterDeletion)) {
            ok = false;
        } else if (current != nullptr) {
            if (remove) current->Remove(v.name);
            else current->Set(std::move(v));
        }
    }

    damaged_ = !ok;
    return ok;
}

}  // namespace zavota::platform
