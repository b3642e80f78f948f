#include "SettingsCommand.h"

#include <ostream>

#include "CalcCommand.h"
#include "Json.h"
#include "core/NumberText.h"
#include "platform/Folders.h"
#include "platform/RegistryHive.h"
#include "settings/SettingsStore.h"

namespace zavota::cli {

namespace {

constexpr const char* kUsage = "usage: zavota-cli settings [--json]";
const char* const kSections[] = {"Option", "Tax", "Display", "Clipboard", "UnitTable", "UnitTable2", "MarginTables"};

struct Value {
    std::string json;  // also the text form: numbers plain, strings quoted and escaped
};

Value ValueOf(const platform::RegistryHive& hive, const std::string& key, const std::string& name) {
    if (const auto i = hive.ReadInteger(key, name)) return {std::to_string(*i)};
    if (const auto r = hive.ReadReal(key, name)) return {ShortestText(*r)};
    return {JsonString(hive.ReadString(key, name).value_or(""))};
}

// One key as a JSON object: its values, then its subkeys as nested objects.
std::string KeyJson(const platform::RegistryHive& hive, const std::string& key) {
    JsonObject o;
    for (const std::string& name : hive.ValueNames(key)) o.Raw(name, ValueOf(hive, key, name).json);
    for (const std::string& sub : hive.SubkeyNames(key)) o.Raw(sub, KeyJson(hive, key + "\\" + sub));
    return o.Text();
}

void KeyText(const platform::RegistryHive& hive, const std::string& key, const std::string& title, std::ostream& out) {
    out << '[' << title << "]\n";
    for (const std::string& name : hive.ValueNames(key)) out << name << '=' << ValueOf(hive, key, name).json << '\n';
    for (const std::string& sub : hive.SubkeyNames(key)) {
        out << '\n';
        KeyText(hive, key + "\\" + sub, title + "\\" + sub, out);
    }
}

}  // namespace

int SettingsMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json") {
            json = true;
        } else if (a == "--help" || a == "-h") {
            out << kUsage << '\n';
            return ExitOk;
        } else {
            err << "zavota-cli settings: unknown option " << a << " (" << kUsage << ")\n";
            return ExitUsage;
        }
    }
    CalcState state;
    ProgramSettings program;
    SettingsStore store(BindSettings(program, state), platform::HivePath());
    LoadStoredSettings(store, err);
    // The loaded values laid out as the registry holds them, in a hive that is never saved.
    platform::RegistryHive loaded("");
    store.WriteAll(loaded);

    const std::string base = std::string(kBaseKey);
    if (json) {
        JsonObject o;
        for (const char* section : kSections) o.Raw(section, KeyJson(loaded, base + section));
        out << o.Text() << '\n';
        return ExitOk;
    }
    out << "; " << platform::HivePath() << '\n';
    for (const char* section : kSections) {
        out << '\n';
        KeyText(loaded, base + section, section, out);
    }
    return ExitOk;
}

}  // namespace zavota::cli
