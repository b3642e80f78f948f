// The options of `zavota-cli calc`: what a user would type into the calculator's fields.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/KeihiSet.h"
#include "core/PageLogic.h"

namespace zavota::cli {

struct CalcOptions {
    Page page = Page::Buy;
    std::optional<std::string> price, shares;
    // The page's four questions in the window's order (R1, R2, U1/K1, U2/K2).
    std::array<std::optional<std::string>, 4> questions;
    // Choices of the page; those not given come from the stored settings.
    std::optional<bool> margin;
    std::optional<std::string> miniUnit;
    bool noMini = false;
    bool otc = false;
    bool noOtc = false;
    bool noTickCheck = false;
    // A stored table by name or index, or a table file; "2" is the other leg's table.
    std::optional<std::string> table, table2, tableFile, table2File;
    bool oneTable = false;
    // Buy commission, its tax, sell commission, its tax.
    std::array<std::optional<std::string>, 4> manual;
    std::optional<std::string> taxBuy, taxSell, incomeTax, residentTax, yearGain;
    bool today = false;  // today's tax rates and listed tick sizes instead of the stored ones
    bool noProfitTax = false;
    bool separateTaxes = false;
    std::optional<std::string> expenseSet;
    std::optional<std::string> expensesFile;
    bool rejectAdjustment = false;
    bool referenceWalk = false;  // walk round by round, to compare with the fast walk
    bool json = false;
    bool help = false;
};

// The nine values of --expense-set (and of an expense file) in the record's order.
inline constexpr KeihiField kExpenseSetOrder[] = {KeihiField::RateK, KeihiField::DaysK, KeihiField::RateU,
                                                  KeihiField::DaysU, KeihiField::Kanri, KeihiField::Meigi,
                                                  KeihiField::Haitou, KeihiField::Hibu, KeihiField::Other};

struct ParsedCalcOptions {
    CalcOptions options;
    std::string error;  // empty when the command line was understood
};

ParsedCalcOptions ParseCalcOptions(const std::vector<std::string>& args);

inline constexpr const char* kCalcUsage =
    "usage: zavota-cli calc [--page buy|sell] --price TEXT --shares TEXT "
    "[--sell-at|--rise|--target-profit|--buy-back-at|--fall|--target-gain|--target-rate TEXT] "
    "[--kind cash|margin] [--mini-unit TEXT|--no-mini] [--otc|--no-otc] [--no-tick-check] "
    "[--table NAME|INDEX|--table-file PATH] [--table2 NAME|INDEX|--table2-file PATH|--one-table] "
    "[--commission-buy|--commission-tax-buy|--commission-sell|--commission-tax-sell TEXT] "
    "[--today] [--tax-buy|--tax-sell|--income-tax|--resident-tax|--year-gain TEXT] [--no-profit-tax] "
    "[--separate-taxes] [--expense-set R_K,D_K,R_U,D_U,KANRI,MEIGI,HAITOU,HIBU,OTHER|--expenses PATH] "
    "[--reject-adjustment] [--reference-walk] [--json]";

}  // namespace zavota::cli
