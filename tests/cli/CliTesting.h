// Running zavota-cli in process on a hive and data folder of the test's own.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CalcCommand.h"
#include "cli/SettingsCommand.h"

namespace zavota::cli {

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

inline CliRun Calc(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = CalcMain(args, out, err);
    return {code, out.str(), err.str()};
}

inline CliRun Settings(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = SettingsMain(args, out, err);
    return {code, out.str(), err.str()};
}

}  // namespace zavota::cli
