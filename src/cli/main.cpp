// zavota-cli: the calculator and the stored settings from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "CalcCommand.h"
#include "SettingsCommand.h"

namespace {
constexpr const char* kUsage = "usage: zavota-cli calc [options] | zavota-cli settings [--json]   (--help after a command lists its options)";
}

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const std::vector<std::string> rest(args.empty() ? args.end() : args.begin() + 1, args.end());
    if (!args.empty() && args[0] == "calc") return zavota::cli::CalcMain(rest, std::cout, std::cerr);
    if (!args.empty() && args[0] == "settings") return zavota::cli::SettingsMain(rest, std::cout, std::cerr);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage << '\n';
        return 0;
    }
    std::cerr << "zavota-cli: unknown command (" << kUsage << ")\n";
    return 2;
}
