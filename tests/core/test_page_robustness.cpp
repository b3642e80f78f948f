// Whatever a user types or pastes, a press of "実　行" ends in figures or in a catalogue
// message that names a field of the page, never in a crash or a made-up number.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "core/MessageCatalogue.h"
#include "core/PageLogic.h"
#include "core/SlimPage.h"

namespace zavota {
namespace {

// Fragments a keyboard or the clipboard can deliver, weighted toward plausible numbers.
const char* const kFragments[] = {"0", "1", "2", "3", "5", "9", "10", "100", "999", "2003", "99999999",
                                  "100000000", "1e5", ".", "+", "-", ",", " ", "a", "１", "\t", "0.5",
                                  "00", "12345678901234567890", "inf", "nan", "e", "x", "円", ""};

std::string RandomText(std::mt19937& rng) {
    std::uniform_int_distribution<int> count(0, 3);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kFragments) - 1);
    std::string text;
    for (int n = count(rng); n > 0; --n) text += kFragments[pick(rng)];
    return text;
}

bool HasOwnText(int message) { return message == 299 || MessageCatalogue::NoticeText(message) != MessageCatalogue::NoticeText(1); }

TEST(PageRobustness, EveryInputEndsInFiguresOrACatalogueMessage) {
    std::mt19937 rng(20261207);
    std::bernoulli_distribution often(0.5), rarely(0.15);
    for (int i = 0; i < 3000; ++i) {
        CalcState state;
        PageInput in;
        in.page = often(rng) ? Page::Buy : Page::Sell;
        in.price = RandomText(rng);
        in.shares = RandomText(rng);
        for (auto& q : in.questions) q = rarely(rng) ? RandomText(rng) : "";
        in.miniInUse = rarely(rng);
        in.miniUnit = RandomText(rng);
        in.taxKindIndex = often(rng) ? 0 : 1;
        in.otc = rarely(rng);
        for (auto& m : in.manual) m = {rarely(rng), RandomText(rng)};
        const PageOutcome out = RunPage(state, in);

        std::set<std::string> fields = {"", FieldsOf(in.page).price, FieldsOf(in.page).shares,
                                        FieldsOf(in.page).miniUnit};
        for (const char* q : FieldsOf(in.page).questions) fields.insert(q);
        for (const char* m : kManualBoxes) fields.insert(m);
        if (out.status == PageStatus::Ready) {
            EXPECT_TRUE(state.result.buyShares > Yen{} || state.result.sellShares > Yen{}) << in.price << " x " << in.shares;
        } else {
            EXPECT_TRUE(HasOwnText(out.message)) << out.message << " for " << in.price << " x " << in.shares;
            EXPECT_EQ(state.result, TradeResult{}) << "a refusal leaves no figure behind";
        }
        EXPECT_TRUE(fields.count(out.focus)) << out.focus;
    }
}

TEST(PageRobustness, SlimInputsEndInFiguresOrACatalogueMessage) {
    std::mt19937 rng(7);
    for (int i = 0; i < 3000; ++i) {
        CalcState state;
        SlimInput in;
        in.buyPrice = RandomText(rng);
        in.shares = RandomText(rng);
        in.sellPrice = RandomText(rng);
        in.miniInUse = i % 5 == 0;
        in.miniUnit = RandomText(rng);
        const SlimOutcome out = RunSlim(state, in);
        if (out.status != PageStatus::Ready) {
            EXPECT_TRUE(HasOwnText(out.message)) << out.message;
        }
        EXPECT_TRUE((std::set<std::string>{"", "edtYen_K", "edtNum_K", "edtR1_K", "edtMini"}.count(out.focus)));
    }
}

}  // namespace
}  // namespace zavota
