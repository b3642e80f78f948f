// A settings store on a hive of its own in a temporary folder.
#pragma once

#include <memory>
#include <string>

#include "core/CalcState.h"
#include "platform/RegistryHive.h"
#include "settings/SettingsStore.h"
#include "support/TempFolder.h"

namespace zavota::testing {

inline const std::string kVekkar = "Software\\Orvane\\Vekkar\\";

class SettingsFixture : public ::testing::Test {
protected:
    IsolatedHome home;
    CalcState calc;
    ProgramSettings program;
    SettingsStore store{BindSettings(program, calc), home.HivePath()};

    // Stored values are put in place through a hive of their own, as another instance would.
    std::unique_ptr<platform::RegistryHive> Hive() {
        auto hive = std::make_unique<platform::RegistryHive>(home.HivePath());
        hive->Reload();
        return hive;
    }
    template <typename Edit>
    void Stored(Edit edit) {
        platform::RegistryHive hive(home.HivePath());
        hive.Reload();
        edit(hive);
        ASSERT_TRUE(hive.Commit());
    }
    // A second program instance on the same hive.
    struct Instance {
        CalcState calc;
        ProgramSettings program;
        SettingsStore store;
        explicit Instance(const std::string& hive) : store(BindSettings(program, calc), hive) { store.LoadAll(); }
    };
    std::unique_ptr<Instance> Reloaded() { return std::make_unique<Instance>(home.HivePath()); }
};

}  // namespace zavota::testing
