#include "KeihiSet.h"

#include <cmath>

#include "DecimalCalc.h"
#include "NumberText.h"
#include "Yen.h"

namespace zavota {

namespace {

constexpr int kMsgNotANumber = 200;
constexpr int kMsgNotWhole = 101;
constexpr int kMsgTooManyDecimals = 112;
constexpr int kMsgRateRange = 281;
constexpr int kMsgDaysRange = 282;
constexpr int kMsgNegativeAmount = 218;
constexpr int kMsgAmountTooLarge = 233;
constexpr int kMsgAmountTooSmall = 283;

constexpr double kAmountLimit = 100'000'000;

bool IsWhole(double x) { return std::trunc(x) == x; }

int CheckRate(double x) {
    if (!(x >= 0 && x < 100)) return kMsgRateRange;
    if (!AtMostTwoDecimals(x)) return kMsgTooManyDecimals;
    return 0;
}

int CheckDays(double x) {
    if (!(x >= 0 && x < 366)) return kMsgDaysRange;
    if (!IsWhole(x)) return kMsgNotWhole;
    return 0;
}

int CheckFee(double x) {
    if (!(x >= 0)) return kMsgNegativeAmount;
    if (!(x < kAmountLimit)) return kMsgAmountTooLarge;
    if (!IsWhole(x)) return kMsgNotWhole;
    return 0;
}

int CheckOther(double x) {
    if (!(x > -kAmountLimit)) return kMsgAmountTooSmall;
    if (!(x < kAmountLimit)) return kMsgAmountTooLarge;
    if (!IsWhole(x)) return kMsgNotWhole;
    return 0;
}

}  // namespace

std::string_view KeihiFieldControl(KeihiField field) {
    switch (field) {
        case KeihiField::RateK: return "edtNenriK";
        case KeihiField::DaysK: return "edtNenri2K";
        case KeihiField::RateU: return "edtNenriU";
        case KeihiField::DaysU: return "edtNenri2U";
        case KeihiField::Kanri: return "edtKanri";
        case KeihiField::Meigi: return "edtMeigi";
        case KeihiField::Haitou: return "edtHaitou";
        case KeihiField::Hibu: return "edtHibu";
        case KeihiField::Other: return "edtOther";
    }
    return {};
}

double& KeihiValue(KeihiSet& set, KeihiField field) {
    switch (field) {
        case KeihiField::RateK: return set.RateK;
        case KeihiField::DaysK: return set.DaysK;
        case KeihiField::RateU: return set.RateU;
        case KeihiField::DaysU: return set.DaysU;
        case KeihiField::Kanri: return set.Kanri;
        case KeihiField::Meigi: return set.Meigi;
        case KeihiField::Haitou: return set.Haitou;
        case KeihiField::Hibu: return set.Hibu;
        case KeihiField::Other: return set.Other;
    }
    // Only a value cast from outside the enumeration gets here; the free-form amount is the
    // one field whose whole range any caller's value fits.
    return set.Other;
}

KeihiFieldCheck CheckKeihiField(KeihiField field, std::string_view text) {
    KeihiFieldCheck check;
    if (TrimAscii(text).empty()) return check;

    // A lone sign, which the change-time check lets stand, does not parse and is refused here.
    const std::optional<double> parsed = ParseNumber(text);
    if (!parsed) {
        check.message = kMsgNotANumber;
        return check;
    }
    // The value is reported even when refused: the dialog stores it before testing it.
    // Adding 0 turns "-0" into 0, so that a set never holds or writes a negative zero.
    check.value = *parsed + 0.0;

    switch (field) {
        case KeihiField::RateK:
        case KeihiField::RateU:
            check.message = CheckRate(check.value);
            break;
        case KeihiField::DaysK:
        case KeihiField::DaysU:
            check.message = CheckDays(check.value);
            break;
        case KeihiField::Kanri:
        case KeihiField::Meigi:
        case KeihiField::Haitou:
        case KeihiField::Hibu:
            check.message = CheckFee(check.value);
            break;
        case KeihiField::Other:
            check.message = CheckOther(check.value);
            break;
        default:
            check.message = kMsgNotANumber;
            break;
    }
    return check;
}

KeihiTexts KeihiSetTexts(const KeihiSet& set) {
    KeihiTexts texts;
    KeihiSet values = set;
    for (const KeihiField field : kKeihiFields) {
        const bool rate = field == KeihiField::RateK || field == KeihiField::RateU;
        // Without separators: the fields' length limits are counted without them, so a grouped
        // text could be cut and read back as a different number.
        texts[field] = DecimalCalc::ToText(Yen::FromDouble(KeihiValue(values, field)), rate ? 2 : 0, false);
    }
    texts.comment = set.Comment;
    return texts;
}

KeihiApplyResult ApplyKeihiTexts(KeihiSet& set, const KeihiTexts& texts) {
    KeihiApplyResult result;
    for (const KeihiField field : kKeihiFields) {
        const KeihiFieldCheck check = CheckKeihiField(field, texts[field]);
        if (check.message != kMsgNotANumber) KeihiValue(set, field) = check.value;
        if (check.message != 0) {
            result.message = check.message;
            result.field = field;
            return result;
        }
    }
    set.Comment = std::string(TrimAscii(texts.comment));
    return result;
}

}  // namespace zavota
