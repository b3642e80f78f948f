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

}  // namespace zavota
