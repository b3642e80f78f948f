#include "PageChecks.h"

#include <optional>

#include "CalcState.h"
#include "DecimalCalc.h"
#include "NumberText.h"

namespace zavota {

namespace {
constexpr double kMaxInput = 99999999.0;
constexpr double kMaxRate = 1000000.0;
constexpr int kMsgBadText = 200;
constexpr int kMsgWholeNumber = 101;
constexpr int kMsgRate = 212;
}  // namespace

FieldCheck ReadWholeField(const std::string& text, const char* field, int emptyMessage, int rangeMessage,
                          const Yen* floor) {
    const std::string_view t = TrimAscii(text);
    if (t.empty()) return {emptyMessage, field, {}};
    const std::optional<double> v = ParseNumber(t);
    if (!v) return {kMsgBadText, field, {}};
    if (*v <= 0 || *v > kMaxInput) return {rangeMessage, field, {}};
    const Yen value = Yen::FromDouble(*v);
    if (floor != nullptr && DecimalCalc::Sub(*floor, value, 0, RoundNone) <= Yen{}) return {209, field, {}};
    if (t.find('.') != std::string_view::npos) return {kMsgWholeNumber, field, {}};
    return {0, field, value};
}

FieldCheck ReadRateField(const std::string& text, const char* field) {
    const std::optional<double> v = ParseNumber(TrimAscii(text));
    if (!v) return {kMsgBadText, field, {}};
    // Anything this far out stays out after rounding; keeps the scaled value in range.
    if (!(*v > -kMaxRate && *v < kMaxRate)) return {kMsgRate, field, {}};
    const Yen rate = DecimalCalc::Mul(Yen::FromDouble(*v), Yen::FromInt(1), 2, RoundHalfUp);
    if (rate <= Yen{} || rate >= Yen::FromInt(1000000)) return {kMsgRate, field, {}};
    return {0, field, rate};
}

MiniCheck CheckMiniFields(bool inUse, const std::string& unitText, Yen shares, const char* unitField,
                          const char* sharesField) {
    MiniCheck out;
    if (!inUse) return out;
    const std::string_view t = TrimAscii(unitText);
    if (t.empty()) {
        out.check = {103, unitField, {}};
        return out;
    }
    const std::optional<double> u = ParseNumber(t);
    if (!u) {
        out.check = {kMsgBadText, unitField, {}};
        return out;
    }
    out.unit = Yen::FromDouble(*u);
    switch (CalcState::CheckMini(shares, out.unit)) {
        case 1: out.check = {203, unitField, {}}; break;
        case 2: out.check = {204, unitField, {}}; break;
        case 3: out.check = {205, unitField, {}}; break;
        case 4: out.check = {206, sharesField, {}}; break;
        case 5: out.check = {207, sharesField, {}}; break;
        default: out.mini = true; break;
    }
    return out;
}

std::string PlainDigits(Yen v) {
    std::string s = DecimalCalc::ToText(v, 0);
    std::erase(s, ',');
    return s;
}

std::string PlainRate(Yen v) {
    std::string s = DecimalCalc::ToText(v, 2);
    std::erase(s, ',');
    return s;
}

}  // namespace zavota
