// The example commission tables shipped in Tables/: each imports and charges what the manual
// shows for it (fees without tax; the consumption tax at 10 %).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliTesting.h"
#include "support/TempFolder.h"

namespace zavota::cli {
namespace {

struct Case {
    const char* file;
    std::string price, shares;
    std::vector<std::string> more;  // further options
    std::string figures;            // as printed, in the order printed
};

TEST(ExampleTables, ChargeTheFiguresOfTheManual) {
    const auto figures = [](const char* fee, const char* tax, const char* total) {
        return std::string(R"("mmMargin_K":")") + fee + R"(","mmSZei_K":")" + tax + R"(","mmTotal_K":")" + total + '"';
    };
    const std::vector<Case> cases = {
        {"flat-fee-by-amount.ini", "1000", "40", {}, figures("50", "5", "40,055")},
        {"flat-fee-by-amount.ini", "1000", "100", {}, figures("90", "9", "100,099")},  // a band's upper bound
        {"flat-fee-by-amount.ini", "1000", "1000", {}, figures("450", "45", "1,000,495")},
        {"flat-fee-by-amount.ini", "1000", "1001", {}, figures("550", "55", "1,001,605")},
        {"flat-fee-by-amount.ini", "5000", "10000", {}, figures("950", "95", "50,001,045")},
        // The manual's example of today's tax rates; 15.315 % does not fit two decimals.
        {"flat-fee-by-amount.ini", "1000", "1000",
         {"--sell-at", "1100", "--tax-sell", "10", "--income-tax", "15.32", "--resident-tax", "5", "--separate-taxes"},
         R"j("mmMargin_U":"550","mmSZei_U":"55","mmJZei_U":"0","mmTotal_U":"1,099,395","mmPay_U":"1,098",)j"
         R"j("mmResult_M":"+98,900","mmResult_Tax":"20,096","mmResult_Last":"+78,804","mmResult_R":"7.88(%)")j"},
        {"rate-with-min-max.ini", "500", "100", {}, figures("100", "10", "50,110")},  // the minimum
        {"rate-with-min-max.ini", "3000", "100", {}, figures("300", "30", "300,330")},
        {"rate-with-min-max.ini", "1500", "1000", {}, figures("1,000", "100", "1,501,100")},  // the maximum
        {"zero-commission.ini", "1000", "1000", {}, figures("0", "0", "1,000,000")},
        {"mini-stock.ini", "2000", "30", {"--mini-unit", "100"}, figures("300", "30", "60,330")},  // 1,000 for the unit, prorated
        {"mini-stock.ini", "500", "10", {"--mini-unit", "100"}, figures("50", "5", "5,055")},     // minimum after proration
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--table-file", std::string(ZAVOTA_TABLES_DIR) + c.file, "--price", c.price,
                                         "--shares", c.shares, "--tax-buy", "10", "--json"};
        args.insert(args.end(), c.more.begin(), c.more.end());
        const CliRun r = Calc(args);
        EXPECT_EQ(r.code, 0) << c.file << ' ' << r.out << r.err;
        EXPECT_NE(r.out.find(c.figures), std::string::npos) << c.file << ' ' << c.price << " × " << c.shares << '\n' << r.out;
    }
}

// Where a fresh start looks for the table files: the program folder's own Tables/, else the
// installed examples, else those beside a copy that is neither installed nor marked portable
// (an unpacked archive, the build tree), else the program folder.
TEST(ExampleTables, FoundBesideAnUninstalledProgram) {
    const struct {
        std::vector<const char*> folders;
        const char* found;
    } cases[] = {
        {{"bin/Tables"}, "bin/Tables/"},
        {{"bin/Tables", "home/Tables"}, "home/Tables/"},
        {{"bin/Tables", "share/zavota/Tables"}, "share/zavota/Tables/"},
        {{}, "home/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.found);
        testing::TempFolder tmp;
        std::filesystem::create_directories(tmp / "bin");
        for (const char* folder : c.folders) std::filesystem::create_directories(tmp / folder);
        std::filesystem::copy_file(ZAVOTA_CLI_PATH, tmp / "bin/zavota-cli");
        const std::string command = "ZAVOTA_HOME='" + tmp / "home/" + "' ZAVOTA_REGISTRY='" + tmp / "hive.reg" +
                                    "' '" + tmp / "bin/zavota-cli" + "' settings --json 2>&1";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
            EXPECT_EQ(::pclose(pipe), 0) << out;
        }
        const std::string expected = "\"MarginPath\":\"" + tmp / c.found + "\"";
        EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n in " << out.substr(0, 1200);
    }
}

}  // namespace
}  // namespace zavota::cli
