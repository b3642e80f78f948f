#include "InfoOptions.h"

#include <string_view>

#include "Version.h"

namespace zavota::app {

namespace {

constexpr const char* kHelp =
    "usage: zavota [-off] [--screenshot FILE] [--no-first-start-question]\n"
    "       zavota --help | --version\n"
    "\n"
    "Zavota calculates a Japanese share trade to the yen: contract amount, commission from your\n"
    "commission tables, consumption tax, totals, break-even price on the tick grid, and profit\n"
    "after other expenses and the tax on the profit. The windows are in Japanese.\n"
    "\n"
    "  -off               switch \"always on top\" and \"open the memo pad at start\" off for good\n"
    "  --screenshot FILE  save a picture of the calculator window to FILE (PNG) and end\n"
    "  --no-first-start-question\n"
    "                     at the first start (no settings file yet) keep the default tax rates\n"
    "                     and tick sizes without asking whether to use today's; runs with\n"
    "                     --screenshot or on the offscreen platform never ask\n"
    "  --help             show this text and end\n"
    "  --version          show the version and end\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted too. The manual opens from the\n"
    "menu ヘルプ → 目次; see also zavota(1) and zavota-cli(1).\n";

}  // namespace

std::optional<int> AnswerInfoOption(int argc, const char* const* argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--screenshot") {
            ++i;  // a file name, even one called "--help"
        } else if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return 0;
        } else if (arg == "--version") {
            out << "zavota " << kVersionLine << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace zavota::app
