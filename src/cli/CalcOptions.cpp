#include "CalcOptions.h"

#include <algorithm>
#include <string_view>

namespace zavota::cli {

namespace {

// Options that take a value, and where the value goes. The page's questions are recorded
// by name first, because --page may come after them.
struct Pending {
    std::array<std::optional<std::string>, 4> buyQuestions, sellQuestions;
    std::optional<std::string> targetRate;
};

std::optional<std::string>* ValueSlot(std::string_view name, CalcOptions& o, Pending& p) {
    if (name == "--price") return &o.price;
    if (name == "--shares") return &o.shares;
    if (name == "--sell-at") return &p.buyQuestions[0];
    if (name == "--rise") return &p.buyQuestions[1];
    if (name == "--target-profit") return &p.buyQuestions[2];
    if (name == "--buy-back-at") return &p.sellQuestions[0];
    if (name == "--fall") return &p.sellQuestions[1];
    if (name == "--target-gain") return &p.sellQuestions[2];
    if (name == "--target-rate") return &p.targetRate;
    if (name == "--mini-unit") return &o.miniUnit;
    if (name == "--commission-buy") return &o.manual[0];
    if (name == "--commission-tax-buy") return &o.manual[1];
    if (name == "--commission-sell") return &o.manual[2];
    if (name == "--commission-tax-sell") return &o.manual[3];
    if (name == "--tax-buy") return &o.taxBuy;
    if (name == "--tax-sell") return &o.taxSell;
    if (name == "--income-tax") return &o.incomeTax;
    if (name == "--resident-tax") return &o.residentTax;
    if (name == "--year-gain") return &o.yearGain;
    if (name == "--expense-set") return &o.expenseSet;
    if (name == "--expenses") return &o.expensesFile;
    if (name == "--table") return &o.table;
    if (name == "--table2") return &o.table2;
    if (name == "--table-file") return &o.tableFile;
    if (name == "--table2-file") return &o.table2File;
    return nullptr;
}

bool* FlagSlot(std::string_view name, CalcOptions& o) {
    if (name == "--otc") return &o.otc;
    if (name == "--no-otc") return &o.noOtc;
    if (name == "--no-mini") return &o.noMini;
    if (name == "--one-table") return &o.oneTable;
    if (name == "--no-tick-check") return &o.noTickCheck;
    if (name == "--today") return &o.today;
    if (name == "--no-profit-tax") return &o.noProfitTax;
    if (name == "--separate-taxes") return &o.separateTaxes;
    if (name == "--reject-adjustment") return &o.rejectAdjustment;
    if (name == "--reference-walk") return &o.referenceWalk;
    if (name == "--json") return &o.json;
    if (name == "--help" || name == "-h") return &o.help;
    return nullptr;
}

}  // namespace

ParsedCalcOptions ParseCalcOptions(const std::vector<std::string>& args) {
    ParsedCalcOptions parsed;
    CalcOptions& o = parsed.options;
    Pending p;
    std::optional<std::string> page, kind;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (bool* flag = FlagSlot(name, o)) {
            if (inlineValue) {
                parsed.error = name + " takes no value";
                return parsed;
            }
            *flag = true;
            continue;
        }
        std::optional<std::string>* slot = ValueSlot(name, o, p);
        if (slot == nullptr && name == "--page") slot = &page;
        if (slot == nullptr && name == "--kind") slot = &kind;
        if (slot == nullptr) {
            parsed.error = "unknown option " + name;
            return parsed;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                parsed.error = name + " needs a value";
                return parsed;
            }
            inlineValue = args[++i];
        }
        if (slot->has_value()) {
            parsed.error = name + " given twice";
            return parsed;
        }
        *slot = *inlineValue;
    }
    if (o.help) return parsed;

    if (page && *page != "buy" && *page != "sell") {
        parsed.error = "--page must be buy or sell";
        return parsed;
    }
    if (kind && *kind != "cash" && *kind != "margin") {
        parsed.error = "--kind must be cash or margin";
        return parsed;
    }
    o.page = page && *page == "sell" ? Page::Sell : Page::Buy;
    if (kind) o.margin = *kind == "margin";

    // Two ways of giving the same choice would leave one of them silently ignored.
    const std::pair<bool, const char*> conflicts[] = {
        {o.table && o.tableFile, "--table and --table-file"},
        {o.table2 && o.table2File, "--table2 and --table2-file"},
        {o.oneTable && (o.table2 || o.table2File), "--one-table and a second table"},
        {o.otc && o.noOtc, "--otc and --no-otc"},
        {o.miniUnit && o.noMini, "--mini-unit and --no-mini"},
        {o.expenseSet && o.expensesFile, "--expense-set and --expenses"},
    };
    for (const auto& [both, what] : conflicts) {
        if (both) {
            parsed.error = std::string(what) + " exclude each other";
            return parsed;
        }
    }

    if (o.expenseSet && std::count(o.expenseSet->begin(), o.expenseSet->end(), ',') != 8) {
        parsed.error = "--expense-set takes nine values separated by commas";
        return parsed;
    }

    const auto& mine = o.page == Page::Buy ? p.buyQuestions : p.sellQuestions;
    const auto& theirs = o.page == Page::Buy ? p.sellQuestions : p.buyQuestions;
    for (const auto& q : theirs) {
        if (q) {
            parsed.error = o.page == Page::Buy ? "--buy-back-at, --fall and --target-gain belong to --page sell"
                                               : "--sell-at, --rise and --target-profit belong to --page buy";
            return parsed;
        }
    }
    for (int i = 0; i < 3; ++i) o.questions[i] = mine[i];
    o.questions[3] = p.targetRate;
    return parsed;
}

}  // namespace zavota::cli
