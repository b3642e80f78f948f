#include "OptionChecks.h"

#include "NumberText.h"

namespace zavota {

namespace {

// An emptied field is 0; a text the change rule let through but that is no number ("+",
// "-") cannot be taken either.
FieldCheck ReadOptional(const std::string& text, const char* field) {
    if (TrimAscii(text).empty()) return {0, field, Yen{}};
    const auto value = ParseNumber(text);
    if (!value) return {200, field, Yen{}};
    return {0, field, Yen::FromDouble(*value)};
}

}  // namespace

FieldCheck CommitYearGain(const std::string& text, TaxSettings& tax) {
    constexpr const char* kField = "edtYearGain";
    FieldCheck c = ReadOptional(text, kField);
    if (!c.ok()) return c;
    if (!TrimAscii(text).empty()) {
        c.message = CheckYearGain(*ParseNumber(text));
        if (!c.ok()) return c;
    }
    tax.YearGain = c.value;
    return c;
}

FieldCheck ReadTaxRate(const std::string& text, std::size_t field) {
    FieldCheck c = ReadOptional(text, kRateFields[field]);
    if (c.ok()) c.message = CheckTaxRate(c.value, field < 2 ? kConsumptionRateDecimals : kProfitRateDecimals);
    return c;
}

FieldCheck CommitTaxRates(const std::array<std::string, 4>& texts, TaxSettings& tax) {
    const std::array<Yen*, 4> rates = {&tax.KaiS, &tax.UriS, &tax.ShinSyotoku, &tax.ShinJyuumin};
    for (std::size_t i = 0; i < rates.size(); ++i) {
        const FieldCheck c = ReadTaxRate(texts[i], i);
        if (!c.ok()) return c;
        *rates[i] = c.value;
    }
    return {};
}

}  // namespace zavota
