// The field checks that the calculator pages and the slim window share.
#pragma once

#include <string>

#include "Yen.h"

namespace zavota {

// A refusal (catalogue number and the field to focus; "" leaves the focus where it is), or
// the value read.
struct FieldCheck {
    int message = 0;
    const char* focus = "";
    Yen value;
    bool ok() const { return message == 0; }
};

// A whole-number input in 1 .. 99,999,999: empty, unreadable (200), out of range, and
// containing "." (101). `floor`, when given, is a value the input must stay below
// (message 209), checked between the range and the "." test.
FieldCheck ReadWholeField(const std::string& text, const char* field, int emptyMessage, int rangeMessage,
                          const Yen* floor = nullptr);

// A target profit rate: rounded half up to two decimals, then above 0 and below 1,000,000.
FieldCheck ReadRateField(const std::string& text, const char* field);

struct MiniCheck {
    FieldCheck check;
    bool mini = false;
    Yen unit;
};
// The mini-stock trading unit against the share count, when the "ミニ株" box is in use.
MiniCheck CheckMiniFields(bool inUse, const std::string& unitText, Yen shares, const char* unitField,
                          const char* sharesField);

// Values written back into fields: plain digits, no separators.
std::string PlainDigits(Yen v);
std::string PlainRate(Yen v);

}  // namespace zavota
