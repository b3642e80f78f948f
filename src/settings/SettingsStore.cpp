#include "settings/SettingsStore.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/FileIo.h"
#include "platform/Folders.h"
#include "settings/StoredText.h"

namespace zavota {

namespace {

const std::string kBase = kBaseKey;
const std::string kOption = kBase + "Option";
const std::string kTax = kBase + "Tax";
const std::string kDisplay = kBase + "Display";
const std::string kClipboard = kBase + "Clipboard";
const std::string kUnitTable = kBase + "UnitTable";
const std::string kUnitTable2 = kBase + "UnitTable2";
const std::string kMarginTables = kBase + "MarginTables";

std::string TableKey(int n) { return kMarginTables + "\\" + std::to_string(n); }

// Values of a key as the load rules see them: typed reads with a default.
class Reader {
public:
    Reader(const platform::RegistryHive& hive, std::string key) : hive_(hive), key_(std::move(key)) {}
    std::optional<std::int32_t> Integer(std::string_view name) const { return hive_.ReadInteger(key_, name); }
    std::optional<std::string> String(std::string_view name) const { return hive_.ReadString(key_, name); }
    std::optional<Yen> Real(std::string_view name) const {
        const auto v = hive_.ReadReal(key_, name);
        if (!v) return std::nullopt;
        return Yen::FromDouble(*v);
    }
    int Integer(std::string_view name, int fallback) const { return Integer(name).value_or(fallback); }
    double Double(std::string_view name, double fallback) const {
        return hive_.ReadReal(key_, name).value_or(fallback);
    }
    Yen Real(std::string_view name, Yen fallback) const { return Real(name).value_or(fallback); }

private:
    const platform::RegistryHive& hive_;
    std::string key_;
};

}  // namespace

// Writes of one save, key by key; the first failing write stops the rest.
class SettingsStore::Writer {
public:
    explicit Writer(platform::RegistryHive& hive) : hive_(hive) {}
    void Key(std::string key) {
        key_ = std::move(key);
        if (ok_) hive_.CreateKey(key_);
    }
    void Integer(std::string_view name, std::int32_t v) {
        if (ok_) ok_ = hive_.WriteInteger(key_, name, v);
    }
    void String(std::string_view name, std::string_view v) {
        if (ok_) ok_ = hive_.WriteString(key_, name, v);
    }
    void Real(std::string_view name, double v) {
        if (ok_) ok_ = hive_.WriteReal(key_, name, v);
    }
    void Real(std::string_view name, Yen v) { Real(name, v.ToDouble()); }
    void DeleteAndCreate(const std::string& key) {
        if (!ok_) return;
        hive_.DeleteKey(key);
        Key(key);
    }
    bool Ok() const { return ok_; }

private:
    platform::RegistryHive& hive_;
    std::string key_;
    bool ok_ = true;
};

SettingsStore::SettingsStore(const SettingsBinding& settings, std::string hivePath)
    : s_(settings), hive_(hivePath), mutex_(kMutexName, platform::FolderOf(hivePath)) {}

std::string DefaultMarginPath() {
    const std::string program = platform::ProgramFolder();
    const std::string tables = program + "Tables/";
    if (platform::FolderExists(tables)) return tables;
    // An installed program keeps its example tables with its other read-only files; the build
    // tree and an unmarked copy keep them beside the executable.
    const std::string installed = platform::InstalledFolder("Tables");
    if (!installed.empty()) return installed;
    const std::string beside = platform::ExecutableFolder() + "Tables/";
    return platform::FolderExists(beside) ? beside : program;
}

// ---- loading -------------------------------------------------------------------------------

void SettingsStore::LoadAll() {
    // Only a path with nothing at all: a file that cannot be read, or a dangling link, holds
    // (or points at) somebody's settings.
    std::error_code error;
    noFile_ = std::filesystem::symlink_status(hive_.Path(), error).type() == std::filesystem::file_type::not_found;
    hive_.Reload();
    LoadDisplay();
    LoadTax();
    s_.listed.Clear();
    s_.otc.Clear();
    LoadTickTable(s_.listed, kUnitTable);
    LoadTickTable(s_.otc, kUnitTable2);
    LoadCommissionTables();
    LoadOption();
    LoadClipboard();
}

std::string SettingsStore::KeepDamagedAside() {
    platform::MutexGuard guard(mutex_);
    return hive_.KeepDamagedCopy();
}

void SettingsStore::LoadDisplay() {
    const Reader r(hive_, kDisplay);
    auto position = [&](std::string_view name, WindowPosition fallback) {
        const auto v = r.Integer(name);
        return v ? DecodePosition(*v) : fallback;
    };
    auto& d = s_.display;
    d.XY = position("XY", DisplaySettings::kDefaultXY);
    d.MXY = position("MXY", DisplaySettings::kDefaultMXY);
    d.MXYStored = r.Integer("MXY").has_value();
    d.KXY = position("KXY", DisplaySettings::kDefaultKXY);
    for (int i = 0; i < kColourCount; ++i) {
        const auto v = r.Integer(ColourName(i));
        d.colours[static_cast<std::size_t>(i)] = v ? static_cast<std::uint32_t>(*v) : DefaultColour(i);
    }
}

void SettingsStore::LoadTax() {
    const Reader r(hive_, kTax);
    const TaxSettings defaults;
    auto& t = s_.tax;
    t.KaiS = r.Real("KaiS", defaults.KaiS);
    t.UriS = r.Real("UriS", defaults.UriS);
    t.ShinSyotoku = r.Real("ShinSyotoku", defaults.ShinSyotoku);
    t.ShinJyuumin = r.Real("ShinJyuumin", defaults.ShinJyuumin);
    t.DontUse = r.Integer("DontUse", defaults.DontUse);
    t.YearGain = r.Real("YearGain", defaults.YearGain);
    t.CalcEach = r.Integer("CalcEach", defaults.CalcEach);
}

void SettingsStore::LoadTickTable(UnitTable& table, const std::string& key) {
    const Reader r(hive_, key);
    const auto dontUse = r.Integer("DontUse");
    const auto elements = r.Integer("Elements");
    if (!dontUse || !elements || *elements < 1) {
        table.LoadDefaults();
        return;
    }
    table.DontUse = *dontUse;
    // Rows beyond the tenth are never read, so the count must not claim them.
    table.Elements = std::min(*elements, kMaxUnitRows);
    for (int n = 0; n < table.Elements; ++n) {
        const auto text = r.String(std::to_string(n));
        const auto row = text && !text->empty() ? ParseUnitRow(*text) : std::nullopt;
        if (!row) {
            table.LoadDefaults();
            return;
        }
        table.rows[static_cast<std::size_t>(n)] = *row;
    }
}

void SettingsStore::LoadCommissionTables() {
    auto& set = s_.tables;
    for (int n = 0; n < kMaxTables; ++n) set.Clear(n);
    auto defaultSet = [&] {
        for (int n = 0; n < kMaxTables; ++n) set.Clear(n);
        set.LoadSample(0);
    };
    const auto count = Reader(hive_, kMarginTables).Integer("Tables");
    if (!count || *count <= 0) return defaultSet();
    // A missing subkey reads like an empty one (the registry creates keys on opening): its
    // table is unusable and cuts the set short, keeping the tables before it.
    for (int n = 0; n < *count && n < kMaxTables; ++n) {
        if (!LoadCommissionTable(n, set.Slot(n))) {
            if (n == 0) return defaultSet();
            set.Clear(n);
            return;
        }
        set.Slot(n).inUse = true;
    }
}

bool SettingsStore::LoadCommissionTable(int n, MarginTable& t) {
    const Reader r(hive_, TableKey(n));
    t.Same = r.Integer("Same", 0);
    const bool separate = t.Same != 0;
    const auto name = r.String("Name");
    t.Name = name && !name->empty() ? *name : kUnknownTableName;

    const auto elementsK = r.Integer("ElementsK");
    const auto elementsU = separate ? r.Integer("ElementsU") : elementsK;
    if (!elementsK || !elementsU || *elementsK < 1 || *elementsU < 1) return false;
    // Only the first 80 brackets are read; the count must not claim more.
    t.ElementsK = std::min(*elementsK, kMaxBrackets);
    t.ElementsU = std::min(*elementsU, kMaxBrackets);

    const auto lowK = r.Real("LowLimitK");
    const auto lowU = separate ? r.Real("LowLimitU") : lowK;
    const auto highK = r.Real("HighLimitK");
    const auto highU = separate ? r.Real("HighLimitU") : highK;
    if (!lowK || !lowU || !highK || !highU) return false;
    t.LowLimitK = *lowK;
    t.LowLimitU = *lowU;
    t.HighLimitK = *highK;
    t.HighLimitU = *highU;

    const auto miniK = r.Integer("MiniAfterK");
    const auto miniU = separate ? r.Integer("MiniAfterU") : miniK;
    if (miniK && miniU) {
        t.MiniAfterK = *miniK;
        t.MiniAfterU = *miniU;
    } else {
        t.MiniAfterK = t.MiniAfterU = 0;
    }

    return ReadBrackets(t, separate, [&](const std::string& key) { return r.String(key); });
}

void SettingsStore::LoadOption() {
    const Reader r(hive_, kOption);
    const OptionSettings d;
    auto& o = s_.option;
    o.WordShow = r.Integer("WordShow", d.WordShow);
    // An absent motto shows the hint; one the user emptied stays empty.
    o.Word = r.String("Word").value_or(d.Word);
    const auto font = r.String("FontName");
    o.FontName = font && !font->empty() ? *font : d.FontName;
    o.WordYearGain = r.Integer("WordYearGain", d.WordYearGain);
    o.DefaultShow = r.Integer("DefaultShow", d.DefaultShow);
    o.TopMost = r.Integer("TopMost", d.TopMost);
    o.ShowMemo = r.Integer("ShowMemo", d.ShowMemo);
    o.TaxTypeK = r.Integer("TaxTypeK", d.TaxTypeK);
    o.TaxTypeU = r.Integer("TaxTypeU", d.TaxTypeU);
    o.MarginIndexK = r.Integer("MarginIndexK", d.MarginIndexK);
    o.MarginIndexU = r.Integer("MarginIndexU", d.MarginIndexU);
    o.MiniFlagK = r.Integer("MiniFlagK", d.MiniFlagK);
    o.MiniFlagU = r.Integer("MiniFlagU", d.MiniFlagU);
    o.MiniK = r.Double("MiniK", d.MiniK);
    o.MiniU = r.Double("MiniU", d.MiniU);
    o.TenFlagK = r.Integer("TenFlagK", d.TenFlagK);
    o.TenFlagU = r.Integer("TenFlagU", d.TenFlagU);
    o.TwoFlag = r.Integer("TwoFlag", d.TwoFlag);
    if (o.TwoFlag == 1) {
        o.MarginIndex2K = r.Integer("MarginIndex2K", d.MarginIndex2K);
        o.MarginIndex2U = r.Integer("MarginIndex2U", d.MarginIndex2U);
    } else {
        o.MarginIndex2K = d.MarginIndex2K;
        o.MarginIndex2U = d.MarginIndex2U;
    }
    const auto path = r.String("MarginPath");
    o.MarginPath = path && !path->empty() && platform::FolderExists(*path) ? *path : DefaultMarginPath();

    auto kind = [](int stored) { return stored == 2 || stored == 3 ? kTradeMargin : kTradeCash; };
    o.TaxTypeK = kind(o.TaxTypeK);
    o.TaxTypeU = kind(o.TaxTypeU);
    for (int* index : {&o.MarginIndexK, &o.MarginIndexU, &o.MarginIndex2K, &o.MarginIndex2U})
        *index = std::max(*index, 0);
}

void SettingsStore::LoadClipboard() {
    const Reader r(hive_, kClipboard);
    for (int i = 0; i < kClipboardItemCount; ++i)
        s_.clipboard.flags[static_cast<std::size_t>(i)] = r.Integer(ClipboardItemName(i), DefaultClipboardItem(i));
}

// ---- saving --------------------------------------------------------------------------------

template <typename Apply>
bool SettingsStore::Save(unsigned groups, Apply apply) {
    platform::MutexGuard guard(mutex_);
    platform::ClearFileFailure();
    // Another program held the lock for the whole wait: the values stay in memory for a
    // later save (the one at the end at the latest), and the file is left to that program.
    lastSaveBusy_ = guard.Busy();
    if (lastSaveBusy_) {
        failure_ = hive_.Path();
        unsaved_ |= groups;
        return false;
    }
    // Another instance may have saved other groups since; their values must survive.
    hive_.Reload();
    Writer w(hive_);
    apply(w);
    const bool ok = w.Ok() && hive_.Commit();
    if (ok) {
        unsaved_ &= ~groups;
        failure_.clear();
        return true;
    }
    failure_ = platform::DescribeFailure(platform::LastFileFailure());
    if (failure_.empty()) failure_ = hive_.Path();
    // What failed to reach the disk must not linger in the hive as if it had; the settings
    // themselves keep the values for the next save of their group or the one at the end.
    hive_.Reload();
    unsaved_ |= groups;
    return false;
}

void SettingsStore::WriteGroups(Writer& w, unsigned groups) {
    if (groups & kCalcPageGroup) {
        WriteTaxGain(w);
        WriteTickTables(w);
        WriteTradeGroup(w);
    }
    if (groups & kMemoPositionGroup) WritePosition(w, "MXY", s_.display.MXY);
    if (groups & kColoursGroup) WriteColours(w);
    if (groups & kTaxRatesGroup) WriteTaxRates(w);
    if (groups & kTickTablesGroup) WriteTickTables(w);
    if (groups & kCommissionTablesGroup) WriteCommissionTables(w);
    if (groups & kClipboardGroup) WriteClipboardItems(w);
    if (groups & kStartupGroup) WriteStartupOptions(w);
    if (groups & kTopMostGroup) WriteTopMost(w);
}

void SettingsStore::WriteTradeGroup(Writer& w) {
    auto& o = s_.option;
    o.MarginIndexK = std::max(o.MarginIndexK, 0);
    o.MarginIndexU = std::max(o.MarginIndexU, 0);
    w.Key(kOption);
    w.Integer("TaxTypeK", o.TaxTypeK);
    w.Integer("TaxTypeU", o.TaxTypeU);
    w.Integer("MarginIndexK", o.MarginIndexK);
    w.Integer("MarginIndexU", o.MarginIndexU);
    w.Integer("MiniFlagK", o.MiniFlagK);
    w.Integer("MiniFlagU", o.MiniFlagU);
    w.Real("MiniK", o.MiniK);
    w.Real("MiniU", o.MiniU);
    w.Integer("TenFlagK", o.TenFlagK);
    w.Integer("TenFlagU", o.TenFlagU);
    w.Integer("TwoFlag", o.TwoFlag);
    if (o.TwoFlag == 1) {
        o.MarginIndex2K = std::max(o.MarginIndex2K, 0);
        o.MarginIndex2U = std::max(o.MarginIndex2U, 0);
        w.Integer("MarginIndex2K", o.MarginIndex2K);
        w.Integer("MarginIndex2U", o.MarginIndex2U);
    }
}

void SettingsStore::WriteTickTables(Writer& w) {
    for (auto [table, key] : {std::pair{&s_.listed, kUnitTable}, std::pair{&s_.otc, kUnitTable2}}) {
        w.DeleteAndCreate(key);
        w.Integer("DontUse", table->DontUse);
        if (table->Elements < 1) table->ResetKeepingDontUse();
        w.Integer("Elements", table->Elements);
        for (int n = 0; n < table->Elements && n < kMaxUnitRows; ++n)
            w.String(std::to_string(n), UnitRowText(table->rows[static_cast<std::size_t>(n)]));
    }
}

void SettingsStore::WriteStartupOptions(Writer& w) {
    const auto& o = s_.option;
    w.Key(kOption);
    w.Integer("WordShow", o.WordShow);
    w.String("Word", o.Word);
    w.String("FontName", o.FontName);
    w.Integer("WordYearGain", o.WordYearGain);
    w.Integer("DefaultShow", o.DefaultShow);
    w.Integer("ShowMemo", o.ShowMemo);
}

void SettingsStore::WriteTopMost(Writer& w) {
    w.Key(kOption);
    w.Integer("TopMost", s_.option.TopMost);
}

void SettingsStore::WriteMarginPath(Writer& w) {
    w.Key(kOption);
    w.String("MarginPath", s_.option.MarginPath);
}

void SettingsStore::WriteTaxRates(Writer& w) {
    const auto& t = s_.tax;
    w.Key(kTax);
    w.Integer("CalcEach", t.CalcEach);
    w.Real("KaiS", t.KaiS);
    w.Real("UriS", t.UriS);
    w.Real("ShinSyotoku", t.ShinSyotoku);
    w.Real("ShinJyuumin", t.ShinJyuumin);
}

void SettingsStore::WriteTaxGain(Writer& w) {
    w.Key(kTax);
    w.Real("YearGain", s_.tax.YearGain);
    w.Integer("DontUse", s_.tax.DontUse);
}

void SettingsStore::WritePosition(Writer& w, std::string_view name, WindowPosition position) {
    w.Key(kDisplay);
    w.Integer(name, EncodePosition(position));
}

void SettingsStore::WriteColours(Writer& w) {
    w.Key(kDisplay);
    for (int i = 0; i < kColourCount; ++i)
        w.Integer(ColourName(i), static_cast<std::int32_t>(s_.display.colours[static_cast<std::size_t>(i)]));
}

void SettingsStore::WriteClipboardItems(Writer& w) {
    w.Key(kClipboard);
    for (int i = 0; i < kClipboardItemCount; ++i)
        w.Integer(ClipboardItemName(i), s_.clipboard.flags[static_cast<std::size_t>(i)]);
}

void SettingsStore::WriteCommissionTables(Writer& w) {
    const auto& set = s_.tables;
    const int count = set.UsedCount();
    w.DeleteAndCreate(kMarginTables);
    w.Integer("Tables", count);
    for (int n = 0; n < count && n < kMaxTables; ++n) {
        const MarginTable& t = set.Slot(n);
        if (!t.inUse) continue;
        const bool separate = t.Same != 0;
        w.Key(TableKey(n));
        w.Integer("Same", t.Same);
        w.String("Name", t.Name);
        w.Integer("ElementsK", t.ElementsK);
        if (separate) w.Integer("ElementsU", t.ElementsU);
        w.Real("LowLimitK", t.LowLimitK);
        if (separate) w.Real("LowLimitU", t.LowLimitU);
        w.Real("HighLimitK", t.HighLimitK);
        if (separate) w.Real("HighLimitU", t.HighLimitU);
        w.Integer("MiniAfterK", t.MiniAfterK);
        if (separate) w.Integer("MiniAfterU", t.MiniAfterU);
        for (int i = 0; i < t.ElementsK && i < kMaxBrackets; ++i)
            w.String("K" + std::to_string(i), BracketText(t.bracketsK[static_cast<std::size_t>(i)]));
        if (!separate) continue;
        for (int i = 0; i < t.ElementsU && i < kMaxBrackets; ++i)
            w.String("U" + std::to_string(i), BracketText(t.bracketsU[static_cast<std::size_t>(i)]));
    }
}

bool SettingsStore::SaveGroups(unsigned groups) {
    return Save(groups, [&](Writer& w) { WriteGroups(w, groups); });
}

bool SettingsStore::SaveCalcPage() {
    return SaveGroups(kCalcPageGroup);
}

bool SettingsStore::SaveAtExit() {
    // Groups that could not be written earlier (a full disk, since freed) go now.
    const unsigned pending = unsaved_;
    return Save(pending, [&](Writer& w) {
        WriteGroups(w, pending);
        WritePosition(w, "XY", s_.display.XY);
        WritePosition(w, "KXY", s_.display.KXY);
        WriteTradeGroup(w);
        WriteMarginPath(w);
    });
}

bool SettingsStore::SaveMemoPosition() {
    s_.display.MXYStored = true;  // the pad's own place from now on, written now or at the end
    return SaveGroups(kMemoPositionGroup);
}

bool SettingsStore::SaveColours() { return SaveGroups(kColoursGroup); }

bool SettingsStore::SaveTaxRates() {
    return SaveGroups(kTaxRatesGroup);
}

bool SettingsStore::SaveTickTables() {
    return SaveGroups(kTickTablesGroup);
}

bool SettingsStore::SaveCommissionTables() {
    return SaveGroups(kCommissionTablesGroup);
}

bool SettingsStore::SaveClipboardItems() {
    return SaveGroups(kClipboardGroup);
}

bool SettingsStore::SaveStartupOptions() {
    return SaveGroups(kStartupGroup);
}

bool SettingsStore::SaveTopMost() { return SaveGroups(kTopMostGroup); }

void SettingsStore::WriteAll(platform::RegistryHive& hive) {
    Writer w(hive);
    WriteStartupOptions(w);
    WriteTopMost(w);
    WriteTradeGroup(w);
    WriteMarginPath(w);
    WriteTaxRates(w);
    WriteTaxGain(w);
    WritePosition(w, "XY", s_.display.XY);
    WritePosition(w, "MXY", s_.display.MXY);
    WritePosition(w, "KXY", s_.display.KXY);
    WriteColours(w);
    WriteClipboardItems(w);
    WriteTickTables(w);
    WriteCommissionTables(w);
}

}  // namespace zavota
