#include "memo/MemoStore.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

#include <unistd.h>

#include "core/DecimalCalc.h"
#include "core/NumberText.h"
#include "memo/MemoNumber.h"
#include "memo/StockRows.h"
#include "platform/Cp932.h"
#include "platform/FileIo.h"
#include "platform/ProfileText.h"

namespace zavota {

namespace {

using platform::MutexGuard;

constexpr std::string_view kSectionName = "銘柄（ページ名）";
constexpr std::string_view kSectionSelected = "選択";
constexpr std::string_view kSectionComment = "コメント";
constexpr std::string_view kSectionPrice = "単価";
constexpr std::string_view kSectionShares = "株数";
constexpr std::string_view kKeyName = "Name";
constexpr std::string_view kKeyFileNo = "FileNo";
constexpr std::string_view kSectionFont = "FONT";
constexpr std::string_view kKeySize = "SIZE";
constexpr std::string_view kSectionTitle = "Title";
constexpr std::string_view kCalculatorTitle = "シンプル計算機";
constexpr std::string_view kSectionData = "Data";
constexpr int kDefaultFontIndex = 1;

struct CalculatorKey {
    std::string_view key;
    std::string_view fallback;
};
constexpr CalculatorKey kCalculatorKeys[kCalculatorItems] = {
    {"0", ""}, {"1", ""}, {"2", ""}, {"3", ""}, {"4", ""}, {"5", ""},    {"6", ""},
    {"7", ""}, {"8", ""}, {"9", ""}, {"A", ""}, {"B", ""}, {"PER", "-"}, {"M1", ""},
    {"M2", ""}, {"TRUNC", "2"}, {"DIGITS", "0"},
};

// The section of a row cell kind; empty for anything else.
std::string_view ColumnSection(int kind) {
    switch (kind) {
        case kCellSelected: return kSectionSelected;
        case kCellComment: return kSectionComment;
        case kCellPrice: return kSectionPrice;
        case kCellShares: return kSectionShares;
        default: return {};
    }
}

// A plain file name inside the data folder: the store never reaches outside it.
bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

// An integer value as the program writes it: optional sign and digits, nothing else.
std::optional<int> ParseInt(std::string_view text) {
    text = TrimAscii(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// A file written in UTF-8 after its byte-order mark.
bool IsUtf8File(const std::string& path) {
    // Opening a FIFO would wait for a writer.
    if (!platform::FileExists(path)) return false;
    std::ifstream file(path, std::ios::binary);
    char head[3] = {};
    return file.read(head, 3) && std::string_view(head, 3) == platform::kUtf8Bom;
}

constexpr std::string_view kSectionDelete = "Delete";

}  // namespace

std::string MemoIndexFileName(MemoPageKind kind) {
    return kind == MemoPageKind::PerStock ? "M00index.ini" : "N00index.ini";
}

std::string MemoPageFileName(MemoPageKind kind, int number) {
    return kind == MemoPageKind::PerStock ? "M_" + std::to_string(number) + ".ini"
                                          : "N_" + std::to_string(number) + ".txt";
}

std::vector<std::string> MemoTextStream::Lines() const {
    // The text is the file's lines joined with "\n": every piece is a line, a last empty one too.
    std::vector<std::string> lines;
    if (text_.empty()) return lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text_.find('\n', start);
        lines.emplace_back(text_.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

bool MemoStore::refusedAsBusy(const platform::MutexGuard& guard) {
    if (!guard.Busy()) return false;
    busy_ = true;
    return true;
}

bool MemoStore::takeBusy() { return std::exchange(busy_, false); }

MemoStore::MemoStore(std::string folder, platform::NamedMutex& mutex)
    : folder_(std::move(folder)), mutex_(mutex) {
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

MemoStore::~MemoStore() = default;

bool MemoStore::open(std::string_view name, MemoFileKind kind, bool read) {
    MutexGuard guard(mutex_);
    if (open_ || !IsPlainName(name)) return false;
    const std::string path = folder_ + std::string(name);

    if (kind == MemoFileKind::Ini) {
        auto ini = std::make_unique<platform::ProfileFile>(path);
        if (!ini->Refresh()) return false;
        ini_ = std::move(ini);
    } else {
        auto stream = std::make_unique<MemoTextStream>();
        stream->path_ = path;
        stream->reading_ = read;
        if (read) {
            platform::FileContent content = platform::ReadFileBytes(path);
            if (content.status != platform::ReadStatus::Ok) return false;
            platform::DecodedText decoded = platform::DecodeFromDisk(content.bytes);
            stream->damaged_ = decoded.damaged;
            std::string joined;
            joined.reserve(decoded.text.size());
            const std::vector<std::string> lines = platform::profile::SplitLines(decoded.text);
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (i > 0) joined += '\n';
                joined += lines[i];
            }
            stream->text_ = std::move(joined);
        } else {
            // Nothing is written before close, so a failed save leaves the old page whole;
            // refuse here what close could never do.
            if (platform::FolderExists(path) || ::access(folder_.c_str(), W_OK | X_OK) != 0) return false;
        }
        text_ = std::move(stream);
    }
    kind_ = kind;
    open_ = true;
    return true;
}

bool MemoStore::close() {
    MutexGuard guard(mutex_);
    if (!open_) return false;
    bool ok = true;
    // Every INI write is already on disk. Writing the profile out again here could put back
    // values another instance changed since this one last read them.
    if (kind_ == MemoFileKind::Text && text_ && !text_->reading_) ok = !refusedAsBusy(guard) && saveText(*text_);
    ini_.reset();
    text_.reset();
    open_ = false;
    return ok;
}

bool MemoStore::saveText(const MemoTextStream& stream) {
    std::string body;
    body.reserve(stream.text_.size() + stream.text_.size() / 16 + 2);
    for (const std::string& line : platform::profile::SplitLines(stream.text_)) {
        body += line;
        body += "\r\n";
    }
    // A page that did not decode cleanly was shown with replacement characters; its original
    // bytes are kept beside it rather than overwritten, and the page's name holds the old or
    // the new file at every moment.
    const platform::FileContent old = platform::ReadFileBytes(stream.path_);
    const std::string bytes = platform::EncodeForDisk(body);
    const bool wasUtf8 = old.status == platform::ReadStatus::Ok && old.bytes.starts_with(platform::kUtf8Bom);
    const bool written = old.status == platform::ReadStatus::Ok && platform::DecodeFromDisk(old.bytes).damaged
                             ? platform::ReplaceDamagedFile(stream.path_, bytes)
                             : platform::ReplaceFileAtomically(stream.path_, bytes);
    noteUtf8(stream.path_, wasUtf8, written);
    return written;
}

void MemoStore::noteUtf8(const std::string& path, bool wasUtf8, bool written) {
    if (written && !wasUtf8 && IsUtf8File(path)) utf8Fallback_ = true;
}

bool MemoStore::takeUtf8Fallback() { return std::exchange(utf8Fallback_, false); }

platform::ProfileFile* MemoStore::currentIni() {
    if (!open_ || kind_ != MemoFileKind::Ini || !ini_) return nullptr;
    if (!ini_->Refresh()) return nullptr;
    return ini_.get();
}

bool MemoStore::removeFile(std::string_view name) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_ || !IsPlainName(name)) return false;
    return platform::RemoveFile(folder_ + std::string(name));
}

bool MemoStore::renameFile(std::string_view oldName, std::string_view newName) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_ || !IsPlainName(oldName) || !IsPlainName(newName)) return false;
    return platform::RenameFile(folder_ + std::string(oldName), folder_ + std::string(newName));
}

bool MemoStore::fileExists(std::string_view name) {
    MutexGuard guard(mutex_);
    return IsPlainName(name) && platform::FileExists(folder_ + std::string(name));
}

bool MemoStore::readPageIndex(std::vector<MemoPageEntry>& list) {
    MutexGuard guard(mutex_);
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    std::vector<MemoPageEntry> pages;
    for (auto& [section, value] : ini->ValuesOf(kKeyFileNo)) {
        const std::optional<int> number = value ? ParseInt(*value) : std::nullopt;
        if (!number || *number < 1 || *number > kMaxMemoPageNumber) continue;
        pages.push_back({std::move(section), *number});
    }
    list = std::move(pages);
    return true;
}

bool MemoStore::writeIndexEntry(std::string_view pageName, int number) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    platform::ProfileFile* ini = currentIni();
    return ini && ini->Write(pageName, kKeyFileNo, std::to_string(number));
}

bool MemoStore::readFontSize(int& index) {
    MutexGuard guard(mutex_);
    index = kDefaultFontIndex;
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    const std::optional<std::string> value = ini->Read(kSectionFont, kKeySize);
    if (!value) return true;
    const std::optional<int> parsed = ParseInt(*value);
    if (!parsed) return false;
    index = *parsed;
    return true;
}

bool MemoStore::writeFontSize(int index) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    platform::ProfileFile* ini = currentIni();
    return ini && ini->Write(kSectionFont, kKeySize, std::to_string(index));
}

bool MemoStore::writeCell(int kind, int row, std::string_view text) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    const std::string_view section = kind == kCellPageName ? kSectionName : ColumnSection(kind);
    if (section.empty()) return false;
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    if (kind == kCellPageName) return ini->Write(section, kKeyName, text);
    return ini->Write(section, std::to_string(row), text);
}

bool MemoStore::readColumn(int kind, int maxRows, std::vector<std::string>& list) {
    MutexGuard guard(mutex_);
    const std::string_view section = ColumnSection(kind);
    if (section.empty()) return false;
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    list.clear();
    const std::vector<std::string> keys = ini->Keys(section);
    const std::size_t count = std::min(keys.size(), static_cast<std::size_t>(std::max(maxRows, 0)));
    list.reserve(count);
    for (std::size_t k = 0; k < count; ++k) list.push_back(ini->ReadString(section, keys[k], ""));
    return true;
}

bool MemoStore::writeCalculator(const std::vector<std::string>& items) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (items.size() != kCalculatorItems) return false;
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    // One replace of the file: a failure or a kill never leaves half of the values written.
    std::vector<platform::ProfileEntry> entries;
    entries.reserve(kCalculatorItems + 1);
    entries.push_back({std::string(kSectionTitle), std::string(kKeyName), std::string(kCalculatorTitle)});
    for (int i = 0; i < kCalculatorItems; ++i)
        entries.push_back({std::string(kSectionData), std::string(kCalculatorKeys[i].key), items[i]});
    return ini->WriteBatch(entries);
}

bool MemoStore::readCalculator(std::vector<std::string>& items) {
    MutexGuard guard(mutex_);
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    for (const CalculatorKey& k : kCalculatorKeys) items.push_back(ini->ReadString(kSectionData, k.key, k.fallback));
    return true;
}

PageTotals MemoStore::pageTotals(int number) {
    MutexGuard guard(mutex_);
    PageTotals totals;
    if (open_ || number < 1) return totals;
    platform::ProfileFile page(folder_ + MemoPageFileName(MemoPageKind::PerStock, number));
    if (!page.Refresh()) return totals;

    StockTotals sum;
    for (int row = 1; row <= kMemoRows; ++row) {
        const std::string key = std::to_string(row);
        if (page.ReadString(kSectionSelected, key, "") != "*") continue;
        const std::optional<Yen> price = ParseMemoAmount(page.ReadString(kSectionPrice, key, ""));
        if (!price) {
            totals.status = kTotalsInvalid;
            return totals;
        }
        const std::optional<Yen> count = ParseMemoAmount(page.ReadString(kSectionShares, key, ""));
        if (!count) {
            totals.status = kTotalsInvalid;
            return totals;
        }
        sum.Add(*price, *count);
    }
    totals.status = kTotalsDone;
    totals.amount = sum.amount();
    totals.shares = sum.shares();
    totals.average = sum.average();
    return totals;
}

MemoTextStream* MemoStore::textStream() {
    return open_ && kind_ == MemoFileKind::Text ? text_.get() : nullptr;
}

// --- Whole-file writes

bool MemoStore::writeCells(const std::vector<MemoCell>& cells) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    std::vector<platform::ProfileEntry> entries;
    entries.reserve(cells.size());
    for (const MemoCell& c : cells) {
        const std::string_view section = c.kind == kCellPageName ? kSectionName : ColumnSection(c.kind);
        if (section.empty()) return false;
        entries.push_back({std::string(section), c.kind == kCellPageName ? std::string(kKeyName) : std::to_string(c.row),
                           c.text});
    }
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    const bool wasUtf8 = IsUtf8File(ini->Path());
    const bool written = ini->WriteBatch(entries);
    noteUtf8(ini->Path(), wasUtf8, written);
    return written;
}

bool MemoStore::writeIndexEntries(std::string_view pageName, int number, std::optional<int> fontIndex) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    std::vector<platform::ProfileEntry> entries;
    if (fontIndex) entries.push_back({std::string(kSectionFont), std::string(kKeySize), std::to_string(*fontIndex)});
    entries.push_back({std::string(pageName), std::string(kKeyFileNo), std::to_string(number)});
    platform::ProfileFile* ini = currentIni();
    if (!ini) return false;
    // Most saves are of a page the index already lists: the index need not be replaced then.
    const bool unchanged = std::all_of(entries.begin(), entries.end(), [ini](const platform::ProfileEntry& e) {
        return ini->Read(e.section, e.key) == e.value;
    });
    if (unchanged) return true;
    const bool wasUtf8 = IsUtf8File(ini->Path());
    const bool written = ini->WriteBatch(entries);
    noteUtf8(ini->Path(), wasUtf8, written);
    return written;
}

bool MemoStore::replaceIndex(MemoPageKind kind, const std::vector<MemoPageEntry>& pages) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_) return false;
    const std::string index = folder_ + MemoIndexFileName(kind);
    // Earlier versions wrote the new index under this name first, and a failure left it behind.
    if (const std::string stale = index + ".new"; platform::FileExists(stale)) platform::RemoveFile(stale);
    platform::ProfileFile file(index);
    std::vector<platform::ProfileEntry> entries;
    // The free-form tab's font size lives in its index and outlasts every change of the list.
    if (kind == MemoPageKind::FreeForm)
        if (std::optional<std::string> size = file.Read(kSectionFont, kKeySize))
            entries.push_back({std::string(kSectionFont), std::string(kKeySize), std::move(*size)});
    for (const MemoPageEntry& e : pages)
        if (e.number > 0) entries.push_back({e.name, std::string(kKeyFileNo), std::to_string(e.number)});
    // The same replace as every other save: a read-only index is refused, and an empty list
    // leaves an empty index rather than none, so the file keeps its mode and its links.
    const bool wasUtf8 = IsUtf8File(index);
    const bool written = file.ReplaceAll(entries);
    noteUtf8(index, wasUtf8, written);
    return written;
}

bool MemoStore::setAsideOrphan(MemoPageKind kind, int number) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_ || number < 1) return false;
    const std::string path = folder_ + MemoPageFileName(kind, number);
    if (!platform::FileExists(path)) return !platform::FolderExists(path);
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = platform::StampedName(path, "orphan", n);
        if (platform::FileExists(aside) || platform::FolderExists(aside)) continue;
        return platform::RenameFile(path, aside);
    }
    return false;
}

bool MemoStore::folderWritable() {
    return platform::EnsureFolder(folder_) && ::access(folder_.c_str(), W_OK | X_OK) == 0;
}

// --- Page deletes

std::string MemoStore::journalPath(MemoPageKind kind) const { return folder_ + MemoIndexFileName(kind) + ".delete"; }

namespace {

constexpr std::string_view kSectionBefore = "Before";
constexpr std::string_view kSectionAfter = "After";
constexpr std::string_view kKeyCount = "Count";

// A page list as journal entries: "Count", then "1" to "n" = "<number>,<name>".
void AddPageList(std::vector<platform::ProfileEntry>& entries, std::string_view section,
                 const std::vector<MemoPageEntry>& pages) {
    const std::string name(section);
    entries.push_back({name, std::string(kKeyCount), std::to_string(pages.size())});
    for (std::size_t i = 0; i < pages.size(); ++i)
        entries.push_back({name, std::to_string(i + 1), std::to_string(pages[i].number) + "," + pages[i].name});
}

std::optional<std::vector<MemoPageEntry>> ReadPageList(platform::ProfileFile& file, std::string_view section) {
    const std::optional<int> count = ParseInt(file.ReadString(section, kKeyCount, ""));
    if (!count || *count < 0 || *count > kMaxMemoPageNumber) return std::nullopt;
    std::vector<MemoPageEntry> pages;
    for (int i = 1; i <= *count; ++i) {
        const std::optional<std::string> value = file.Read(section, std::to_string(i));
        const std::size_t comma = value ? value->find(',') : std::string::npos;
        if (comma == std::string::npos) return std::nullopt;
        const std::optional<int> number = ParseInt(std::string_view(*value).substr(0, comma));
        if (!number || *number < 1 || *number > kMaxMemoPageNumber) return std::nullopt;
        pages.push_back({value->substr(comma + 1), *number});
    }
    return pages;
}

}  // namespace

bool MemoStore::writeDeleteJournal(MemoPageKind kind, const MemoDeleteJournal& journal) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_) return false;
    const std::string path = journalPath(kind);
    if (platform::FileExists(path) && !platform::RemoveFile(path)) return false;
    const std::string section(kSectionDelete);
    std::vector<platform::ProfileEntry> entries{{section, "Name", journal.name},
                                                {section, "To", std::to_string(journal.to)},
                                                {section, "From", std::to_string(journal.from)},
                                                {section, "Move", journal.moved ? "1" : "0"}};
    AddPageList(entries, kSectionBefore, journal.before);
    AddPageList(entries, kSectionAfter, journal.after);
    return platform::ProfileFile(path).WriteBatch(entries);
}

std::optional<MemoDeleteJournal> MemoStore::readDeleteJournal(MemoPageKind kind) {
    MutexGuard guard(mutex_);
    const std::string path = journalPath(kind);
    // Anything in the journal's place counts, so that it is set aside rather than ignored.
    if (!platform::FileExists(path) && !platform::IsSpecialFile(path)) return std::nullopt;
    platform::ProfileFile file(path);
    MemoDeleteJournal journal;
    if (!file.Refresh()) return journal;  // to = 0: unusable
    journal.name = file.ReadString(kSectionDelete, "Name", "");
    const auto number = [&](std::string_view key) { return ParseInt(file.ReadString(kSectionDelete, key, "")).value_or(0); };
    journal.to = number("To");
    journal.from = number("From");
    journal.moved = number("Move") == 1;
    if (journal.to < 1 || journal.from < journal.to || journal.from > kMaxMemoPageNumber) journal.to = 0;
    auto before = ReadPageList(file, kSectionBefore);
    auto after = ReadPageList(file, kSectionAfter);
    journal.recorded = before && after;
    if (journal.recorded) {
        journal.before = std::move(*before);
        journal.after = std::move(*after);
    }
    return journal;
}

bool MemoStore::moveDeletedPageFiles(MemoPageKind kind, const MemoDeleteJournal& journal) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    if (open_ || journal.to < 1) return false;
    const std::string target = folder_ + MemoPageFileName(kind, journal.to);
    if (!journal.moved) return platform::RemoveFile(target) || !platform::FileExists(target);
    // The rename replaces the deleted page's file in one step: the number holds the old page or
    // the moved one, never nothing. A source already gone was moved before.
    const std::string source = folder_ + MemoPageFileName(kind, journal.from);
    return !platform::FileExists(source) || platform::RenameFile(source, target);
}

bool MemoStore::removeDeleteJournal(MemoPageKind kind) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return false;
    const std::string path = journalPath(kind);
    return platform::RemoveFile(path) || !(platform::FileExists(path) || platform::IsSpecialFile(path));
}

std::string MemoStore::setAsideDeleteJournal(MemoPageKind kind) {
    MutexGuard guard(mutex_);
    if (refusedAsBusy(guard)) return {};
    const std::string path = journalPath(kind);
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = platform::StampedName(path, "stale", n);
        if (platform::FileExists(aside) || platform::FolderExists(aside) || platform::IsSpecialFile(aside)) continue;
        return platform::RenameFile(path, aside) ? aside : std::string();
    }
    return {};
}

}  // namespace zavota
