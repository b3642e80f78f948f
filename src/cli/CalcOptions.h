// The options of `zavota-cli calc`: what a user would type into the calculator's fields.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/PageLogic.h"

namespace zavota::cli {

struct CalcOptions {
    Page page = Page::Buy;
    std::optional<std::string> price, shares;
    // The page's four questions in the window's order (R1, R2, U1/K1, U2/K2).
    std::array<std::optional<std::string>, 4> questions;
    bool margin = false;
    std::optional<std::string> miniUnit;
    bool otc = false;
    bool noTickCheck = false;
    // Buy commission, its tax, sell commission, its tax.
    std::array<std::optional<std::string>, 4> manual;
    std::optional<std::string> taxBuy, taxSell, incomeTax, residentTax, yearGain;
    bool noProfitTax = false;
    bool separateTaxes = false;
    std::optional<std::string> expenseSet;
    bool rejectAdjustment = false;
    bool json = false;
    bool help = false;
};

struct ParsedCalcOptions {
    CalcOptions options;
    std::string error;  // empty when the command line was understood
};

ParsedCalcOptions ParseCalcOptions(const std::vector<std::string>& args);

inline constexpr const char* kCalcUsage =
    "usage: zavota-cli calc [--page buy|sell] --price TEXT --shares TEXT "
    "[--sell-at|--rise|--target-profit|--buy-back-at|--fall|--target-gain|--target-rate TEXT] "
    "[--kind cash|margin] [--mini-unit TEXT] [--otc] [--no-tick-check] "
    "[--commission-buy|--commission-tax-buy|--commission-sell|--commission-tax-sell TEXT] "
    "[--tax-buy|--tax-sell|--income-tax|--resident-tax|--year-gain TEXT] [--no-profit-tax] "
    "[--separate-taxes] [--expense-set R_K,D_K,R_U,D_U,KANRI,MEIGI,HAITOU,HIBU,OTHER] "
    "[--reject-adjustment] [--json]";

}  // namespace zavota::cli
