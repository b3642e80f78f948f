// zavota-cli: the calculator and the stored settings from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "CalcCommand.h"
#include "SettingsCommand.h"
#include "Version.h"

namespace {
constexpr const char* kUsage =
    "usage: zavota-cli calc [options]      one press of the calculator's \"実　行\" button\n"
    "       zavota-cli settings [--json]   the settings the program loaded at start-up\n"
    "       zavota-cli --help | --version\n"
    "\"zavota-cli calc --help\" lists the options of calc; man zavota-cli explains them.\n";
}

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    if (!args.empty() && args[0] == "calc") return zavota::cli::CalcMain(rest, std::cout, std::cerr);
    if (!args.empty() && args[0] == "settings") return zavota::cli::SettingsMain(rest, std::cout, std::cerr);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "zavota-cli " << zavota::kVersionLine << '\n';
        return 0;
    }
    std::cerr << "zavota-cli: unknown command\n" << kUsage;
    return 2;
}
