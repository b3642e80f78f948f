// zavota-cli: the calculator from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "CalcCommand.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "calc")
        return zavota::cli::CalcMain({args.begin() + 1, args.end()}, std::cout, std::cerr);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: zavota-cli calc [options]   (zavota-cli calc --help lists them)\n";
        return 0;
    }
    std::cerr << "zavota-cli: unknown command (usage: zavota-cli calc [options]; zavota-cli calc --help)\n";
    return 2;
}
