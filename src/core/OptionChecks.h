// The commits of the options pages that check what was typed: the annual gain of "計算時"
// and the four rates of "税率". Toolkit-free, so the window only shows the answer.
#pragma once

#include <array>
#include <string>

#include "PageChecks.h"
#include "TaxSettings.h"

namespace zavota {

// The annual gain field: empty means 0; unreadable 200, beyond ±9,999,999,999 237/238.
// Only an accepted value reaches `tax`.
FieldCheck CommitYearGain(const std::string& text, TaxSettings& tax);

// The rate fields in their order (buy and sell consumption tax, income tax, resident tax).
inline constexpr std::array<const char*, 4> kRateFields = {"edtRate_S_K", "edtRate_S_U", "edtRate_F_E", "edtRate_F_R"};

// One rate field (index into kRateFields): empty means 0; unreadable 200; then the converted
// rate is checked (CheckTaxRate, two or three decimals by field).
FieldCheck ReadTaxRate(const std::string& text, std::size_t field);

// The four rate fields: the fields before the first refused one are taken; the refused one
// and those after keep their values.
FieldCheck CommitTaxRates(const std::array<std::string, 4>& texts, TaxSettings& tax);

}  // namespace zavota
