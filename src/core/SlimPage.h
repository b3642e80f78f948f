// What the slim window's "実行" does with its three inputs: its own order of checks, one
// table for both legs, and the side whose expense set applies.
#pragma once

#include <string>
#include <vector>

#include "CalcState.h"
#include "PageLogic.h"

namespace zavota {

struct SlimInput {
    std::string buyPrice;   // edtYen_K
    std::string shares;     // edtNum_K
    std::string sellPrice;  // edtR1_K
    bool miniInUse = false; // "ミニ株" visible, enabled and ticked
    std::string miniUnit;   // edtMini
    int taxKindIndex = -1;  // 0 "現物", 1 "信用取引", -1 nothing selected
    int table = 0;
    bool otc = false;
};

enum class SlimShow { Both, BuyOnly, SellOnly };

struct SlimOutcome {
    PageStatus status = PageStatus::Refused;
    int message = 0;
    std::string focus;
    // Ready only:
    std::vector<AdjustmentPair> adjustments;
    std::vector<FieldWrite> adjustWrites;
    SlimShow show = SlimShow::Both;

    bool NeedsConfirmation() const { return !adjustments.empty(); }
};

SlimOutcome RunSlim(CalcState& state, const SlimInput& input);

}  // namespace zavota
