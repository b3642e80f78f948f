// A fresh folder per test, removed afterwards, with the program's folders pointed into it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace zavota::testing {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zavota-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ec;
        // A test may have made a folder read-only; give it back before removing.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }  // with a trailing "/"
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// A temporary folder that is also the program folder ($ZAVOTA_HOME) and holds the hive
// ($ZAVOTA_REGISTRY); the variables are restored afterwards.
class IsolatedHome : public TempFolder {
public:
    IsolatedHome() : home_("ZAVOTA_HOME"), hive_("ZAVOTA_REGISTRY") {
        setenv("ZAVOTA_HOME", (*this / "home/").c_str(), 1);
        setenv("ZAVOTA_REGISTRY", HivePath().c_str(), 1);
    }
    std::string HomePath() const { return *this / "home/"; }
    std::string HivePath() const { return *this / "config/Orvane/Vekkar.reg"; }

private:
    class SavedVariable {
    public:
        explicit SavedVariable(const char* name) : name_(name) {
            const char* v = std::getenv(name);
            had_ = v != nullptr;
            if (had_) value_ = v;
        }
        ~SavedVariable() {
            if (had_) setenv(name_, value_.c_str(), 1);
            else unsetenv(name_);
        }

    private:
        const char* name_;
        bool had_ = false;
        std::string value_;
    };
    SavedVariable home_, hive_;
};

}  // namespace zavota::testing
