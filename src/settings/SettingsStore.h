// Every setting and user table in the registry hive: loaded once at start-up, written back in
// small groups, each group by its own operation under the cross-instance mutex.
#pragma once

#include <string>
#include <string_view>

#include "platform/NamedMutex.h"
#include "platform/RegistryHive.h"
#include "settings/SettingsData.h"

namespace zavota {

inline constexpr const char* kBaseKey = "Software\\Orvane\\Vekkar\\";
inline constexpr const char* kMutexName = "VekkarMutex";
inline constexpr const char* kUnknownTableName = "（不明）";

class SettingsStore {
public:
    // Touches neither the hive nor the mutex yet. The lock file lies beside the hive.
    SettingsStore(const SettingsBinding& settings, std::string hivePath);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The named mutex "VekkarMutex", also taken around every data-file operation.
    bool Lock() { return mutex_.Lock(); }
    void Unlock() { mutex_.Unlock(); }
    platform::NamedMutex& Mutex() { return mutex_; }
    const std::string& HivePath() const { return hive_.Path(); }

    // Loads every section; unreadable values take their defaults. Never fails, writes nothing.
    void LoadAll();
    // The hive file LoadAll found could not be read whole (damaged, too large, or not readable
    // at all): every value it held that could not be read took its default.
    bool LoadFoundDamage() const { return hive_.Damaged() || hive_.Unreadable(); }
    // LoadAll found no settings file at all: the program's first start for this user.
    bool LoadFoundNoFile() const { return noFile_; }
    // Under the lock, keeps a copy of that damaged file aside, so that the user can be told
    // where it is before the first save replaces it. The copy's path, or empty when none was
    // made (the file is then kept aside at the first save, as any damaged file is).
    std::string KeepDamagedAside();

    // Each returns true when every value was written. A save re-reads the hive, applies its
    // values and replaces the file in one step, so a failure leaves the file as it was. The
    // values of a failed save stay in memory and the group is written again by SaveAtExit.
    bool SaveCalcPage();        // Tax YearGain, DontUse; both tick tables; the trade group
    bool SaveAtExit();          // XY, KXY; the trade group; MarginPath
    bool SaveMemoPosition();    // MXY
    bool SaveColours();         // the thirteen colours
    bool SaveTaxRates();        // CalcEach, KaiS, UriS, ShinSyotoku, ShinJyuumin
    bool SaveTickTables();      // both tick-size tables
    bool SaveCommissionTables();// the whole key MarginTables
    bool SaveClipboardItems();  // the nineteen clipboard flags
    bool SaveStartupOptions();  // WordShow, Word, FontName, WordYearGain, DefaultShow, ShowMemo
    bool SaveTopMost();         // TopMost
    // The last save failed because another program held the mutex for the whole wait.
    bool LastSaveBusy() const { return lastSaveBusy_; }

    // The last failed save: "<file>: <the system's reason>", or the file alone when no file
    // step failed (a hive that could not be read is never overwritten). Empty after a success.
    const std::string& LastFailure() const { return failure_; }
    // Groups whose last save failed: they are written by the next SaveAtExit.
    bool HasUnsavedGroups() const { return unsaved_ != 0; }

    // Every value the store keeps, in the registry's layout, into a hive that is not saved:
    // what `zavota-cli settings` lists.
    void WriteAll(platform::RegistryHive& hive);

private:
    class Writer;
    // The save groups, as bits of unsaved_.
    enum Group : unsigned {
        kCalcPageGroup = 1u << 0,
        kMemoPositionGroup = 1u << 1,
        kColoursGroup = 1u << 2,
        kTaxRatesGroup = 1u << 3,
        kTickTablesGroup = 1u << 4,
        kCommissionTablesGroup = 1u << 5,
        kClipboardGroup = 1u << 6,
        kStartupGroup = 1u << 7,
        kTopMostGroup = 1u << 8,
    };
    template <typename Apply>
    bool Save(unsigned groups, Apply apply);
    bool SaveGroups(unsigned groups);
    // The values of the groups in `groups`.
    void WriteGroups(Writer& w, unsigned groups);

    void LoadDisplay();
    void LoadTax();
    void LoadTickTable(UnitTable& table, const std::string& key);
    void LoadCommissionTables();
    bool LoadCommissionTable(int n, MarginTable& table);
    void LoadOption();
    void LoadClipboard();

    void WriteStartupOptions(Writer& w);
    void WriteTopMost(Writer& w);
    void WriteTradeGroup(Writer& w);
    void WriteMarginPath(Writer& w);
    void WriteTaxRates(Writer& w);
    void WriteTaxGain(Writer& w);
    void WritePosition(Writer& w, std::string_view name, WindowPosition position);
    void WriteColours(Writer& w);
    void WriteClipboardItems(Writer& w);
    void WriteTickTables(Writer& w);
    void WriteCommissionTables(Writer& w);

    SettingsBinding s_;
    platform::RegistryHive hive_;
    platform::NamedMutex mutex_;
    unsigned unsaved_ = 0;
    std::string failure_;
    bool noFile_ = false;
    bool lastSaveBusy_ = false;
};

// The fallback folder of the commission table files: the program folder plus "Tables/" when
// that exists, else the installed example tables ("../share/zavota/Tables/" from the
// executable) when they exist, else the program folder.
std::string DefaultMarginPath();

}  // namespace zavota
