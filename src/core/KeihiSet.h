// One set of other expenses of a trade (margin interest, fees, credits, other).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zavota {

struct KeihiSet {
    double RateK = 0;   // buyer's annual rate, percent
    double DaysK = 0;
    double RateU = 0;   // seller's annual rate, percent
    double DaysU = 0;
    double Kanri = 0;   // account management fee
    double Meigi = 0;   // name-transfer fee
    double Haitou = 0;  // dividend adjustment total
    double Hibu = 0;    // reverse daily interest total
    double Other = 0;   // may be negative
    std::string Comment;

    bool operator==(const KeihiSet&) const = default;
};

inline constexpr int kKeihiSetCount = 4;

// The numeric fields in the order the dialog applies them.
enum class KeihiField { RateK, RateU, DaysK, DaysU, Kanri, Meigi, Haitou, Hibu, Other };

inline constexpr int kKeihiFieldCount = 9;
inline constexpr std::array<KeihiField, kKeihiFieldCount> kKeihiFields{
    KeihiField::RateK, KeihiField::RateU, KeihiField::DaysK,  KeihiField::DaysU, KeihiField::Kanri,
    KeihiField::Meigi, KeihiField::Haitou, KeihiField::Hibu, KeihiField::Other,
};

// Control name of a field in the expenses dialog.
std::string_view KeihiFieldControl(KeihiField field);

// The dialog's rule for one field's text: 0 and the value, or the catalogue number.
// An empty text is 0.
struct KeihiFieldCheck {
    int message = 0;
    double value = 0;
};
KeihiFieldCheck CheckKeihiField(KeihiField field, std::string_view text);

double& KeihiValue(KeihiSet& set, KeihiField field);

// What the dialog's fields hold: the numbers indexed by field, and the comment.
struct KeihiTexts {
    std::array<std::string, kKeihiFieldCount> numbers;
    std::string comment;

    std::string& operator[](KeihiField field) { return numbers[static_cast<int>(field)]; }
    const std::string& operator[](KeihiField field) const { return numbers[static_cast<int>(field)]; }
};

// A set as the dialog shows it: rates with two decimals, the other numbers whole (rounded half
// away from zero), without thousands separators; the comment as stored.
KeihiTexts KeihiSetTexts(const KeihiSet& set);

// The outcome of applying the fields: message 0 on success, else the catalogue number and the
// field that failed (it gets the focus).
struct KeihiApplyResult {
    int message = 0;
    KeihiField field = KeihiField::RateK;
    bool Ok() const { return message == 0; }
};

// Takes the fields into the set in the dialog's order and stops at the first one refused. The
// fields before it keep their new values, and so does the refused one when its text is a
// number; the comment, trimmed, is taken only when every number passed.
KeihiApplyResult ApplyKeihiTexts(KeihiSet& set, const KeihiTexts& texts);

}  // namespace zavota
